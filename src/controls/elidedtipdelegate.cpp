#include "controls/elidedtipdelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

bool TElidedTipDelegate::IsCut(const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (opt.text.isEmpty()) return false;
    const QWidget* w = opt.widget;
    const QStyle* style = w ? w->style() : QApplication::style();
    // The room the style draws the text in, less the margins it keeps inside it.
    const QRect room = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, w);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, w) + 1;
    return opt.fontMetrics.horizontalAdvance(opt.text) > room.width() - 2 * margin;
}

bool TElidedTipDelegate::helpEvent(QHelpEvent* e, QAbstractItemView* view,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!e || e->type() != QEvent::ToolTip || !index.isValid() ||
        index.data(Qt::ToolTipRole).isValid())
        return QStyledItemDelegate::helpEvent(e, view, option, index);
    if (!IsCut(option, index)) {
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    QString tip = index.data(Qt::DisplayRole).toString();
    // A caption is plain text, whatever it looks like.
    if (Qt::mightBeRichText(tip)) tip = QStringLiteral("<p>") + tip.toHtmlEscaped() + "</p>";
    QToolTip::showText(e->globalPos(), tip, view, option.rect);
    return true;
}
