#include "controls/speedcontrol.h"

#include "controls/accessiblecontrols.h"
#include "controls/focusring.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {
const QColor kInk(16, 44, 84);           // the captions' and the focus ring's dark blue
const QColor kFace(48, 110, 180);        // the halves and the steps up to the chosen one
const QColor kPaper(250, 252, 255);      // the steps faster than the chosen one
const QColor kGrey(150, 164, 180);       // everything while disabled
constexpr int kWidth = 120, kHeight = 40, kHalf = 26, kGap = 4, kText = 40;
} // namespace

TSpeedControl::TSpeedControl(std::span<const int> steps, int speed, QWidget* parent)
    : QWidget(parent), m_steps(steps.begin(), steps.end()) {
    std::sort(m_steps.begin(), m_steps.end());
    m_steps.erase(std::unique(m_steps.begin(), m_steps.end()), m_steps.end());
    if (m_steps.isEmpty()) m_steps = {100};
    // Like the picture buttons: Tab reaches it, a click leaves the focus
    // where it is.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Скорость"));
    setToolTip(QStringLiteral("Медленнее: клавиша «-», быстрее: клавиша «+»"));
    setCursor(Qt::PointingHandCursor);
    InstallControlAccessibility();
    m_index = nearest(speed);
}

int TSpeedControl::nearest(int percent) const {
    int best = 0;
    for (int i = 1; i < m_steps.size(); ++i)
        if (std::abs(m_steps[i] - percent) < std::abs(m_steps[best] - percent)) best = i;
    return best;
}

void TSpeedControl::setSpeed(int percent) {
    choose(nearest(percent));
}

void TSpeedControl::slower() {
    choose(m_index - 1);
}

void TSpeedControl::faster() {
    choose(m_index + 1);
}

void TSpeedControl::choose(int index) {
    index = std::clamp(index, 0, int(m_steps.size()) - 1);
    if (index == m_index) return;
    m_index = index;
    update();
    NotifyAccessibleValue(this, speed());
    Q_EMIT speedChanged(speed());
}

int SpeedKeyStep(const QKeyEvent& e) {
    // Shift is how "+" is typed on most keyboards; the pad adds its own flag.
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
    switch (e.key()) {
    case Qt::Key_Minus:
        return -1;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return 1;
    default:
        return 0;
    }
}

void TSpeedControl::bindKeys(QWidget* window) {
    // The keys must reach the speed before the focused control sees them (a
    // list would take "+" for a search), so the filter sits on the
    // application and picks out the window's own key presses.
    m_window = window;
    if (window) qApp->installEventFilter(this);
}

bool TSpeedControl::eventFilter(QObject* o, QEvent* e) {
    if (e->type() != QEvent::KeyPress || !m_window || !o->isWidgetType())
        return QWidget::eventFilter(o, e);
    auto* target = static_cast<QWidget*>(o);
    // A text field that takes the character keeps it.
    if (target->window() != m_window || target->testAttribute(Qt::WA_InputMethodEnabled) ||
        !isEnabled() || !isVisibleTo(m_window))
        return QWidget::eventFilter(o, e);
    const int step = SpeedKeyStep(*static_cast<QKeyEvent*>(e));
    if (step == 0) return QWidget::eventFilter(o, e);
    choose(m_index + step);
    e->accept();
    return true;
}

bool TSpeedControl::event(QEvent* e) {
    if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FocusIn ||
        e->type() == QEvent::FocusOut)
        update();
    return QWidget::event(e);
}

QSize TSpeedControl::sizeHint() const {
    return {kWidth, kHeight};
}

bool TSpeedControl::slim() const {
    return height() < kHeight - 6;
}

QRectF TSpeedControl::halfRect(int side) const {
    const qreal d = qMax<qreal>(4, qMin<qreal>(kHalf, height() - 4));
    const qreal top = (height() - d) / 2;
    const qreal right = slim() ? width() - kText - kGap : width() - kGap;
    return side == 0 ? QRectF(kGap, top, d, d) : QRectF(right - d, top, d, d);
}

QRectF TSpeedControl::textRect() const {
    // Above the bars, or beside the faster half in a slim row.
    if (slim()) return QRectF(width() - kText, 0, kText, height());
    const QRectF b = barsRect();
    return QRectF(b.left() - kGap, 1, b.width() + 2 * kGap, 14);
}

QRectF TSpeedControl::barsRect() const {
    const qreal left = halfRect(0).right() + kGap, right = halfRect(1).left() - kGap;
    const qreal top = slim() ? 3 : 16, bottom = height() - (slim() ? 3 : 5);
    if (right <= left || bottom <= top) return QRectF((left + right) / 2, top, 0, 0);
    return QRectF(left, top, right - left, bottom - top);
}

int TSpeedControl::stepAt(qreal x) const {
    const QRectF bars = barsRect();
    if (x < bars.left()) return -1;
    if (x >= bars.right()) return int(m_steps.size());
    const int n = int(m_steps.size());
    return std::clamp(int((x - bars.left()) * n / bars.width()), 0, n - 1);
}

void TSpeedControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool on = isEnabled();
    const QColor face = on ? kFace : kGrey, ink = on ? kInk : kGrey;

    // The two halves: a round face with a white minus or plus on it.
    const QRectF halves[2] = {halfRect(0), halfRect(1)};
    const qreal d = halves[0].width();
    for (int i = 0; i < 2; ++i) {
        p.setPen(QPen(ink, 1));
        p.setBrush(face);
        p.drawEllipse(halves[i]);
        const QPointF c = halves[i].center();
        const qreal arm = d * 0.26;
        p.setPen(QPen(Qt::white, qMax<qreal>(2, d / 9), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
        if (i == 1) p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
    }

    // The steps, slowest on the left, each bar a little taller than the one before.
    const QRectF bars = barsRect();
    const int n = int(m_steps.size());
    const qreal slot = n > 0 ? bars.width() / n : 0;
    for (int i = 0; i < n; ++i) {
        const qreal h = bars.height() * (0.4 + 0.6 * (i + 1) / n);
        const QRectF bar(bars.left() + i * slot + 1.5, bars.bottom() - h, qMax<qreal>(1, slot - 3),
                         h);
        p.setPen(QPen(ink, 1));
        p.setBrush(i == m_index ? ink : i < m_index ? face : kPaper);
        p.drawRoundedRect(bar, 1.5, 1.5);
    }

    QFont f = font();
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(textRect(), Qt::AlignCenter,
               QStringLiteral("%1 %").arg(speed()));

    if (hasFocus()) DrawFocusRing(p, rect(), FocusShape::Box);
}

void TSpeedControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !isEnabled()) return QWidget::mousePressEvent(e);
    const int at = stepAt(e->position().x());
    if (at < 0)
        slower();
    else if (at >= m_steps.size())
        faster();
    else
        choose(at);
    e->accept();
}

void TSpeedControl::wheelEvent(QWheelEvent* e) {
    const int dy = e->angleDelta().y();
    if (!isEnabled() || dy == 0) return QWidget::wheelEvent(e);
    choose(m_index + (dy > 0 ? 1 : -1));
    e->accept();
}

void TSpeedControl::keyPressEvent(QKeyEvent* e) {
    int step = SpeedKeyStep(*e);
    if (e->key() == Qt::Key_Left || e->key() == Qt::Key_Down) step = -1;
    if (e->key() == Qt::Key_Right || e->key() == Qt::Key_Up) step = 1;
    if (step == 0) return QWidget::keyPressEvent(e);
    choose(m_index + step);
    e->accept();
}

TSpeedControl* MakeCaptionedSpeed(QWidget* parent, std::span<const int> steps, int speed,
                                  QLabel** labelOut) {
    auto* box = new QWidget(parent);
    box->setObjectName(QStringLiteral("SpeedBox"));
    auto* lay = new QVBoxLayout(box);
    lay->setContentsMargins(2, 2, 2, 2);
    lay->setSpacing(2);
    auto* control = new TSpeedControl(steps, speed, box);
    control->setObjectName(QStringLiteral("Speed"));
    control->setFixedSize(control->sizeHint());
    auto* label = new QLabel(QStringLiteral("Скорость"), box);
    label->setObjectName(QStringLiteral("LabelSpeed"));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, kInk);
    label->setPalette(pal);
    lay->addWidget(control, 0, Qt::AlignHCenter);
    lay->addWidget(label, 0, Qt::AlignHCenter);
    if (labelOut) *labelOut = label;
    return control;
}
