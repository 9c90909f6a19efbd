// The demo course's drill items started from the main window as a learner
// starts them: the window opens on the course's own files, a run through its
// controls reaches the results dialog and the progress table holds the
// result. VANTREL_SHOTS keeps pictures (a second run at QT_SCALE_FACTOR=2).
#include "base/textfile.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "drill/eng_formquestdown.h"
#include "learners/learnertable.h"
#include "main/coursetree.h"
#include "main/eng_main.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {

template <typename T = QWidget> T* Find(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}
QString Shown(QWidget* w, const char* name) {
    if (auto* e = Find<QLineEdit>(w, name)) return e->text();
    if (auto* m = Find<QPlainTextEdit>(w, name)) return m->toPlainText();
    return Find<QLabel>(w, name) ? Find<QLabel>(w, name)->text() : QString();
}
// Clicks a push button or a picture button; false when there is none enabled.
bool Click(QWidget* w, const char* name) {
    if (auto* b = Find<QAbstractButton>(w, name); b && b->isEnabled()) return b->click(), true;
    if (auto* b = Find<TBtnImgTransD1Zv>(w, name); b && b->isEnabled()) return b->click(), true;
    return false;
}
// First field of each line of a course file (true/false lines carry a flag).
QStringList Entries(const QString& file) {
    QStringList out;
    for (const QString& l : ReadTextLines(file))
        out << l.section(QLatin1Char('\t'), 0, 0);
    return out;
}

// Runs the exercise window to its end: every answer right except the first
// question of the multiple-choice run. Returns a problem.
QString RunThrough(QDialog* w, int kind, const TCourseItem& it, QStringList& windows) {
    int guard = 200;
    if (kind == ekLexic) {
        const QStringList ex = Entries(it.DataFile1), tr = Entries(it.DataFile2);
        auto* list = Find<QListWidget>(w, "ListBoxTrans");
        while (w->isVisible() && --guard) {
            const qsizetype k = ex.indexOf(Shown(w, "EditText"));
            if (k < 0) return QStringLiteral("shown expression not in the lesson file");
            list->setCurrentItem(list->findItems(tr[k], Qt::MatchExactly).value(0));
            Click(w, "BitBtnNext");
        }
    } else if (kind == ekQuestDown) {
        auto* form = static_cast<TFormQuestDown*>(w);
        auto pick = [&](int row) {
            auto* mark = w->findChild<TChBxImgTransD1Zv*>(QStringLiteral("RadioButton%1").arg(row));
            if (!mark->Checked()) mark->click();
            Click(w, "BitBtn1");
        };
        const int first = form->Run()->Current();
        while (w->isVisible() && form->Run()->Current() == first && --guard) {
            testenv::OnNextModal([&windows](QWidget* d) {
                windows << d->objectName();
                static_cast<QDialog*>(d)->accept();
            });
            pick(form->Run()->RightRow() == 1 ? 2 : 1);
        }
        while (w->isVisible() && --guard)
            pick(form->Run()->RightRow());
    } else { // listening: two seconds of the lesson, then stop and close
        Click(w, "BitBtnPlay");
        VirtualAudio::Advance(2000);
        QCoreApplication::processEvents();
        Click(w, "BitBtnStop");
        Click(w, "BitBtnClose");
    }
    return guard ? QString() : QStringLiteral("the window did not come to its end");
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
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("windows"); // opened in turn
        const QString repit = QStringLiteral("DlgLexRepit");
        QTest::newRow("2") << 2 << QStringList{"FormExecLexic", repit};
        QTest::newRow("6") << 6 << QStringList{"FormQuestDown", "DlgDoubleError", repit};
        QTest::newRow("8") << 8 << QStringList{"FormTransNoText", repit};
    }
    void drillItems() {
        const char mode = 'D';
        QFETCH(int, kind);
        QFETCH(QStringList, windows);
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
        int item = 0;
        for (int i = 1; i < CourseTableOf(mode).size() && !item; ++i)
            if (CourseTableOf(mode)[i].ExerciseKind == kind) item = i;
        QVERIFY(item > 0);
        TCourseItem it = CourseTableOf(mode)[item];
        it.DataFile1 = ResolveCourseFile(it.DataFile1, App().DataRoot);
        it.DataFile2 = ResolveCourseFile(it.DataFile2, App().DataRoot);
        auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("TreeView"));
        tree->setCurrentItem(NodesInDisplayOrder(tree)[item - 1]);

        QStringList seen;
        QString problem;
        const bool drill = kind <= ekQuestTrFl;
        const int n = int(Entries(it.DataFile1).size());
        const QString shot = QString::number(kind) + QLatin1Char('-') + windows[0];
        testenv::OnNextModal([&](QWidget* w) {
            seen << w->objectName();
            const char* text = kind <= ekLexic ? "EditText" : "MemoQuest";
            if (drill && !Entries(it.DataFile1).contains(Shown(w, text)))
                problem = QStringLiteral("shown entry not in the lesson file: ") + Shown(w, text);
            if (drill && Shown(w, "LabelCount").toInt() != n) problem += "the window lost entries";
            testui::Shot(w, shot);
            problem += RunThrough(qobject_cast<QDialog*>(w), kind, it, seen);
            // The window has closed: the next modal is the launcher's results dialog.
            if (!w->isVisible())
                testenv::OnNextModal([&](QWidget* d) {
                    seen << d->objectName();
                    testui::Shot(d, shot + QStringLiteral("-results"));
                    if (!Click(d, "BitBtnOk")) problem += "the results dialog offers no mark";
                });
        });
        form.ToolButton4Click();
        QTest::qWait(100); // nothing else opens

        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        seen.removeAll(QStringLiteral("DlgErrorDo")); // a try-again first, with enough options
        QCOMPARE(seen, windows);
        QCOMPARE(CurrentProgress()[item].Done, quint8(1));
        // One wrong answer in N questions is the score of a multiple-choice run.
        QCOMPARE(CurrentProgress()[item].Score, qint32(kind == ekQuestDown ? 100 / n : 0));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("PanelMain"))->isVisibleTo(&form));
    }
};

QTEST_MAIN(TestLauncherCourse)
#include "test_launcher_course.moc"
