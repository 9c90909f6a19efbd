#pragma once
// A list shown in two columns read like a page: the first column top to
// bottom, then the second. The items keep their own order (item i is line
// i), and Up and Down step through that order, across the columns.
#include <QListWidget>

class QScrollArea;

class TTwoColumnList : public QListWidget {
    Q_OBJECT
public:
    // The list scrolls inside a frame of its own, made here as a child of
    // `parent`: place that one with placeFrame.
    explicit TTwoColumnList(QWidget* parent);

    QScrollArea* frame() const { return m_frame; }
    void placeFrame(const QRect& r);
    // Lays the items out in rows `rowHeight` high; call after filling.
    void arrange(int rowHeight);
    // Items in the first column (the second holds the rest).
    int rowsPerColumn() const { return (count() + 1) / 2; }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    QScrollArea* m_frame;
    int m_rowHeight = 0;
};
