// The demo course's vocabulary and question items started from the main
// window as a learner starts them: the window that opens on the course's own
// files, a run through that window's controls, the results dialog and what
// the progress table holds afterwards. Every window is also grabbed to
// /tmp/vantrel-shots/ (a second run with QT_SCALE_FACTOR=2 gives the 200 % ones).
#include "base/textfile.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/picturedialog.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "drill/eng_formexeclexic.h"
#include "drill/eng_formquestdown.h"
#include "drill/eng_formquesttrfl.h"
#include "learners/learnertable.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"

#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

void Shot(QWidget* w, const QString& name) {
    testui::Shot(w, name);
}

template <typename T = QWidget> T* Find(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}
QString Shown(QWidget* w, const char* name) {
    if (auto* e = Find<QLineEdit>(w, name)) return e->text();
    if (auto* m = Find<QPlainTextEdit>(w, name)) return m->toPlainText();
    return Find<QLabel>(w, name) ? Find<QLabel>(w, name)->text() : QStringLiteral("<none>");
}

// Clicks a push button or a picture button; false when there is none enabled.
bool Click(QWidget* w, const char* name) {
    if (auto* b = Find<QAbstractButton>(w, name); b && b->isEnabled()) {
        b->click();
        return true;
    }
    if (auto* b = Find<TBtnImgTransD1Zv>(w, name); b && b->isEnabled()) {
        b->click();
        return true;
    }
    return false;
}

// First field of each line of a course file (the true/false file has the flag after a TAB).
QStringList Entries(const QString& file) {
    QStringList out;
    for (const QString& l : ReadTextLines(file))
        out << l.section(QLatin1Char('\t'), 0, 0);
    return out;
}

// Accepts the dialogs a wrong answer opens, noting their names.
void AcceptNext(QStringList* seen) {
    testenv::OnNextModal([seen](QWidget* w) {
        seen->append(w->objectName());
        if (auto* d = qobject_cast<QDialog*>(w)) d->accept();
    });
}

// What one launch went through.
struct Trace {
    QStringList windows; // exercise windows and results dialogs, in turn
    QStringList nested;  // dialogs answered inside the exercise window
    QString title, first, results, problem;
    int shownCount = -1;
};

// Runs the exercise window `w` to its end: every answer right except the
// first question of the multiple-choice and true/false runs, answered wrong.
void RunThrough(QDialog* w, int kind, const TCourseItem& it, Trace& t) {
    auto fail = [&](const QString& why) {
        if (t.problem.isEmpty()) t.problem = why;
    };
    int guard = 200;
    switch (kind) {
    case ekLexicDemo:
    case ekQuestDemo: {
        while (w->isVisible() && --guard)
            Click(w, "BitBtn1");
        break;
    }
    case ekLexic: {
        const QStringList ex = Entries(it.DataFile1), tr = Entries(it.DataFile2);
        auto* list = Find<QListWidget>(w, "ListBoxTrans");
        if (list->count() != tr.size()) fail("the list does not hold every translation");
        while (w->isVisible() && --guard) {
            const qsizetype k = ex.indexOf(Shown(w, "EditText"));
            if (k < 0) return fail("shown expression not in the lesson file");
            list->setCurrentItem(list->findItems(tr[k], Qt::MatchExactly).value(0));
            Click(w, "BitBtnNext");
        }
        break;
    }
    case ekQuestDown: {
        auto* form = static_cast<TFormQuestDown*>(w);
        auto pick = [&](int row) {
            auto* mark = w->findChild<TChBxImgTransD1Zv*>(QStringLiteral("RadioButton%1").arg(row));
            if (!mark->Checked()) mark->click();
            Click(w, "BitBtn1");
        };
        const int first = form->Run()->Current();
        while (w->isVisible() && form->Run()->Current() == first && --guard) {
            AcceptNext(&t.nested);
            pick(form->Run()->RightRow() == 1 ? 2 : 1);
        }
        while (w->isVisible() && --guard)
            pick(form->Run()->RightRow());
        break;
    }
    case ekQuestTrFl: {
        auto* form = static_cast<TFormQuestTrFl*>(w);
        bool wrong = true;
        while (w->isVisible() && --guard) {
            const bool yes = form->Run()->CurrentEntry().YesIsRight != wrong;
            wrong = false;
            Find<QRadioButton>(w, yes ? "RadioButtonYes" : "RadioButtonNo")->setChecked(true);
            if (form->Run()->Remaining() == 1)
                testenv::OnNextModal([&t](QWidget* end) {
                    t.windows << end->objectName();
                    t.results = Shown(end, "LabelError");
                    Shot(end, QStringLiteral("7-FormQuestEnd"));
                    Click(end, "BitBtnOk");
                });
            Click(w, "BitBtn1");
        }
        break;
    }
    case ekTransListen:
    case ekTrans110:
        // Two seconds of the lesson, then stop and close.
        Click(w, "BitBtnPlay");
        VirtualAudio::Advance(2000);
        QCoreApplication::processEvents();
        Click(w, "BitBtnStop");
        Click(w, "BitBtnClose");
        break;
    default:
        fail("no script for this kind");
    }
    if (!guard) fail("the window did not come to its end");
}

} // namespace

class TestLauncherCourse : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;
    QStringList m_messages;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        if (!QFileInfo::exists(QStringLiteral(VANTREL_DEMO_COURSE "/InitRegD.txt")))
            QSKIP("no demo course in this build (configure with -DVANTREL_COURSE=ON)");
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        SetXMessageHandler([this](const QString& t, const QString& c, int) {
            m_messages << c + QLatin1Char('|') + t;
            return 1;
        });
    }
    void init() {
        ResetAppState();
        CurrentProgress() = ProgressTable{};
        Learners().Users.clear();
        m_messages.clear();
        m_dir = std::make_unique<testenv::CourseDir>();
        testenv::CopyTree(QStringLiteral(VANTREL_DEMO_COURSE), m_dir->path());
    }
    void cleanup() { m_dir.reset(); }

    void drillItems_data() {
        QTest::addColumn<char>("mode");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("first"); // empty: drawn at random from the file
        QTest::addColumn<QString>("results");
        QTest::addColumn<bool>("done");
        const QString repit = QStringLiteral("DlgLexRepit:");
        QTest::newRow("1 vocabulary presentation")
            << 'D' << 1 << "FormExecLexicDemo"
            << ""
            << "originally" << repit + "Вы просмотрели лексику урока." << true;
        QTest::newRow("2 vocabulary drill")
            << 'D' << 2 << "FormExecLexic"
            << ""
            << "" << repit + "Вы успешно выполнили упражнение." << true;
        QTest::newRow("3 question presentation")
            << 'D' << 3 << "FormQuestDemo"
            << ""
            << "Where did Mike grow up?" << repit + "Вы просмотрели вопросы к тексту." << true;
        QTest::newRow("3 question presentation, mode C")
            << 'C' << 3 << "FormQuestDemo"
            << ""
            << "Where did Mike grow up?" << repit + "Вы просмотрели вопросы к тексту." << true;
        QTest::newRow("6 multiple choice")
            << 'D' << 6 << "FormQuestDown"
            << "Послетекстовые вопросы"
            << "" << repit + "Ошибок: 1. Рекомендуется отметить упражнение как выполненное" << true;
        QTest::newRow("7 true/false, mode C") << 'C' << 7 << "FormQuestTrFl"
                                              << ""
                                              << ""
                                              << "FormQuestEnd:1" << false;
        QTest::newRow("8 listening and translation")
            << 'D' << 8 << "FormTransNoText"
            << ""
            << "" << repit + "Вы прослушали текст урока." << true;
        QTest::newRow("11 listening without the text, mode C")
            << 'C' << 11 << "FormTransNoText"
            << ""
            << "" << repit + "Вы прослушали текст урока." << true;
    }
    void drillItems() {
        QFETCH(char, mode);
        QFETCH(int, kind);
        QFETCH(QString, window);
        QFETCH(QString, title);
        QFETCH(QString, first);
        QFETCH(QString, results);
        QFETCH(bool, done);

        TFormMain form;
        form.show();
        QVERIFY(form.RunStartUp());
        TUserRec u = AnonymousUser();
        u.UserName = QStringLiteral("Ivan");
        u.Mode = mode;
        u.ReportDir = m_dir->path() + QStringLiteral("/Report/Ivan/");
        u.ReportFile = u.ReportDir + QStringLiteral("Ivan.rep");
        QDir().mkpath(u.ReportDir);
        WriteProgress(u.ReportFile, NewProgress(mode));
        Learners().Users.append(u);
        form.ChangeUser(0);
        QCOMPARE(App().CurrentUser, 0);
        int item = 0;
        for (int i = 1; i < CourseTableOf(mode).size() && !item; ++i)
            if (CourseTableOf(mode)[i].ExerciseKind == kind) item = i;
        QVERIFY(item > 0);
        TCourseItem it = CourseTableOf(mode)[item];
        it.DataFile1 = ResolveCourseFile(it.DataFile1, App().DataRoot);
        it.DataFile2 = ResolveCourseFile(it.DataFile2, App().DataRoot);
        auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
        tree->setCurrentItem(NodesInDisplayOrder(tree)[item - 1]);

        Trace t;
        const bool drill = kind <= ekQuestTrFl;
        const QString shot = QString::number(kind) + QLatin1Char('-') + window;
        testenv::OnNextModal([&](QWidget* w) {
            t.windows << w->objectName();
            t.title = w->windowTitle();
            if (drill) {
                t.first =
                    Shown(w, kind == ekLexicDemo || kind == ekLexic ? "EditText" : "MemoQuest");
                t.shownCount = Shown(w, "LabelCount").toInt();
            }
            if (drill && first.isEmpty() && !Entries(it.DataFile1).contains(t.first))
                t.problem = QStringLiteral("shown entry not in the lesson file: ") + t.first;
            Shot(w, shot);
            RunThrough(qobject_cast<QDialog*>(w), kind, it, t);
            // The window has closed: the next modal is the launcher's results dialog.
            if (kind != ekQuestTrFl && !w->isVisible())
                testenv::OnNextModal([&](QWidget* d) {
                    t.windows << d->objectName();
                    if (auto* memo = Find<TMemoView>(d, "MemoComent"))
                        t.results = memo->Lines().join('|');
                    Shot(d, shot + QStringLiteral("-results"));
                    if (!Click(d, "BitBtnOk") && Click(d, "BitBtn2"))
                        t.problem = QStringLiteral("the results dialog offers no mark");
                });
        });
        form.ToolButton4Click();
        QTest::qWait(100); // nothing else opens

        QVERIFY2(t.problem.isEmpty(), qPrintable(t.problem));
        const QString resultsWindow = results.section(QLatin1Char(':'), 0, 0);
        QCOMPARE(t.windows, (QStringList{window, resultsWindow}));
        QCOMPARE(t.title, title);
        if (!first.isEmpty()) QCOMPARE(t.first, first);
        const int n = int(Entries(it.DataFile1).size());
        if (drill) QCOMPARE(t.shownCount, n);
        QCOMPARE(t.results, results.section(QLatin1Char(':'), 1));
        if (kind == ekQuestDown) QCOMPARE(t.nested.last(), QStringLiteral("DlgDoubleError"));
        QCOMPARE(CurrentProgress()[item].Done, quint8(done));
        // One wrong answer in N questions is the score of a multiple-choice run.
        QCOMPARE(CurrentProgress()[item].Score, qint32(kind == ekQuestDown ? 100 / n : 0));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("PanelMain"))->isVisibleTo(&form));
    }
};

QTEST_MAIN(TestLauncherCourse)
#include "test_launcher_course.moc"
