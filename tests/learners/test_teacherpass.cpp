// The teacher password store and the change dialog.
#include "base/errors.h"
#include "common/testenv.h"
#include "learners/eng_dlgchpassprep.h"
#include "learners/teacherpass.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QtTest>

class TestTeacherPass : public LearnerTest {
    Q_OBJECT
    CheckKinds m_kinds;

private Q_SLOTS:
    void init() {
        // The store must be inside the private home, never the real one.
        QVERIFY2(TeacherPasswordStore().startsWith(testenv::PrivateHome().path()),
                 qPrintable(TeacherPasswordStore()));
        QDir(QFileInfo(TeacherPasswordStore()).absolutePath()).removeRecursively();
    }

    // Reading creates the store; a value of another type and a store that
    // cannot be written are errors.
    void store() {
        QCOMPARE(ReadTeacherPassword(), QString());
        QVERIFY(QFileInfo(TeacherPasswordStore()).isFile());
        WriteTeacherPassword("old");
        WriteTeacherPassword(QStringLiteral(" Уч=b, c;d "));
        QCOMPARE(ReadTeacherPassword(), QStringLiteral(" Уч=b, c;d "));
        testenv::WriteBytes(TeacherPasswordStore(), "[General]\nPass=@ByteArray(abc)\n");
        QVERIFY_THROWS_EXCEPTION(VError, ReadTeacherPassword());
        QFile::remove(TeacherPasswordStore());
        QDir().mkpath(TeacherPasswordStore()); // a directory cannot be written as the file
        QVERIFY_THROWS_EXCEPTION(VError, WriteTeacherPassword("x"));
    }

    // Rows giving a check its message come before the rows of two failing checks.
    void changeChecks_data() {
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<int>("check");
        auto row = [](const char* tag, const QString& pass, const QString& confirm, int check) {
            QTest::newRow(tag) << pass << confirm << check;
        };
        row("first empty", "", "abc", 1);
        row("second empty", "abc", "", 2);
        row("case differs", "Abc", "abc", 3);
        row("equal", "abc", "abc", 0);
        row("both empty: first wins", "", "", 1);
    }
    void changeChecks() {
        QFETCH(QString, pass);
        QFETCH(QString, confirm);
        QFETCH(int, check);
        const QString message = CheckTeacherPasswordChange(pass, confirm);
        QVERIFY2(m_kinds.matches(check, message), qPrintable(message));
    }

    // A failed check keeps the old password, a passed one stores the new one.
    void changeDialog() {
        WriteTeacherPassword("before");
        MessageRecorder rec;
        TDlgChPassPrep dlg;
        dlg.show();
        dlg.Edit1->setText("abc");
        dlg.OKBtn->click();
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(dlg.isVisible());
        QCOMPARE(ReadTeacherPassword(), QStringLiteral("before"));
        dlg.Edit2->setText("abc");
        dlg.OKBtn->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(ReadTeacherPassword(), QStringLiteral("abc"));
        QCOMPARE(rec.messages.size(), 1);
    }
};

QTEST_MAIN(TestTeacherPass)
#include "test_teacherpass.moc"
