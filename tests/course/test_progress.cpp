#include "base/errors.h"
#include "common/testenv.h"
#include "course/course.h"
#include "course/progress.h"

#include <QtTest>

namespace {
QByteArray courseOf(int items) {
    QByteArray d = "Root\t1\t0\t0\t\t0\t\r\n";
    for (int i = 2; i <= items; ++i)
        d += "E\t1\t1\t0\t\t1\t\r\n";
    return d;
}
void setUpCourse(const testenv::CourseDir& dir, int d, int other) {
    for (char m : {'A', 'B', 'C'})
        testenv::WriteBytes(dir.file(QStringLiteral("InitReg%1.txt").arg(m)), courseOf(other));
    testenv::WriteBytes(dir.file("InitRegD.txt"), courseOf(d));
    LoadCourseTables();
}
} // namespace

class TestProgress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void exactBytes() {
        testenv::CourseDir dir;
        ProgressTable t;
        t.Count = 3;
        t.Recs = QList<TProgressRec>(4);
        t[1] = {1, 30, QStringLiteral("Report\\Ivan\\Ivan1.wav")};
        t[2] = {0, -1, QString(255, 'x')};
        t[3] = {1, 0, QString(300, 'y')};
        WriteProgress(QStringLiteral("p.rep"), t);
        // 264-byte records: done, three pad bytes, the score (LE), a
        // length-prefixed name of at most 255; the header is one with the signature as its name.
        const auto rec = [](char done, const QByteArray& score, const QByteArray& name) {
            QByteArray r(264, '\0');
            r[0] = done;
            r.replace(4, 4, score);
            r[8] = char(name.size());
            return r.replace(9, name.size(), name);
        };
        const QByteArray zero(4, '\0');
        const QByteArray want = rec(0, zero, "Korvanisto Pelmartonica 1.0") +
                                rec(1, QByteArray("\x1e\0\0\0", 4), "Report\\Ivan\\Ivan1.wav") +
                                rec(0, "\xff\xff\xff\xff", QByteArray(255, 'x')) +
                                rec(1, zero, QByteArray(255, 'y'));
        QCOMPARE(testenv::ReadBytes(dir.file("p.rep")), want);
    }

    void readingMoreAndFewerRecords() {
        testenv::CourseDir dir;
        setUpCourse(dir, 10, 4);
        ProgressTable t = NewProgress('D');
        t[4].Done = 1;
        t[10].Score = 55;
        WriteProgress(QStringLiteral("d.rep"), t);
        // More records than mode A needs: only the first four are read.
        ProgressTable a;
        ReadProgress(QStringLiteral("d.rep"), 'A', a);
        QVERIFY(a.Complete);
        QCOMPARE(a.Count, 4);
        QCOMPARE(a[4].Done, quint8(1));
        // A file written for A is short for D (the course grew): its records
        // are read, the rest start blank and not done.
        WriteProgress(QStringLiteral("a.rep"), a);
        ProgressTable d;
        ReadProgress(QStringLiteral("a.rep"), 'D', d);
        QVERIFY(d.Complete);
        QCOMPARE(d.Count, 10);
        QCOMPARE(d.RecordsInFile, 4);
        QCOMPARE(d[4].Done, quint8(1));
        QCOMPARE(d[5].Done, quint8(0));
        QCOMPARE(d[10].Score, 0);
    }

    void readFailures_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << QByteArray() << false << "File not found";
        QTest::newRow("shorter than the header")
            << QByteArray(263, '\0') << true << "Read beyond end of file";
    }
    void readFailures() {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(QString, error);
        testenv::CourseDir dir;
        setUpCourse(dir, 2, 2);
        if (exists) testenv::WriteBytes(dir.file("x.rep"), content);
        ProgressTable t;
        try {
            ReadProgress(QStringLiteral("x.rep"), 'D', t);
            QFAIL("read");
        } catch (const FileError& e) {
            QCOMPARE(e.text(), error);
        }
        QVERIFY(!t.Complete);
        // An incomplete table is never written over the file.
        QVERIFY_THROWS_EXCEPTION(VError, WriteProgress(QStringLiteral("x.rep"), t));
        QCOMPARE(testenv::ReadBytes(dir.file("x.rep")), content);
    }

    void staleBytesAreIgnored() {
        // Bytes without meaning (padding, header, tail of the name) may hold anything.
        QByteArray rec(264, char(0xAA));
        rec[0] = 1;
        rec[4] = 5, rec[5] = 0, rec[6] = 0, rec[7] = 0;
        rec[8] = 3;
        rec[9] = 'a', rec[10] = 'b', rec[11] = 'c';
        TProgressRec r = DecodeProgressRec(rec);
        QCOMPARE(r.Done, quint8(1));
        QCOMPARE(r.Score, 5);
        QCOMPARE(r.RecordFile, QStringLiteral("abc"));
    }

    // The signature is the header's name; the check needs no more than it.
    void signature_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("hasSignature");
        const QByteArray h = ProgressHeader();
        QByteArray shortLength = h, otherChar = h;
        shortLength[8] = char(h[8] - 1);
        otherChar[20] = 'X';
        QTest::newRow("the header") << h << true;
        QTest::newRow("up to the signature's end") << h.left(36) << true;
        QTest::newRow("one byte short of it") << h.left(35) << false;
        QTest::newRow("length one short") << shortLength << false;
        QTest::newRow("a character differs") << otherChar << false;
    }
    void signature() {
        QFETCH(QByteArray, head);
        QFETCH(bool, hasSignature);
        QCOMPARE(HasProgressSignature(head), hasSignature);
    }

    void newProgressCountsTheFileAgain() {
        testenv::CourseDir dir;
        setUpCourse(dir, 3, 3);
        testenv::WriteBytes(dir.file("InitRegD.txt"), courseOf(5));
        ProgressTable t = NewProgress('D');
        QCOMPARE(t.Count, 5);
        QCOMPARE(t.Recs.size(), 6);
        QVERIFY(t.Complete);
    }
};

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
