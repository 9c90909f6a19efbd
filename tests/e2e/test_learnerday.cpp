// A learner's day through the program's own windows, driven by their object
// names: a copy of the demo course, the sound server's devices and an X
// display. A new learner hears the first vocabulary item to its end, the
// main window saves the progress on exit, and a second main window on the
// same course finds it after the learner is chosen again.
#include "app/helpwindow.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/formprogress.h"
#include "controls/picturedialog.h"
#include "course/appstate.h"
#include "course/progress.h"
#include "drill/dlgmessage.h"
#include "drill/eng_dlglexrepit.h"
#include "drill/eng_formexeclexicdemo.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaDevices>
#include <QPointer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

using testui::Shot; // into the folder VANTREL_SHOTS names (CTest names tests/e2e/screenshots)

void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

template <typename T = QWidget> T* Child(QWidget* w, const char* name) {
    return w ? w->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Answers the modal windows the program opens, in order. A step runs on every
// tick while its window is the active modal one, until it says it is done; a
// step whose click opens a further modal window must make that click last.
class Script : public QObject {
public:
    using Act = std::function<bool(QWidget*)>;

    Script() {
        connect(&m_timer, &QTimer::timeout, this, &Script::Tick);
        m_timer.start(20);
        m_wait.start();
    }
    void On(const QString& window, Act act) {
        m_steps.append({window, std::move(act)});
        m_wait.restart();
    }
    // Once a step failed every modal window is closed, so the gesture that
    // opened them returns.
    bool Check(bool ok, const QString& what) {
        if (!ok && m_failure.isEmpty()) {
            m_failure = what;
            m_steps.clear();
        }
        return ok;
    }
    // Empty when every step ran and passed.
    QString Trouble() const {
        if (!m_failure.isEmpty()) return m_failure;
        if (!m_steps.isEmpty()) return QStringLiteral("never opened: ") + m_steps.front().window;
        return {};
    }

private:
    struct Step {
        QString window;
        Act act;
    };

    void Tick() {
        QWidget* w = QApplication::activeModalWidget();
        if (!m_failure.isEmpty()) {
            if (auto* d = qobject_cast<QDialog*>(w)) QTimer::singleShot(0, d, &QDialog::reject);
            return;
        }
        if (m_busy) return;
        if (m_steps.isEmpty()) {
            // A window nobody expected (a message box, mostly) fails the day.
            if (!w)
                m_wait.restart();
            else if (m_wait.elapsed() > 5000)
                Check(false, QStringLiteral("unexpected window ") + w->objectName());
            return;
        }
        if (m_wait.elapsed() > 20000) {
            Check(false, m_steps.front().window + QStringLiteral(" not done in time"));
            return;
        }
        if (!w || !w->isVisible() || w->objectName() != m_steps.front().window) return;
        m_busy = true;
        QTimer::singleShot(0, this, [this, w = QPointer<QWidget>(w)] {
            m_busy = false;
            if (!w || m_steps.isEmpty() || QApplication::activeModalWidget() != w) return;
            Step s = m_steps.takeFirst();
            if (s.act(w))
                m_wait.restart();
            else if (m_failure.isEmpty())
                m_steps.prepend(s);
        });
    }

    QList<Step> m_steps;
    QTimer m_timer;
    QElapsedTimer m_wait;
    QString m_failure;
    bool m_busy = false;
};

QList<int> DoneItems(const ProgressTable& t) {
    QList<int> out;
    for (int i = 1; i <= t.Count; ++i)
        if (t[i].Done) out << i;
    return out;
}

} // namespace

class TestLearnerDay : public QObject {
    Q_OBJECT
    QTemporaryDir m_root;
    QString m_course, m_oldDir;
    Script m_do;
    std::unique_ptr<TFormMain> m_main;
    bool m_dayDone = false;

    // Clicks a tool button; returns when every window it opened was answered.
    void Tool(const char* name) {
        Click(Child<QToolButton>(m_main.get(), name));
        QVERIFY2(m_do.Trouble().isEmpty(), qPrintable(m_do.Trouble()));
    }
    void NewMain() {
        m_main = std::make_unique<TFormMain>();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(m_main->RunStartUp());
    }

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("no X display (DISPLAY is not set): the day runs in real windows");
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        if (QMediaDevices::defaultAudioOutput().isNull() ||
            QMediaDevices::defaultAudioInput().isNull())
            QSKIP("no sound server answers: no output or input device");
        QDir().mkpath(QStringLiteral(VANTREL_SHOTS_DIR));
        for (const QString& old : QDir(QStringLiteral(VANTREL_SHOTS_DIR)).entryList({"*.png"}))
            QFile::remove(QStringLiteral(VANTREL_SHOTS_DIR "/") + old);
        m_course = m_root.path() + QStringLiteral("/course");
        testenv::CopyTree(QStringLiteral(VANTREL_COURSE_DIR), m_course);
        m_oldDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_course));
        m_course = QDir::currentPath();
        // The services the program installs before its main window.
        InstallXMessageDialog();
        InstallPictureProgressWindow();
        InstallHelp(QDir::current().absoluteFilePath(QStringLiteral("help")));
        TFormMain::SetSplashRunner(nullptr);
    }
    void cleanupTestCase() {
        m_main.reset();
        if (!m_oldDir.isEmpty()) QDir::setCurrent(m_oldDir);
    }

    void day() {
        NewMain();
        if (QTest::currentTestFailed()) return;
        Shot(m_main.get(), QStringLiteral("main-start"));

        m_do.On(QStringLiteral("OKBottomDlgNewUser"), [](QWidget* w) {
            QTest::keyClicks(Child<QLineEdit>(w, "EditNameUser"), QStringLiteral("Anna"));
            QTest::keyClicks(Child<QLineEdit>(w, "EditPassword"), QStringLiteral("pw1"));
            QTest::keyClicks(Child<QLineEdit>(w, "EditPassword2"), QStringLiteral("pw1"));
            Click(Child(w, "RadioButtonD"));
            Shot(w, QStringLiteral("newuser"));
            Click(Child(w, "OKBtn"));
            return true;
        });
        Tool("ToolButtonNewUser");
        if (QTest::currentTestFailed()) return;

        // The vocabulary demo of item 4: every expression heard to its end,
        // then the results dialog marks it done.
        auto played = std::make_shared<bool>(false);
        m_do.On(QStringLiteral("FormExecLexicDemo"), [this, played](QWidget* w) {
            auto* play = Child<QAbstractButton>(w, "BitBtnPlay");
            if (!*played) {
                *played = true;
                Shot(w, QStringLiteral("lexicdemo"));
                Click(play);
                return !m_do.Check(!play->isEnabled(),
                                   QStringLiteral("the expression does not play"));
            }
            if (!play->isEnabled()) return false;
            const bool last = static_cast<TFormExecLexicDemo*>(w)->Paging().Remaining() == 0;
            Click(Child(w, "BitBtn1"));
            return last;
        });
        m_do.On(QStringLiteral("DlgLexRepit"), [](QWidget* w) {
            Shot(w, QStringLiteral("lexrepit"));
            Click(static_cast<TDlgLexRepit*>(w)->BitBtnOk);
            return true;
        });
        auto* tree = Child<QTreeWidget>(m_main.get(), "TreeView");
        QTreeWidgetItem* item4 = NodesInDisplayOrder(tree).value(3);
        QVERIFY(item4);
        tree->scrollToItem(item4);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(item4).center());
        QCOMPARE(tree->currentItem(), item4);
        Tool("ToolButton4");
        if (QTest::currentTestFailed()) return;
        QCOMPARE(DoneItems(CurrentProgress()), QList<int>{4});

        // Exit writes the progress file.
        Shot(m_main.get(), QStringLiteral("main-end"));
        const ProgressTable atExit = CurrentProgress();
        Click(Child<QToolButton>(m_main.get(), "ToolButtonExit"));
        QVERIFY(!m_main->isVisible());
        QCOMPARE(testenv::ReadBytes(m_course + QStringLiteral("/Report/Anna/Anna.rep")),
                 EncodeProgressFile(atExit));
        m_main.reset();
        m_dayDone = true;
    }

    void nextMorning() {
        if (!m_dayDone) QSKIP("the day did not get to its end");
        NewMain();
        if (QTest::currentTestFailed()) return;
        QCOMPARE(App().CurrentUser, -1);
        m_do.On(QStringLiteral("OKBottomDlgSelectUsers"), [](QWidget* w) {
            auto* list = Child<QListWidget>(w, "ListBoxUsers");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            Shot(w, QStringLiteral("main-restart-select"));
            Click(Child(w, "OKBtn"));
            return true;
        });
        m_do.On(QStringLiteral("DlgPassWord"), [](QWidget* w) {
            Child<QLineEdit>(w, "EditPassWord")->clear();
            QTest::keyClicks(Child<QLineEdit>(w, "EditPassWord"), QStringLiteral("pw1"));
            Shot(w, QStringLiteral("password"));
            Click(Child(w, "OKBtn"));
            return true;
        });
        Tool("ToolButton3");
        if (QTest::currentTestFailed()) return;
        QVERIFY2(m_main->windowTitle().contains(QStringLiteral("Anna")),
                 qPrintable(m_main->windowTitle()));
        Shot(m_main.get(), QStringLiteral("main-restart"));
        QCOMPARE(DoneItems(CurrentProgress()), QList<int>{4});
        Click(Child<QToolButton>(m_main.get(), "ToolButtonExit"));
    }
};

int main(int argc, char** argv) {
    // Without a display the test only reports why it skips.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    testenv::PrivateHome();
    QApplication app(argc, argv);
    TestLearnerDay test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_learnerday.moc"
