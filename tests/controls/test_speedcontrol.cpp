// The speed picture: what a click, the wheel and the keys choose, the keys
// of the window it is bound to, and what a screen reader learns of it.
#include "controls/accessiblecontrols.h"
#include "controls/speedcontrol.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {
const int kSteps[] = {100, 90, 80, 70, 60, 50};

enum class Act { ClickLeft, ClickRight, ClickBar, WheelUp, WheelDown, Key };
} // namespace
Q_DECLARE_METATYPE(Act)

class TestSpeedControl : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choose_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<Act>("act");
        QTest::addColumn<int>("arg"); // the bar (0 = slowest) or the key
        QTest::addColumn<int>("to");
        QTest::newRow("slower half") << 100 << Act::ClickLeft << 0 << 90;
        QTest::newRow("faster half") << 70 << Act::ClickRight << 0 << 80;
        QTest::newRow("third bar") << 100 << Act::ClickBar << 2 << 70;
        QTest::newRow("fastest bar") << 50 << Act::ClickBar << 5 << 100;
        QTest::newRow("wheel up") << 60 << Act::WheelUp << 0 << 70;
        QTest::newRow("wheel down") << 60 << Act::WheelDown << 0 << 50;
        QTest::newRow("Left") << 80 << Act::Key << int(Qt::Key_Left) << 70;
        QTest::newRow("Right") << 80 << Act::Key << int(Qt::Key_Right) << 90;
        QTest::newRow("minus") << 80 << Act::Key << int(Qt::Key_Minus) << 70;
        QTest::newRow("plus") << 80 << Act::Key << int(Qt::Key_Plus) << 90;
        QTest::newRow("equals, the plus key unshifted") << 80 << Act::Key << int(Qt::Key_Equal)
                                                        << 90;
        QTest::newRow("a letter") << 80 << Act::Key << int(Qt::Key_A) << 80;
    }
    void choose() {
        QFETCH(int, from);
        QFETCH(Act, act);
        QFETCH(int, arg);
        QFETCH(int, to);
        TSpeedControl c(kSteps, from);
        c.resize(c.sizeHint());
        QCOMPARE(c.speed(), from);
        QSignalSpy changed(&c, &TSpeedControl::speedChanged);
        const int w = c.width(), h = c.height();
        // The bars lie between the two round halves.
        const int left = h / 2 + 12, right = w - h / 2 - 12;
        switch (act) {
        case Act::ClickLeft:
            QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(6, h / 2));
            break;
        case Act::ClickRight:
            QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(w - 6, h / 2));
            break;
        case Act::ClickBar: {
            const int x = left + (right - left) * (2 * arg + 1) / 12;
            QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(x, h - 8));
            break;
        }
        case Act::WheelUp:
        case Act::WheelDown: {
            const QPoint at(w / 2, h / 2);
            QWheelEvent e(at, c.mapToGlobal(at), {}, {0, act == Act::WheelUp ? 120 : -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(&c, &e);
            break;
        }
        case Act::Key:
            QTest::keyClick(&c, Qt::Key(arg));
            break;
        }
        QCOMPARE(c.speed(), to);
        QCOMPARE(changed.size(), from == to ? 0 : 1);
        if (!changed.isEmpty()) QCOMPARE(changed[0][0].toInt(), to);
    }

    // Off the steps, a speed snaps to the nearest one; a disabled control
    // takes no click.
    void snapAndDisabled() {
        TSpeedControl c(kSteps, 77);
        QCOMPARE(c.speed(), 80);
        c.setSpeed(1000);
        QCOMPARE(c.speed(), 100);
        c.setSpeed(0);
        QCOMPARE(c.speed(), 50);
        c.resize(c.sizeHint());
        c.setEnabled(false);
        QTest::mouseClick(&c, Qt::LeftButton, {}, QPoint(c.width() - 6, c.height() / 2));
        QCOMPARE(c.speed(), 50);
    }

    // Bound to a window, "-" and "+" work wherever the focus is, except in a
    // text field that takes the character, or with Ctrl.
    void windowKeys_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("to");
        QTest::newRow("pad minus") << "button" << int(Qt::Key_Minus) << int(Qt::KeypadModifier)
                                   << 70;
        QTest::newRow("pad plus") << "button" << int(Qt::Key_Plus) << int(Qt::KeypadModifier)
                                  << 90;
        QTest::newRow("shifted plus") << "button" << int(Qt::Key_Plus) << int(Qt::ShiftModifier)
                                      << 90;
        QTest::newRow("Ctrl+minus") << "button" << int(Qt::Key_Minus) << int(Qt::ControlModifier)
                                    << 80;
        QTest::newRow("plus on a list, not a search") << "list" << int(Qt::Key_Plus) << 0 << 90;
        QTest::newRow("minus typed in a field") << "field" << int(Qt::Key_Minus) << 0 << 80;
        QTest::newRow("hidden control") << "hidden" << int(Qt::Key_Minus) << 0 << 80;
    }
    void windowKeys() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, to);
        QWidget window;
        auto* lay = new QVBoxLayout(&window);
        auto* button = new QPushButton(QStringLiteral("b"), &window);
        auto* field = new QLineEdit(&window);
        auto* list = new QListWidget(&window);
        list->addItems({QStringLiteral("+1"), QStringLiteral("-1")});
        auto* speed = new TSpeedControl(kSteps, 80, &window);
        for (QWidget* w : std::initializer_list<QWidget*>{button, field, list, speed})
            lay->addWidget(w);
        speed->bindKeys(&window);
        if (focus == "hidden") speed->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* target = focus == "field"  ? static_cast<QWidget*>(field)
                          : focus == "list" ? static_cast<QWidget*>(list)
                                            : button;
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(speed->speed(), to);
        if (focus == "field") QCOMPARE(field->text(), QStringLiteral("-"));
    }

    // A slider with the speed as its value; a reader may set it, and every
    // change is announced.
    void accessible() {
        InstallControlAccessibility();
        QList<QVariant> announced;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.type() == QAccessible::ValueChanged)
                announced << static_cast<const QAccessibleValueChangeEvent&>(e).value();
        });
        TSpeedControl c(kSteps, 100);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&c);
        QVERIFY(a);
        QCOMPARE(a->role(), QAccessible::Slider);
        QVERIFY(!a->text(QAccessible::Name).isEmpty());
        QAccessibleValueInterface* v = a->valueInterface();
        QVERIFY(v);
        QCOMPARE(v->minimumValue().toInt(), 50);
        QCOMPARE(v->maximumValue().toInt(), 100);
        v->setCurrentValue(60);
        QCOMPARE(c.speed(), 60);
        QCOMPARE(v->currentValue().toInt(), 60);
        QVERIFY(a->text(QAccessible::Value).startsWith(QStringLiteral("60")));
        c.faster();
        SetAccessibleEventSink({});
        QCOMPARE(announced, (QList<QVariant>{60, 70}));
    }
};

QTEST_MAIN(TestSpeedControl)
#include "test_speedcontrol.moc"
