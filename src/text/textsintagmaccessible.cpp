#include "text/textsintagmaccessible.h"

#include "text/textsintagm.h"

#include <QAccessibleWidget>

namespace {

class SintagmAccessible : public QAccessibleWidget {
public:
    explicit SintagmAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description || t == QAccessible::Value)
            if (auto* v = qobject_cast<TTextSintagm*>(object())) return v->CurrentSintagmText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }
};

QAccessibleInterface* sintagmFactory(const QString& cls, QObject* o) {
    if (cls == QLatin1String("TTextSintagm") && qobject_cast<TTextSintagm*>(o))
        return new SintagmAccessible(static_cast<QWidget*>(o));
    return nullptr;
}

} // namespace

void InstallSintagmAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(sintagmFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
