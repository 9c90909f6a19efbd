// vantrel-check --dump report: one learner's report lines from the learner
// list, the learner's progress file and the work mode's structure file.
#include "common/testenv.h"
#include "course/progress.h"
#include "learners/learnertable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

class TestDumpReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void report_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");
        const QString in = QStringLiteral("       ");
        QTest::newRow("learner 1")
            << "1" << 0
            << QStringList{"   Раздел: Урок", in + "Слова - Выполнено",
                           in + "Вопросы - Выполнено, Ошибок - 25%", in + "Запись - Не выполнено"}
            << "";
        QTest::newRow("no progress file") << "0" << 2 << QStringList{} << "File not found";
        QTest::newRow("no such learner")
            << "2" << 2 << QStringList{} << "No learner 2 in Users.eng";
        QTest::newRow("not a number") << "x" << 64 << QStringList{} << "";
    }
    void report() {
        QFETCH(QString, index);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        testenv::CourseDir dir;
        // Item 4 (kind 10) gives no line.
        testenv::WriteBytes(
            dir.file("InitRegB.txt"),
            testenv::CrLf({"\xD3\xF0\xEE\xEA\t0\t0\t0\t\t0\t",
                           "\xD1\xEB\xEE\xE2\xE0\t1\t1\t0\t\t2\t",
                           "\xC2\xEE\xEF\xF0\xEE\xF1\xFB\t1\t2\t0\t\t6\t", "-\t1\t3\t0\t\t10\t",
                           "\xC7\xE0\xEF\xE8\xF1\xFC\t1\t4\t0\t\t4\t"}));
        LearnerTable users;
        for (const char* name : {"Ann", "Bob"}) {
            TUserRec u;
            u.UserName = name;
            u.Mode = 'B';
            u.ReportDir = QStringLiteral("Report\\%1\\").arg(name);
            u.ReportFile = u.ReportDir + name + ".rep";
            users.Users << u;
        }
        users.Save(dir.file("Users.eng"));
        ProgressTable t;
        t.Recs = QList<TProgressRec>(6);
        t.Count = 5;
        t[2].Done = 1;
        t[3].Done = 1;
        t[3].Score = 25;
        t[4].Done = 1;
        testenv::WriteBytes(dir.file("Report/Bob/Bob.rep"), EncodeProgressFile(t));

        QProcess p;
        p.start(VANTREL_CHECK_EXE, {"--dump", "report", "Users.eng", index});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), code);
        if (code == 64) return;
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QStringList got;
        for (const QJsonValue& v : o.value("lines").toArray())
            got << v.toString();
        QCOMPARE(got, lines);
        QCOMPARE(o.value("error").toString(), error);
    }
};

QTEST_GUILESS_MAIN(TestDumpReport)
#include "test_dumpreport.moc"
