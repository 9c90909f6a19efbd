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
        QTest::addColumn<QString>("entries"); // start-end of lines 1..n, then the error line
        // As the learner timing writer writes it.
        QTest::newRow("hash in the middle")
            << QByteArray("#\t#\r\n0\t800\r\n#\t#\r\n800\t1600\r\n1600\t2400\r\n") << 5
            << "0-0 0-800 0-0 800-1600 1600-2400 err 0";
        QTest::newRow("shorter than text")
            << QByteArray("#\t#\r\n0\t100\r\n") << 4 << "0-0 0-100 0-0 0-0 err 0";
        QTest::newRow("empty line keeps what came before")
            << QByteArray("#\t#\r\n0\t100\r\n\r\n300\t400\r\n") << 4 << "0-0 0-100 0-0 0-0 err 3";
        QTest::newRow("non-number") << QByteArray("#\t#\r\n0\t1x0\r\n") << 2 << "0-0 0-0 err 2";
        QTest::newRow("longer than text")
            << QByteArray("#\t#\r\n0\t100\r\n100\t200\r\n") << 2 << "0-0 0-100 err 3";
    }

    void timingFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, n);
        QFETCH(QString, entries);
        testenv::CourseDir dir;
        WriteBytes(dir.file("t.txt"), bytes);
        TLessonReadError err;
        const QList<TTimingEntry> t = ReadTimingFile("t.txt", n, err);
        QCOMPARE(t.size(), n + 1);
        QStringList got;
        for (int i = 1; i <= n; ++i)
            got << QStringLiteral("%1-%2").arg(t[i].StartPos).arg(t[i].EndPos);
        QCOMPARE(got.join(' ') + QStringLiteral(" err %1").arg(err.Line), entries);
    }

    void commentLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("parsed"); // "number:text"; empty: refused
        QTest::newRow("leading zeros") << EncodeCp1251(u"007Пояснение") << "7:Пояснение";
        QTest::newRow("number only") << QByteArray("012") << "12:";
        QTest::newRow("short number") << QByteArray("5") << "5:";
        QTest::newRow("hash is not special") << QByteArray("#12abc") << "";
        QTest::newRow("empty") << QByteArray("") << "";
    }

    void commentLines() {
        QFETCH(QByteArray, line);
        QFETCH(QString, parsed);
        QString got;
        try {
            const TCommentLine c = ParseCommentLine(line);
            got = QString::number(c.SintagmNo) + ':' + c.Text;
        } catch (const VError&) {
        }
        QCOMPARE(got, parsed);
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
        QCOMPARE(c[2].Text, QString("Second line"));
        QVERIFY(HasComment(c, 7));
        QVERIFY(!HasComment(c, 8));
    }

    void pictureSchedule() {
        testenv::CourseDir dir;
        WriteBytes(dir.file("pic.txt"), CrLf({"0\t5000\tp1.bmp", "5000\t9000\tp2.bmp", "#skipped",
                                              "3000\t6000\tpics\\p3\twith tab.bmp"}));
        TLessonReadError err;
        const QList<TPictureEntry> p = ReadPictureSchedule("pic.txt", err);
        QVERIFY(!err.failed());
        QCOMPARE(p.size(), 5);
        QCOMPARE(p[3].PictureFile, QString());
        QCOMPARE(p[4].PictureFile, QString("pics\\p3\twith tab.bmp"));
        QCOMPARE(p[4].FromPos, 3000);
        // time -> entry: ranges are (from, to], the lowest entry wins an overlap
        const QList<QPair<int, int>> found{{0, 0}, {4000, 1}, {5000, 1}, {5001, 2}, {9001, 0}};
        for (const auto& [t, k] : found)
            QVERIFY2(FindPicture(p, t) == k, qPrintable(QString::number(t)));
    }

    void pictureLineErrors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("read"); // entries, error line, picture of entry 1
        QTest::newRow("missing second tab") << CrLf({"0\t10\ta.bmp", "5\t6"}) << "2 2 a.bmp";
        QTest::newRow("empty line") << CrLf({"0\t10\ta.bmp", "", "1\t2\tb"}) << "3 2 a.bmp";
        QTest::newRow("bad from") << CrLf({"x\t10\ta.bmp"}) << "1 1 ";
        QTest::newRow("empty name is fine") << CrLf({"0\t10\t"}) << "1 0 ";
    }

    void pictureLineErrors() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, read);
        testenv::CourseDir dir;
        WriteBytes(dir.file("pic.txt"), bytes);
        TLessonReadError err;
        const QList<TPictureEntry> p = ReadPictureSchedule("pic.txt", err);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(p.size() - 1).arg(err.Line).arg(p[1].PictureFile),
                 read);
    }

    void fileNames() {
        QCOMPARE(CommentFileName("Ann3.wav"), QString("Ann3.apc"));
        QCOMPARE(LearnerTimingFileName("Ann3.wav"), QString("Ann3.txt"));
        QCOMPARE(CommentFileName("DemoData\\Les1\\Text1.txt"),
                 QString("DemoData\\Les1\\Text1.apc"));
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
        WriteBytes(dir.file("sub/x.txt"), bytes);
        TLessonReadError err;
        QCOMPARE(ReadLessonLines("sub\\x.txt", max, err), lines); // stored name with "\"
        QCOMPARE(err.failed(), failed);
    }

    // Which file is broken, and what the reading still delivers.
    void workTextLesson_data() {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("where"); // how the error message starts; empty: no error
        // N, translation lines, end of timing 2, picture entries, comment lines
        QTest::addColumn<QString>("read");
        QTest::newRow("all fine") << ""
                                  << ""
                                  << "4 4 2000 2 2";
        QTest::newRow("no text") << "text"
                                 << "L1.txt: "
                                 << "0 0 0 0 0";
        QTest::newRow("no translation") << "trans"
                                        << "T1.txt: "
                                        << "4 0 0 0 0";
        QTest::newRow("timing broken on line 3") << "timing"
                                                 << "Tm1.txt, line 3: "
                                                 << "4 4 2000 0 0";
        QTest::newRow("no picture schedule") << "pictures"
                                             << "P1.txt: "
                                             << "4 4 2000 0 0";
        QTest::newRow("comment broken") << "comments"
                                        << "L1.apc, line 2: "
                                        << "4 4 2000 2 1";
    }

    void workTextLesson() {
        QFETCH(QString, broken);
        QFETCH(QString, where);
        QFETCH(QString, read);
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
        QCOMPARE(d.Error.describe(), where.isEmpty() ? QString() : where + d.Error.Reason);
        QCOMPARE(d.ok(), where.isEmpty());
        QCOMPARE(d.Timing.size(), d.N + 1);
        QCOMPARE(d.LearnerTiming.size(), d.N + 1);
        QCOMPARE(d.Pictures.size(), d.M + 1);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(d.N)
                     .arg(d.Trans.size())
                     .arg(d.N >= 2 ? d.Timing[2].EndPos : 0)
                     .arg(d.M)
                     .arg(d.Comments.size()),
                 read);
        QVERIFY(!d.LearnerTimingLoaded);
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
            QCOMPARE(w.LinesWritten(), int(text.size()));
            QCOMPARE(w.OpenLine(), 0); // the last open line was closed
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
