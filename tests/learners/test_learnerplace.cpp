// Learner files in this course: the rule mapping stored learner paths below
// Report/, reading progress of a course that grew, and the removal of what
// killed writes leave behind.
#include "base/errors.h"
#include "common/testenv.h"
#include "course/course.h"
#include "learners/learnerplace.h"
#include "support_learners.h"

#include <QtTest>

class TestLearnerPlace : public LearnerTest {
    Q_OBJECT
private Q_SLOTS:
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

QTEST_GUILESS_MAIN(TestLearnerPlace)
#include "test_learnerplace.moc"
