// Learner records and Users.eng: exact bytes, round trips, damaged files.
#include "base/errors.h"
#include "common/testenv.h"
#include "learners/learnertable.h"
#include "learners/userrec.h"
#include "support_learners.h"

#include <QtTest>

namespace {
// A record assembled by hand, byte by byte, as the file holds it.
QByteArray HandRecord(const QByteArray& name, char mode, const QByteArray& pass,
                      const QByteArray& dir, const QByteArray& file, char fill = '\0') {
    QByteArray b(560, fill);
    auto put = [&](int off, int cap, const QByteArray& v) {
        b[off] = char(v.size());
        for (int i = 0; i < v.size() && i < cap; ++i)
            b[off + 1 + i] = v[i];
    };
    put(0, 30, name);
    b[31] = mode;
    put(32, 10, pass);
    put(43, 255, dir);
    put(299, 255, file);
    return b;
}
} // namespace

class TestUserRec : public LearnerTest {
    Q_OBJECT
private Q_SLOTS:
    void encodeExactBytes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QByteArray>("passBytes"); // Windows-1251
        QTest::newRow("full name and password")
            << QString(30, 'n') << QString(10, 'p') << QByteArray(10, 'p');
        QTest::newRow("cyrillic password") << "Bob"
                                           << "пар" << QByteArray("\xEF\xE0\xF0");
    }
    void encodeExactBytes() {
        QFETCH(QString, name);
        QFETCH(QString, pass);
        QFETCH(QByteArray, passBytes);
        const TUserRec r{name, 'D', pass, "C:\\c\\Report\\B\\", "C:\\c\\Report\\B\\B.rep", {}};
        const QByteArray got = EncodeUserRec(r);
        QCOMPARE(got, HandRecord(name.toLatin1(), 'D', passBytes, r.ReportDir.toLatin1(),
                                 r.ReportFile.toLatin1()));
        QVERIFY(DecodeUserRec(got).sameFields(r));
    }

    void decodeClampsLength_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("capacity");
        QTest::newRow("name") << 0 << 30;
        QTest::newRow("password") << 32 << 10;
        QTest::newRow("report dir") << 43 << 255;
    }
    void decodeClampsLength() {
        QFETCH(int, offset);
        QFETCH(int, capacity);
        QByteArray b = HandRecord("Anna", 'C', "pw", "d/", "d/f.rep", 'x');
        b[offset] = char(255);
        const TUserRec r = DecodeUserRec(b);
        const QString field = offset == 0 ? r.UserName : offset == 32 ? r.Password : r.ReportDir;
        QCOMPARE(field.size(), qsizetype(capacity));
        // The neighbouring field is read from its own offset all the same.
        QCOMPARE(r.Mode, 'C');
        QCOMPARE(r.ReportFile, QStringLiteral("d/f.rep"));
    }

    // More than the fifty records of old with stale bytes behind the strings
    // and a partial record at the end: an unchanged save gives back the whole
    // records byte for byte, a mode change lays exactly its one byte over them.
    void fileRoundTrip() {
        testenv::CourseDir dir;
        QByteArray records;
        for (int i = 0; i < 51; ++i)
            records +=
                HandRecord("User" + QByteArray::number(i), char('A' + i % 4), i % 2 ? "pw" : "",
                           "Report\\U\\", "Report\\U\\U.rep", char(0x5A + i));
        testenv::WriteBytes(dir.file("Users.eng"), records + QByteArray(559, 'z'));
        LearnerTable t;
        t.Load();
        QCOMPARE(t.LastUser(), 50);
        QCOMPARE(t.Users[50].UserName, QStringLiteral("User50"));
        t.Save();
        QCOMPARE(testenv::ReadBytes(dir.file("Users.eng")), records);
        t.Users[1].Mode = 'C';
        t.Save();
        records[560 + 31] = 'C';
        QCOMPARE(testenv::ReadBytes(dir.file("Users.eng")), records);
    }

    // No file: an empty list, saved as an empty file. A list that cannot be
    // read must not be replaced by an empty one.
    void missingAndUnreadableFile() {
        testenv::CourseDir dir;
        LearnerTable t;
        t.Users.append(AnonymousUser()); // left over from before
        t.Load();
        QCOMPARE(t.LastUser(), -1);
        t.Save();
        QVERIFY(QFileInfo(dir.file("Users.eng")).isFile());
        QCOMPARE(QFileInfo(dir.file("Users.eng")).size(), 0);
        QFile::remove(dir.file("Users.eng"));
        QDir().mkdir(dir.file("Users.eng")); // a directory where the file should be
        QVERIFY_THROWS_EXCEPTION(VError, t.Load());
        QVERIFY(t.loadFailed());
        QVERIFY_THROWS_EXCEPTION(VError, t.Save());
        QVERIFY(QFileInfo(dir.file("Users.eng")).isDir());
    }
};

QTEST_MAIN(TestUserRec)
#include "test_userrec.moc"
