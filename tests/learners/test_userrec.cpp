// Learner records and Users.eng: exact bytes, round trips, damaged files.
#include "base/errors.h"
#include "common/testenv.h"
#include "learners/learnertable.h"
#include "learners/userrec.h"

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

class TestUserRec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void encodeExactBytes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("file");
        QTest::addColumn<char>("mode");
        QTest::newRow("plain") << "Anna"
                               << ""
                               << "C:\\c\\Report\\Anna\\"
                               << "C:\\c\\Report\\Anna\\Anna.rep" << 'B';
        QTest::newRow("full name and password") << QString(30, 'n') << QString(10, 'p') << "/r/"
                                                << "/r/x.rep" << 'A';
        QTest::newRow("cyrillic password") << "Bob"
                                           << "пароль"
                                           << "d\\"
                                           << "d\\Bob.rep" << 'D';
    }
    void encodeExactBytes() {
        QFETCH(QString, name);
        QFETCH(QString, pass);
        QFETCH(QString, dir);
        QFETCH(QString, file);
        QFETCH(char, mode);
        TUserRec r = AnonymousUser();
        r.UserName = name;
        r.Password = pass;
        r.ReportDir = dir;
        r.ReportFile = file;
        r.Mode = mode;
        const QByteArray got = EncodeUserRec(r);
        QCOMPARE(got.size(), 560);
        auto cp = [](const QString& s) {
            QByteArray out;
            for (QChar c : s)
                out += c == u'п'   ? char(0xEF)
                       : c == u'а' ? char(0xE0)
                       : c == u'р' ? char(0xF0)
                       : c == u'о' ? char(0xEE)
                       : c == u'л' ? char(0xEB)
                       : c == u'ь' ? char(0xFC)
                                   : char(c.unicode());
            return out;
        };
        QCOMPARE(got, HandRecord(cp(name), mode, cp(pass), cp(dir), cp(file)));
        QCOMPARE(got.mid(555), QByteArray(5, '\0'));
        TUserRec back = DecodeUserRec(got);
        QVERIFY(back.sameFields(r));
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

    void listLine_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<char>("mode");
        QTest::addColumn<QString>("line");
        QTest::newRow("Anna B") << "Anna" << 'B' << QStringLiteral("Anna - Режим B");
        QTest::newRow("spaces kept") << " x " << 'A' << QStringLiteral(" x  - Режим A");
    }
    void listLine() {
        QFETCH(QString, name);
        QFETCH(char, mode);
        QFETCH(QString, line);
        TUserRec r;
        r.UserName = name;
        r.Mode = mode;
        QCOMPARE(UserListLine(r), line);
    }

    // Stale bytes behind the strings (and in the reserved tail) survive a
    // load and save that changed nothing.
    void unchangedFileByteIdentical_data() {
        QTest::addColumn<int>("records");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("seven") << 7;
    }
    void unchangedFileByteIdentical() {
        QFETCH(int, records);
        testenv::CourseDir dir;
        QByteArray file;
        for (int i = 0; i < records; ++i) {
            QByteArray r =
                HandRecord("User" + QByteArray::number(i), char('A' + i % 4), i % 2 ? "pw" : "",
                           "Report\\U\\", "Report\\U\\U.rep", char(0x5A + i));
            file += r;
        }
        testenv::WriteBytes(dir.file("Users.eng"), file);
        LearnerTable t;
        t.Load();
        QCOMPARE(t.count(), records);
        QCOMPARE(t.LastUser(), records - 1);
        t.Save();
        QCOMPARE(testenv::ReadBytes(dir.file("Users.eng")), file);
    }

    // A record made elsewhere keeps its stale string tails and reserved
    // bytes: a mode change lays exactly its one byte over them.
    void modeChangeChangesOneByte() {
        testenv::CourseDir dir;
        const QByteArray a = HandRecord("Anna", 'A', "", "d\\", "d\\a.rep", 'Q');
        const QByteArray b = HandRecord("Bob", 'B', "pw", "e\\", "e\\b.rep", 'Q');
        testenv::WriteBytes(dir.file("Users.eng"), a + b);
        LearnerTable t;
        t.Load();
        t.Users[1].Mode = 'C';
        t.Save();
        QByteArray want = a + b;
        want[560 + 31] = 'C';
        QCOMPARE(testenv::ReadBytes(dir.file("Users.eng")), want);
    }

    void damagedOrMissingFile_data() {
        QTest::addColumn<int>("extraBytes");
        QTest::addColumn<int>("records");
        QTest::newRow("exact") << 0 << 2;
        QTest::newRow("one stray byte") << 1 << 2;
        QTest::newRow("559 stray bytes") << 559 << 2;
    }
    void damagedOrMissingFile() {
        QFETCH(int, extraBytes);
        QFETCH(int, records);
        testenv::CourseDir dir;
        QByteArray data = HandRecord("A", 'A', "", "", "") + HandRecord("B", 'B', "", "", "");
        data += QByteArray(extraBytes, 'z');
        testenv::WriteBytes(dir.file("Users.eng"), data);
        LearnerTable t;
        t.Load();
        QCOMPARE(t.count(), records);
        QCOMPARE(t.Users[1].UserName, QStringLiteral("B"));
        t.Save();
        QCOMPARE(testenv::ReadBytes(dir.file("Users.eng")), data.left(560 * records));
    }

    void missingFileGivesEmptyTableAndEmptyFile() {
        testenv::CourseDir dir;
        LearnerTable t;
        t.Users.append(AnonymousUser()); // left over from before
        t.Load();
        QCOMPARE(t.count(), 0);
        QCOMPARE(t.LastUser(), -1);
        t.Save();
        QVERIFY(QFileInfo::exists(dir.file("Users.eng")));
        QCOMPARE(QFileInfo(dir.file("Users.eng")).size(), 0);
    }

    // A list that cannot be read must not be replaced by an empty one.
    void unreadableFileIsNotOverwritten() {
        testenv::CourseDir dir;
        QDir().mkdir(dir.file("Users.eng")); // a directory where the file should be
        LearnerTable t;
        QVERIFY_THROWS_EXCEPTION(VError, t.Load());
        QVERIFY(t.loadFailed());
        QVERIFY_THROWS_EXCEPTION(VError, t.Save());
        QVERIFY(QFileInfo(dir.file("Users.eng")).isDir());
    }

    void growsBeyondFifty() {
        testenv::CourseDir dir;
        LearnerTable t;
        for (int i = 0; i < 120; ++i) {
            TUserRec r = AnonymousUser();
            r.UserName = QString::number(i);
            t.Users.append(r);
        }
        t.Save();
        QCOMPARE(QFileInfo(dir.file("Users.eng")).size(), 120 * 560);
        LearnerTable back;
        back.Load();
        QCOMPARE(back.LastUser(), 119);
        QCOMPARE(back.Users[119].UserName, QStringLiteral("119"));
    }
};

QTEST_MAIN(TestUserRec)
#include "test_userrec.moc"
