// Course files, the tree they make, and the progress files of learners.
#include "base/cp1251.h"
#include "course/progress.h"
#include "course/support_course.h"

#include <QtTest>

class TestCourse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    // A course file read into its items, one a line as "caption|child|ref|info kind|info|
    // kind|five files", or "!L:F": refused at line L, naming field F.
    void fileRules_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("items");
        const auto row = [](const char* name, const QByteArray& file, const QString& items) {
            QTest::newRow(name) << file << items;
        };
        row("full line", "Cap\t1\t1\t0\tinfo.rtf\t5\tt.txt\tr.txt\ts.wav\tt.tim\tp.pic",
            "Cap|1|1|0|info.rtf|5|t.txt|r.txt|s.wav|t.tim|p.pic");
        row("field 2 zero", "C\t0\t1\t0\t\t0\t", "C|0|1|0||0|||||");
        row("field 2 blank zero", "C\t 0\t1\t0\t\t0\t", "C|1|1|0||0|||||");
        row("kind without its tab", "Cap\t1\t1\t0\t\t0", "!1:6");
        row("two files", "C\t1\t1\t0\t\t8\ta\tb", "C|1|1|0||8|a||||b");
        row("field 11 keeps tabs", "C\t1\t1\t1\tp.bmp\t5\ta\tb\tc\td\te\tf\tg",
            "C|1|1|1|p.bmp|5|a|b|c|d|e\tf\tg");
        row("kind 256", "C\t1\t1\t0\t\t256\t", "!1:6");
        row("kind -1", "C\t1\t1\t0\t\t-1\t", "!1:6");
        row("info kind 256", "C\t1\t1\t256\t\t0\t", "!1:4");
        row("kind 255 loads", "C\t1\t1\t0\t\t255\t", "C|1|1|0||255|||||");
        row("cyrillic caption", EncodeCp1251(QStringLiteral("Урок 1\t1\t1\t0\t\t0\t")),
            "Урок 1|1|1|0||0|||||");
        const QByteArray f(400, 'f');
        const QString cut(255, 'f');
        row("long strings are cut",
            QByteArray(300, 'c') + "\t1\t0\t0\t" + f + "\t1\t" + f + "\t\t\t\t" + f,
            QString(255, 'c') + "|1|0|0|" + cut + "|1|" + cut + "||||" + cut);
        const QByteArray root = "R\t1\t0\t0\t\t0\t\r\n";
        row("ref at count", root + "A\t0\t2\t0\t\t1\t\r\n", "R|1|0|0||0|||||\nA|0|2|0||1|||||");
        row("ref beyond count", root + "A\t1\t3\t0\t\t1\t\r\n", "!2:3");
        row("negative ref", root + "A\t1\t-1\t0\t\t1\t\r\n", "!2:3");
        row("two line breaks at the end", root + root + "\r\n", "!3:3");
        row("empty file", "", "");
    }
    void fileRules() {
        QFETCH(QByteArray, file);
        QFETCH(QString, items);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("InitRegD.txt"), file);
        CourseTable t;
        const auto e = testenv::Thrown<CourseFormatError>(
            [&] { t = ReadCourseFile(QStringLiteral("InitRegD.txt")); });
        QStringList got;
        if (e) got << QStringLiteral("!%1:%2").arg(e->line).arg(e->field.section(' ', 0, 0));
        const auto n = [](int v) { return QString::number(v); };
        for (const TCourseItem& it : t.mid(1))
            got << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11")
                       .arg(it.Caption, n(it.IsChild), n(it.RefIndex), n(it.InfoKind), it.InfoFile,
                            n(it.ExerciseKind), it.DataFile1, it.DataFile2, it.DataFile3,
                            it.DataFile4, it.DataFile5);
        QCOMPARE(got.join('\n'), items);
    }

    void loadIsAllOrNothing() {
        testenv::CourseDir dir;
        LoadCourses(dir, CourseOf(2));
        // D broken: the earlier tables A..C must not change either.
        testenv::WriteBytes(dir.file("InitRegA.txt"), CourseOf(1));
        testenv::WriteBytes(dir.file("InitRegD.txt"), CourseOf(1) + "bad\r\n");
        const auto e = testenv::Thrown<CourseFormatError>(LoadCourseTables);
        QVERIFY(e);
        QCOMPARE(e->file + ':' + QString::number(e->line), "InitRegD.txt:2");
        QCOMPARE(CourseItemCount('A'), 2);
        QCOMPARE(CourseItemCount('D'), 2);
        // A missing file is a file error naming the file.
        QFile::remove(dir.file("InitRegB.txt"));
        const auto missing = testenv::Thrown<FileError>(LoadCourseTables);
        QVERIFY(missing);
        QCOMPARE(missing->fileName(), QStringLiteral("InitRegB.txt"));
        QCOMPARE(missing->code(), int(ErrFileNotFound));
        QCOMPARE(CourseItemCount('A'), 2);
        // Items out of range read as blank.
        QCOMPARE(CourseItem('D', 2).Caption, QStringLiteral("E"));
        QCOMPARE(CourseItem('D', 3).Caption, QString());
        QCOMPARE(CourseItemCount('X'), 0);
    }

    void treeShape_data() {
        QTest::addColumn<QList<int>>("refs"); // per item from 1: RefIndex, negative for a sibling
        QTest::addColumn<QList<int>>("parents");
        QTest::addColumn<QList<int>>("order");
        // 1 root; 2 child of 1; 3 child of 2; 4 sibling of 3; 5 sibling of 2; 6 top level; 7
        // sibling of 1.
        QTest::newRow("nested") << QList<int>{0, 1, 2, -3, -2, 0, -1}
                                << QList<int>{0, 1, 2, 2, 1, 0, 0}
                                << QList<int>{1, 2, 3, 4, 5, 6, 7};
        QTest::newRow("not in line order")
            << QList<int>{0, 1, 1, 2} << QList<int>{0, 1, 1, 2} << QList<int>{1, 2, 4, 3};
        QTest::newRow("forward and own ref at top")
            << QList<int>{0, 5, 3, 1} << QList<int>{0, 0, 0, 1} << QList<int>{1, 4, 2, 3};
        QTest::newRow("first item ignores its ref")
            << QList<int>{1, 1} << QList<int>{0, 1} << QList<int>{1, 2};
    }
    void treeShape() {
        QFETCH(QList<int>, refs);
        QFETCH(QList<int>, parents);
        QFETCH(QList<int>, order);
        CourseTable t(1);
        for (int r : refs) {
            t.append(TCourseItem());
            t.last().IsChild = r >= 0;
            t.last().RefIndex = qAbs(r);
        }
        const CourseTreeShape shape = CourseTreeOf(t);
        QCOMPARE(shape.Parent.mid(1), parents);
        QCOMPARE(shape.DisplayOrder, order);
    }

    void exactBytes() {
        testenv::CourseDir dir;
        LoadCourses(dir, CourseOf(1));
        // A new table counts the course file again: it has grown since it was loaded.
        testenv::WriteBytes(dir.file("InitRegD.txt"), CourseOf(2));
        ProgressTable t = NewProgress('D');
        t[1] = {1, 30, QStringLiteral("Report\\Ivan\\Ivan1.wav")};
        t[2] = {0, -1, QString(300, 'x')};
        WriteProgress(QStringLiteral("p.rep"), t);
        // 264-byte records: done, three pad bytes, the score (LE), a length-prefixed name
        // of at most 255; the header is one with the signature as its name.
        const auto rec = [](char done, const QByteArray& score, const QByteArray& name) {
            QByteArray r(264, '\0');
            r[0] = done;
            r.replace(4, 4, score);
            r[8] = char(name.size());
            return r.replace(9, name.size(), name);
        };
        const QByteArray want = rec(0, QByteArray(4, '\0'), "Korvanisto Pelmartonica 1.0") +
                                rec(1, QByteArray("\x1e\0\0\0", 4), "Report\\Ivan\\Ivan1.wav") +
                                rec(0, "\xff\xff\xff\xff", QByteArray(255, 'x'));
        QCOMPARE(testenv::ReadBytes(dir.file("p.rep")), want);
    }

    // Reading a file ("-": none) for a course of three items.
    void reading_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("inFile"); // records the file holds, or minus the error's code
        // Bytes without meaning (padding, the tail of the name) may hold anything.
        QByteArray rec(kProgressRecSize, char(0xAA));
        rec.replace(0, 11, QByteArray("\1\xAA\xAA\xAA\0\0\0\0\2ab", 11));
        QByteArray recs = ProgressHeader();
        for (int k = 1; k <= 5; ++k)
            recs += rec.replace(4, 1, QByteArray(1, char(k))); // score k
        const int n = kProgressRecSize;
        QTest::newRow("missing") << QByteArray("-") << -int(ErrFileNotFound);
        QTest::newRow("shorter than the header") << recs.left(n - 1) << -int(ErrReadBeyondEnd);
        QTest::newRow("only the header") << recs.left(n) << 0;
        QTest::newRow("the course grew") << recs.left(3 * n + n / 2) << 2;
        QTest::newRow("more records than items") << recs << 5;
    }
    void reading() {
        QFETCH(QByteArray, file);
        QFETCH(int, inFile);
        testenv::CourseDir dir;
        LoadCourses(dir, CourseOf(3));
        if (file != "-") testenv::WriteBytes(dir.file("x.rep"), file);
        ProgressTable t;
        QCOMPARE(testenv::FileErrorCode([&] { ReadProgress(QStringLiteral("x.rep"), 'D', t); }),
                 qMax(0, -inFile));
        QCOMPARE(t.Complete, inFile >= 0);
        if (inFile < 0) {
            // An incomplete table is never written over the file.
            QVERIFY_THROWS_EXCEPTION(VError, WriteProgress(QStringLiteral("x.rep"), t));
            QCOMPARE(testenv::ReadBytes(dir.file("x.rep")), file == "-" ? QByteArray() : file);
            return;
        }
        QCOMPARE(t.RecordsInFile, inFile);
        QCOMPARE(t.Recs.size(), 4);
        for (int k = 1; k <= 3; ++k) {
            const TProgressRec& r = t[k];
            QCOMPARE(QStringLiteral("%1 %2 %3").arg(r.Done).arg(r.Score).arg(r.RecordFile),
                     k <= inFile ? QStringLiteral("1 %1 ab").arg(k) : QStringLiteral("0 0 "));
        }
    }

    void signature() {
        // The signature is the header's name; the check needs no more than it.
        const QByteArray h = ProgressHeader();
        QVERIFY(HasProgressSignature(h.left(36)));
        QVERIFY(!HasProgressSignature(h.left(35)));
        const char shorter = char(h[8] - 1); // the stored length one short
        QVERIFY(!HasProgressSignature(QByteArray(h).replace(8, 1, &shorter, 1)));
        QVERIFY(!HasProgressSignature(QByteArray(h).replace(20, 1, "X")));
    }
};

QTEST_MAIN(TestCourse)
#include "test_course.moc"
