// Lesson text file readers and the learner timing writer.
#include "base/cp1251.h"
#include "base/errors.h"
#include "common/testenv.h"
#include "text/lessonfiles.h"

#include <QtTest>

using testenv::CrLf;
using testenv::ReadBytes;
using testenv::WriteBytes;

class TestLessonFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    // One stored file through one reader: what it delivers ("|" between
    // entries 1..), and "ok" or the line of the first error (0: the file).
    void readers_data() {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::addColumn<int>("n");            // lines of the lesson text
        QTest::addColumn<QString>("read");
        // As the learner timing writer writes it.
        QTest::newRow("timing, hash in the middle")
            << "timing" << QByteArray("#\t#\r\n0\t800\r\n#\t#\r\n800\t1600\r\n1600\t2400\r\n") << 5
            << "0-0|0-800|0-0|800-1600|1600-2400 ok";
        QTest::newRow("timing shorter than the text")
            << "timing" << CrLf({"#\t#", "0\t100"}) << 4 << "0-0|0-100|0-0|0-0 ok";
        QTest::newRow("timing, empty line keeps what came before")
            << "timing" << CrLf({"#\t#", "0\t100", "", "300\t400"}) << 4
            << "0-0|0-100|0-0|0-0 err 3";
        QTest::newRow("timing, non-number")
            << "timing" << CrLf({"#\t#", "0\t1x0"}) << 2 << "0-0|0-0 err 2";
        QTest::newRow("timing longer than the text")
            << "timing" << CrLf({"#\t#", "0\t100", "100\t200"}) << 2 << "0-0|0-100 err 3";
        QTest::newRow("no timing file") << "timing" << QByteArray() << 1 << "0-0 err 0";
        // Ranges (from, to]; a name may hold a tab; "#" lines stay empty.
        QTest::newRow("pictures") << "pictures"
                                  << CrLf({"0\t5000\tp1.bmp", "#skipped",
                                           "3000\t6000\tp\\3\ta b.bmp"})
                                  << 0 << "0-5000 p1.bmp|0-0 |3000-6000 p\\3\ta b.bmp ok";
        QTest::newRow("picture line without a second tab")
            << "pictures" << CrLf({"0\t10\ta.bmp", "5\t6"}) << 0 << "0-10 a.bmp|0-0  err 2";
        QTest::newRow("picture schedule, empty line")
            << "pictures" << CrLf({"0\t10\ta.bmp", "", "1\t2\tb"}) << 0
            << "0-10 a.bmp|0-0 |0-0  err 2";
        QTest::newRow("picture, bad from")
            << "pictures" << CrLf({"x\t10\ta.bmp"}) << 0 << "0-0  err 1";
        QTest::newRow("picture, empty name is fine")
            << "pictures" << CrLf({"0\t10\t"}) << 0 << "0-10  ok";
        QTest::newRow("lines, cyrillic") << "lines" << EncodeCp1251(u"#Заголовок\r\nПривет мир\r\n")
                                         << -1 << "#Заголовок|Привет мир ok";
        QTest::newRow("translation too long")
            << "lines" << CrLf({"a", "b", "c"}) << 2 << "a|b err 3";
        QTest::newRow("translation shorter") << "lines" << CrLf({"a"}) << 2 << "a ok";
        // Three digits of sintagm number, leading zeros, then the text.
        QTest::newRow("comments") << "comments"
                                  << EncodeCp1251(u"007Пояснение\r\n012\r\n5\r\n012Second line\r\n")
                                  << 0 << "7:Пояснение|12:|5:|12:Second line ok";
        QTest::newRow("comment, a hash is not special")
            << "comments" << CrLf({"002a", "#12abc"}) << 0 << "2:a err 2";
        QTest::newRow("comment, empty line") << "comments" << CrLf({"", "002a"}) << 0 << " err 1";
        QTest::newRow("no comment file: no error") << "comments" << QByteArray() << 0 << " ok";
    }

    void readers() {
        QFETCH(QString, reader);
        QFETCH(QByteArray, bytes);
        QFETCH(int, n);
        QFETCH(QString, read);
        testenv::CourseDir dir;
        if (!bytes.isNull()) WriteBytes(dir.file("sub/f.txt"), bytes);
        const QString name = "sub\\f.txt"; // stored names have "\"
        TLessonReadError err;
        QStringList got;
        if (reader == "timing")
            for (const TTimingEntry& e : ReadTimingFile(name, n, err).mid(1))
                got << QStringLiteral("%1-%2").arg(e.StartPos).arg(e.EndPos);
        if (reader == "pictures")
            for (const TPictureEntry& e : ReadPictureSchedule(name, err).mid(1))
                got << QStringLiteral("%1-%2 %3").arg(e.FromPos).arg(e.ToPos).arg(e.PictureFile);
        if (reader == "lines") got = ReadLessonLines(name, n, err);
        if (reader == "comments")
            for (const TCommentLine& c : ReadComments(name, err))
                got << QStringLiteral("%1:%2").arg(c.SintagmNo).arg(c.Text);
        const QString end = err.failed() ? QStringLiteral("err %1").arg(err.Line) : "ok";
        QCOMPARE(got.join('|') + ' ' + end, read);
    }

    // The entry for a time, the lowest one winning an overlap; comments of a
    // sintagm; the names beside a lesson text and a recording.
    void lookups() {
        QList<TPictureEntry> p(4);
        p[1] = {0, 5000, "a"};
        p[2] = {5000, 9000, "b"};
        p[3] = {3000, 6000, "c"};
        const QList<QPair<int, int>> found{{0, 0}, {4000, 1}, {5000, 1}, {5001, 2}, {9001, 0}};
        for (const auto& [t, k] : found)
            QVERIFY2(FindPicture(p, t) == k, qPrintable(QString::number(t)));
        const QList<TCommentLine> c{{12, "a"}, {7, "b"}};
        QVERIFY(HasComment(c, 7) && !HasComment(c, 8));
        QCOMPARE(CommentFileName("DemoData\\Les1\\Text1.txt"),
                 QString("DemoData\\Les1\\Text1.apc"));
        QCOMPARE(LearnerTimingFileName("Ann3.wav"), QString("Ann3.txt"));
    }

    // Which file is broken (the row's name), and what the reading still
    // delivers. The learner's own timing beside the recording Ann3.wav: one
    // line beyond the text (written while the text ends with "#") is not
    // looked at; a damaged one is reported, not used, and the rest is read.
    void workTextLesson_data() {
        QTest::addColumn<QString>("where"); // how the error message starts; empty: no error
        // N, translation lines, end of timing 2, M, comments, learner timing
        // loaded, its end of line 2
        QTest::addColumn<QList<int>>("read");
        QTest::newRow("none") << QString() << QList<int>{4, 4, 2000, 2, 2, 0, 0};
        QTest::newRow("text") << QString("L1.txt: ") << QList<int>{0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("trans") << QString("T1.txt: ") << QList<int>{4, 0, 0, 0, 0, 0, 0};
        QTest::newRow("timing") << QString("Tm1.txt, line 3: ")
                                << QList<int>{4, 4, 2000, 0, 0, 0, 0};
        QTest::newRow("pictures") << QString("P1.txt: ") << QList<int>{4, 4, 2000, 0, 0, 0, 0};
        QTest::newRow("comments") << QString("L1.apc, line 2: ")
                                  << QList<int>{4, 4, 2000, 2, 1, 0, 0};
        QTest::newRow("learner missing") << QString() << QList<int>{4, 4, 2000, 2, 2, 0, 0};
        QTest::newRow("learner") << QString() << QList<int>{4, 4, 2000, 2, 2, 1, 700};
        QTest::newRow("learner beyond") << QString() << QList<int>{4, 4, 2000, 2, 2, 1, 700};
        QTest::newRow("learner damaged")
            << QString("Ann3.txt, line 4: ") << QList<int>{4, 4, 2000, 2, 2, 0, 0};
    }

    void workTextLesson() {
        QFETCH(QString, where);
        QFETCH(QList<int>, read);
        const QString broken = QTest::currentDataTag();
        testenv::CourseDir dir;
        if (broken != "text")
            WriteBytes(dir.file("L1.txt"), CrLf({"#Title", "One two", "#", "Three"}));
        if (broken != "trans")
            WriteBytes(dir.file("T1.txt"), EncodeCp1251(u"#Заголовок\r\nРаз два\r\n#\r\nТри\r\n"));
        WriteBytes(dir.file("Tm1.txt"), broken == "timing"
                                            ? CrLf({"#\t#", "1000\t2000", "oops", "2500\t3000"})
                                            : CrLf({"#\t#", "1000\t2000", "#\t#", "2500\t3000"}));
        if (broken != "pictures")
            WriteBytes(dir.file("P1.txt"), CrLf({"0\t2000\ta.bmp", "2000\t9000\tb.bmp"}));
        WriteBytes(dir.file("L1.apc"),
                   broken == "comments" ? CrLf({"002Note", "zz"}) : CrLf({"002Note", "004Other"}));
        const QByteArray learner = CrLf({"#\t#", "0\t700", "#\t#"});
        if (broken == "learner") WriteBytes(dir.file("Ann3.txt"), learner + "700\t1500\r\n");
        if (broken == "learner beyond")
            WriteBytes(dir.file("Ann3.txt"), learner + "700\t1500\r\n1500\tx\r\n");
        if (broken == "learner damaged") WriteBytes(dir.file("Ann3.txt"), learner + "7x0\t1\r\n");
        const TLessonData d = ReadWorkTextLesson("L1.txt", "T1.txt", "Tm1.txt", "P1.txt",
                                                 broken.startsWith("learner") ? "Ann3.wav" : "");
        QCOMPARE(d.Error.describe(), where.isEmpty() ? QString() : where + d.Error.Reason);
        QCOMPARE(d.ok(), where.isEmpty());
        QCOMPARE(d.Timing.size(), d.N + 1);
        QCOMPARE(d.LearnerTiming.size(), d.N + 1);
        QCOMPARE(d.Pictures.size(), d.M + 1);
        const int end2 = d.N >= 2 ? d.Timing[2].EndPos : 0;
        const int learnerEnd2 = d.N >= 2 ? d.LearnerTiming[2].EndPos : 0;
        QCOMPARE(QList<int>({d.N, int(d.Trans.size()), end2, d.M, int(d.Comments.size()),
                             int(d.LearnerTimingLoaded), learnerEnd2}),
                 read);
    }

    // The writer is driven like the listening practice drives it: Begin at play
    // start, SintagmEnd each time the lesson passes a sintagm, Finish at stop.
    void writer_data() {
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QList<qint64>>("ends"); // positions at SintagmEnd calls
        QTest::addColumn<qint64>("stopAt");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("title, two sintagms, hash, last")
            << QStringList{"#Title", "One", "Two", "#", "Three"} << QList<qint64>{1200, 2500}
            << 4000LL << QByteArray("#\t#\r\n0\t1200\r\n1200\t2500\r\n#\t#\r\n2500\t4000\r\n");
        QTest::newRow("empty line is a sintagm")
            << QStringList{"#Title", "One", "", "Two"} << QList<qint64>{1050, 1550} << 2000LL
            << QByteArray("#\t#\r\n0\t1050\r\n1050\t1550\r\n1550\t2000\r\n");
        QTest::newRow("text ends with hash")
            << QStringList{"#Title", "One", "Two", "#"} << QList<qint64>{1000, 2000} << 2100LL
            << QByteArray("#\t#\r\n0\t1000\r\n1000\t2000\r\n#\t#\r\n");
        QTest::newRow("hash lines after the title and in a row")
            << QStringList{"#Title", "#", "One", "#", "#@pic.bmp", "Two"} << QList<qint64>{900}
            << 1800LL << QByteArray("#\t#\r\n#\t#\r\n0\t900\r\n#\t#\r\n#\t#\r\n900\t1800\r\n");
        QTest::newRow("stopped early: the rest is silent")
            << QStringList{"#Title", "One", "Two", "Three"} << QList<qint64>{} << 500LL
            << QByteArray("#\t#\r\n0\t500\r\n#\t#\r\n#\t#\r\n");
        QTest::newRow("more ends than sintagms")
            << QStringList{"#Title", "One"} << QList<qint64>{100, 200, 300} << 400LL
            << QByteArray("#\t#\r\n0\t100\r\n");
        QTest::newRow("title only")
            << QStringList{"#Title"} << QList<qint64>{} << 10LL << QByteArray("#\t#\r\n");
    }

    void writer() {
        QFETCH(QStringList, text);
        QFETCH(QList<qint64>, ends);
        QFETCH(qint64, stopAt);
        QFETCH(QByteArray, expected);
        testenv::CourseDir dir;
        {
            TLearnerTimingWriter w("Ann3.txt", text);
            w.Begin();
            for (qint64 e : ends)
                w.SintagmEnd(e);
            QVERIFY(!QFile::exists(dir.file("Ann3.txt"))); // nothing in place before the end
            w.Finish(stopAt);
        }
        QCOMPARE(ReadBytes(dir.file("Ann3.txt")), expected);
    }

    void writerAbortKeepsOldFile() {
        testenv::CourseDir dir;
        WriteBytes(dir.file("Ann3.txt"), "#\t#\r\n0\t10\r\n");
        {
            TLearnerTimingWriter w("Ann3.txt", {"#T", "One"});
            w.Begin();
            w.SintagmEnd(500);
            // Destroyed without Finish, as an aborted run.
        }
        QCOMPARE(ReadBytes(dir.file("Ann3.txt")), QByteArray("#\t#\r\n0\t10\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Ann3.txt"});
        QVERIFY_THROWS_EXCEPTION(FileError, TLearnerTimingWriter("nodir/sub/Ann3.txt", {"#T"}));
    }
};

QTEST_GUILESS_MAIN(TestLessonFiles)
#include "test_lessonfiles.moc"
