#include "controls/prgssbarzv.h"

#include "controls/accessiblecontrols.h"

#include <QMouseEvent>
#include <QPainter>

TPrgssBarZv::TPrgssBarZv(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    resize(150, 25);
    InstallControlAccessibility();
}

void TPrgssBarZv::repaintNow() {
    if (isVisible()) repaint();
}

void TPrgssBarZv::setMin(int v) {
    const bool changed = v != m_min;
    m_min = v;
    repaintNow();
    if (changed) NotifyAccessibleValue(this, m_position); // the percentage moved
}

void TPrgssBarZv::setMax(int v) {
    const bool changed = v != m_max;
    m_max = v;
    repaintNow();
    if (changed) NotifyAccessibleValue(this, m_position);
}

void TPrgssBarZv::setPosition(int v) {
    if (v == m_position) return;
    m_position = v;
    repaintNow();
    NotifyAccessibleValue(this, m_position);
}

void TPrgssBarZv::setImgBeginLine(const QPixmap& pm) {
    m_pics.beginLine = pm;
    repaintNow();
}
void TPrgssBarZv::setImgMidleLine(const QPixmap& pm) {
    m_pics.midleLine = pm;
    repaintNow();
}
void TPrgssBarZv::setImgEndLine(const QPixmap& pm) {
    m_pics.endLine = pm;
    repaintNow();
}
void TPrgssBarZv::setImgBeginScroll(const QPixmap& pm) {
    m_pics.beginScroll = pm;
    repaintNow();
}
void TPrgssBarZv::setImgMidleScroll(const QPixmap& pm) {
    m_pics.midleScroll = pm;
    repaintNow();
}
void TPrgssBarZv::setImgEndScroll(const QPixmap& pm) {
    m_pics.endScroll = pm;
    repaintNow();
}

void TPrgssBarZv::setPictures(const BarPictures& p) {
    m_pics = p;
    updateGeometry();
    repaintNow();
}

bool TPrgssBarZv::complete() const {
    return !m_pics.beginLine.isNull() && !m_pics.midleLine.isNull() && !m_pics.endLine.isNull() &&
           !m_pics.beginScroll.isNull() && !m_pics.midleScroll.isNull() &&
           !m_pics.endScroll.isNull();
}

const QPixmap& TPrgssBarZv::picture(BarPiece piece) const {
    switch (piece) {
    case BarPiece::BeginLine:
        return m_pics.beginLine;
    case BarPiece::MidleLine:
        return m_pics.midleLine;
    case BarPiece::EndLine:
        return m_pics.endLine;
    case BarPiece::BeginScroll:
        return m_pics.beginScroll;
    case BarPiece::MidleScroll:
        return m_pics.midleScroll;
    case BarPiece::EndScroll:
        break;
    }
    return m_pics.endScroll;
}

QList<PiecePlacement> TPrgssBarZv::placements() const {
    if (!complete()) return {};
    const BarPieceSizes sizes{PictureSize(m_pics.beginLine),   PictureSize(m_pics.midleLine),
                              PictureSize(m_pics.endLine),     PictureSize(m_pics.beginScroll),
                              PictureSize(m_pics.midleScroll), PictureSize(m_pics.endScroll)};
    return LayoutBarPieces(size(), sizes, m_min, m_max, m_position);
}

QSize TPrgssBarZv::sizeHint() const {
    const int h = PictureSize(m_pics.midleLine).height();
    return QSize(150, h > 0 ? h : 25);
}

void TPrgssBarZv::paintEvent(QPaintEvent*) {
    const QList<PiecePlacement> pieces = placements();
    if (pieces.isEmpty()) return;
    // Built off screen first so the bar never flickers between track and fill.
    const qreal dpr = devicePixelRatioF();
    QPixmap frame(size() * dpr);
    frame.setDevicePixelRatio(dpr);
    frame.fill(Qt::transparent);
    {
        QPainter p(&frame);
        for (const PiecePlacement& pl : pieces)
            p.drawPixmap(pl.x, pl.y, picture(pl.piece));
    }
    QPainter(this).drawPixmap(0, 0, frame);
}

void TPrgssBarZv::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Q_EMIT mouseDown();
}

void TPrgssBarZv::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Q_EMIT mouseUp();
}
