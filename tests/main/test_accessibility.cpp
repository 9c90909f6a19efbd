// Screen reader and keyboard use of the real windows over the demo course:
// in every window and dialog each control a reader reaches has a name and
// the role it acts as, its state follows the control, Tab alone reaches
// every enabled control, left before right along a row, and the window's
// main key clicks its main command.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/prgssbarzv.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "drill/dlgmessage.h"
#include "drill/eng_dlgerrordo.h"
#include "drill/eng_dlglexicerror.h"
#include "drill/eng_dlglexrepit.h"
#include "drill/eng_formquestend.h"
#include "learners/eng_dlgchpassprep.h"
#include "learners/eng_dlgnewuser.h"
#include "learners/eng_dlgpassword.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/eng_formprepod.h"
#include "learners/eng_formreport.h"
#include "learners/learnertable.h"
#include "main/coursetree.h"
#include "main/eng_dlgabout.h"
#include "main/eng_dlgchengreg.h"
#include "main/eng_dlgtestfullduplex.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"
#include "support_main.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
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
    const QPoint at = w->mapTo(w->window(), QPoint(0, 0));
    return QStringLiteral("%1 '%2' at %3,%4")
        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
        .arg(at.x())
        .arg(at.y());
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
        if (now == order.first()) break;
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

// The window's main key, pressed where the window has put the focus, clicks
// the button `name` once. What the button then does is left out (its
// receivers are cut off), so no command opens a window or plays here.
QStringList KeyFaults(QWidget* top, const QKeySequence& key, const QString& name) {
    auto* button = top->findChild<QWidget*>(name);
    if (!button) return {QStringLiteral("no button ") + name};
    int clicks = 0;
    QObject counting; // the counters go with it
    if (auto* b = qobject_cast<QAbstractButton*>(button)) {
        QObject::disconnect(b, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(b, &QAbstractButton::clicked, &counting, [&] { ++clicks; });
    } else if (auto* t = qobject_cast<TBtnImgTransD1Zv*>(button)) {
        QObject::disconnect(t, &TBtnImgTransD1Zv::clicked, nullptr, nullptr);
        QObject::connect(t, &TBtnImgTransD1Zv::clicked, &counting, [&] { ++clicks; });
    }
    QWidget* focus = QApplication::focusWidget();
    QTest::keySequence(focus && focus->window() == top ? focus : top, key);
    // A default button may animate its click.
    (void)QTest::qWaitFor([&] { return clicks > 0; }, 500);
    if (clicks == 1) return {};
    return {key.toString() +
            QStringLiteral(" clicks %1 %2 times").arg(Describe(button)).arg(clicks)};
}

QStringList AllFaults(QWidget* top, const QKeySequence& key, const QString& button) {
    const QStringList keys = key.isEmpty() ? QStringList() : KeyFaults(top, key, button);
    return keys + AccessibilityFaults(top) + TabFaults(top);
}

// The dialogs as the program makes them.
using Factory = std::unique_ptr<QDialog> (*)();
template <class D> std::unique_ptr<QDialog> Make() { return std::make_unique<D>(); }
std::unique_ptr<QDialog> QuestionResults() {
    auto d = std::make_unique<TFormQuestEnd>();
    d->Fill({{QStringLiteral("Is it?"), true, true, false, 0, 0}}, 1);
    return d;
}

// Opens the exercise of `kind` of mode D from the main window by Enter on the
// course tree, the main window's own key, and checks the exercise window; it
// is closed then, and whatever asks afterwards (results, "are you sure") is
// declined.
QStringList ExerciseFaults(TFormMain& form, int kind, const QKeySequence& key,
                           const QString& button) {
    const CourseTable& table = CourseTableOf('D');
    int item = 0;
    for (int i = 1; i < table.size() && !item; ++i)
        if (table[i].ExerciseKind == kind) item = i;
    if (!item) return {QStringLiteral("no exercise of this kind in mode D")};
    auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
    tree->setCurrentItem(NodesInDisplayOrder(tree)[item - 1]);
    QStringList faults{QStringLiteral("Enter on the course tree opens no window")};
    bool opened = false;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg || !dlg->isVisible()) return;
        if (!opened) {
            opened = true;
            watch.stop();
            QTest::qWait(50);
            faults = AllFaults(dlg, key, button);
            watch.start();
        }
        dlg->reject();
    });
    watch.start();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Return);
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

    // Rows with a kind are exercise windows, rows with a factory dialogs.
    void windows_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<QString>("button"); // the main command the key clicks
        QTest::addColumn<Factory>("make");
        const auto row = [](const char* tag, int kind, const QKeySequence& key,
                            const QString& button, Factory make = nullptr) {
            QTest::newRow(tag) << kind << key << button << make;
        };
        const QKeySequence play(Qt::CTRL | Qt::Key_P), enter(Qt::Key_Return);
        row("main window", 0, QKeySequence(), QString()); // key: see ExerciseFaults
        row("vocabulary presentation", ekLexicDemo, play, "BitBtnPlay");
        row("vocabulary drill", ekLexic, play, "BitBtnPlay");
        row("question presentation", ekQuestDemo, enter, "BitBtn1");
        row("question drill", ekQuestDown, enter, "BitBtn1");
        row("true/false", ekQuestTrFl, play, "BitBtnPlay");
        row("text work", ekWorkText, play, "BitBtnPlayAll");
        row("listening practice", ekTransListen, play, "BitBtnPlay");
        row("new learner", 0, enter, "OKBtn", Make<TOKBottomDlgNewUser>);
        row("select learner", 0, enter, "OKBtn", Make<TOKBottomDlgSelectUsers>);
        row("password", 0, enter, "OKBtn", Make<TDlgPassWord>);
        row("teacher password", 0, enter, "OKBtn", Make<TDlgChPassPrep>);
        row("change mode", 0, enter, "OKBtn", Make<TOKBottomDlgChengeReg>);
        row("about", 0, enter, "OKBtn", Make<TOKBottomDlgAbout>);
        row("no full duplex", 0, enter, "OKBtn", Make<TDlgTestFullDulex>);
        row("message", 0, enter, "BitBtnOk", Make<TDlgxMessage>);
        row("wrong answer", 0, enter, "BitBtnOk", Make<TDlgLexicError>);
        row("try again", 0, enter, "BitBtnOk", Make<TDlgErrorDo>);
        row("vocabulary results", 0, enter, "BitBtnOk", Make<TDlgLexRepit>);
        row("question results", 0, enter, "BitBtnOk", QuestionResults);
        row("report", 0, enter, "BtnImgClose", Make<TFormReport>);
        row("teacher console", 0, QKeySequence(QKeySequence::Print), "BitBtn3", Make<TFormPrepod>);
    }
    void windows() {
        QFETCH(int, kind);
        QFETCH(QKeySequence, key);
        QFETCH(QString, button);
        QFETCH(Factory, make);
        QStringList faults;
        if (make) {
            // One learner on the list, for the lists and the teacher console to show.
            mainfix::AddLearner(*m_dir, "Anna", "", 'D', {});
            std::unique_ptr<QDialog> dlg = make();
            dlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
            faults = AllFaults(dlg.get(), key, button);
        } else {
            TFormMain form;
            form.show();
            QVERIFY(form.RunStartUp());
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            faults = kind ? ExerciseFaults(form, kind, key, button) : AllFaults(&form, key, button);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    }
};

} // namespace

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
