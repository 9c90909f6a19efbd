// A learner's day through the program's own windows, driven by their object
// names: a copy of the demo course, the sound server's devices and an X
// display. A new learner hears the first vocabulary item to its end, the
// main window saves the progress on exit, and a second main window on the
// same course finds it after the learner is chosen again.
#include "app/helpwindow.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/formprogress.h"
#include "course/progress.h"
#include "drill/dlgmessage.h"
#include "drill/eng_formexeclexicdemo.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"

#include <QAbstractButton>
#include <QAudioDevice>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaDevices>
#include <QTreeWidget>
#include <QtTest>

using testui::Child;
using testui::Shot; // into the folder VANTREL_SHOTS names (CTest names tests/e2e/screenshots)

namespace {

void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

} // namespace

class TestLearnerDay : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_course; // the working folder while it lives
    std::unique_ptr<TFormMain> m_main;            // goes before the course
    QStringList m_trouble;
    QTimer m_watch;
    QPointer<QWidget> m_lastModal;
    int m_modalTicks = 0;

    // Answers the next modal window, which must be `name`.
    void Answer(const QString& name, std::function<void(QWidget*)> act) {
        testenv::OnNextModal(
            [=, this](QWidget* w) {
                if (w->objectName() == name) return act(w);
                m_trouble << name + QStringLiteral(" expected, opened: ") + w->objectName();
                if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            },
            20000);
    }
    // A modal window nobody answers for 30 s (a message box, mostly) fails
    // the day and is closed, so the gesture that opened it returns.
    void Watch() {
        QWidget* w = QApplication::activeModalWidget();
        m_modalTicks = w && w == m_lastModal ? m_modalTicks + 1 : 0;
        m_lastModal = w;
        if (m_modalTicks < 30) return;
        m_trouble << QStringLiteral("unanswered window ") + w->objectName();
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    }

    // Clicks a tool button; returns when every window it opened was
    // answered, whether all went as expected.
    bool Tool(const char* name) {
        Click(Child(m_main.get(), name));
        if (!m_trouble.isEmpty()) qWarning("%s", qPrintable(m_trouble.join('\n')));
        return m_trouble.isEmpty();
    }
    bool NewMain() {
        m_main.reset(); // the one before goes first
        m_main = std::make_unique<TFormMain>();
        m_main->show();
        return QTest::qWaitForWindowExposed(m_main.get()) && m_main->RunStartUp();
    }

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("no X display (DISPLAY is not set): the day runs in real windows");
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        if (QMediaDevices::defaultAudioOutput().isNull() ||
            QMediaDevices::defaultAudioInput().isNull())
            QSKIP("no sound server answers: no output or input device");
        QDir(QStringLiteral(VANTREL_SHOTS_DIR)).removeRecursively(); // no pictures of a day before
        m_course = std::make_unique<testenv::CourseDir>();
        testenv::CopyTree(QStringLiteral(VANTREL_COURSE_DIR), m_course->path());
        // The services the program installs before its main window.
        InstallXMessageDialog();
        InstallPictureProgressWindow();
        InstallHelp(QDir::current().absoluteFilePath(QStringLiteral("help")));
        TFormMain::SetSplashRunner(nullptr);
        connect(&m_watch, &QTimer::timeout, this, &TestLearnerDay::Watch);
        m_watch.start(1000);
    }
    void day() {
        QVERIFY(NewMain());
        Shot(m_main.get(), QStringLiteral("main-start"));
        Answer(QStringLiteral("OKBottomDlgNewUser"), [](QWidget* w) {
            QTest::keyClicks(Child<QLineEdit>(w, "EditNameUser"), QStringLiteral("Anna"));
            QTest::keyClicks(Child<QLineEdit>(w, "EditPassword"), QStringLiteral("pw1"));
            QTest::keyClicks(Child<QLineEdit>(w, "EditPassword2"), QStringLiteral("pw1"));
            Click(Child(w, "RadioButtonD"));
            Shot(w, QStringLiteral("newuser"));
            Click(Child(w, "OKBtn"));
        });
        QVERIFY(Tool("ToolButtonNewUser"));

        // The vocabulary demo of item 4: every expression heard to its end,
        // then the results dialog marks it done.
        Answer(QStringLiteral("FormExecLexicDemo"), [this](QWidget* w) {
            auto* play = Child<QAbstractButton>(w, "BitBtnPlay");
            Shot(w, QStringLiteral("lexicdemo"));
            Click(play);
            if (play->isEnabled()) m_trouble << QStringLiteral("the expression does not play");
            for (bool last = false; !last && m_trouble.isEmpty();) {
                if (!QTest::qWaitFor([play] { return play->isEnabled(); }, 20000))
                    m_trouble << QStringLiteral("an expression plays without end");
                last = static_cast<TFormExecLexicDemo*>(w)->Paging().Remaining() == 0;
                if (last)
                    Answer(QStringLiteral("DlgLexRepit"), [](QWidget* d) {
                        Shot(d, QStringLiteral("lexrepit"));
                        Click(Child(d, "BitBtnOk"));
                    });
                Click(Child(w, "BitBtn1"));
            }
            if (!m_trouble.isEmpty()) static_cast<QDialog*>(w)->reject();
        });
        auto* tree = Child<QTreeWidget>(m_main.get(), "TreeView");
        QTreeWidgetItem* item4 = NodesInDisplayOrder(tree).value(3);
        QVERIFY(item4);
        tree->setCurrentItem(item4);
        QVERIFY(Tool("ToolButton4"));
        QVERIFY(CurrentProgress()[4].Done);

        // Exit writes the progress file; the next morning a new main window
        // finds it once Anna is chosen.
        const ProgressTable atExit = CurrentProgress();
        Click(Child(m_main.get(), "ToolButtonExit"));
        CurrentProgress() = ProgressTable{}; // nothing kept in memory overnight
        QVERIFY(NewMain());
        Answer(QStringLiteral("OKBottomDlgSelectUsers"), [this](QWidget* w) {
            auto* list = Child<QListWidget>(w, "ListBoxUsers");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            // The password window opens from this click.
            Answer(QStringLiteral("DlgPassWord"), [](QWidget* p) {
                Child<QLineEdit>(p, "EditPassWord")->clear();
                QTest::keyClicks(Child<QLineEdit>(p, "EditPassWord"), QStringLiteral("pw1"));
                Shot(p, QStringLiteral("password"));
                Click(Child(p, "OKBtn"));
            });
            Click(Child(w, "OKBtn"));
        });
        QVERIFY(Tool("ToolButton3"));
        Shot(m_main.get(), QStringLiteral("main-restart"));
        QCOMPARE(EncodeProgressFile(CurrentProgress()), EncodeProgressFile(atExit));
        Click(Child(m_main.get(), "ToolButtonExit"));
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
