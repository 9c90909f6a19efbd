// A demo course multiple-choice item started from the main window as a
// learner starts it: the window opens on the course's own files, a run through its
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

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
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

// Runs the multiple-choice window to its end: every answer right except the
// first question's. Returns a problem.
QString RunThrough(QDialog* w, QStringList& windows) {
    int guard = 200;
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

    void multipleChoiceItem() {
        const char mode = 'D';
        const int kind = ekQuestDown;
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
        const int n = int(Entries(it.DataFile1).size());
        const QString shot = QStringLiteral("6-FormQuestDown");
        testenv::OnNextModal([&](QWidget* w) {
            seen << w->objectName();
            if (!Entries(it.DataFile1).contains(Shown(w, "MemoQuest")))
                problem = QStringLiteral("shown entry not in the lesson file");
            if (Shown(w, "LabelCount").toInt() != n) problem += "the window lost entries";
            testui::Shot(w, shot);
            problem += RunThrough(qobject_cast<QDialog*>(w), seen);
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
        QCOMPARE(seen, (QStringList{"FormQuestDown", "DlgDoubleError", "DlgLexRepit"}));
        QCOMPARE(CurrentProgress()[item].Done, quint8(1));
        // One wrong answer in N questions is the score of a multiple-choice run.
        QCOMPARE(CurrentProgress()[item].Score, qint32(100 / n));
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));
        QVERIFY(form.findChild<QWidget*>(QStringLiteral("PanelMain"))->isVisibleTo(&form));
    }
};

QTEST_MAIN(TestLauncherCourse)
#include "test_launcher_course.moc"
