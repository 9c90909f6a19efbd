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

    void fieldRules_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("isChild");
        QTest::addColumn<int>("ref");
        QTest::addColumn<int>("infoKind");
        QTest::addColumn<QString>("info");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("full line")
            << QByteArray("Cap\t1\t1\t0\tinfo.rtf\t5\tt.txt\tr.txt\ts.wav\tt.tim\tp.pic") << "Cap"
            << true << 1 << 0 << "info.rtf" << 5
            << QStringList{"t.txt", "r.txt", "s.wav", "t.tim", "p.pic"};
        QTest::newRow("field 2 zero") << QByteArray("C\t0\t2\t0\t\t0\t") << "C" << false << 2 << 0
                                      << "" << 0 << QStringList{"", "", "", "", ""};
        QTest::newRow("field 2 empty") << QByteArray("C\t\t2\t0\t\t0\t") << "C" << true << 2 << 0
                                       << "" << 0 << QStringList{"", "", "", "", ""};
        QTest::newRow("field 2 double zero") << QByteArray("C\t00\t2\t0\t\t0\t") << "C" << true << 2
                                             << 0 << "" << 0 << QStringList{"", "", "", "", ""};
        QTest::newRow("field 2 blank zero") << QByteArray("C\t 0\t2\t0\t\t0\t") << "C" << true << 2
                                            << 0 << "" << 0 << QStringList{"", "", "", "", ""};
        QTest::newRow("one trailing tab after kind")
            << QByteArray("Cap\t1\t1\t0\t\t0\t") << "Cap" << true << 1 << 0 << "" << 0
            << QStringList{"", "", "", "", ""};
        QTest::newRow("kind without its tab") << QByteArray("Cap\t1\t1\t0\t\t0") << "Cap" << true
                                              << 1 << 0 << "" << -1 << QStringList{};
        QTest::newRow("file after kind, no tab")
            << QByteArray("C\t1\t1\t0\t\t8\tpics.pic") << "C" << true << 1 << 0 << "" << 8
            << QStringList{"", "", "", "", "pics.pic"};
        QTest::newRow("two files") << QByteArray("C\t1\t1\t0\t\t8\ta\tb") << "C" << true << 1 << 0
                                   << "" << 8 << QStringList{"a", "", "", "", "b"};
        QTest::newRow("field 11 keeps tabs")
            << QByteArray("C\t1\t1\t1\tp.bmp\t5\ta\tb\tc\td\te\tf\tg") << "C" << true << 1 << 1
            << "p.bmp" << 5 << QStringList{"a", "b", "c", "d", "e\tf\tg"};
        QTest::newRow("signed numbers") << QByteArray("C\t1\t+1\t 1\t\t+3\t") << "C" << true << 1
                                        << 1 << "" << 3 << QStringList{"", "", "", "", ""};
        QTest::newRow("bad ref") << QByteArray("C\t1\tx\t0\t\t0\t") << "" << true << -1 << 0 << ""
                                 << 0 << QStringList{};
        QTest::newRow("kind 256") << QByteArray("C\t1\t1\t0\t\t256\t") << "" << true << 0 << 0 << ""
                                  << -1 << QStringList{};
        QTest::newRow("kind -1") << QByteArray("C\t1\t1\t0\t\t-1\t") << "" << true << 0 << 0 << ""
                                 << -1 << QStringList{};
        QTest::newRow("info kind 300") << QByteArray("C\t1\t1\t300\t\t0\t") << "" << true << 0 << -1
                                       << "" << 0 << QStringList{};
        QTest::newRow("kind 200 loads") << QByteArray("C\t1\t1\t0\t\t200\t") << "C" << true << 1
                                        << 0 << "" << 200 << QStringList{"", "", "", "", ""};
        QTest::newRow("empty line")
            << QByteArray("") << "" << true << -1 << 0 << "" << 0 << QStringList{};
        QTest::newRow("no tabs at all")
            << QByteArray("Caption only") << "" << true << -1 << 0 << "" << 0 << QStringList{};
        QTest::newRow("cyrillic caption")
            << cp(QStringLiteral("Урок 1\t1\t1\t0\t\t0\t")) << "Урок 1" << true << 1 << 0 << "" << 0
            << QStringList{"", "", "", "", ""};
        const QByteArray f(400, 'f'), cut(255, 'f');
        QTest::newRow("long strings are cut")
            << QByteArray(300, 'c') + "\t1\t0\t0\t" + f + "\t1\t" + f + "\t\t\t\t" + f
            << QString(255, 'c') << true << 0 << 0 << QString(cut) << 1
            << QStringList{QString(cut), "", "", "", QString(cut)};
    }
    void fieldRules() {
        QFETCH(QByteArray, line);
        QFETCH(QString, caption);
        QFETCH(bool, isChild);
        QFETCH(int, ref);
        QFETCH(int, infoKind);
        QFETCH(QString, info);
        QFETCH(int, kind);
        QFETCH(QStringList, files);
        if (files.isEmpty()) {
            try {
                ParseCourseLine(line, QStringLiteral("InitRegD.txt"), 7);
                QFAIL("line loaded");
            } catch (const CourseFormatError& e) {
                QCOMPARE(e.file, QStringLiteral("InitRegD.txt"));
                QCOMPARE(e.line, 7);
                // The field named is the one that failed.
                const int field = ref < 0 ? 3 : infoKind < 0 ? 4 : 6;
                QVERIFY2(e.field.startsWith(QString::number(field)), qPrintable(e.text()));
                QVERIFY(e.text().contains(QStringLiteral("InitRegD.txt, line 7")));
            }
            return;
        }
        TCourseItem it = ParseCourseLine(line);
        QCOMPARE(it.Caption, caption);
        QCOMPARE(it.IsChild, isChild);
        QCOMPARE(it.RefIndex, ref);
        QCOMPARE(int(it.InfoKind), infoKind);
        QCOMPARE(it.InfoFile, info);
        QCOMPARE(int(it.ExerciseKind), kind);
        QCOMPARE(
            (QStringList{it.DataFile1, it.DataFile2, it.DataFile3, it.DataFile4, it.DataFile5}),
            files);
    }

    void fileRules_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("count"); // -1: the load fails
        QTest::newRow("one line") << QByteArray("Root\t1\t0\t0\t\t0\t") << 1;
        QTest::newRow("final line break")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\nA\t1\t1\t0\t\t1\t\r\n") << 2;
        QTest::newRow("no final line break")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\nA\t1\t1\t0\t\t1\t") << 2;
        QTest::newRow("bare lf") << QByteArray("Root\t1\t0\t0\t\t0\t\nA\t1\t1\t0\t\t1\t\n") << 2;
        QTest::newRow("two line breaks at the end")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\nA\t1\t1\t0\t\t1\t\r\n\r\n") << -1;
        QTest::newRow("empty line inside")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\n\r\nA\t1\t1\t0\t\t1\t\r\n") << -1;
        QTest::newRow("ref beyond count")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\nA\t1\t3\t0\t\t1\t\r\n") << -1;
        QTest::newRow("negative ref")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\nA\t1\t-1\t0\t\t1\t\r\n") << -1;
        QTest::newRow("ref at count")
            << QByteArray("Root\t1\t0\t0\t\t0\t\r\nA\t1\t2\t0\t\t1\t\r\n") << 2;
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
        QTest::newRow("one line") << QList<int>{0} << QList<int>{0} << QList<int>{1};
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
