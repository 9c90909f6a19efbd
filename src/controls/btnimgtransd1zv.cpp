#include "controls/btnimgtransd1zv.h"

#include "controls/accessiblecontrols.h"
#include "controls/focusring.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TBtnImgTransD1Zv::TBtnImgTransD1Zv(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_Hover, false);
    // Reachable with Tab so the windows work from the keyboard; a mouse click
    // does not take the focus away from the window's other controls.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    resize(50, 50);
    InstallControlAccessibility();
}

TBtnImgTransD1Zv::Pic TBtnImgTransD1Zv::make(const QPixmap& pm) {
    if (pm.isNull()) return {};
    return {pm, KeyedPicture(pm, QPoint(pm.width() - 1, 0))};
}

void TBtnImgTransD1Zv::setBitmap(const QPixmap& pm) {
    m_bitmap = make(pm);
    makeCurrent(m_bitmap);
}

void TBtnImgTransD1Zv::setBitmapOver(const QPixmap& pm) {
    m_over = make(pm);
    repaintNow();
}

void TBtnImgTransD1Zv::setBitmapDown(const QPixmap& pm) {
    m_down = make(pm);
    repaintNow();
}

void TBtnImgTransD1Zv::setBitmapUp(const QPixmap& pm) {
    m_up = make(pm);
    repaintNow();
}

void TBtnImgTransD1Zv::setBitmapDisabled(const QPixmap& pm) {
    m_disabled = make(pm);
    if (!isEnabled() && !pm.isNull()) fitTo(pm);
    repaintNow();
}

void TBtnImgTransD1Zv::setPictures(const ButtonPictures& p) {
    m_over = make(p.over);
    m_down = make(p.down);
    m_up = make(p.over);
    m_disabled = make(p.disabled);
    setBitmap(p.normal);
}

QSize TBtnImgTransD1Zv::sizeHint() const {
    if (!isEnabled() && !m_disabled.raw.isNull()) return PictureSize(m_disabled.raw);
    const Pic& p = m_current.raw.isNull() ? m_bitmap : m_current;
    if (p.raw.isNull()) return QSize(50, 50);
    return PictureSize(p.raw);
}

void TBtnImgTransD1Zv::fitTo(const QPixmap& pm) {
    const QSize s = PictureSize(pm);
    if (s.isEmpty() || s == size()) return;
    resize(s);
    updateGeometry();
}

void TBtnImgTransD1Zv::repaintNow() {
    if (isVisible()) repaint();
}

void TBtnImgTransD1Zv::makeCurrent(const Pic& p) {
    m_current = p;
    m_override = {};
    if (isEnabled() || m_disabled.raw.isNull()) fitTo(p.raw);
    repaintNow();
}

void TBtnImgTransD1Zv::drawOnly(const Pic& p) {
    m_override = p;
    if (isEnabled() || m_disabled.raw.isNull()) fitTo(p.raw);
    repaintNow();
}

void TBtnImgTransD1Zv::paintEvent(QPaintEvent*) {
    if (m_current.raw.isNull()) m_current = m_bitmap;
    const Pic* p = &m_current;
    if (!isEnabled() && !m_disabled.raw.isNull())
        p = &m_disabled;
    else if (!m_override.raw.isNull())
        p = &m_override;
    m_shown = p->raw;
    QPainter painter(this);
    if (!p->keyed.isNull()) painter.drawPixmap(0, 0, p->keyed);
    if (hasFocus()) DrawFocusRing(painter, rect(), FocusShape::Round);
}

void TBtnImgTransD1Zv::enterEvent(QEnterEvent*) {
    if (!isEnabled()) return;
    if (!m_over.raw.isNull()) makeCurrent(m_over);
}

void TBtnImgTransD1Zv::leaveEvent(QEvent*) {
    if (!isEnabled()) return;
    if (!m_bitmap.raw.isNull()) makeCurrent(m_bitmap);
}

void TBtnImgTransD1Zv::mousePressEvent(QMouseEvent* e) {
    if (!isEnabled() || e->button() != Qt::LeftButton) return;
    m_pressed = true;
    Q_EMIT mouseDown();
    if (!m_down.raw.isNull()) makeCurrent(m_down);
}

void TBtnImgTransD1Zv::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed) return;
    m_pressed = false;
    if (!isEnabled()) return;
    QPointer<TBtnImgTransD1Zv> self(this);
    if (rect().contains(e->position().toPoint())) {
        // The pressed picture stays up while the click's work runs.
        repaintNow();
        Q_EMIT clicked();
        if (!self) return;
    }
    Q_EMIT mouseUp();
    if (!self || !isEnabled()) return;
    if (rect().contains(e->position().toPoint()))
        drawOnly(!m_up.raw.isNull() ? m_up : (!m_over.raw.isNull() ? m_over : m_bitmap));
    else
        drawOnly(m_bitmap);
}

void TBtnImgTransD1Zv::click() {
    if (!isEnabled()) return;
    QPointer<TBtnImgTransD1Zv> self(this);
    const Pic before = m_current;
    Q_EMIT mouseDown();
    if (!self) return;
    if (!m_down.raw.isNull())
        makeCurrent(m_down);
    else
        repaintNow();
    Q_EMIT clicked();
    if (!self) return;
    Q_EMIT mouseUp();
    if (!self) return;
    if (isEnabled()) makeCurrent(before.raw.isNull() ? m_bitmap : before);
}

void TBtnImgTransD1Zv::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!e->isAutoRepeat()) click();
        e->accept();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void TBtnImgTransD1Zv::focusInEvent(QFocusEvent*) {
    repaintNow();
}
void TBtnImgTransD1Zv::focusOutEvent(QFocusEvent*) {
    repaintNow();
}

void TBtnImgTransD1Zv::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) {
        m_pressed = false;
        if (!isEnabled() && !m_disabled.raw.isNull())
            fitTo(m_disabled.raw);
        else if (!m_override.raw.isNull())
            fitTo(m_override.raw);
        else
            fitTo(m_current.raw.isNull() ? m_bitmap.raw : m_current.raw);
        repaintNow();
    }
    QWidget::changeEvent(e);
}

void TBtnImgTransD1Zv::hideEvent(QHideEvent* e) {
    // A hidden button is not under the cursor: when its window comes back
    // (the dialogs are reused) it starts from the normal picture.
    m_pressed = false;
    if (!m_bitmap.raw.isNull()) {
        m_current = m_bitmap;
        m_override = {};
        if (isEnabled() || m_disabled.raw.isNull()) fitTo(m_bitmap.raw);
    }
    QWidget::hideEvent(e);
}

bool TBtnImgTransD1Zv::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !m_showHint) {
        e->ignore();
        return true;
    }
    return QWidget::event(e);
}
