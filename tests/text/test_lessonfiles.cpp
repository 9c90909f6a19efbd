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

    void timingFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("ends");   // EndPos of entries 1..n
        QTest::addColumn<int>("errorLine");     // 0: no error
        QTest::addColumn<QList<int>>("starts"); // StartPos of entries 1..n; empty: not looked at
        // As the learner timing writer writes it.
        QTest::newRow("hash in the middle")
            << QByteArray("#\t#\r\n0\t800\r\n#\t#\r\n800\t1600\r\n1600\t2400\r\n") << 5
            << QList<int>{0, 800, 0, 1600, 2400} << 0 << QList<int>{0, 0, 0, 800, 1600};
        QTest::newRow("crlf") << QByteArray("#\t#\r\n0\t100\r\n100\t200\r\n") << 3
                              << QList<int>{0, 100, 200} << 0 << QList<int>{};
        QTest::newRow("shorter than text") << QByteArray("#\t#\r\n0\t100\r\n") << 4
                                           << QList<int>{0, 100, 0, 0} << 0 << QList<int>{};
        QTest::newRow("empty line keeps what came before")
            << QByteArray("#\t#\r\n0\t100\r\n\r\n300\t400\r\n") << 4 << QList<int>{0, 100, 0, 0}
            << 3 << QList<int>{};
        QTest::newRow("non-number")
            << QByteArray("#\t#\r\n0\t1x0\r\n") << 2 << QList<int>{0, 0} << 2 << QList<int>{};
        QTest::newRow("no tab") << QByteArray("#\t#\r\n0\r\n") << 2 << QList<int>{0, 0} << 2
                                << QList<int>{};
        QTest::newRow("longer than text") << QByteArray("#\t#\r\n0\t100\r\n100\t200\r\n") << 2
                                          << QList<int>{0, 100} << 3 << QList<int>{};
    }

    void timingFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, n);
        QFETCH(QList<int>, ends);
        QFETCH(int, errorLine);
        QFETCH(QList<int>, starts);
        testenv::CourseDir dir;
        WriteBytes(dir.file("t.txt"), bytes);
        TLessonReadError err;
        const QList<TTimingEntry> t = ReadTimingFile("t.txt", n, err);
        QCOMPARE(t.size(), n + 1);
        QCOMPARE(t[0].EndPos, 0);
        for (int i = 1; i <= n; ++i) {
            QCOMPARE(t[i].EndPos, ends[i - 1]);
            if (!starts.isEmpty()) QCOMPARE(t[i].StartPos, starts[i - 1]);
        }
        QCOMPARE(err.failed(), errorLine != 0);
        QCOMPARE(err.Line, errorLine);
    }

    void commentLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("no");
        QTest::addColumn<QString>("text");
        QTest::newRow("leading zeros")
            << QByteArray("007The speaker is a farmer.") << true << 7 << "The speaker is a farmer.";
        QTest::newRow("leading blanks") << QByteArray("  9x") << true << 9 << "x";
        QTest::newRow("number only") << QByteArray("012") << true << 12 << "";
        QTest::newRow("short number") << QByteArray("5") << true << 5 << "";
        QTest::newRow("cyrillic") << EncodeCp1251(u"003Пояснение") << true << 3 << "Пояснение";
        QTest::newRow("hash is not special") << QByteArray("#12abc") << false << 0 << "";
        QTest::newRow("empty") << QByteArray("") << false << 0 << "";
    }

    void commentLines() {
        QFETCH(QByteArray, line);
        QFETCH(bool, ok);
        QFETCH(int, no);
        QFETCH(QString, text);
        try {
            const TCommentLine c = ParseCommentLine(line);
            QVERIFY(ok);
            QCOMPARE(c.SintagmNo, no);
            QCOMPARE(c.Text, text);
        } catch (const VError&) {
            QVERIFY(!ok);
        }
    }

    void commentFile() {
        testenv::CourseDir dir;
        TLessonReadError err;
        QVERIFY(ReadComments("L1.apc", err).isEmpty());
        QVERIFY(!err.failed()); // a missing comment file is no error

        WriteBytes(dir.file("L1.apc"), CrLf({"012First line", "007Seven", "012Second line"}));
        const QList<TCommentLine> c = ReadComments("L1.apc", err);
        QVERIFY(!err.failed());
        QCOMPARE(c.size(), 3);
        QStringList twelve;
        for (const TCommentLine& l : c)
            if (l.SintagmNo == 12) twelve << l.Text;
        QCOMPARE(twelve, QStringList({"First line", "Second line"}));
        QVERIFY(HasComment(c, 7));
        QVERIFY(!HasComment(c, 8));

        WriteBytes(dir.file("L2.apc"), CrLf({"001ok", "xx bad", "003later"}));
        const QList<TCommentLine> d = ReadComments("L2.apc", err);
        QCOMPARE(d.size(), 1);
        QCOMPARE(err.Line, 2);
    }

    void pictureSchedule_data() {
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("k");
        QTest::newRow("end of first range") << 5000 << 1;
        QTest::newRow("just after") << 5001 << 2;
        QTest::newRow("beyond every range") << 9001 << 0;
        QTest::newRow("lower bound is exclusive") << 0 << 0;
        QTest::newRow("overlap: lowest wins") << 4000 << 1;
    }

    void pictureSchedule() {
        QFETCH(int, t);
        QFETCH(int, k);
        testenv::CourseDir dir;
        WriteBytes(dir.file("pic.txt"), CrLf({"0\t5000\tp1.bmp", "5000\t9000\tp2.bmp", "#skipped",
                                              "3000\t6000\tpics\\p3\twith tab.bmp"}));
        TLessonReadError err;
        const QList<TPictureEntry> p = ReadPictureSchedule("pic.txt", err);
        QVERIFY(!err.failed());
        QCOMPARE(p.size(), 5);
        QCOMPARE(p[1].PictureFile, QString("p1.bmp"));
        QCOMPARE(p[3].PictureFile, QString());
        QCOMPARE(p[4].PictureFile, QString("pics\\p3\twith tab.bmp"));
        QCOMPARE(p[4].FromPos, 3000);
        QCOMPARE(p[4].ToPos, 6000);
        QCOMPARE(FindPicture(p, t), k);
    }

    void pictureLineErrors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries"); // M
        QTest::addColumn<int>("errorLine");
        QTest::addColumn<QString>("kept"); // PictureFile of entry 1
        QTest::newRow("missing second tab") << CrLf({"0\t10\ta.bmp", "5\t6"}) << 2 << 2 << "a.bmp";
        QTest::newRow("empty line") << CrLf({"0\t10\ta.bmp", "", "1\t2\tb"}) << 3 << 2 << "a.bmp";
        QTest::newRow("bad from") << CrLf({"x\t10\ta.bmp"}) << 1 << 1 << "";
        QTest::newRow("empty name is fine") << CrLf({"0\t10\t"}) << 1 << 0 << "";
    }

    void pictureLineErrors() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        QFETCH(int, errorLine);
        QFETCH(QString, kept);
        testenv::CourseDir dir;
        WriteBytes(dir.file("pic.txt"), bytes);
        TLessonReadError err;
        const QList<TPictureEntry> p = ReadPictureSchedule("pic.txt", err);
        QCOMPARE(p.size(), entries + 1);
        QCOMPARE(err.Line, errorLine);
        QCOMPARE(p[1].PictureFile, kept);
    }

    void fileNames_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("learner");
        QTest::newRow("lesson") << "L1.txt" << QString("L1.apc") << "L1.txt";
        QTest::newRow("recording") << "Ann3.wav" << QString("Ann3.apc") << "Ann3.txt";
        QTest::newRow("stored path")
            << "DemoData\\Les1\\Text1.txt" << QString("DemoData\\Les1\\Text1.apc")
            << "DemoData\\Les1\\Text1.txt";
    }

    void fileNames() {
        QFETCH(QString, in);
        QFETCH(QString, comment);
        QFETCH(QString, learner);
        QCOMPARE(CommentFileName(in), comment);
        QCOMPARE(LearnerTimingFileName(in), learner);
    }

    void lessonLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("max");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("failed");
        QTest::newRow("crlf cyrillic") << EncodeCp1251(u"#Заголовок\r\nПривет мир\r\n") << -1
                                       << QStringList{"#Заголовок", "Привет мир"} << false;
        QTest::newRow("translation too long")
            << QByteArray("a\r\nb\r\nc\r\n") << 2 << QStringList{"a", "b"} << true;
        QTest::newRow("translation shorter")
            << QByteArray("a\r\n") << 2 << QStringList{"a"} << false;
    }

    void lessonLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, max);
        QFETCH(QStringList, lines);
        QFETCH(bool, failed);
        testenv::CourseDir dir;
        QDir().mkpath(dir.file("sub"));
        WriteBytes(dir.file("sub/x.txt"), bytes);
        TLessonReadError err;
        QCOMPARE(ReadLessonLines("sub\\x.txt", max, err), lines); // stored name with "\"
        QCOMPARE(err.failed(), failed);
    }

    // Which file is broken, and what the reading still delivers.
    void workTextLesson_data() {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("transLines");
        QTest::addColumn<int>("end2");     // EndPos of timing 2
        QTest::addColumn<int>("m");        // picture entries
        QTest::addColumn<int>("comments"); // comment lines
        QTest::newRow("all fine") << "" << false << 4 << 4 << 2000 << 2 << 2;
        QTest::newRow("no text") << "text" << true << 0 << 0 << 0 << 0 << 0;
        QTest::newRow("no translation") << "trans" << true << 4 << 0 << 0 << 0 << 0;
        QTest::newRow("timing broken on line 3") << "timing" << true << 4 << 4 << 2000 << 0 << 0;
        QTest::newRow("no picture schedule") << "pictures" << true << 4 << 4 << 2000 << 0 << 0;
        QTest::newRow("comment broken") << "comments" << true << 4 << 4 << 2000 << 2 << 1;
    }

    void workTextLesson() {
        QFETCH(QString, broken);
        QFETCH(bool, failed);
        QFETCH(int, n);
        QFETCH(int, transLines);
        QFETCH(int, end2);
        QFETCH(int, m);
        QFETCH(int, comments);
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
        const TLessonData d =
            ReadWorkTextLesson("L1.txt", "T1.txt", "Tm1.txt", "P1.txt", QString());
        QCOMPARE(d.ok(), !failed);
        QCOMPARE(d.N, n);
        QCOMPARE(d.Trans.size(), transLines);
        QCOMPARE(d.Timing.size(), n + 1);
        QCOMPARE(d.LearnerTiming.size(), n + 1);
        if (n >= 2) QCOMPARE(d.Timing[2].EndPos, end2);
        QCOMPARE(d.M, m);
        QCOMPARE(d.Pictures.size(), m + 1);
        QCOMPARE(d.Comments.size(), comments);
        QVERIFY(!d.LearnerTimingLoaded);
        if (failed) QVERIFY(!d.Error.describe().isEmpty());
    }

    // The learner's own timing file beside the recording, as ReadWorkTextLesson reads it.
    void learnerTiming_data() {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("start3"); // StartPos of line 3; -1 here and below: not looked at
        QTest::addColumn<int>("end");    // EndPos of the last line read (3, or 2 when damaged)
        QTest::newRow("none") << QByteArray() << true << -1 << -1;
        QTest::newRow("read") << CrLf({"#\t#", "0\t700", "700\t1500"}) << true << 700 << 1500;
        // Written while the text ends with a "#" line, the learner file has a
        // line more than the text; what lies beyond line N is not looked at.
        QTest::newRow("a line beyond the text")
            << CrLf({"#\t#", "0\t700", "700\t1500", "1500\tx"}) << true << 700 << 1500;
        // Reported, but the rest of the lesson is read.
        QTest::newRow("damaged") << CrLf({"#\t#", "0\t7x0"}) << false << -1 << 0;
    }

    void learnerTiming() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(int, start3);
        QFETCH(int, end);
        testenv::CourseDir dir;
        WriteBytes(dir.file("L1.txt"), CrLf({"#Title", "One", "Two"}));
        WriteBytes(dir.file("T1.txt"), CrLf({"#T", "1", "2"}));
        WriteBytes(dir.file("Tm1.txt"), CrLf({"#\t#", "1000\t2000", "2000\t3000"}));
        WriteBytes(dir.file("P1.txt"), CrLf({"0\t9000\ta.bmp"}));
        if (!bytes.isEmpty()) WriteBytes(dir.file("Ann3.txt"), bytes);
        const TLessonData d =
            ReadWorkTextLesson("L1.txt", "T1.txt", "Tm1.txt", "P1.txt", "Ann3.wav");
        QCOMPARE(d.ok(), ok);
        QCOMPARE(d.LearnerTimingLoaded, ok && !bytes.isEmpty());
        QCOMPARE(d.M, 1);
        if (start3 >= 0) QCOMPARE(d.LearnerTiming[3].StartPos, start3);
        if (end >= 0) QCOMPARE(d.LearnerTiming[ok ? 3 : 2].EndPos, end);
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
        QTest::newRow("text ends with hash")
            << QStringList{"#Title", "One", "Two", "#"} << QList<qint64>{1000, 2000} << 2100LL
            << QByteArray("#\t#\r\n0\t1000\r\n1000\t2000\r\n#\t#\r\n");
        QTest::newRow("two hash lines in a row")
            << QStringList{"#Title", "One", "#", "#@pic.bmp", "Two"} << QList<qint64>{900} << 1800LL
            << QByteArray("#\t#\r\n0\t900\r\n#\t#\r\n#\t#\r\n900\t1800\r\n");
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
            QCOMPARE(w.LinesWritten(), int(text.size()));
        }
        const QByteArray got = ReadBytes(dir.file("Ann3.txt"));
        QCOMPARE(got, expected);
        QCOMPARE(got.count('\n'), qsizetype(text.size()));
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
