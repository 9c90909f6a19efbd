#include "drill/twocolumnlist.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

TTwoColumnList::TTwoColumnList(QWidget* parent)
    : QListWidget(nullptr), m_frame(new QScrollArea(parent)) {
    m_frame->setFocusPolicy(Qt::NoFocus);
    m_frame->setWidgetResizable(false);
    m_frame->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frame->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_frame->viewport()->setBackgroundRole(QPalette::Base);
    m_frame->viewport()->setAutoFillBackground(true);
    // The list itself never scrolls: it is as high as its first column, so
    // its own top-to-bottom wrapping makes exactly two columns. The frame
    // scrolls it.
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Fixed);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    m_frame->setWidget(this);
}

void TTwoColumnList::placeFrame(const QRect& r) {
    m_frame->setGeometry(r);
    if (m_rowHeight > 0) arrange(m_rowHeight);
}

void TTwoColumnList::arrange(int rowHeight) {
    m_rowHeight = qMax(1, rowHeight);
    const int fw = m_frame->frameWidth();
    // The wrapping breaks a column when the next row would reach the bottom
    // edge: half a row more keeps exactly the first column's rows in it.
    const int height = qMax(1, rowsPerColumn()) * m_rowHeight + m_rowHeight / 2;
    const bool scrolls = height > m_frame->height() - 2 * fw;
    const int bar =
        scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_frame) : 0;
    const int width = qMax(2, m_frame->width() - 2 * fw - bar);
    const int colW = width / 2;
    setGridSize(QSize(colW, m_rowHeight));
    for (int i = 0; i < count(); ++i)
        item(i)->setSizeHint(QSize(colW - 2, m_rowHeight - 2));
    resize(width, height);
    doItemsLayout();
}

QModelIndex TTwoColumnList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int n = count();
    if (n == 0) return QListWidget::moveCursor(action, modifiers);
    const int r = currentRow();
    if (r < 0) return model()->index(0, 0);
    const int rows = rowsPerColumn();
    const int page = m_rowHeight > 0 ? qMax(1, m_frame->viewport()->height() / m_rowHeight - 1) : 1;
    int to = r;
    switch (action) {
    case MoveDown:
    case MoveNext:
        to = r + 1;
        break;
    case MoveUp:
    case MovePrevious:
        to = r - 1;
        break;
    case MoveRight:
        to = r + rows < n ? r + rows : r;
        break;
    case MoveLeft:
        to = r - rows >= 0 ? r - rows : r;
        break;
    case MoveHome:
        to = 0;
        break;
    case MoveEnd:
        to = n - 1;
        break;
    case MovePageDown:
        to = r + page;
        break;
    case MovePageUp:
        to = r - page;
        break;
    }
    return model()->index(qBound(0, to, n - 1), 0);
}

void TTwoColumnList::scrollTo(const QModelIndex& index, ScrollHint) {
    const QRect r = visualRect(index);
    if (r.isEmpty()) return;
    const QPoint c = viewport()->mapTo(this, r.center());
    m_frame->ensureVisible(c.x(), c.y(), 0, r.height() / 2 + 1);
}
