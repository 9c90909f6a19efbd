#include "controls/accessiblecontrols.h"

#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/prgssbarzv.h"
#include "controls/speedcontrol.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

AccessibleEventSink& Sink() {
    static AccessibleEventSink sink;
    return sink;
}

QString plain(QString s) {
    // Captions may carry mnemonics or wrap over lines; a reader wants the words.
    s.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    s.remove(QLatin1Char('&'));
    s.replace(QChar(1), QLatin1Char('&'));
    return s.simplified();
}

// The transparent picture button: a push button named by its caption label.
class TransButtonAccessible : public QAccessibleWidget {
public:
    explicit TransButtonAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked()"));
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return SpokenName(widget());
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != pressAction()) return QAccessibleWidget::doAction(name);
        if (auto* b = qobject_cast<TBtnImgTransD1Zv*>(object())) b->click();
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

// The picture check mark: its own Enabled flag greys it while the widget
// stays enabled, so that flag is what "unavailable" reports.
class CheckMarkAccessible : public QAccessibleWidget {
public:
    explicit CheckMarkAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::CheckBox) {
        addControllingSignal(QStringLiteral("clicked()"));
    }
    TChBxImgTransD1Zv* mark() const { return qobject_cast<TChBxImgTransD1Zv*>(object()); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return SpokenName(widget());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (const TChBxImgTransD1Zv* m = mark()) {
            s.checkable = true;
            s.checked = m->Checked();
            if (!m->markEnabled()) s.disabled = true;
        }
        return s;
    }
    QStringList actionNames() const override {
        return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name != toggleAction()) return QAccessibleWidget::doAction(name);
        if (TChBxImgTransD1Zv* m = mark()) m->click();
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == toggleAction()) return {QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(name);
    }
};

// The picture progress bar: read-only value Position within Min..Max.
class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::ProgressBar) {}
    TPrgssBarZv* bar() const { return qobject_cast<TPrgssBarZv*>(object()); }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return SpokenName(widget());
        if (t == QAccessible::Value) {
            const TPrgssBarZv* b = bar();
            if (!b) return {};
            return QString::number(RangePercent(b->Position(), b->Min(), b->Max())) +
                   QLatin1Char('%');
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }
    QVariant currentValue() const override { return bar() ? bar()->Position() : QVariant(); }
    void setCurrentValue(const QVariant&) override {} // the program moves it, never the user
    QVariant maximumValue() const override { return bar() ? bar()->Max() : QVariant(); }
    QVariant minimumValue() const override { return bar() ? bar()->Min() : QVariant(); }
    QVariant minimumStepSize() const override { return 0; }
};

// The speed picture: a slider over the speed steps, in percent.
class SpeedAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpeedAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Slider) {}
    TSpeedControl* control() const { return qobject_cast<TSpeedControl*>(object()); }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return SpokenName(widget());
        if (t == QAccessible::Value)
            return control() ? QStringLiteral("%1 %").arg(control()->speed()) : QString();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return control() ? control()->speed() : QVariant(); }
    void setCurrentValue(const QVariant& v) override {
        if (TSpeedControl* c = control()) c->setSpeed(v.toInt());
    }
    QVariant maximumValue() const override { return control() ? control()->fastest() : QVariant(); }
    QVariant minimumValue() const override { return control() ? control()->slowest() : QVariant(); }
    QVariant minimumStepSize() const override { return 10; }
};

QAccessibleInterface* controlFactory(const QString& cls, QObject* o) {
    // Only the class's own name: a half-destroyed control is a plain QWidget
    // again, and a subclass gets these unless it brings its own.
    if (cls == QLatin1String("TBtnImgTransD1Zv") && qobject_cast<TBtnImgTransD1Zv*>(o))
        return new TransButtonAccessible(static_cast<QWidget*>(o));
    if (cls == QLatin1String("TChBxImgTransD1Zv") && qobject_cast<TChBxImgTransD1Zv*>(o))
        return new CheckMarkAccessible(static_cast<QWidget*>(o));
    if (cls == QLatin1String("TPrgssBarZv") && qobject_cast<TPrgssBarZv*>(o))
        return new ProgressBarAccessible(static_cast<QWidget*>(o));
    if (cls == QLatin1String("TSpeedControl") && qobject_cast<TSpeedControl*>(o))
        return new SpeedAccessible(static_cast<QWidget*>(o));
    return nullptr;
}

} // namespace

void InstallControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(controlFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString SpokenName(const QWidget* w) {
    if (!w) return {};
    if (!w->accessibleName().isEmpty()) return w->accessibleName();
    QString s;
    if (auto* b = qobject_cast<TBtnImgTransD1Zv*>(const_cast<QWidget*>(w))) {
        if (const QLabel* l = CaptionOf(b)) s = plain(l->text());
    } else if (auto* m = qobject_cast<const TChBxImgTransD1Zv*>(w)) {
        s = plain(m->Caption());
    }
    if (s.isEmpty()) s = plain(w->toolTip());
    return s;
}

int RangePercent(int position, int min, int max) {
    if (max <= min) return 0;
    const qint64 p = (qint64(position) - min) * 100 / (qint64(max) - min);
    return int(qBound(qint64(0), p, qint64(100)));
}

void NotifyAccessible(QAccessibleEvent& e) {
    if (Sink()) Sink()(e);
    QAccessible::updateAccessibility(&e);
}

void NotifyAccessibleState(QObject* o, QAccessible::State changed) {
    QAccessibleStateChangeEvent e(o, changed);
    NotifyAccessible(e);
}

void NotifyAccessibleEvent(QObject* o, QAccessible::Event type) {
    QAccessibleEvent e(o, type);
    NotifyAccessible(e);
}

void NotifyAccessibleValue(QObject* o, const QVariant& value) {
    QAccessibleValueChangeEvent e(o, value);
    NotifyAccessible(e);
}

void SetAccessibleEventSink(AccessibleEventSink sink) {
    Sink() = std::move(sink);
}
