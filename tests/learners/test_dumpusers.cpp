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
        QCOMPARE(o.value("error").toString(), readable ? QString() : "File access denied");
        const QJsonArray users = o.value("users").toArray();
        QCOMPARE(o.value("count").toInt(), readable ? 2 : 0);
        QCOMPARE(users.size(), o.value("count").toInt());
        for (int i = 0; i < users.size(); ++i) {
            const QJsonObject u = users[i].toObject();
            const TUserRec& r = t.Users[i];
            QCOMPARE(u.value("UserName").toString(), r.UserName);
            QCOMPARE(u.value("Mode").toString(), QString(QChar(r.Mode)));
            QCOMPARE(u.value("Password").toString(), r.Password);
            QCOMPARE(u.value("ReportDir").toString(), r.ReportDir);
            QCOMPARE(u.value("ReportFile").toString(), r.ReportFile);
        }
    }
};

QTEST_MAIN(TestDumpUsers)
#include "test_dumpusers.moc"
