#include "course/progress.h"
#include "course/support_course.h"

#include <QtTest>

class TestProgress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

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

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
