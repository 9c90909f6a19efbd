// Screen reader and keyboard use of the real windows over the demo course:
// every control a reader reaches has a name and the role it acts as, its
// state follows the control, and in the main window Tab alone reaches every
// enabled control, left before right along a row.
#include "common/testenv.h"
#include "controls/accessiblecontrols.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/prgssbarzv.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnertable.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"
#include "text/textsintagm.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDirIterator>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

bool Shown(const QWidget* w, const QWidget* top) {
    return w->isVisibleTo(top) && w->window() == top && !w->size().isEmpty();
}

// The role a reader must hear for the controls a learner acts on; other
// widgets (frames, labels, panes) are not checked.
std::optional<QAccessible::Role> RoleOf(QWidget* w) {
    if (qobject_cast<QRadioButton*>(w)) return QAccessible::RadioButton;
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<TChBxImgTransD1Zv*>(w))
        return QAccessible::CheckBox;
    if (qobject_cast<TPrgssBarZv*>(w)) return QAccessible::ProgressBar;
    if (qobject_cast<TBtnImgTransD1Zv*>(w)) return QAccessible::Button;
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->inherits("QToolButton"))
        return QAccessible::Button;
    return std::nullopt;
}

QString Describe(QWidget* w) {
    return QStringLiteral("%1 '%2' at %3,%4")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
        .arg(w->mapTo(w->window(), QPoint(0, 0)).x())
        .arg(w->mapTo(w->window(), QPoint(0, 0)).y());
}

// Every control of the window: a name, the right role, and the state the
// control is in (checked, unavailable).
QStringList AccessibilityFaults(QWidget* top) {
    QStringList faults;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!Shown(w, top)) continue;
        const auto role = RoleOf(w);
        if (!role) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a) {
            faults << Describe(w) + QStringLiteral(": no accessible interface");
            continue;
        }
        if (a->text(QAccessible::Name).trimmed().isEmpty())
            faults << Describe(w) + QStringLiteral(": no name");
        if (a->role() != *role)
            faults << Describe(w) + QStringLiteral(": role %1").arg(int(a->role()));
        bool checked = false, available = w->isEnabled();
        if (auto* m = qobject_cast<TChBxImgTransD1Zv*>(w)) {
            checked = m->Checked();
            available = available && m->markEnabled();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            checked = b->isCheckable() && b->isChecked();
        }
        if (a->state().checked != checked)
            faults << Describe(w) + QStringLiteral(": checked is reported as %1").arg(!checked);
        if (a->state().disabled == available)
            faults << Describe(w) +
                          QStringLiteral(": unavailable is reported as %1").arg(available);
        if (qobject_cast<TPrgssBarZv*>(w) && !a->valueInterface())
            faults << Describe(w) + QStringLiteral(": no value");
    }
    return faults;
}

bool TabStop(QWidget* w, QWidget* top) {
    return Shown(w, top) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

// Tab from the window's first stop round to it again: every enabled control
// once, and of two controls on one row the left one first.
QStringList TabFaults(QWidget* top) {
    QStringList faults;
    QList<QWidget*> stops;
    for (QWidget* w : top->findChildren<QWidget*>())
        if (TabStop(w, top)) stops << w;
    if (stops.isEmpty()) return {QStringLiteral("no control takes the focus")};
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top))
        return {QStringLiteral("the window never became active")};
    QWidget* first = stops.first();
    first->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    if (!QApplication::focusWidget()) return {Describe(first) + QStringLiteral(" takes no focus")};
    QList<QWidget*> order{QApplication::focusWidget()};
    for (int i = 0; i < 3 * stops.size() + 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (!now) {
            faults << QStringLiteral("Tab leaves the window after ") + Describe(order.last());
            break;
        }
        if (!now || now == order.first()) break;
        if (order.contains(now)) {
            faults << QStringLiteral("Tab comes back to ") + Describe(now);
            break;
        }
        order << now;
    }
    // A control that a window's timer enabled or disabled meanwhile is not counted.
    for (QWidget* w : stops)
        if (!order.contains(w) && TabStop(w, top))
            faults << QStringLiteral("Tab never reaches ") + Describe(w);
    const auto centre = [top](QWidget* w) { return w->mapTo(top, w->rect().center()); };
    for (int i = 0; i < order.size(); ++i)
        for (int j = i + 1; j < order.size(); ++j) {
            const QPoint a = centre(order[i]), b = centre(order[j]);
            const bool sameRow =
                qAbs(a.y() - b.y()) <= 4 && order[i]->parentWidget() == order[j]->parentWidget();
            if (sameRow && b.x() < a.x())
                faults << QStringLiteral("Tab goes right to left: ") + Describe(order[i]) +
                              QStringLiteral(" before ") + Describe(order[j]);
        }
    return faults;
}

class TestAccessibility : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        if (!QFileInfo::exists(QStringLiteral(VANTREL_DEMO_COURSE "/InitRegD.txt")))
            QSKIP("no demo course in this build (configure with -DVANTREL_COURSE=ON)");
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        SetXMessageHandler([](const QString&, const QString&, int) { return 1; });
    }
    void init() {
        ResetAppState();
        CurrentProgress() = ProgressTable{};
        Learners().Users.clear();
        m_dir = std::make_unique<testenv::CourseDir>();
        testenv::CopyTree(QStringLiteral(VANTREL_DEMO_COURSE), m_dir->path());
    }
    void cleanup() { m_dir.reset(); }

    void mainWindow() {
        TFormMain form;
        form.show();
        QVERIFY(form.RunStartUp());
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QStringList faults = AccessibilityFaults(&form) + TabFaults(&form);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // The text work window as the launcher opens it for the anonymous
    // learner of mode D.
    void textWorkWindow() {
        const int kind = ekWorkText;
        TFormMain form;
        form.show();
        QVERIFY(form.RunStartUp());
        const CourseTable& table = CourseTableOf('D');
        int item = 0;
        for (int i = 1; i < table.size() && !item; ++i)
            if (table[i].ExerciseKind == kind) item = i;
        QVERIFY(item > 0);
        auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
        tree->setCurrentItem(NodesInDisplayOrder(tree)[item - 1]);

        // The first modal window is the exercise: checked, then closed; whatever
        // asks afterwards (results, "are you sure") is declined.
        QStringList faults;
        bool opened = false;
        QTimer watch;
        watch.setInterval(20);
        connect(&watch, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dlg || !dlg->isVisible()) return;
            if (!opened) {
                opened = true;
                watch.stop();
                QTest::qWait(50);
                faults = AccessibilityFaults(dlg);
                watch.start();
            }
            dlg->reject();
        });
        watch.start();
        form.ToolButton4Click();
        watch.stop();
        QVERIFY(opened);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }

    // A change of a picture check mark reaches a reader as the control's state.
    void checkMarkStates() {
        QWidget top;
        auto* m = new TChBxImgTransD1Zv(&top);
        m->setCaption(QStringLiteral("Показывать текст"));
        top.show();
        QList<QAccessible::State> seen;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.type() == QAccessible::StateChanged && e.object() == m)
                seen << static_cast<const QAccessibleStateChangeEvent&>(e).changedStates();
        });
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Показывать текст"));
        m->setChecked(true);
        QVERIFY(a->state().checked);
        m->setChecked(true); // no change, no event
        m->setMarkEnabled(false);
        QVERIFY(a->state().disabled);
        SetAccessibleEventSink({});
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[0].checked);
        QVERIFY(seen[1].disabled);
    }
};

} // namespace

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
