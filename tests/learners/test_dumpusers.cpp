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

    QJsonObject dump(const QStringList& args, int& rc) {
        QProcess p;
        p.start(QStringLiteral(VANTREL_CHECK_EXE), QStringList{"--dump", "users"} + args);
        p.waitForFinished(30000);
        rc = p.exitCode();
        return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void users_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("strayBytes");
        QTest::newRow("empty file") << 0 << 0;
        QTest::newRow("three") << 3 << 0;
        QTest::newRow("three and a partial record") << 3 << 100;
    }
    void users() {
        QFETCH(int, records);
        QFETCH(int, strayBytes);
        testenv::CourseDir dir;
        LearnerTable t;
        for (int i = 0; i < records; ++i)
            t.Users.append(MakeUser(QStringLiteral("U%1").arg(i), char('A' + i), i ? "пароль" : "",
                                    QStringLiteral("Report\\U%1\\").arg(i)));
        QByteArray bytes = t.Encode() + QByteArray(strayBytes, 'x');
        testenv::WriteBytes(dir.file("Users.eng"), bytes);
        int rc = -1;
        const QJsonObject o = dump({dir.file("Users.eng")}, rc);
        QCOMPARE(rc, 0);
        QCOMPARE(o.value("count").toInt(), records);
        const QJsonArray users = o.value("users").toArray();
        QCOMPARE(users.size(), records);
        for (int i = 0; i < records; ++i) {
            const QJsonObject u = users[i].toObject();
            QCOMPARE(u.value("UserName").toString(), t.Users[i].UserName);
            QCOMPARE(u.value("Mode").toString(), QString(QChar('A' + i)));
            QCOMPARE(u.value("Password").toString(), t.Users[i].Password);
            QCOMPARE(u.value("ReportDir").toString(), t.Users[i].ReportDir);
            QCOMPARE(u.value("ReportFile").toString(), t.Users[i].ReportFile);
        }
    }

    void missingOrUnreadable() {
        testenv::CourseDir dir;
        int rc = -1;
        // A missing list is an empty one, as at program start.
        QJsonObject o = dump({dir.file("Users.eng")}, rc);
        QCOMPARE(rc, 0);
        QCOMPARE(o.value("count").toInt(), 0);
        QDir().mkdir(dir.file("Users.eng"));
        o = dump({dir.file("Users.eng")}, rc);
        QCOMPARE(rc, 2);
        QCOMPARE(o.value("error").toString(), QStringLiteral("File access denied"));
    }
};

QTEST_MAIN(TestDumpUsers)
#include "test_dumpusers.moc"
