// The learner session over a small course: switching learners, the log-in loop,
// the teacher check, work mode changes and what reaches the files. The launcher
// against a scripted host: which window opens with which arguments, what the
// results dialog offers and what ends up stored.
#include "base/errors.h"
#include "common/testenv.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerops.h"
#include "learners/learnertable.h"
#include "main/launcher.h"
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

namespace {

using Ints = QList<int>;
using Counts = QList<QPair<int, int>>; // N and E of multiple-choice runs

struct Host : LaunchHost {
    QStringList calls;        // the window of each run, with what it was given
    Ints outcomes;            // outcome of each run in turn (0 when exhausted)
    Ints answers;             // results dialog answers in turn (leave when exhausted)
    Counts questDown;         // N and E of each multiple-choice run
    QList<bool> repitEnabled; // whether each results dialog offered marking done
    QStringList messages;
    bool duplex = true, available = true;
    int duplexTests = 0, hides = 0, ends = 0;
    qint64 freeSpace = qint64(1) << 40;
    QString freeDir;
    TLessonFiles files; // of the last window

    int call(const QString& line, const TLessonFiles& f) {
        calls << line;
        files = f;
        return outcomes.isEmpty() ? 0 : outcomes.takeFirst();
    }
    LaunchPlacement Placement() override { return {100, 50, 775, 541}; }
    bool WindowAvailable(int) override { return available; }
    int RunLexicDemo(int, int, const TLessonFiles& f) override { return call("LexicDemo", f); }
    int RunLexic(int, int, const TLessonFiles& f) override { return call("Lexic", f); }
    int RunQuestDemo(int, int, const TLessonFiles& f) override { return call("QuestDemo", f); }
    int RunQuestDown(int, int, const TLessonFiles& f, int& n, int& e) override {
        std::tie(n, e) = questDown.isEmpty() ? qMakePair(0, 0) : questDown.takeFirst();
        return call("QuestDown", f);
    }
    int RunQuestTrFl(int, int, const TLessonFiles& f) override { return call("QuestTrFl", f); }
    int RunWorkText(const LaunchPlacement&, const TLessonFiles& f, const QString& rec,
                    const QString&) override {
        return call("WorkText " + rec, f);
    }
    // Recording, then text, translation and wait allowed, then the help topic.
    int RunTransNoText(const LaunchPlacement&, const TListenParams& p) override {
        return call(QStringLiteral("Trans %1|%2%3%4|%5")
                        .arg(p.RecordName)
                        .arg(int(p.TextAllowed))
                        .arg(int(p.TranslationAllowed))
                        .arg(int(p.WaitAllowed))
                        .arg(p.HelpContext),
                    p.Files);
    }
    bool RunDuplexTest() override { return ++duplexTests, duplex; }
    qint64 FreeDiskSpace(const QString& dir) override { return freeDir = dir, freeSpace; }
    int ShowLexRepit(const QString&, bool enabled) override {
        repitEnabled << enabled;
        return answers.isEmpty() ? kRepitLeave : answers.takeFirst();
    }
    void XMessage(const QString& text, const QString&, int) override { messages << text; }
    void HideMainPanel() override { ++hides; }
    void ShowMainPanelAndRedraw() override { ++ends; }
};

// Root, section, lesson, then one exercise item per kind (item 4 on); files
// that do not exist.
CourseTable Lesson(const Ints& kinds) {
    CourseTable t(1);
    for (int kind : Ints{0, 0, 0} + kinds) {
        TCourseItem it;
        it.ExerciseKind = quint8(kind);
        it.DataFile1 = QStringLiteral("L1.txt");
        it.DataFile2 = QStringLiteral("L1.tra");
        it.DataFile3 = QStringLiteral("L1.wav");
        it.DataFile4 = QStringLiteral("L1.tim");
        it.DataFile5 = QStringLiteral("L1.pic");
        t.append(it);
    }
    return t;
}

// A progress table of `count` records; the last one's score is 37.
ProgressTable Blank(int count) {
    ProgressTable p;
    p.Recs.resize(count + 1);
    p.Count = count;
    p[count].Score = 37;
    return p;
}

LaunchContext Context(const CourseTable& t, ProgressTable& p, char mode, bool learner) {
    LaunchContext c;
    c.Mode = mode;
    c.User = learner ? 0 : -1;
    c.UserName = QStringLiteral("Ivan");
    c.ReportDir = QStringLiteral("C:\\Course\\Report\\Ivan\\");
    c.DataRoot = QStringLiteral("DemoData\\");
    c.Table = &t;
    c.Progress = &p;
    return c;
}

const QString kRec = QStringLiteral("C:\\Course\\Report\\Ivan\\Ivan4.wav");

} // namespace

class TestSessionRules : public QObject {
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

    // Every run the learner went through ends in the results dialog; a
    // repeat opens the window again and nothing else (no second start step,
    // duplex test or disk check). Marking done keeps the score; the
    // listening kinds store the recording name. The last item runs; text
    // work analyses the take of the nearest earlier recording item of its
    // lesson (each earlier item's take is "rec" and its number).
    void runs_data() {
        QTest::addColumn<Ints>("kinds"); // items 4.. after root, section, lesson
        QTest::addColumn<char>("mode");
        QTest::addColumn<bool>("learner");
        QTest::addColumn<Ints>("outcomes");
        QTest::addColumn<Ints>("answers");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("duplexTests");
        QTest::addColumn<bool>("done");
        const Ints once{0}, mark{kRepitMarkDone}, repeat{kRepitRepeat, kRepitMarkDone};
        const auto row = [](const char* name, Ints kinds, char mode, bool learner, Ints outcomes,
                            Ints answers, QStringList calls, int dialogs, int duplex, bool done) {
            QTest::newRow(name) << kinds << mode << learner << outcomes << answers << calls
                                << dialogs << duplex << done;
        };
        const auto trans = [](const QString& s) { return QStringList{"Trans " + s}; };
        row("4 mode A", {4}, 'A', true, once, mark, trans(kRec + "|000|0"), 1, 1, true);
        row("4 mode C", {4}, 'C', true, once, mark, trans(kRec + "|100|0"), 1, 1, true);
        row("8 mode D", {8}, 'D', true, once, mark, trans("|100|0"), 1, 0, true);
        row("11", {11}, 'C', true, once, mark, trans("|000|110"), 1, 1, true);
        row("12", {12}, 'D', true, once, mark, trans(kRec + "|001|140"), 1, 1, true);
        row("13", {13}, 'A', true, once, mark, trans(kRec + "|000|150"), 1, 1, true);
        row("13 anonymous", {13}, 'A', false, once, mark, trans("AnonSnd.wav|000|150"), 1, 1,
            false);
        row("14", {14}, 'B', true, once, mark, trans(kRec + "|010|160"), 1, 1, true);
        row("15", {15}, 'A', true, once, mark, trans(kRec + "|100|170"), 1, 1, true);
        row("1 leave", {1}, 'D', true, once, {kRepitLeave}, {"LexicDemo"}, 1, 0, false);
        row("1 left window", {1}, 'D', true, {2}, mark, {"LexicDemo"}, 0, 0, false);
        row("2 repeat, window left", {2}, 'D', true, {0, 3}, repeat, {"Lexic", "Lexic"}, 1, 0,
            false);
        row("3 repeat, mark", {3}, 'D', true, {0, 0}, repeat, {"QuestDemo", "QuestDemo"}, 2, 0,
            true);
        row("4 repeat twice, leave", {4}, 'D', true, {0, 0, 0},
            {kRepitRepeat, kRepitRepeat, kRepitLeave}, QStringList(3, "Trans " + kRec + "|100|0"),
            3, 1, false);
        // True or false has its own results window and stores nothing.
        row("7 no results dialog", {7}, 'D', true, once, mark, {"QuestTrFl"}, 0, 0, false);
        const QStringList rec4{"WorkText rec4"}, none{"WorkText "};
        row("text work after kind 4", {4, 5}, 'D', true, once, mark, rec4, 1, 0, true);
        row("kind 12 two back", {12, 1, 5}, 'D', true, once, mark, rec4, 1, 0, true);
        row("kind 8 is not a recording", {8, 5}, 'D', true, once, mark, none, 1, 0, true);
        row("nearest recording wins", {13, 15, 5}, 'D', true, once, mark, {"WorkText rec5"}, 1, 0,
            true);
        row("text work anonymous", {4, 5}, 'D', false, once, mark, none, 1, 0, false);
        row("stops at a lesson", {4, 0, 5}, 'D', true, once, mark, none, 1, 0, true);
    }
    void runs() {
        QFETCH(Ints, kinds);
        QFETCH(char, mode);
        QFETCH(bool, learner);
        QFETCH(Ints, outcomes);
        QFETCH(Ints, answers);
        QFETCH(QStringList, calls);
        QFETCH(int, dialogs);
        QFETCH(int, duplexTests);
        QFETCH(bool, done);
        const CourseTable t = Lesson(kinds);
        const int item = int(t.size()) - 1;
        ProgressTable p = Blank(item);
        for (int k = 1; k < item; ++k)
            p[k].RecordFile = QStringLiteral("rec%1").arg(k);
        Host h;
        h.outcomes = outcomes;
        h.answers = answers;
        Launcher(h).Launch(Context(t, p, mode, learner), item);
        QCOMPARE(h.calls, calls);
        QCOMPARE(h.repitEnabled, QList<bool>(dialogs, learner));
        QCOMPARE(h.duplexTests, duplexTests);
        QCOMPARE(h.hides, 1);
        QCOMPARE(h.ends, 1);
        QCOMPARE(int(p[item].Done), int(done));
        QCOMPARE(p[item].Score, 37);
        QCOMPARE(p[item].RecordFile, done && calls[0].startsWith("Trans") ? kRec : QString());
    }

    // Marking a multiple-choice run done is offered up to 30 per cent of
    // errors and stores the percentage; a repeat is judged by its own counts.
    void questDown_data() {
        QTest::addColumn<bool>("learner");
        QTest::addColumn<Counts>("counts");
        QTest::addColumn<QList<bool>>("offered");
        QTest::addColumn<int>("score"); // -1: not marked done
        using C = Counts;
        using B = QList<bool>;
        QTest::newRow("10/3 exactly 30%") << true << C{{10, 3}} << B{true} << 30;
        QTest::newRow("3/1 just over") << true << C{{3, 1}} << B{false} << -1;
        QTest::newRow("7/2 truncated") << true << C{{7, 2}} << B{true} << 28;
        QTest::newRow("no questions") << true << C{{0, 0}} << B{true} << 0;
        QTest::newRow("anonymous 10/3") << false << C{{10, 3}} << B{false} << -1;
        QTest::newRow("failed, repeated, passed")
            << true << C{{10, 5}, {10, 1}} << B{false, true} << 10;
    }
    void questDown() {
        QFETCH(bool, learner);
        QFETCH(Counts, counts);
        QFETCH(QList<bool>, offered);
        QFETCH(int, score);
        const CourseTable t = Lesson({6});
        ProgressTable p = Blank(4);
        Host h;
        h.questDown = counts;
        h.answers = Ints(counts.size() - 1, kRepitRepeat) << kRepitMarkDone;
        Launcher(h).Launch(Context(t, p, 'D', learner), 4);
        QCOMPARE(h.calls.size(), counts.size());
        QCOMPARE(h.repitEnabled, offered);
        QCOMPARE(int(p[4].Done), int(score >= 0));
        QCOMPARE(p[4].Score, score >= 0 ? score : 37);
    }

    // Nothing opens for a kind without a window, a window not built, an item
    // outside the table or a failed start step; the node images are redrawn
    // all the same.
    void startStep_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("item");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("duplex");
        QTest::addColumn<qint64>("freeSpace");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<int>("messages");
        const qint64 big = qint64(1) << 40;
        QTest::newRow("section") << 0 << 4 << true << true << big << false << 0;
        QTest::newRow("10") << 10 << 4 << true << true << big << false << 0;
        QTest::newRow("window not built") << 1 << 4 << false << true << big << false << 0;
        QTest::newRow("no item selected") << 1 << 0 << true << true << big << false << 0;
        QTest::newRow("beyond the table") << 1 << 5 << true << true << big << false << 0;
        QTest::newRow("4 no duplex") << 4 << 4 << true << false << big << false << 0;
        QTest::newRow("4 disk full") << 4 << 4 << true << true << qint64(999) << false << 1;
        QTest::newRow("4 exactly fits") << 4 << 4 << true << true << qint64(1000) << true << 0;
        QTest::newRow("12 no disk check") << 12 << 4 << true << true << qint64(0) << true << 0;
        QTest::newRow("8 no test at all") << 8 << 4 << true << false << qint64(0) << true << 0;
    }
    void startStep() {
        QFETCH(int, kind);
        QFETCH(int, item);
        QFETCH(bool, available);
        QFETCH(bool, duplex);
        QFETCH(qint64, freeSpace);
        QFETCH(bool, opens);
        QFETCH(int, messages);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file(QStringLiteral("DemoData/L1.wav")), QByteArray(1000, 'x'));
        const CourseTable t = Lesson({kind});
        ProgressTable p = Blank(4);
        Host h;
        h.available = available;
        h.duplex = duplex;
        h.freeSpace = freeSpace;
        Launcher(h).Launch(Context(t, p, 'D', true), item);
        QCOMPARE(h.calls.size(), opens ? 1 : 0);
        QCOMPARE(h.hides, opens ? 1 : 0);
        QCOMPARE(h.messages.size(), messages);
        QCOMPARE(h.ends, 1);
        if (kind == 4 && duplex) QCOMPARE(h.freeDir, QDir::currentPath());
    }

    // The window gets the course's files where they are, else below the data
    // folder, cut to 255; sound and timing stay empty when the course leaves
    // them empty; marking done never writes outside a progress table shorter
    // than the course.
    void windowFilesAndShortProgress() {
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file(QStringLiteral("Folder/in.txt")), "x");
        CourseTable t = Lesson({1});
        t[4].DataFile1 = QStringLiteral("Folder\\in.txt");
        t[4].DataFile3.clear();
        t[4].DataFile4.clear();
        t[4].DataFile5 = QString(300, QLatin1Char('a'));
        ProgressTable p = Blank(2);
        Host h;
        h.answers = {kRepitMarkDone};
        Launcher(h).Launch(Context(t, p, 'D', true), 4);
        const TLessonFiles& f = h.files;
        QCOMPARE((QStringList{f.Text, f.Translation, f.Timing, f.Sound, f.Pictures}),
                 (QStringList{"Folder\\in.txt", "DemoData\\L1.tra", "", "",
                              "DemoData\\" + QString(246, QLatin1Char('a'))}));
        QCOMPARE(p.Recs.size(), 3);
    }
};

QTEST_MAIN(TestSessionRules)
#include "test_sessionrules.moc"
