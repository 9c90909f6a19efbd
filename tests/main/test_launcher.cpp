// The launcher against a scripted host: which window opens with which
// arguments, what the results dialog offers and what ends up stored.
#include "common/testenv.h"
#include "main/launcher.h"

#include <QtTest>

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

class TestLauncher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

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
        QTest::newRow("9") << 9 << 4 << true << true << big << false << 0;
        QTest::newRow("10") << 10 << 4 << true << true << big << false << 0;
        QTest::newRow("16") << 16 << 4 << true << true << big << false << 0;
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

QTEST_MAIN(TestLauncher)
#include "test_launcher.moc"
