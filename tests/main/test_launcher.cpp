// The launcher against a scripted host: which window opens with which
// arguments, what the results dialog offers and what ends up stored.
#include "common/testenv.h"
#include "main/launcher.h"

#include <QtTest>

namespace {

struct Host : LaunchHost {
    QStringList calls;                // one line per window opened
    QList<int> outcomes;              // outcome of each run in turn (0 when exhausted)
    QList<int> answers;               // results dialog answers in turn (leave when exhausted)
    QList<QPair<int, int>> questDown; // N and E of each multiple-choice run
    QStringList repitMessages, messages;
    QList<bool> repitEnabled;
    bool duplex = true, available = true;
    int duplexTests = 0, hides = 0, ends = 0;
    qint64 freeSpace = qint64(1) << 40;
    QString freeDir;

    int call(const QString& line) {
        calls << line;
        return outcomes.isEmpty() ? 0 : outcomes.takeFirst();
    }
    int lexLike(const char* name, int cx, int cy, const TLessonFiles& f) {
        return call(QStringLiteral("%1 %2 %3|").arg(QLatin1String(name)).arg(cx).arg(cy) +
                    QStringList{f.Text, f.Translation, f.Timing, f.Sound}.join('|'));
    }
    // Area, sound, recording, text, translation, timing, pictures.
    static QString text(const LaunchPlacement& a, const TLessonFiles& f, const QString& rec) {
        return QStringLiteral("%1,%2,%3,%4|").arg(a.X).arg(a.Y).arg(a.W).arg(a.H) +
               QStringList{f.Sound, rec, f.Text, f.Translation, f.Timing, f.Pictures}.join('|');
    }
    LaunchPlacement Placement() override { return {100, 50, 775, 541}; }
    bool WindowAvailable(int) override { return available; }
    int RunLexicDemo(int x, int y, const TLessonFiles& f) override {
        return lexLike("LexicDemo", x, y, f);
    }
    int RunLexic(int x, int y, const TLessonFiles& f) override { return lexLike("Lexic", x, y, f); }
    int RunQuestDemo(int x, int y, const TLessonFiles& f) override {
        return lexLike("QuestDemo", x, y, f);
    }
    int RunQuestDown(int x, int y, const TLessonFiles& f, int& n, int& e) override {
        std::tie(n, e) = questDown.isEmpty() ? qMakePair(0, 0) : questDown.takeFirst();
        return lexLike("QuestDown", x, y, f);
    }
    int RunQuestTrFl(int x, int y, const TLessonFiles& f) override {
        return lexLike("QuestTrFl", x, y, f);
    }
    int RunWorkText(const LaunchPlacement& a, const TLessonFiles& f, const QString& rec,
                    const QString& root) override {
        return call("WorkText " + text(a, f, rec) + "|" + root);
    }
    int RunTransNoText(const LaunchPlacement& a, const TListenParams& p) override {
        return call(QStringLiteral("Trans %1|%2%3%4|%5|%6")
                        .arg(text(a, p.Files, p.RecordName))
                        .arg(int(p.TextAllowed))
                        .arg(int(p.TranslationAllowed))
                        .arg(int(p.WaitAllowed))
                        .arg(p.DataRoot)
                        .arg(p.HelpContext));
    }
    bool RunDuplexTest() override { return ++duplexTests, duplex; }
    qint64 FreeDiskSpace(const QString& dir) override { return freeDir = dir, freeSpace; }
    int ShowLexRepit(const QString& message, bool enabled) override {
        repitMessages << message;
        repitEnabled << enabled;
        return answers.isEmpty() ? kRepitLeave : answers.takeFirst();
    }
    void XMessage(const QString& text, const QString& title, int flags) override {
        messages << QStringLiteral("%1|%2|%3").arg(text, title).arg(flags, 0, 16);
    }
    void HideMainPanel() override { ++hides; }
    void ShowMainPanelAndRedraw() override { ++ends; }
};

// Root, section, lesson, then one exercise item per kind (item 4 on); files
// that do not exist.
CourseTable Lesson(const QList<int>& kinds) {
    CourseTable t(1);
    for (int kind : QList<int>{0, 0, 0} + kinds) {
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

ProgressTable Blank(int count) {
    ProgressTable p;
    for (int k = 0; k < count; ++k)
        p.Recs.append(TProgressRec{});
    p.Count = count;
    return p;
}

LaunchContext Context(const CourseTable& t, ProgressTable& p, char mode, bool learner) {
    LaunchContext c;
    c.Mode = mode;
    c.User = learner ? 0 : -1;
    if (learner) {
        c.UserName = QStringLiteral("Ivan");
        c.ReportDir = QStringLiteral("C:\\Course\\Report\\Ivan\\");
    }
    c.DataRoot = QStringLiteral("DemoData\\");
    c.Table = &t;
    c.Progress = &p;
    return c;
}

const QString kRec = QStringLiteral("C:\\Course\\Report\\Ivan\\Ivan4.wav");
const QString kListened = QStringLiteral("Вы прослушали текст урока.");

} // namespace

class TestLauncher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void transKinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<char>("mode");
        QTest::addColumn<bool>("learner");
        QTest::addColumn<QString>("record"); // passed to the window
        QTest::addColumn<QString>("flags");  // text, translation, wait
        QTest::addColumn<int>("help");
        QTest::addColumn<int>("duplexTests");
        QTest::addColumn<QString>("message");
        const QString translated = QStringLiteral("Вы перевели текст.");
        QTest::newRow("4 mode A") << 4 << 'A' << true << kRec << "000" << 0 << 1 << translated;
        QTest::newRow("4 mode C") << 4 << 'C' << true << kRec << "100" << 0 << 1 << translated;
        QTest::newRow("4 mode D") << 4 << 'D' << true << kRec << "100" << 0 << 1 << translated;
        QTest::newRow("8 mode D") << 8 << 'D' << true << QString() << "100" << 0 << 0 << kListened;
        QTest::newRow("11") << 11 << 'C' << true << QString() << "000" << 110 << 1 << kListened;
        QTest::newRow("12") << 12 << 'D' << true << kRec << "001" << 140 << 1 << kListened;
        QTest::newRow("13") << 13 << 'A' << true << kRec << "000" << 150 << 1 << kListened;
        QTest::newRow("13 anonymous") << 13 << 'A' << false << "AnonSnd.wav"
                                      << "000" << 150 << 1 << kListened;
        QTest::newRow("14") << 14 << 'B' << true << kRec << "010" << 160 << 1 << kListened;
        QTest::newRow("15") << 15 << 'A' << true << kRec << "100" << 170 << 1 << kListened;
    }
    void transKinds() {
        QFETCH(int, kind);
        QFETCH(char, mode);
        QFETCH(bool, learner);
        QFETCH(QString, record);
        QFETCH(QString, flags);
        QFETCH(int, help);
        QFETCH(int, duplexTests);
        QFETCH(QString, message);
        testenv::CourseDir dir;
        const CourseTable t = Lesson({kind});
        ProgressTable p = Blank(4);
        p[4].Score = 37; // marking done sets Score for kind 6 only
        Host h;
        h.answers = {kRepitMarkDone};
        Launcher(h).Launch(Context(t, p, mode, learner), 4);
        QCOMPARE(h.duplexTests, duplexTests);
        QCOMPARE(h.calls, QStringList{"Trans 100,50,775,541|DemoData\\L1.wav|" + record +
                                      "|DemoData\\L1.txt|DemoData\\L1.tra|DemoData\\L1.tim|"
                                      "DemoData\\L1.pic|" +
                                      flags + "|DemoData\\|" + QString::number(help)});
        QCOMPARE(h.repitMessages, QStringList{message});
        QCOMPARE(h.repitEnabled, QList<bool>{learner});
        // Marked done: every listening kind stores the recording name.
        QCOMPARE(int(p[4].Done), int(learner));
        QCOMPARE(p[4].Score, 37);
        QCOMPARE(p[4].RecordFile, learner ? kRec : QString());
    }

    void questDown_data() {
        QTest::addColumn<bool>("learner");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("e");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("score"); // -1: not marked done
        const QString ok = QStringLiteral(". Рекомендуется отметить упражнение как выполненное");
        const QString bad = QStringLiteral(". Вы не в достаточной мере поняли содержание текста. "
                                           "Попробуйте прослушать текст еще раз.");
        QTest::newRow("10/3 exactly 30%") << true << 10 << 3 << true << "Ошибок: 3" + ok << 30;
        QTest::newRow("3/1 just over") << true << 3 << 1 << false << "Ошибок: 1" + bad << -1;
        QTest::newRow("7/2 truncated") << true << 7 << 2 << true << "Ошибок: 2" + ok << 28;
        QTest::newRow("no questions") << true << 0 << 0 << true << "Ошибок: 0" + ok << 0;
        QTest::newRow("anonymous 10/3") << false << 10 << 3 << false << "Ошибок: 3" + ok << -1;
    }
    void questDown() {
        QFETCH(bool, learner);
        QFETCH(int, n);
        QFETCH(int, e);
        QFETCH(bool, offered);
        QFETCH(QString, message);
        QFETCH(int, score);
        const CourseTable t = Lesson({6});
        ProgressTable p = Blank(4);
        p[4].Score = 37;
        Host h;
        h.questDown = {{n, e}};
        h.answers = {kRepitMarkDone}; // answered as if the option were there
        Launcher(h).Launch(Context(t, p, 'D', learner), 4);
        QCOMPARE(h.calls,
                 QStringList{QStringLiteral("QuestDown 487 320|DemoData\\L1.txt|DemoData\\L1.tra|"
                                            "DemoData\\L1.tim|DemoData\\L1.wav")});
        QCOMPARE(h.repitMessages, QStringList{message});
        QCOMPARE(h.repitEnabled, QList<bool>{offered});
        QCOMPARE(int(p[4].Done), int(score >= 0));
        QCOMPARE(p[4].Score, score >= 0 ? score : 37);
    }

    // A repeated multiple-choice run is judged by its own counts.
    void questDownRepeat() {
        const CourseTable t = Lesson({6});
        ProgressTable p = Blank(4);
        Host h;
        h.questDown = {{10, 5}, {10, 1}};
        h.answers = {kRepitRepeat, kRepitMarkDone};
        Launcher(h).Launch(Context(t, p, 'D', true), 4);
        QCOMPARE(h.calls.size(), 2);
        QCOMPARE(h.repitEnabled, (QList<bool>{false, true}));
        QCOMPARE(p[4].Score, 10);
    }

    // Every run the learner went through ends in the results dialog; a
    // repeat opens the window again and nothing else (no second start step,
    // duplex test or disk check).
    void resultsLoop_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("outcomes");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("done");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("window");
        const QString lex = QStringLiteral("Вы просмотрели лексику урока.");
        using L = QList<int>;
        QTest::newRow("1 mark") << 1 << L{0} << L{1} << 1 << 1 << 1 << lex << "LexicDemo";
        QTest::newRow("1 leave") << 1 << L{0} << L{2} << 1 << 1 << 0 << lex << "LexicDemo";
        QTest::newRow("1 left window") << 1 << L{2} << L{1} << 1 << 0 << 0 << ""
                                       << "LexicDemo";
        QTest::newRow("2 repeat, window left")
            << 2 << L{0, 3} << L{4, 1} << 2 << 1 << 0
            << QStringLiteral("Вы успешно выполнили упражнение.") << "Lexic";
        QTest::newRow("3 repeat, mark")
            << 3 << L{0, 0} << L{4, 1} << 2 << 2 << 1
            << QStringLiteral("Вы просмотрели вопросы к тексту.") << "QuestDemo";
        QTest::newRow("4 repeat twice, leave") << 4 << L{0, 0, 0} << L{4, 4, 2} << 3 << 3 << 0
                                               << QStringLiteral("Вы перевели текст.") << "Trans";
        // True or false has its own results window and stores nothing.
        QTest::newRow("7 no results dialog") << 7 << L{0} << L{1} << 1 << 0 << 0 << ""
                                             << "QuestTrFl";
    }
    void resultsLoop() {
        QFETCH(int, kind);
        QFETCH(QList<int>, outcomes);
        QFETCH(QList<int>, answers);
        QFETCH(int, runs);
        QFETCH(int, dialogs);
        QFETCH(int, done);
        QFETCH(QString, message);
        QFETCH(QString, window);
        testenv::CourseDir dir;
        const CourseTable t = Lesson({kind});
        ProgressTable p = Blank(4);
        p[4].Score = 37;
        Host h;
        h.outcomes = outcomes;
        h.answers = answers;
        Launcher(h).Launch(Context(t, p, 'D', true), 4);
        QCOMPARE(h.calls.size(), runs);
        QCOMPARE(h.calls.count(h.calls[0]), runs); // the same window each time
        QCOMPARE(h.calls[0].section(' ', 0, 0), window);
        QCOMPARE(h.repitMessages.size(), dialogs);
        if (dialogs) QCOMPARE(h.repitMessages.first(), message);
        QCOMPARE(int(p[4].Done), done);
        QCOMPARE(p[4].Score, 37);
        QCOMPARE(h.hides, 1);
        QCOMPARE(h.ends, 1);
        QCOMPARE(h.duplexTests, kind == 4 ? 1 : 0);
        if (!done) QVERIFY(p[4].RecordFile.isEmpty());
    }

    void startsNothing_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("available");
        QTest::addColumn<int>("item");
        QTest::newRow("section") << 0 << true << 4;
        QTest::newRow("9") << 9 << true << 4;
        QTest::newRow("10") << 10 << true << 4;
        QTest::newRow("16") << 16 << true << 4;
        QTest::newRow("window not built") << 1 << false << 4;
        QTest::newRow("no item selected") << 1 << true << 0;
        QTest::newRow("beyond the table") << 1 << true << 5;
    }
    void startsNothing() {
        QFETCH(int, kind);
        QFETCH(bool, available);
        QFETCH(int, item);
        const CourseTable t = Lesson({kind});
        ProgressTable p = Blank(4);
        Host h;
        h.available = available;
        Launcher(h).Launch(Context(t, p, 'D', true), item);
        QVERIFY(h.calls.isEmpty());
        QCOMPARE(h.duplexTests, 0);
        QCOMPARE(h.hides, 0);
        QCOMPARE(h.ends, 1); // the node images are redrawn all the same
    }

    void preconditions_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("duplex");
        QTest::addColumn<qint64>("freeSpace");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QStringList>("messages");
        const QStringList full{
            QStringLiteral("Упражнение не может быть выполнено. На диске нет места.|Внимание|30")};
        QTest::newRow("4 no duplex") << 4 << false << qint64(1) << false << QStringList();
        QTest::newRow("4 disk full") << 4 << true << qint64(999) << false << full;
        QTest::newRow("4 exactly fits") << 4 << true << qint64(1000) << true << QStringList();
        QTest::newRow("12 no disk check") << 12 << true << qint64(0) << true << QStringList();
        QTest::newRow("8 no test at all") << 8 << false << qint64(0) << true << QStringList();
    }
    void preconditions() {
        QFETCH(int, kind);
        QFETCH(bool, duplex);
        QFETCH(qint64, freeSpace);
        QFETCH(bool, opens);
        QFETCH(QStringList, messages);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file(QStringLiteral("DemoData/L1.wav")), QByteArray(1000, 'x'));
        const CourseTable t = Lesson({kind});
        ProgressTable p = Blank(4);
        Host h;
        h.duplex = duplex;
        h.freeSpace = freeSpace;
        Launcher(h).Launch(Context(t, p, 'D', true), 4);
        QCOMPARE(h.calls.size(), opens ? 1 : 0);
        QCOMPARE(h.hides, opens ? 1 : 0);
        QCOMPARE(h.messages, messages);
        QCOMPARE(h.ends, 1);
        if (kind == 4 && duplex) QCOMPARE(h.freeDir, QDir::currentPath());
    }

    // Text work analyses the take of the nearest earlier recording item of
    // its lesson.
    void workTextRecording_data() {
        QTest::addColumn<QList<int>>("kinds"); // items 4.. after root, section, lesson
        QTest::addColumn<bool>("learner");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("message");
        const QString analysed = QStringLiteral("Вы анализировали свой перевод");
        QTest::newRow("after kind 4") << QList<int>{4, 5} << true << "rec4" << analysed;
        QTest::newRow("kind 12 two back") << QList<int>{12, 1, 5} << true << "rec4" << analysed;
        QTest::newRow("kind 8 is not a recording")
            << QList<int>{8, 5} << true << QString() << kListened;
        QTest::newRow("nearest recording wins")
            << QList<int>{13, 15, 5} << true << "rec5" << analysed;
        QTest::newRow("anonymous") << QList<int>{4, 5} << false << QString() << kListened;
        QTest::newRow("stops at a lesson") << QList<int>{4, 0, 5} << true << QString() << kListened;
    }
    void workTextRecording() {
        QFETCH(QList<int>, kinds);
        QFETCH(bool, learner);
        QFETCH(QString, record);
        QFETCH(QString, message);
        const CourseTable t = Lesson(kinds);
        const int count = int(t.size()) - 1;
        ProgressTable p = Blank(count);
        for (int k = 1; k <= count; ++k)
            p[k].RecordFile = QStringLiteral("rec%1").arg(k);
        p[count].Score = 37;
        Host h;
        h.answers = {kRepitMarkDone};
        Launcher(h).Launch(Context(t, p, 'D', learner), count);
        QCOMPARE(h.calls, QStringList{"WorkText 100,50,775,541|DemoData\\L1.wav|" + record +
                                      "|DemoData\\L1.txt|DemoData\\L1.tra|DemoData\\L1.tim|"
                                      "DemoData\\L1.pic|DemoData\\"});
        QCOMPARE(h.repitMessages, QStringList{message});
        QCOMPARE(int(p[count].Done), int(learner));
        QCOMPARE(p[count].Score, 37);
    }

    void fileNames_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << "L9.txt"
                                 << "DemoData\\L9.txt";
        QTest::newRow("existing file") << "here.txt"
                                       << "here.txt";
        QTest::newRow("stored separators") << "Folder\\in.txt"
                                           << "Folder\\in.txt";
        QTest::newRow("cut to 255")
            << QString(300, QLatin1Char('a')) << ("DemoData\\" + QString(246, QLatin1Char('a')));
    }
    void fileNames() {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file(QStringLiteral("here.txt")), "x");
        testenv::WriteBytes(dir.file(QStringLiteral("Folder/in.txt")), "x");
        QCOMPARE(ResolveCourseFile(stored, QStringLiteral("DemoData\\")), expected);
    }

    // Sound and timing files stay empty when the course leaves them empty;
    // marking done never writes outside a progress table shorter than the course.
    void emptyNamesAndShortProgress() {
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file(QStringLiteral("L1.txt")), "x");
        CourseTable t = Lesson({1});
        t[4].DataFile2.clear();
        t[4].DataFile3.clear();
        t[4].DataFile4.clear();
        ProgressTable p = Blank(2);
        Host h;
        h.answers = {kRepitMarkDone};
        Launcher(h).Launch(Context(t, p, 'D', true), 4);
        QCOMPARE(h.calls, QStringList{QStringLiteral("LexicDemo 487 320|L1.txt|DemoData\\||")});
        QCOMPARE(p.Recs.size(), 3);
    }
};

QTEST_MAIN(TestLauncher)
#include "test_launcher.moc"
