#include "base/cp1251.h"
#include "base/errors.h"
#include "common/testenv.h"
#include "course/course.h"

#include <QtTest>

namespace {
QByteArray cp(const QString& s) {
    return EncodeCp1251(s);
}

void writeModes(const testenv::CourseDir& dir, const QByteArray& d, const QByteArray& other = {}) {
    const QByteArray rest = other.isEmpty() ? d : other;
    testenv::WriteBytes(dir.file("InitRegA.txt"), rest);
    testenv::WriteBytes(dir.file("InitRegB.txt"), rest);
    testenv::WriteBytes(dir.file("InitRegC.txt"), rest);
    testenv::WriteBytes(dir.file("InitRegD.txt"), d);
}
} // namespace

class TestCourse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    // Each line read into "caption|child|ref|info kind|info|kind|five files", or
    // "!N": refused, naming field N.
    void fieldRules_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("item");
        const auto row = [](const char* name, const QByteArray& line, const QString& item) {
            QTest::newRow(name) << line << item;
        };
        row("full line", "Cap\t1\t1\t0\tinfo.rtf\t5\tt.txt\tr.txt\ts.wav\tt.tim\tp.pic",
            "Cap|1|1|0|info.rtf|5|t.txt|r.txt|s.wav|t.tim|p.pic");
        row("field 2 zero", "C\t0\t2\t0\t\t0\t", "C|0|2|0||0|||||");
        row("field 2 blank zero", "C\t 0\t2\t0\t\t0\t", "C|1|2|0||0|||||");
        row("kind without its tab", "Cap\t1\t1\t0\t\t0", "!6");
        row("file after kind, no tab", "C\t1\t1\t0\t\t8\tpics.pic", "C|1|1|0||8|||||pics.pic");
        row("two files", "C\t1\t1\t0\t\t8\ta\tb", "C|1|1|0||8|a||||b");
        row("field 11 keeps tabs", "C\t1\t1\t1\tp.bmp\t5\ta\tb\tc\td\te\tf\tg",
            "C|1|1|1|p.bmp|5|a|b|c|d|e\tf\tg");
        row("signed numbers", "C\t1\t+1\t 1\t\t+3\t", "C|1|1|1||3|||||");
        row("bad ref", "C\t1\tx\t0\t\t0\t", "!3");
        row("kind 256", "C\t1\t1\t0\t\t256\t", "!6");
        row("kind -1", "C\t1\t1\t0\t\t-1\t", "!6");
        row("info kind 300", "C\t1\t1\t300\t\t0\t", "!4");
        row("kind 255 loads", "C\t1\t1\t0\t\t255\t", "C|1|1|0||255|||||");
        row("empty line", "", "!3");
        row("cyrillic caption", cp(QStringLiteral("Урок 1\t1\t1\t0\t\t0\t")),
            "Урок 1|1|1|0||0|||||");
        const QByteArray f(400, 'f');
        const QString cut(255, 'f');
        row("long strings are cut",
            QByteArray(300, 'c') + "\t1\t0\t0\t" + f + "\t1\t" + f + "\t\t\t\t" + f,
            QString(255, 'c') + "|1|0|0|" + cut + "|1|" + cut + "||||" + cut);
    }
    void fieldRules() {
        QFETCH(QByteArray, line);
        QFETCH(QString, item);
        if (item.startsWith('!')) {
            try {
                ParseCourseLine(line, QStringLiteral("InitRegD.txt"), 7);
                QFAIL("line loaded");
            } catch (const CourseFormatError& e) {
                QCOMPARE(e.file, QStringLiteral("InitRegD.txt"));
                QCOMPARE(e.line, 7);
                QVERIFY2(e.field.startsWith(item.mid(1)), qPrintable(e.text()));
                QVERIFY(e.text().contains(QStringLiteral("InitRegD.txt, line 7")));
            }
            return;
        }
        const TCourseItem it = ParseCourseLine(line);
        const QStringList got{it.Caption,
                              QString::number(it.IsChild),
                              QString::number(it.RefIndex),
                              QString::number(int(it.InfoKind)),
                              it.InfoFile,
                              QString::number(int(it.ExerciseKind)),
                              it.DataFile1,
                              it.DataFile2,
                              it.DataFile3,
                              it.DataFile4,
                              it.DataFile5};
        QCOMPARE(got.join('|'), item);
    }

    void fileRules_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count"); // -1: the load fails
        const QByteArray root = "Root\t1\t0\t0\t\t0\t", a = "A\t1\t1\t0\t\t1\t";
        QTest::newRow("one line") << root << 1;
        QTest::newRow("final line break") << root + "\r\n" + a + "\r\n" << 2;
        QTest::newRow("two line breaks at the end") << root + "\r\n" + a + "\r\n\r\n" << -1;
        QTest::newRow("ref beyond count") << root + "\r\nA\t1\t3\t0\t\t1\t\r\n" << -1;
        QTest::newRow("negative ref") << root + "\r\nA\t1\t-1\t0\t\t1\t\r\n" << -1;
        QTest::newRow("ref at count") << root + "\r\nA\t1\t2\t0\t\t1\t\r\n" << 2;
        QTest::newRow("empty file") << QByteArray() << 0;
    }
    void fileRules() {
        QFETCH(QByteArray, data);
        QFETCH(int, count);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("InitRegD.txt"), data);
        if (count < 0) {
            QVERIFY_THROWS_EXCEPTION(CourseFormatError,
                                     ReadCourseFile(QStringLiteral("InitRegD.txt")));
            return;
        }
        CourseTable t = ReadCourseFile(QStringLiteral("InitRegD.txt"));
        QCOMPARE(int(t.size()) - 1, count);
    }

    void loadIsAllOrNothing() {
        testenv::CourseDir dir;
        const QByteArray good = "Root\t1\t0\t0\t\t0\t\r\nA\t1\t1\t0\t\t1\t\r\n";
        writeModes(dir, good);
        LoadCourseTables();
        QCOMPARE(CourseItemCount('A'), 2);
        QCOMPARE(CourseItemCount('D'), 2);
        // D broken: the earlier tables A..C must not change either.
        testenv::WriteBytes(dir.file("InitRegA.txt"), "R\t1\t0\t0\t\t0\t\r\n");
        testenv::WriteBytes(dir.file("InitRegD.txt"), "R\t1\t0\t0\t\t0\t\r\nbad\r\n");
        try {
            LoadCourseTables();
            QFAIL("loaded");
        } catch (const CourseFormatError& e) {
            QCOMPARE(e.file, QStringLiteral("InitRegD.txt"));
            QCOMPARE(e.line, 2);
        }
        QCOMPARE(CourseItemCount('A'), 2);
        QCOMPARE(CourseItemCount('D'), 2);
        // A missing file is a file error naming the file.
        QFile::remove(dir.file("InitRegB.txt"));
        try {
            LoadCourseTables();
            QFAIL("loaded");
        } catch (const FileError& e) {
            QCOMPARE(e.text(), QStringLiteral("File not found"));
            QCOMPARE(e.fileName(), QStringLiteral("InitRegB.txt"));
        }
        QCOMPARE(CourseItemCount('A'), 2);
    }

    void itemAccessOutOfRange() {
        testenv::CourseDir dir;
        writeModes(dir, "Root\t1\t0\t0\tt.rtf\t0\t\r\n");
        LoadCourseTables();
        QCOMPARE(CourseItem('D', 1).InfoFile, QStringLiteral("t.rtf"));
        QCOMPARE(CourseItem('D', 0).Caption, QString());
        QCOMPARE(CourseItem('D', 5).Caption, QString());
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
            TCourseItem it;
            it.IsChild = r >= 0;
            it.RefIndex = qAbs(r);
            t.append(it);
        }
        const CourseTreeShape shape = CourseTreeOf(t);
        QCOMPARE(shape.Parent.mid(1), parents);
        QCOMPARE(shape.DisplayOrder, order);
    }
};

QTEST_MAIN(TestCourse)
#include "test_course.moc"
