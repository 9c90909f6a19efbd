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
        QTest::newRow("learner 1") << "1" << 0
                                   << QStringList{"   Раздел: Урок", in + "Слова - Выполнено",
                                                  in + "Вопросы - Выполнено, Ошибок - 25%"}
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
        // "Урок", "Слова", "Вопросы"; the last item (kind 10) gives no line.
        testenv::WriteBytes(
            "InitRegB.txt",
            testenv::CrLf({"\xD3\xF0\xEE\xEA\t0\t0\t0\t\t0\t",
                           "\xD1\xEB\xEE\xE2\xE0\t1\t1\t0\t\t2\t",
                           "\xC2\xEE\xEF\xF0\xEE\xF1\xFB\t1\t2\t0\t\t6\t", "-\t1\t3\t0\t\t10\t"}));
        LearnerTable users;
        for (const QString name : {"Ann", "Bob"})
            users.Users << TUserRec{
                name, 'B', {}, "Report\\" + name + "\\", "Report\\" + name + "\\" + name + ".rep",
                {}};
        users.Save("Users.eng");
        ProgressTable t;
        t.Recs = {{}, {}, {1, 0, {}}, {1, 25, {}}, {1, 0, {}}};
        t.Count = 4;
        testenv::WriteBytes("Report/Bob/Bob.rep", EncodeProgressFile(t));

        QProcess p;
        p.start(VANTREL_CHECK_EXE, {"--dump", "report", "Users.eng", index});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), code);
        if (code == 64) return;
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(o.value("lines").toVariant().toStringList(), lines);
        QCOMPARE(o.value("error").toString(), error);
    }
};

QTEST_GUILESS_MAIN(TestDumpReport)
#include "test_dumpreport.moc"
