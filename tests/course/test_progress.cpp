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
        const QByteArray b = testenv::ReadBytes(dir.file("p.rep"));
        QCOMPARE(b.size(), 4 * 264);
        // Header: zero, then the signature as a length-prefixed string.
        QCOMPARE(b.left(8), QByteArray(8, '\0'));
        QCOMPARE(int(quint8(b[8])), 27);
        QCOMPARE(b.mid(9, 27), QByteArray("Korvanisto Pelmartonica 1.0"));
        QCOMPARE(b.mid(36, 264 - 36), QByteArray(264 - 36, '\0'));
        // Record 1 at offset 264.
        const QByteArray r1 = b.mid(264, 264);
        QCOMPARE(int(r1[0]), 1);
        QCOMPARE(r1.mid(1, 3), QByteArray(3, '\0'));
        QCOMPARE(r1.mid(4, 4), QByteArray("\x1e\0\0\0", 4));
        QCOMPARE(int(quint8(r1[8])), 21);
        QCOMPARE(r1.mid(9, 21), QByteArray("Report\\Ivan\\Ivan1.wav"));
        QCOMPARE(r1.mid(30), QByteArray(264 - 30, '\0'));
        // Record 2: score -1, a 255-character name fills the field.
        const QByteArray r2 = b.mid(528, 264);
        QCOMPARE(r2.mid(4, 4), QByteArray("\xff\xff\xff\xff"));
        QCOMPARE(int(quint8(r2[8])), 255);
        QCOMPARE(r2.mid(9), QByteArray(255, 'x'));
        // Record 3: a longer name is cut to 255.
        const QByteArray r3 = b.mid(792, 264);
        QCOMPARE(int(quint8(r3[8])), 255);
        QCOMPARE(r3.mid(9), QByteArray(255, 'y'));
    }

    void roundTrip() {
        testenv::CourseDir dir;
        setUpCourse(dir, 120, 5);
        ProgressTable t = NewProgress('D');
        QCOMPARE(t.Count, 120);
        for (int k = 1; k <= 120; ++k) {
            t[k].Done = quint8(k % 2);
            t[k].Score = k * 7 - 300;
            t[k].RecordFile = k % 3 ? QStringLiteral("Запись%1.wav").arg(k) : QString();
        }
        WriteProgress(QStringLiteral("r.rep"), t);
        QCOMPARE(QFileInfo(dir.file("r.rep")).size(), qint64(121 * 264));
        ProgressTable back;
        ReadProgress(QStringLiteral("r.rep"), 'D', back);
        QVERIFY(back.Complete);
        QCOMPARE(back.Count, 120);
        for (int k = 1; k <= 120; ++k) {
            QCOMPARE(back[k].Done, t[k].Done);
            QCOMPARE(back[k].Score, t[k].Score);
            QCOMPARE(back[k].RecordFile, t[k].RecordFile);
        }
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
        QTest::newRow("empty") << QByteArray() << true << "Read beyond end of file";
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

    void signature() {
        QVERIFY(HasProgressSignature(ProgressHeader()));
        QByteArray h = ProgressHeader();
        h[8] = 26;
        QVERIFY(!HasProgressSignature(h));
        h = ProgressHeader();
        h[20] = 'X';
        QVERIFY(!HasProgressSignature(h));
        QVERIFY(!HasProgressSignature(QByteArray(20, '\0')));
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
