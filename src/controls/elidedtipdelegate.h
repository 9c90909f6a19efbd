#pragma once
// Item views whose captions may be cut with "…" (the course tree: most
// exercise names are longer than its width): a cut caption shows whole as
// its tooltip; one that fits shows none.
#include <QStyledItemDelegate>

class TElidedTipDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // True when the caption of `index` does not fit the text room of `option`.
    bool IsCut(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    bool helpEvent(QHelpEvent* e, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
