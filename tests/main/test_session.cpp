// The learner session over a small course: switching learners, the log-in
// loop, the teacher check, work mode changes and what reaches the files.
#include "base/errors.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerops.h"
#include "learners/learnertable.h"
#include "main/learnersession.h"
#include "support_main.h"

#include <QtTest>

using namespace mainfix;

namespace {
struct View : SessionView {
    QStringList shown; // "D learner" or "B anonymous", one per learner taken on
    int progressShown = 0;
    void ShowLearner(char mode, bool learner) override {
        shown << QString(QChar(mode)) + (learner ? " learner" : " anonymous");
    }
    void ShowProgress() override { ++progressShown; }
    void ShowSelected() override {}
};
} // namespace

class TestSession : public QObject {
    Q_OBJECT

    std::optional<Course> m_course; // learners are added before start()
    View m_view;
    Dialogs m_dlg;
    std::unique_ptr<TLearnerSession> m_session;

    TLearnerSession& s() { return *m_session; }
    static QByteArray fileOf(const TUserRec& u) { return testenv::ReadBytes(u.ReportFile); }
    qsizetype messages() const { return m_course->messages.messages.size(); }
    QList<int> images() {
        QList<int> out;
        for (int i = 1; i <= CourseItemCount(s().CurrentMode()); ++i)
            out << s().NodeImageOf(i);
        return out;
    }
    void start() {
        m_session = std::make_unique<TLearnerSession>(m_view, &m_dlg);
        s().Reset();
        LoadCourseTables();
        s().Start();
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        m_course.emplace();
        m_view = View{};
        m_dlg = Dialogs{};
    }
    void cleanup() {
        m_session.reset();
        m_course.reset();
    }

    void switchingSavesTheLearnerLeft() {
        const TUserRec u = m_course->add("Ivan", "pw", 'D', {4});
        start();
        QCOMPARE(images(), (QList<int>{0, 0, 0, 1, 1}));
        s().ChangeUser(0);
        QCOMPARE(images(), (QList<int>{0, 0, 0, 2, 1}));
        CurrentProgress()[5].Done = 1;
        s().ChangeUser(-1);
        ProgressTable expected = NewProgress('D');
        expected[4].Done = 1;
        expected[5].Done = 1;
        QCOMPARE(fileOf(u), EncodeProgressFile(expected));
        QCOMPARE(s().CurrentUser(), -1);
        // The anonymous learner has nothing to save, and nothing is read again.
        QFile::remove(u.ReportFile);
        s().ChangeUser(-1);
        QVERIFY(!QFile::exists(u.ReportFile));
        QCOMPARE(m_view.shown,
                 (QStringList{"D anonymous", "D learner", "D anonymous", "D anonymous"}));
        QVERIFY(App().TreeReady);
        QCOMPARE(messages(), 0);
    }

    // A learner whose progress cannot be read, or whose record is damaged, is
    // not taken on, with one message; the file is never replaced.
    void learnerNotTakenOn_data() {
        QTest::addColumn<QString>("damage");
        QTest::newRow("progress missing") << "missing";
        QTest::newRow("folder outside Report") << "outside"; // a bad mode: the same refusal
    }
    void learnerNotTakenOn() {
        QFETCH(QString, damage);
        const TUserRec u = m_course->add("Ivan", QString(), 'D', {});
        m_course->add("Olga", QString(), 'D', {4});
        if (damage == "missing") QFile::remove(u.ReportFile);
        if (damage == "outside") Learners().Users[0].ReportFile = QDir::currentPath() + "/x.rep";
        const QByteArray before = fileOf(u);
        start();
        s().ChangeUser(1);
        s().ChangeUser(0);
        QCOMPARE(s().CurrentUser(), -1);
        QCOMPARE(messages(), 1);
        QVERIFY(App().TreeReady);
        s().ChangeUser(-1);
        s().SaveOnClose();
        QCOMPARE(QFile::exists(u.ReportFile), damage != "missing");
        QCOMPARE(fileOf(u), before);
    }

    // A course that grew since the learner's file was written: told once,
    // the progress kept (what the file and its .bak hold: tests/learners).
    void grownCourse() {
        const TUserRec u = m_course->add("Ivan", QString(), 'D', {4});
        testenv::WriteBytes(u.ReportFile, fileOf(u).left(5 * 264)); // header and items 1-4
        start();
        s().ChangeUser(0);
        s().ChangeUser(0); // the file written on leaving holds every item now
        QCOMPARE(messages(), 1);
        QCOMPARE(images(), (QList<int>{0, 0, 0, 2, 1}));
        QCOMPARE(fileOf(u).size(), 6 * 264);
    }

    // The selection dialog, then the password, until one fits or the learner
    // gives up. A learner created or deleted in the selection dialog, then
    // the password cancelled: the current learner stays unless it was deleted.
    void logIn_data() {
        QTest::addColumn<QString>("before"); // "", "Ivan", "Ivan created", "Ivan deleted"
        QTest::addColumn<Selects>("selects");
        QTest::addColumn<Passwords>("passwords");
        QTest::addColumn<int>("selectCalls");
        QTest::addColumn<int>("user");
        QTest::addColumn<int>("messages");
        const auto row = [](const char* name, const char* before, Selects selects,
                            Passwords passwords, int selectCalls, int user, int messages) {
            QTest::newRow(name) << QString(before) << selects << passwords << selectCalls << user
                                << messages;
        };
        const Passwords cancelled{{mrCancel, "pw"}};
        row("right password", "Ivan", {{mrOk, 0}}, {{mrOk, "pw"}}, 1, 0, 0);
        const Selects twice{{mrOk, 0}, {mrOk, 0}};
        row("wrong in case, then right", "Ivan", twice, {{mrOk, "PW"}, {mrOk, "pw"}}, 2, 0, 1);
        row("nothing chosen, asked again", "Ivan", {{mrOk, -1}, {mrOk, 0}}, {{mrOk, "pw"}}, 2, 0,
            0);
        row("password cancelled", "Ivan", {{mrOk, 0}}, cancelled, 1, -1, 0);
        row("no learners, then cancelled", "", {{mrOk, -1}, {mrCancel, -1}}, {}, 2, -1, 1);
        row("learner created, cancelled", "Ivan created", {{mrOk, 0}}, cancelled, 1, 0, 0);
        row("current learner deleted, cancelled", "Ivan deleted", {{mrOk, 0}}, cancelled, 1, -1, 0);
    }
    void logIn() {
        QFETCH(QString, before);
        QFETCH(Selects, selects);
        QFETCH(Passwords, passwords);
        QFETCH(int, selectCalls);
        QFETCH(int, user);
        QFETCH(int, messages);
        if (!before.isEmpty()) m_course->add("Ivan", "pw", 'D', {4});
        if (before.contains(' ')) m_course->add("Olga", "pw2", 'D', {});
        start();
        if (before.contains(' ')) s().ChangeUser(0);
        m_dlg.selects = selects;
        m_dlg.passwords = passwords;
        m_dlg.duringSelect = [&] {
            if (before.endsWith("created")) m_course->add("Petr", QString(), 'B', {});
            if (before.endsWith("deleted"))
                QCOMPARE(DeleteLearner(Learners(), 0, "pw", m_course->dir.path()),
                         DeleteOutcome::Deleted);
            App().UserUnchanged = !before.contains(' ');
        };
        s().LogIn();
        QCOMPARE(m_dlg.selectCalls, selectCalls);
        QCOMPARE(s().CurrentUser(), user);
        QCOMPARE(this->messages(), messages);
        QCOMPARE(images().value(3), user >= 0 ? 2 : 1);
    }

    // The learner left keeps the mark made in memory.
    void newUser_data() {
        QTest::addColumn<bool>("made");
        QTest::newRow("made") << true;
        QTest::newRow("cancelled") << false;
    }
    void newUser() {
        QFETCH(bool, made);
        m_course->add("Ivan", QString(), 'D', {4});
        start();
        s().ChangeUser(0);
        CurrentProgress()[5].Done = 1;
        if (made)
            m_dlg.newUser = [this] {
                m_course->add("Olga", QString(), 'B', {});
                App().UserUnchanged = false;
            };
        s().NewUser();
        QCOMPARE(s().CurrentUser(), made ? 1 : 0);
        QCOMPARE(s().CurrentMode(), made ? 'B' : 'D');
        ProgressTable ivan;
        ReadProgress(Learners().Users[0].ReportFile, 'D', ivan);
        QCOMPARE(int(ivan[5].Done), made ? 1 : 0);
    }

    void changeMode_data() {
        QTest::addColumn<bool>("learner");
        QTest::addColumn<char>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("images");
        QTest::newRow("learner to B")
            << true << 'B' << "Lumora Ivan - Режим B." << QList<int>{0, 0, 1};
        QTest::newRow("learner, same mode: marks gone")
            << true << 'D' << "Lumora Ivan - Режим D." << QList<int>{0, 0, 0, 1, 1};
        QTest::newRow("learner, no such mode")
            << true << 'E' << "Lumora Ivan - Режим D." << QList<int>{0, 0, 0, 2, 2};
        QTest::newRow("anonymous to B")
            << false << 'B' << "Lumora Анонимный пользователь - Режим B." << QList<int>{0, 0, 1};
    }
    void changeMode() {
        QFETCH(bool, learner);
        QFETCH(char, mode);
        QFETCH(QString, title);
        QFETCH(QList<int>, images);
        const TUserRec u = m_course->add("Ivan", QString(), 'D', {4, 5});
        start();
        if (learner) s().ChangeUser(0);
        const QByteArray before = fileOf(u);
        s().ChangeMode(mode);
        QCOMPARE(s().TitleText(), title);
        QCOMPARE(this->images(), images);
        const bool changed = learner && ValidMode(mode);
        QCOMPARE(Learners().Users[0].Mode, changed ? mode : 'D');
        QCOMPARE(fileOf(u), changed ? EncodeProgressFile(NewProgress(mode)) : before);
    }

    // The password prompt's help is the console's only while it asks; the
    // progress is shown again after, the console may have changed it.
    void teacherCheck_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Passwords>("passwords");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<int>("consoles");
        QTest::addColumn<int>("messages");
        QTest::newRow("no password set") << "" << Passwords{} << 0 << 1 << 0;
        QTest::newRow("right") << "Sec" << Passwords{{mrOk, "Sec"}} << 1 << 1 << 0;
        QTest::newRow("case differs") << "Sec" << Passwords{{mrOk, "sec"}} << 1 << 0 << 1;
        QTest::newRow("cancelled") << "Sec" << Passwords{{mrCancel, "Sec"}} << 1 << 0 << 0;
    }
    void teacherCheck() {
        QFETCH(QString, stored);
        QFETCH(Passwords, passwords);
        QFETCH(int, prompts);
        QFETCH(int, consoles);
        QFETCH(int, messages);
        start();
        m_dlg.teacher = stored;
        m_dlg.passwords = passwords;
        const int shownBefore = m_view.progressShown;
        s().TeacherCheck();
        QCOMPARE(m_dlg.passwordCalls, prompts);
        QCOMPARE(m_dlg.consoles, consoles);
        QCOMPARE(this->messages(), messages);
        QCOMPARE(m_dlg.helpTopics.size(), 2);
        QCOMPARE(m_dlg.helpTopics.last(), 0);
        QCOMPARE(m_view.progressShown, shownBefore + 1);
    }

    // The anonymous learner has no report.
    void report() {
        m_course->add("Ivan", QString(), 'D', {});
        start();
        s().Report();
        QCOMPARE(m_dlg.reports, 0);
        s().ChangeUser(0);
        s().Report();
        QCOMPARE(m_dlg.reports, 1);
    }

    // The progress is written; the learner list only when it was read.
    void saveOnClose_data() {
        QTest::addColumn<bool>("listUnreadable");
        QTest::newRow("list read") << false;
        QTest::newRow("list failed to load") << true;
    }
    void saveOnClose() {
        QFETCH(bool, listUnreadable);
        const TUserRec u = m_course->add("Ivan", QString(), 'D', {});
        const QString usersEng = m_course->dir.file(QStringLiteral("Users.eng"));
        if (listUnreadable) {
            QFile::remove(usersEng);
            QDir().mkpath(usersEng);
            QVERIFY_THROWS_EXCEPTION(FileError, Learners().Load(usersEng));
            Learners().Users = {u};
        }
        start();
        s().ChangeUser(0);
        CurrentProgress()[4].Done = 1;
        s().SaveOnClose();
        ProgressTable expected = NewProgress('D');
        expected[4].Done = 1;
        QCOMPARE(fileOf(u), EncodeProgressFile(expected));
        if (listUnreadable)
            QVERIFY(QFileInfo(usersEng).isDir());
        else
            QCOMPARE(testenv::ReadBytes(usersEng), Learners().Encode());
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
