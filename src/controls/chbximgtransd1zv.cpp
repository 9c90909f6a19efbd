#include "controls/chbximgtransd1zv.h"

#include "controls/accessiblecontrols.h"
#include "controls/focusring.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

TChBxImgTransD1Zv::TChBxImgTransD1Zv(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::TabFocus);
    resize(7, 7);
    InstallControlAccessibility();
}

namespace {
void notifyChecked(QObject* o) {
    QAccessible::State s;
    s.checked = true;
    NotifyAccessibleState(o, s);
}
} // namespace

TChBxImgTransD1Zv::Pic TChBxImgTransD1Zv::make(const QPixmap& pm) {
    if (pm.isNull()) return {};
    // The key pixel (1, 1) is in logical units; a 2x picture has it at (2, 2).
    const int k = qRound(pm.devicePixelRatio());
    return {pm, KeyedPicture(pm, QPoint(k, k))};
}

void TChBxImgTransD1Zv::repaintNow() {
    if (isVisible()) repaint();
}

void TChBxImgTransD1Zv::setChecked(bool on) {
    const bool changed = on != m_checked;
    m_checked = on;
    repaintNow();
    if (changed) notifyChecked(this);
}

void TChBxImgTransD1Zv::setMarkEnabled(bool on) {
    const bool changed = on != m_enabled;
    m_enabled = on;
    repaintNow();
    if (changed) {
        QAccessible::State s;
        s.disabled = true;
        NotifyAccessibleState(this, s);
    }
}

void TChBxImgTransD1Zv::setInvertedLook(bool on) {
    m_inverted = on;
    repaintNow();
}

void TChBxImgTransD1Zv::setImgOn(const QPixmap& pm) {
    m_on = make(pm);
    updateGeometry();
    repaintNow();
}
void TChBxImgTransD1Zv::setImgOnDis(const QPixmap& pm) {
    m_onDis = make(pm);
    repaintNow();
}
void TChBxImgTransD1Zv::setImgOff(const QPixmap& pm) {
    m_off = make(pm);
    repaintNow();
}
void TChBxImgTransD1Zv::setImgOffDis(const QPixmap& pm) {
    m_offDis = make(pm);
    repaintNow();
}

void TChBxImgTransD1Zv::setPictures(const CheckPictures& p) {
    m_onDis = make(p.onDis);
    m_off = make(p.off);
    m_offDis = make(p.offDis);
    setImgOn(p.on);
}

void TChBxImgTransD1Zv::setCaption(const QString& text) {
    const bool changed = text != m_caption;
    m_caption = text;
    updateGeometry();
    repaintNow();
    if (changed) NotifyAccessibleEvent(this, QAccessible::NameChanged);
}

void TChBxImgTransD1Zv::setFontColor(const QColor& c) {
    m_fontColor = c;
    repaintNow();
}

void TChBxImgTransD1Zv::setCaptionFont(const QFont& f) {
    setFont(f);
    updateGeometry();
    repaintNow();
}

QSize TChBxImgTransD1Zv::sizeHint() const {
    const QSize pic = PictureSize(m_on.raw);
    const QFontMetrics fm(font());
    const int text = m_caption.isEmpty() ? 0 : fm.horizontalAdvance(m_caption) + 4 + 2;
    return QSize(pic.width() + text, qMax(pic.height(), fm.height()) + 2);
}

void TChBxImgTransD1Zv::paintEvent(QPaintEvent*) {
    const bool set = m_checked != m_inverted;
    const Pic& p = set ? (m_enabled ? m_on : m_onDis) : (m_enabled ? m_off : m_offDis);
    m_shown = p.raw;
    QPainter painter(this);
    if (!p.keyed.isNull()) {
        const QSize s = PictureSize(p.keyed);
        painter.drawPixmap(0, height() / 2 - s.height() / 2, p.keyed);
    }
    if (hasFocus()) DrawFocusRing(painter, rect(), FocusShape::Box);
    if (m_caption.isEmpty()) return;
    const QFontMetrics fm(font());
    const int x = PictureSize(m_on.raw).width() + 4;
    const int top = height() / 2 - fm.height() / 2;
    painter.setFont(font());
    painter.setPen(m_enabled ? m_fontColor : QColor(128, 128, 128));
    painter.drawText(x, top + fm.ascent(), m_caption);
}

void TChBxImgTransD1Zv::click() {
    QPointer<TChBxImgTransD1Zv> self(this);
    // The handler sees the old state: a window that clears the other marks
    // runs before this one changes.
    Q_EMIT clicked();
    if (!self || !m_enabled) return;
    m_checked = !m_checked;
    repaintNow();
    notifyChecked(this);
}

void TChBxImgTransD1Zv::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    m_pressed = true;
    Q_EMIT mouseDown();
}

void TChBxImgTransD1Zv::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !m_pressed) return;
    m_pressed = false;
    QPointer<TChBxImgTransD1Zv> self(this);
    if (rect().contains(e->position().toPoint())) click();
    if (self) Q_EMIT mouseUp();
}

void TChBxImgTransD1Zv::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        if (!e->isAutoRepeat()) click();
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void TChBxImgTransD1Zv::focusInEvent(QFocusEvent*) {
    repaintNow();
}
void TChBxImgTransD1Zv::focusOutEvent(QFocusEvent*) {
    repaintNow();
}

void TChBxImgTransD1Zv::changeEvent(QEvent* e) {
    if (e->type() == QEvent::FontChange) updateGeometry();
    QWidget::changeEvent(e);
}

bool TChBxImgTransD1Zv::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !m_showHint) {
        e->ignore();
        return true;
    }
    return QWidget::event(e);
}
