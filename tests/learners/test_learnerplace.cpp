// Learner files in this course: the rule mapping stored learner paths below
// Report/, reading progress of a course that grew, and the removal of what
// killed writes leave behind.
#include "base/errors.h"
#include "common/testenv.h"
#include "course/course.h"
#include "learners/learnerplace.h"

#include <QtTest>

namespace {
QByteArray CourseOf(int items) {
    QByteArray d = "Root\t1\t0\t0\t\t0\t\r\n";
    for (int i = 2; i <= items; ++i)
        d += "E\t1\t1\t0\t\t1\t\r\n";
    return d;
}

ProgressTable Table(int count) {
    ProgressTable t;
    t.Count = count;
    t.Recs = QList<TProgressRec>(count + 1);
    for (int k = 1; k <= count; ++k)
        t[k] = {1, 10 * k, QStringLiteral("Report\\Anna\\Anna%1.wav").arg(k)};
    return t;
}
} // namespace

class TestLearnerPlace : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

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
        const QString got = LearnerPathHere(stored);
        if (here == "=")
            QCOMPARE(got, stored);
        else if (here.isEmpty())
            QCOMPARE(got, QString());
        else
            QCOMPARE(QDir::fromNativeSeparators(got), dir.file(here));
    }

    // A bad work mode or a path that cannot be mapped refuses the learner.
    void placeOf_data() {
        QTest::addColumn<char>("mode");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("error"); // start of the message; empty: taken
        const QString bad = QStringLiteral("У пользователя Anna неверный");
        QTest::newRow("A") << 'A' << "Report\\Anna\\"
                           << "";
        QTest::newRow("D") << 'D' << "Report\\Anna\\"
                           << "";
        QTest::newRow("below A") << '@' << "Report\\Anna\\" << bad;
        QTest::newRow("past D") << 'E' << "Report\\Anna\\" << bad;
        QTest::newRow("folder outside") << 'A' << "/tmp/x/"
                                        << "Invalid filename";
    }
    void placeOf() {
        QFETCH(char, mode);
        QFETCH(QString, dir);
        QFETCH(QString, error);
        testenv::CourseDir course;
        QDir().mkpath(course.file("Report/Anna"));
        TUserRec u = AnonymousUser();
        u.UserName = "Anna";
        u.Mode = mode;
        u.ReportDir = dir;
        u.ReportFile = "Report\\Anna\\Anna.rep";
        QString got;
        try {
            QCOMPARE(LearnerPlaceOf(u).ReportFile, u.ReportFile);
        } catch (const VError& e) {
            got = e.text();
        }
        QVERIFY2(error.isEmpty() ? got.isEmpty() : got.startsWith(error), qPrintable(got));
    }

    // A learner's progress file written before items were added to the
    // course: its records are kept, the new items start not done, and the
    // old file is kept as .bak before anything can extend it.
    void grownCourse_data() {
        QTest::addColumn<int>("inFile");
        QTest::addColumn<bool>("grown");
        QTest::newRow("as many records as items") << 4 << false;
        QTest::newRow("course grew by two items") << 2 << true;
        QTest::newRow("more records than items") << 6 << false;
    }
    void grownCourse() {
        QFETCH(int, inFile);
        QFETCH(bool, grown);
        testenv::CourseDir dir;
        for (char m : {'A', 'B', 'C', 'D'})
            testenv::WriteBytes(dir.file(QStringLiteral("InitReg%1.txt").arg(m)), CourseOf(4));
        LoadCourseTables();
        const QByteArray old = EncodeProgressFile(Table(inFile));
        testenv::WriteBytes(dir.file("Report/Anna/Anna.rep"), old);

        ProgressTable t;
        const QString text = OpenLearnerProgress("Report\\Anna\\Anna.rep", 'B', "Anna", t);
        QVERIFY(t.Complete);
        QCOMPARE(t.Count, 4);
        QCOMPARE(t[qMin(inFile, 4) + (grown ? 1 : 0)].Done, quint8(grown ? 0 : 1));
        QCOMPARE(text.contains("Anna.rep.bak"), grown);
        QCOMPARE(testenv::ReadBytes(dir.file("Report/Anna/Anna.rep.bak")),
                 grown ? old : QByteArray());
    }

    void strayTemporaries_data() {
        QTest::addColumn<QString>("name"); // below the course; ending with "/" a directory
        QTest::addColumn<bool>("old");
        QTest::addColumn<bool>("removed");
        QTest::newRow("learner list copy") << "Users.eng.AbCdEf" << true << true;
        QTest::newRow("learner list copy, fresh") << "Users.eng.AbCdEf" << false << false;
        QTest::newRow("anonymous recording copy") << "AnonSnd.wav.qwErty" << true << true;
        QTest::newRow("progress copy") << "Report/Anna/Anna.rep.zzzzzz" << true << true;
        QTest::newRow("recording copy") << "Report/Anna/Anna12.wav.AAAAAA" << true << true;
        QTest::newRow("timing copy") << "Report/Anna/Anna12.txt.aBcDeF" << true << true;
        QTest::newRow("a digit in the tail") << "Users.eng.AbCd3f" << true << false;
        QTest::newRow("other file of the course") << "InitRegD.txt.AbCdEf" << true << false;
        QTest::newRow("picture in a learner folder")
            << "Report/Anna/me.jpg.AbCdEf" << true << false;
        QTest::newRow("progress file itself") << "Report/Anna/Anna.rep" << true << false;
        QTest::newRow("deeper than a learner folder")
            << "Report/Anna/old/Anna.rep.AbCdEf" << true << false;
        QTest::newRow("a directory of that name") << "Users.eng.AbCdEf/" << true << false;
    }
    void strayTemporaries() {
        QFETCH(QString, name);
        QFETCH(bool, old);
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
            QVERIFY(f.setFileTime(now.addSecs(old ? -11 * 60 : -9 * 60),
                                  QFileDevice::FileModificationTime));
        }
        QCOMPARE(RemoveStrayTemporaries(dir.path(), now.addSecs(-10 * 60)), removed ? 1 : 0);
        QCOMPARE(QFileInfo::exists(path), !removed);
    }
};

QTEST_GUILESS_MAIN(TestLearnerPlace)
#include "test_learnerplace.moc"
