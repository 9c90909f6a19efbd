// The learner session over a small course: switching learners, the log-in
// loop, the teacher check, work mode changes and what reaches the files.
#include "base/errors.h"
#include "common/messages.h"
#include "common/testenv.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerops.h"
#include "learners/learnerlocks.h"
#include "learners/learnertable.h"
#include "main/learnersession.h"
#include "support_main.h"

#include <QtTest>

using namespace mainfix;

namespace {
struct View : SessionView {
    QStringList shown; // "D learner" or "B anonymous", one per learner taken on
    int progressShown = 0, selectedShown = 0;
    void ShowLearner(char mode, bool learner) override {
        shown << QString(QChar(mode)) + (learner ? " learner" : " anonymous");
    }
    void ShowProgress() override { ++progressShown; }
    void ShowSelected() override { ++selectedShown; }
};
} // namespace

class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::CourseDir> m_dir;
    std::unique_ptr<testui::MessageRecorder> m_messages;
    View m_view;
    Dialogs m_dlg;
    std::unique_ptr<TLearnerSession> m_session;

    TLearnerSession& s() { return *m_session; }
    QByteArray fileOf(const TUserRec& u) { return testenv::ReadBytes(u.ReportFile); }
    QList<int> images() {
        QList<int> out;
        for (int i = 1; i <= CourseItemCount(s().CurrentMode()); ++i)
            out << s().NodeImageOf(i);
        return out;
    }
    // The message boxes shown, as "text|title|flags in hex".
    QStringList messages() {
        QStringList out;
        for (const auto& m : m_messages->messages)
            out << QStringLiteral("%1|%2|%3").arg(m.text, m.title).arg(m.flags, 0, 16);
        return out;
    }

    // A fresh session over the course; learners are added before start().
    void prepare() {
        ResetAppState();
        CurrentProgress() = ProgressTable{};
        m_dir = std::make_unique<testenv::CourseDir>();
        Learners().Load(m_dir->file(QStringLiteral("none.eng"))); // empty and loaded
        WriteCourse(*m_dir);
        m_messages.reset(); // restores the handler before the next one takes it
        m_messages = std::make_unique<testui::MessageRecorder>();
        m_view = View{};
        m_dlg = Dialogs{};
    }
    void start() {
        m_session = std::make_unique<TLearnerSession>(m_view, &m_dlg);
        s().Reset();
        LoadCourseTables();
        s().Start();
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void cleanup() {
        m_session.reset();
        ReleaseLearner(); // before its folder goes with the course
        m_messages.reset();
        m_dir.reset();
    }

    void switchingSavesTheLearnerLeft() {
        prepare();
        const TUserRec u = AddLearner(*m_dir, "Ivan", "pw", 'D', {4});
        start();
        QCOMPARE(m_view.shown, QStringList{"D anonymous"});
        QCOMPARE(images(), (QList<int>{0, 0, 0, 1, 1}));
        s().ChangeUser(0);
        QCOMPARE(s().TitleText(), QStringLiteral("Lumora Ivan - Режим D."));
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
        QVERIFY(messages().isEmpty());
    }

    // A learner whose progress cannot be read, or whose record is damaged, is
    // not taken on; the file is never replaced.
    void learnerNotTakenOn_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("message");
        QTest::newRow("progress missing") << "missing"
                                          << "File not found";
        QTest::newRow("folder outside Report") << "outside"
                                               << "Invalid filename";
        QTest::newRow("no such work mode") << "mode"
                                           << "";
    }
    void learnerNotTakenOn() {
        QFETCH(QString, damage);
        QFETCH(QString, message);
        prepare();
        const TUserRec u = AddLearner(*m_dir, "Ivan", QString(), 'D', {});
        AddLearner(*m_dir, "Olga", QString(), 'D', {4});
        if (damage == "missing") QFile::remove(u.ReportFile);
        if (damage == "outside") Learners().Users[0].ReportFile = m_dir->path() + "/elsewhere.rep";
        if (damage == "mode") Learners().Users[0].Mode = 'X';
        const bool exists = QFile::exists(u.ReportFile);
        const QByteArray before = exists ? fileOf(u) : QByteArray();
        start();
        s().ChangeUser(1);
        s().ChangeUser(0);
        QCOMPARE(s().CurrentUser(), -1);
        QCOMPARE(messages().size(), 1);
        QVERIFY2(messages()[0].contains(message), qPrintable(messages()[0]));
        QVERIFY(App().TreeReady);
        s().ChangeUser(-1);
        s().SaveOnClose();
        QCOMPARE(QFile::exists(u.ReportFile), exists);
        if (exists) QCOMPARE(fileOf(u), before);
    }

    // A course that grew since the learner's file was written: told once,
    // the old file kept beside as .bak, the progress kept.
    void grownCourse() {
        prepare();
        const TUserRec u = AddLearner(*m_dir, "Ivan", QString(), 'D', {4});
        const QByteArray shorter = fileOf(u).left(5 * 264); // header and items 1-4
        testenv::WriteBytes(u.ReportFile, shorter);
        start();
        s().ChangeUser(0);
        s().ChangeUser(0); // the file written on leaving holds every item now
        QCOMPARE(messages().size(), 1);
        QVERIFY(messages()[0].contains(QStringLiteral("Ivan.rep.bak")));
        QVERIFY(messages()[0].endsWith(QStringLiteral("|40")));
        QCOMPARE(images(), (QList<int>{0, 0, 0, 2, 1}));
        QCOMPARE(testenv::ReadBytes(u.ReportFile + QStringLiteral(".bak")), shorter);
        QCOMPARE(fileOf(u).size(), 6 * 264);
    }

    void logIn_data() {
        QTest::addColumn<bool>("withLearner");
        QTest::addColumn<Selects>("selects");
        QTest::addColumn<Passwords>("passwords");
        QTest::addColumn<int>("selectCalls");
        QTest::addColumn<int>("user");
        QTest::addColumn<QStringList>("messages");
        const QString wrong = QStringLiteral("Неправильный пароль|Ошибка|10");
        QTest::newRow("right password")
            << true << Selects{{mrOk, 0}} << Passwords{{mrOk, "pw"}} << 1 << 0 << QStringList();
        QTest::newRow("wrong then right")
            << true << Selects{{mrOk, 0}, {mrOk, 0}} << Passwords{{mrOk, "PW"}, {mrOk, "pw"}} << 2
            << 0 << QStringList{wrong};
        QTest::newRow("wrong then cancel")
            << true << Selects{{mrOk, 0}, {mrCancel, -1}} << Passwords{{mrOk, ""}} << 2 << -1
            << QStringList{wrong};
        QTest::newRow("nothing chosen, asked again")
            << true << Selects{{mrOk, -1}, {mrOk, 0}} << Passwords{{mrOk, "pw"}} << 2 << 0
            << QStringList();
        QTest::newRow("password cancelled")
            << true << Selects{{mrOk, 0}} << Passwords{{mrCancel, "pw"}} << 1 << -1
            << QStringList();
        QTest::newRow("no learners")
            << false << Selects{{mrOk, -1}, {mrCancel, -1}} << Passwords{} << 2 << -1
            << QStringList{QStringLiteral("Нет ни одного имени|Ошибка|10")};
    }
    void logIn() {
        QFETCH(bool, withLearner);
        QFETCH(Selects, selects);
        QFETCH(Passwords, passwords);
        QFETCH(int, selectCalls);
        QFETCH(int, user);
        QFETCH(QStringList, messages);
        prepare();
        if (withLearner) AddLearner(*m_dir, "Ivan", "pw", 'D', {});
        start();
        m_dlg.selects = selects;
        m_dlg.passwords = passwords;
        s().LogIn();
        QCOMPARE(m_dlg.selectCalls, selectCalls);
        QCOMPARE(s().CurrentUser(), user);
        QCOMPARE(this->messages(), messages);
    }

    // A learner created or deleted in the selection dialog, then the
    // password cancelled: the current learner stays unless it was deleted.
    void passwordCancelledAfterChange_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("user");
        QTest::newRow("learner created") << "create" << 0;
        QTest::newRow("current learner deleted") << "delete" << -1;
    }
    void passwordCancelledAfterChange() {
        QFETCH(QString, change);
        QFETCH(int, user);
        prepare();
        AddLearner(*m_dir, "Ivan", QString(), 'D', {4});
        AddLearner(*m_dir, "Olga", "pw", 'D', {});
        start();
        s().ChangeUser(0);
        m_dlg.selects = {{mrOk, 0}};
        m_dlg.duringSelect = [&] {
            if (change == "create")
                AddLearner(*m_dir, "Petr", QString(), 'B', {});
            else
                QCOMPARE(DeleteLearner(Learners(), 0, QString(), m_dir->path()),
                         DeleteOutcome::Deleted);
            App().UserUnchanged = false;
        };
        s().LogIn();
        QCOMPARE(s().CurrentUser(), user);
        QCOMPARE(images(), user >= 0 ? (QList<int>{0, 0, 0, 2, 1}) : (QList<int>{0, 0, 0, 1, 1}));
    }

    void newUser_data() {
        QTest::addColumn<bool>("made");
        QTest::newRow("made") << true;
        QTest::newRow("cancelled") << false;
    }
    void newUser() {
        QFETCH(bool, made);
        prepare();
        AddLearner(*m_dir, "Ivan", QString(), 'D', {4});
        start();
        s().ChangeUser(0);
        CurrentProgress()[5].Done = 1;
        if (made)
            m_dlg.newUser = [this] {
                AddLearner(*m_dir, "Olga", QString(), 'B', {});
                App().UserUnchanged = false;
            };
        s().NewUser();
        QCOMPARE(s().CurrentUser(), made ? 1 : 0);
        QCOMPARE(s().CurrentMode(), made ? 'B' : 'D');
        // The learner left kept the mark made in memory.
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
        prepare();
        const TUserRec u = AddLearner(*m_dir, "Ivan", QString(), 'D', {4, 5});
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
        prepare();
        start();
        m_dlg.teacher = stored;
        m_dlg.passwords = passwords;
        const int shownBefore = m_view.progressShown;
        s().TeacherCheck();
        QCOMPARE(m_dlg.passwordCalls, prompts);
        QCOMPARE(m_dlg.consoles, consoles);
        QCOMPARE(this->messages().size(), messages);
        // The password prompt's help is the console's only while it asks.
        QCOMPARE(m_dlg.helpTopics.size(), 2);
        QCOMPARE(m_dlg.helpTopics.last(), 0);
        QCOMPARE(m_view.progressShown, shownBefore + 1);
    }

    // The anonymous learner has no report.
    void report() {
        prepare();
        AddLearner(*m_dir, "Ivan", QString(), 'D', {});
        start();
        s().Report();
        QCOMPARE(m_dlg.reports, 0);
        s().ChangeUser(0);
        s().Report();
        QCOMPARE(m_dlg.reports, 1);
    }

    void saveOnClose_data() {
        QTest::addColumn<bool>("listUnreadable");
        QTest::newRow("list read") << false;
        QTest::newRow("list failed to load") << true;
    }
    void saveOnClose() {
        QFETCH(bool, listUnreadable);
        prepare();
        const TUserRec u = AddLearner(*m_dir, "Ivan", QString(), 'D', {});
        const QString usersEng = m_dir->file(QStringLiteral("Users.eng"));
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
