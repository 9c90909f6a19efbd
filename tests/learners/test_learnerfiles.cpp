// Learner records and Users.eng: exact bytes, round trips, damaged files. Learner
// files in this course: the rule mapping stored learner paths below Report/, reading
// progress of a course that grew, and the removal of what killed writes leave behind.
#include "base/errors.h"
#include "common/testenv.h"
#include "course/course.h"
#include "learners/learnerplace.h"
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

class TestLearnerFiles : public LearnerTest {
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

    void pathHere_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("here"); // below the course; "=" as stored; "" refused
        auto row = [](const char* tag, const QString& stored, const QString& here) {
            QTest::newRow(tag) << stored << here;
        };
        row("made on Windows", "C:\\Kurs\\Report\\Anna\\Anna.rep", "Report/Anna/Anna.rep");
        row("moved course, other case", "/old/place/REPORT/Anna/Anna.rep", "Report/Anna/Anna.rep");
        row("learner folder made on Windows", "C:\\Kurs\\Report\\Anna\\", "Report/Anna/");
        row("below Report already", "Report\\Anna\\Anna.rep", "=");
        row("two folders below Report", "C:\\Kurs\\Report\\Anna\\old\\Anna.rep", "");
        row("dot dot as the folder", "C:\\Kurs\\Report\\..\\Anna.rep", "");
        row("too few parts", "Anna\\Anna.rep", "");
        row("up out of this course", "Report\\..\\..\\outside\\victim.rep", "");
        row("through a link out of Report", "C:\\Kurs\\Report\\Link\\x.rep", "");
        row("empty", "", "");
    }
    void pathHere() {
        QFETCH(QString, stored);
        QFETCH(QString, here);
        testenv::CourseDir dir;
        QDir().mkpath(dir.file("Report/Anna"));
        QDir().mkpath(dir.file("outside"));
        QVERIFY(QFile::link(dir.file("outside"), dir.file("Report/Link")));
        const QString want = here == "=" ? stored : here.isEmpty() ? QString() : dir.file(here);
        QCOMPARE(QDir::fromNativeSeparators(LearnerPathHere(stored)), want);
    }

    // A bad work mode or a path that cannot be mapped refuses the learner.
    void placeOf_data() {
        QTest::addColumn<char>("mode");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<int>("error"); // a FileError's code, -1 for the mode refused
        QTest::newRow("A") << 'A' << "Report\\Anna\\" << 0;
        QTest::newRow("D") << 'D' << "Report\\Anna\\" << 0;
        QTest::newRow("below A") << '@' << "Report\\Anna\\" << -1;
        QTest::newRow("past D") << 'E' << "Report\\Anna\\" << -1;
        QTest::newRow("folder outside") << 'A' << "/tmp/x/" << int(ErrInvalidFilename);
    }
    void placeOf() {
        QFETCH(char, mode);
        QFETCH(QString, dir);
        QFETCH(int, error);
        testenv::CourseDir course;
        QDir().mkpath(course.file("Report/Anna"));
        TUserRec u = AnonymousUser();
        u.Mode = mode;
        u.ReportDir = dir;
        u.ReportFile = "Report\\Anna\\Anna.rep";
        int got = 0;
        try {
            QCOMPARE(LearnerPlaceOf(u).ReportFile, u.ReportFile);
        } catch (const FileError& e) {
            got = e.code();
        } catch (const VError&) {
            got = -1;
        }
        QCOMPARE(got, error);
    }

    // A learner's progress file written before items were added to the
    // course: its records are kept, the new items start not done, and the
    // old file is kept as .bak before anything can extend it.
    void grownCourse_data() {
        QTest::addColumn<int>("inFile");
        QTest::newRow("as many records as items") << 4;
        QTest::newRow("course grew by two items") << 2;
        QTest::newRow("more records than items") << 6;
    }
    void grownCourse() {
        QFETCH(int, inFile);
        const bool grown = inFile < 4;
        testenv::CourseDir dir;
        QByteArray course = "Root\t1\t0\t0\t\t0\t\r\n";
        for (int i = 2; i <= 4; ++i)
            course += "E\t1\t1\t0\t\t1\t\r\n";
        for (char m : {'A', 'B', 'C', 'D'})
            testenv::WriteBytes(dir.file(QStringLiteral("InitReg%1.txt").arg(m)), course);
        LoadCourseTables();
        ProgressTable was;
        was.Count = inFile;
        was.Recs = QList<TProgressRec>(inFile + 1);
        for (int k = 1; k <= inFile; ++k)
            was[k] = {1, 10 * k, QStringLiteral("Report\\Anna\\Anna%1.wav").arg(k)};
        const QByteArray old = EncodeProgressFile(was);
        testenv::WriteBytes(dir.file("Report/Anna/Anna.rep"), old);

        ProgressTable t;
        const QString text = OpenLearnerProgress("Report\\Anna\\Anna.rep", 'B', "Anna", t);
        QVERIFY(t.Complete);
        QCOMPARE(t.Count, 4);
        QCOMPARE(t[qMin(inFile, 4)].RecordFile, was[qMin(inFile, 4)].RecordFile);
        if (grown) QCOMPARE(t[inFile + 1].Done, quint8(0));
        QCOMPARE(text.isEmpty(), !grown);
        QCOMPARE(testenv::ReadBytes(dir.file("Report/Anna/Anna.rep.bak")),
                 grown ? old : QByteArray());
    }

    void strayTemporaries_data() {
        QTest::addColumn<QString>("name"); // below the course; ending with "/" a directory
        QTest::addColumn<int>("age");      // minutes; removed when more than ten
        QTest::addColumn<bool>("removed");
        auto row = [](const char* tag, const QString& name, int age, bool removed) {
            QTest::newRow(tag) << name << age << removed;
        };
        row("learner list copy", "Users.eng.AbCdEf", 11, true);
        row("learner list copy, just ten minutes", "Users.eng.AbCdEf", 10, false);
        row("anonymous recording copy", "AnonSnd.wav.qwErty", 11, true);
        row("progress copy", "Report/Anna/Anna.rep.zzzzzz", 11, true);
        row("recording copy", "Report/Anna/Anna12.wav.AAAAAA", 11, true);
        row("a digit in the tail", "Users.eng.AbCd3f", 11, false);
        row("other file of the course", "InitRegD.txt.AbCdEf", 11, false);
        row("picture in a learner folder", "Report/Anna/me.jpg.AbCdEf", 11, false);
        row("progress file itself", "Report/Anna/Anna.rep", 11, false);
        row("deeper than a learner folder", "Report/Anna/old/Anna.rep.AbCdEf", 11, false);
        row("a directory of that name", "Users.eng.AbCdEf/", 11, false);
    }
    void strayTemporaries() {
        QFETCH(QString, name);
        QFETCH(int, age);
        QFETCH(bool, removed);
        testenv::CourseDir dir;
        const QDateTime now = QDateTime::currentDateTime();
        const QString path = dir.file(name);
        if (name.endsWith('/')) {
            QVERIFY(QDir().mkpath(path));
        } else {
            testenv::WriteBytes(path, "complete copy");
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(now.addSecs(-60 * age), QFileDevice::FileModificationTime));
        }
        QCOMPARE(RemoveStrayTemporaries(dir.path(), now.addSecs(-10 * 60)), removed ? 1 : 0);
        QCOMPARE(QFileInfo::exists(path), !removed);
    }
};

QTEST_MAIN(TestLearnerFiles)
#include "test_learnerfiles.moc"
