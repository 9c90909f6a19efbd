// vantrel-check --dump users: the learner list as JSON.
#include "common/testenv.h"
#include "learners/learnertable.h"
#include "support_learners.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

class TestDumpUsers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void users_data() {
        QTest::addColumn<bool>("readable");
        QTest::newRow("two learners") << true;
        QTest::newRow("unreadable list") << false;
    }
    void users() {
        QFETCH(bool, readable);
        testenv::CourseDir dir;
        LearnerTable t;
        t.Users = {MakeUser("Anna", 'C', "", "Report\\Anna\\"),
                   MakeUser("Bob", 'D', "пароль", "Report\\Bob\\")};
        if (readable)
            t.Save();
        else
            QDir().mkdir(dir.file("Users.eng"));
        QProcess p;
        p.start(QStringLiteral(VANTREL_CHECK_EXE), {"--dump", "users", dir.file("Users.eng")});
        QVERIFY(p.waitForFinished(30000));
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QCOMPARE(p.exitCode(), readable ? 0 : 2);
        QCOMPARE(o.value("error").toString().isEmpty(), readable);
        QJsonArray users;
        for (const TUserRec& r : readable ? t.Users : QList<TUserRec>())
            users << QJsonObject{{"UserName", r.UserName},
                                 {"Mode", QString(QChar(r.Mode))},
                                 {"Password", r.Password},
                                 {"ReportDir", r.ReportDir},
                                 {"ReportFile", r.ReportFile}};
        QCOMPARE(o.value("users").toArray(), users);
        QCOMPARE(o.value("count").toInt(), users.size());
    }
};

QTEST_MAIN(TestDumpUsers)
#include "test_dumpusers.moc"
