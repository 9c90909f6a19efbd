// A learner's whole day through the program's own windows, driven by their
// object names: a copy of the demo course, the sound server's devices and an
// X display. The learner is created in mode D and works through lesson 1,
// changes to mode A, records two listening runs and analyses the own
// translation; the teacher console plays a take and prints the report; a
// second main window on the same course finds everything that was saved.
#include "app/helpwindow.h"
#include "base/paths.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/formprogress.h"
#include "controls/picturedialog.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "drill/dlgmessage.h"
#include "drill/eng_dlglexrepit.h"
#include "drill/eng_formexeclexic.h"
#include "drill/eng_formexeclexicdemo.h"
#include "drill/eng_formquestdemo.h"
#include "drill/eng_formquestdown.h"
#include "drill/eng_formquesttrfl.h"
#include "learners/eng_formprepod.h"
#include "learners/eng_formreport.h"
#include "learners/learnertable.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"
#include "media/wavefile.h"
#include "text/eng_formworktext.h"
#include "text/eng_transnotext.h"

#include <QAction>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMediaDevices>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSlider>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

// Helpers check with QVERIFY; the day stops at the first step that failed.
#define STEP(call)                                                                                 \
    do {                                                                                           \
        call;                                                                                      \
        if (QTest::currentTestFailed()) return;                                                    \
    } while (false)

namespace {

using testui::Shot; // into the folder VANTREL_SHOTS names (CTest names tests/e2e/screenshots)

void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

template <typename T = QWidget> T* Child(QWidget* w, const char* name) {
    return w ? w->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Answers the modal windows the program opens, in order, one step per
// window. A step runs on every tick while its window is the active modal
// one, until it says it is done; it has timeoutMs from the end of the step
// before. A step whose click opens a further modal window must make that
// click last and then say it is done.
class Script : public QObject {
public:
    using Act = std::function<bool(QWidget*)>;

    Script() {
        connect(&m_timer, &QTimer::timeout, this, &Script::Tick);
        m_timer.start(20);
        m_wait.start();
    }
    void On(const QString& window, Act act, int timeoutMs = 20000) {
        m_steps.append({window, std::move(act), timeoutMs});
        m_wait.restart();
    }
    // False with the reason once a step failed; every modal window is then
    // closed so the gesture that opened them returns.
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
        int timeoutMs;
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
        const Step& s = m_steps.front();
        if (m_wait.elapsed() > s.timeoutMs) {
            Check(false, QStringLiteral("%1 not done in time; the modal window is %2")
                             .arg(s.window, w ? w->objectName() : QStringLiteral("none")));
            return;
        }
        if (!w || !w->isVisible() || w->objectName() != s.window) return;
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

    QTreeWidget* Tree() { return Child<QTreeWidget>(m_main.get(), "TreeView"); }
    void ClickTool(const char* name) { Click(Child<QToolButton>(m_main.get(), name)); }
    // Clicks a tool button; returns when every window it opened was answered.
    void Tool(const char* name) {
        ClickTool(name);
        QVERIFY2(m_do.Trouble().isEmpty(), qPrintable(m_do.Trouble()));
    }
    void Select(int item) {
        QTreeWidgetItem* n = NodesInDisplayOrder(Tree()).value(item - 1);
        QVERIFY(n);
        Tree()->scrollToItem(n);
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          Tree()->visualItemRect(n).center());
        QCOMPARE(Tree()->currentItem(), n);
    }
    // Starts item `item` with the tool button; returns when every window
    // it opened has been answered.
    void Run(int item) {
        STEP(Select(item));
        Tool("ToolButton4");
    }
    // The results dialog: mark done (its texts are the launcher tests' business).
    void MarkDone(const char* shot = nullptr) {
        m_do.On(QStringLiteral("DlgLexRepit"), [shot](QWidget* w) {
            if (shot) Shot(w, QString::fromLatin1(shot));
            Click(static_cast<TDlgLexRepit*>(w)->BitBtnOk);
            return true;
        });
    }
    void NewMain() {
        m_main = std::make_unique<TFormMain>();
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QVERIFY(m_main->RunStartUp());
    }
    // Picks learner `row` in the selection dialog and types the password.
    void ChooseLearner(int row, const QString& password) {
        m_do.On(QStringLiteral("OKBottomDlgSelectUsers"), [=](QWidget* w) {
            auto* list = Child<QListWidget>(w, "ListBoxUsers");
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
            Shot(w, QStringLiteral("main-restart-select"));
            Click(Child(w, "OKBtn"));
            return true;
        });
        m_do.On(QStringLiteral("DlgPassWord"), [=](QWidget* w) {
            Child<QLineEdit>(w, "EditPassWord")->clear();
            QTest::keyClicks(Child<QLineEdit>(w, "EditPassWord"), password);
            Shot(w, QStringLiteral("password"));
            Click(Child(w, "OKBtn"));
            return true;
        });
        Tool("ToolButton3");
    }
    // A listening run that records: play, stop once sintagm 3 is over,
    // close, mark done.
    void RecordListening(int item, const QString& shot) {
        auto phase = std::make_shared<int>(0);
        m_do.On(
            QStringLiteral("FormTransNoText"),
            [this, phase, shot](QWidget* w) {
                auto* f = static_cast<TFormTransNoText*>(w);
                if (*phase == 0) {
                    ++*phase;
                    Click(Child(w, "BitBtnPlay"));
                    return false;
                }
                if (*phase == 1) {
                    if (f->Run().Current() < 4) return false;
                    if (!m_do.Check(f->Run().Recording(),
                                    QStringLiteral("the run does not record")))
                        return true;
                    Shot(w, shot);
                    ++*phase;
                    Click(Child(w, "BitBtnStop"));
                    return false;
                }
                if (!m_do.Check(f->Run().TakeSaved(), QStringLiteral("the take was not saved")))
                    return true;
                Click(Child(w, "BitBtnClose"));
                return true;
            },
            60000);
        MarkDone();
        STEP(Run(item));
    }

    // The text work window plays sintagm 2 of the learner's take `take` to its end.
    Script::Act PlaySintagm2(const QString& take, const char* shot) {
        auto step = std::make_shared<int>(0);
        return [=, this](QWidget* w) {
            auto* f = static_cast<TFormWorkText*>(w);
            if (*step == 0) {
                ++*step;
                Child<QSlider>(w, "TrackBarText")->setValue(2);
                Click(Child(w, "CheckBoxTransUser"));
                if (!m_do.Check(f->Run().SelectedRecording().endsWith(take),
                                QStringLiteral("selected: ") + f->Run().SelectedRecording()))
                    return true;
                Click(Child(w, "BitBtnSelectString"));
                Shot(w, QString::fromLatin1(shot));
                return !m_do.Check(f->Run().DeviceOpen(),
                                   QStringLiteral("the own sintagm 2 is silent"));
            }
            if (f->Run().DeviceOpen()) return false;
            Click(Child(w, "BitBtn5"));
            return true;
        };
    }

private Q_SLOTS:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("no X display (DISPLAY is not set): the day runs in real windows");
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        if (QMediaDevices::defaultAudioOutput().isNull() ||
            QMediaDevices::defaultAudioInput().isNull())
            QSKIP("no sound server answers: no output or input device");
        QVERIFY(QFileInfo::exists(QStringLiteral(VANTREL_COURSE_DIR "/InitRegD.txt")));
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

    void wholeDay() {
        STEP(NewMain());
        Shot(m_main.get(), QStringLiteral("main-start"));

        // A new learner in mode D.
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
        QCOMPARE(m_main->windowTitle(), QStringLiteral("Lumora Anna - Режим D."));
        const QString rep = m_course + QStringLiteral("/Report/Anna/Anna.rep");

        // Lesson 1: items 4 to 10 (vocabulary, drill, questions, multiple
        // choice, true or false; text work comes in mode A).
        auto demo = std::make_shared<bool>(false);
        m_do.On(QStringLiteral("FormExecLexicDemo"), [this, demo](QWidget* w) {
            auto* f = static_cast<TFormExecLexicDemo*>(w);
            auto* play = Child<QAbstractButton>(w, "BitBtnPlay");
            if (!*demo) { // the first expression is heard once, to its end
                *demo = true;
                Shot(w, QStringLiteral("lexicdemo"));
                Click(play);
                return !m_do.Check(!play->isEnabled(),
                                   QStringLiteral("the expression does not play"));
            }
            if (!play->isEnabled()) return false;
            const bool last = f->Paging().Remaining() == 0;
            Click(Child(w, "BitBtn1"));
            return last;
        });
        MarkDone("lexrepit");
        STEP(Run(4));

        m_do.On(QStringLiteral("FormExecLexic"), [this](QWidget* w) {
            auto* f = static_cast<TFormExecLexic*>(w);
            auto* list = Child<QListWidget>(w, "ListBoxTrans");
            const QString right = f->Drill()->CurrentEntry().Translation;
            const auto found = list->findItems(right, Qt::MatchExactly);
            if (!m_do.Check(!found.isEmpty(), QStringLiteral("no line reads ") + right))
                return true;
            list->scrollToItem(found.first());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(found.first()).center());
            if (f->Drill()->RightCount() == 1) Shot(w, QStringLiteral("lexic"));
            const bool last = f->Drill()->Remaining() == 1;
            Click(Child(w, "BitBtnNext"));
            return last;
        });
        MarkDone();
        STEP(Run(5));

        m_do.On(QStringLiteral("FormQuestDemo"), [](QWidget* w) {
            auto* f = static_cast<TFormQuestDemo*>(w);
            if (f->Paging().Current() == 1) Shot(w, QStringLiteral("questdemo"));
            const bool last = f->Paging().Remaining() == 0;
            Click(Child(w, "BitBtn1"));
            return last;
        });
        MarkDone();
        STEP(Run(6));

        m_do.On(QStringLiteral("FormQuestDown"), [this](QWidget* w) {
            const QuestDownRun* r = static_cast<TFormQuestDown*>(w)->Run();
            // A click on the text of an answer picks its row.
            const QByteArray memo = "Memo" + QByteArray::number(r->RightRow());
            QPlainTextEdit* text = Child<QPlainTextEdit>(w, memo.constData());
            QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            if (!m_do.Check(r->Marked(r->RightRow()), QStringLiteral("the mark did not take")))
                return true;
            if (r->Remaining() == r->Count()) Shot(w, QStringLiteral("questdown"));
            const bool last = r->Remaining() == 1;
            Click(Child(w, "BitBtn1"));
            return last;
        });
        MarkDone();
        STEP(Run(9));

        // True or false has its own results window and stores nothing.
        m_do.On(QStringLiteral("FormQuestTrFl"), [](QWidget* w) {
            const TrFlRun* r = static_cast<TFormQuestTrFl*>(w)->Run();
            Click(Child(w, r->CurrentEntry().YesIsRight ? "RadioButtonYes" : "RadioButtonNo"));
            if (r->Remaining() == r->Count()) Shot(w, QStringLiteral("questtrfl"));
            const bool last = r->Remaining() == 1;
            Click(Child(w, "BitBtn1"));
            return last;
        });
        m_do.On(QStringLiteral("FormQuestEnd"), [](QWidget* w) {
            Shot(w, QStringLiteral("questend"));
            Click(Child(w, "BitBtnOk"));
            return true;
        });
        STEP(Run(10));

        QCOMPARE(DoneItems(CurrentProgress()), (QList<int>{4, 5, 6, 9}));

        // The report shows the done items in bold.
        m_do.On(QStringLiteral("FormReport"), [this](QWidget* w) {
            auto* f = static_cast<TFormReport*>(w);
            QList<int> bold;
            for (int l = 0; l < f->ListBoxReport->count(); ++l)
                if (f->lineIsBold(l)) bold << f->itemOfLine(l);
            if (!m_do.Check(bold == QList<int>{4, 5, 6, 9},
                            QStringLiteral("bold report lines: %1").arg(bold.size())))
                return true;
            Shot(w, QStringLiteral("report-d"));
            Click(f->BtnImgClose);
            return true;
        });
        Tool("ToolButtonReport");

        // Mode A: a fresh progress file, lesson 2 with the recording items.
        m_do.On(QStringLiteral("OKBottomDlgChengeReg"), [](QWidget* w) {
            Click(Child(w, "RadioButtonA"));
            Shot(w, QStringLiteral("chengreg"));
            Click(Child(w, "OKBtn"));
            return true;
        });
        Child<QAction>(m_main.get(), "NChengReg")->trigger();
        QVERIFY2(m_do.Trouble().isEmpty(), qPrintable(m_do.Trouble()));
        QCOMPARE(m_main->windowTitle(), QStringLiteral("Lumora Anna - Режим A."));

        // Item 4 (kind 4) and item 5 (kind 13) record; item 6 (kind 5)
        // analyses the take of the nearest earlier recording item, item 5.
        const QString dir = m_course + QStringLiteral("/Report/Anna/");
        STEP(RecordListening(4, QStringLiteral("transnotext-4")));
        STEP(RecordListening(5, QStringLiteral("transnotext-13")));
        QCOMPARE(DoneItems(CurrentProgress()), (QList<int>{4, 5}));
        for (int i : {4, 5}) {
            const QString wav = QStringLiteral("Anna%1.wav").arg(i);
            QCOMPARE(NativePath(CurrentProgress()[i].RecordFile), dir + wav);
            const WaveInfo take = ProbeWave(dir + wav);
            QVERIFY2(FramesToMs(take.frames, take.rate) >= 5000, qPrintable(wav));
        }
        m_do.On(QStringLiteral("FormWorkText"),
                PlaySintagm2(QStringLiteral("Anna5.wav"), "worktext-learner"));
        MarkDone();
        STEP(Run(6));

        // The teacher console plays Anna's take of item 4 and prints her report.
        const QString pdf = QStringLiteral(VANTREL_SHOTS_DIR "/report-anna.pdf");
        QFile::remove(pdf);
        qputenv("VANTREL_REPORT_PDF", pdf.toLocal8Bit());
        m_do.On(QStringLiteral("FormPrepod"), [this](QWidget* w) {
            auto* f = static_cast<TFormPrepod*>(w);
            QTest::mouseClick(f->ListBoxUsers->viewport(), Qt::LeftButton, {},
                              f->ListBoxUsers->visualItemRect(f->ListBoxUsers->item(0)).center());
            if (!m_do.Check(f->EditPassword->text() == QStringLiteral("pw1"),
                            QStringLiteral("console password: ") + f->EditPassword->text()))
                return true;
            int line = 0;
            while (line < f->ListBoxReport->count() && f->itemOfLine(line) != 4)
                ++line;
            QListWidgetItem* it = f->ListBoxReport->item(line);
            if (!m_do.Check(it, QStringLiteral("no console line for item 4"))) return true;
            QTest::mouseClick(f->ListBoxReport->viewport(), Qt::LeftButton, {},
                              f->ListBoxReport->visualItemRect(it).center());
            Shot(w, QStringLiteral("prepod"));
            Click(f->BitBtnPlay);
            return true;
        });
        m_do.On(QStringLiteral("FormWorkText"),
                PlaySintagm2(QStringLiteral("Anna4.wav"), "worktext-teacher"));
        m_do.On(QStringLiteral("FormPrepod"), [](QWidget* w) {
            Click(Child(w, "BitBtn3"));
            Click(Child(w, "BitBtnClose"));
            return true;
        });
        ClickTool("ToolButton1");
        qunsetenv("VANTREL_REPORT_PDF");
        QVERIFY2(m_do.Trouble().isEmpty(), qPrintable(m_do.Trouble()));
        QVERIFY(QFileInfo(pdf).size() > 1000 && testenv::ReadBytes(pdf).startsWith("%PDF"));

        // Exit: the progress file is written.
        Shot(m_main.get(), QStringLiteral("main-end"));
        const ProgressTable atExit = CurrentProgress();
        ClickTool("ToolButtonExit");
        QVERIFY(!m_main->isVisible());
        QCOMPARE(testenv::ReadBytes(rep), EncodeProgressFile(atExit));
        m_main.reset();
        m_dayDone = true;
    }

    void nextMorning() {
        if (!m_dayDone) QSKIP("the day did not get to its end");
        LearnerTable saved;
        saved.Load(m_course + QStringLiteral("/Users.eng"));
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.Users[0].Mode, 'A');
        QCOMPARE(saved.Users[0].Password, QStringLiteral("pw1"));

        STEP(NewMain());
        QCOMPARE(App().CurrentUser, -1);
        STEP(ChooseLearner(0, QStringLiteral("pw1")));
        QCOMPARE(m_main->windowTitle(), QStringLiteral("Lumora Anna - Режим A."));
        Shot(m_main.get(), QStringLiteral("main-restart"));
        const QString dir = m_course + QStringLiteral("/Report/Anna/");
        const ProgressTable& p = CurrentProgress();
        QCOMPARE(DoneItems(p), (QList<int>{4, 5, 6}));
        QCOMPARE(NativePath(p[5].RecordFile), dir + QStringLiteral("Anna5.wav"));
        ClickTool("ToolButtonExit");
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
