// The teacher password store, the change dialog and the password prompt.
#include "base/errors.h"
#include "common/testenv.h"
#include "learners/eng_dlgchpassprep.h"
#include "learners/eng_dlgpassword.h"
#include "learners/teacherpass.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSettings>
#include <QtTest>

namespace {
QString Store() {
    return TeacherPasswordStore();
}

void RemoveStore() {
    QFile::remove(Store());
    QDir(QFileInfo(Store()).absolutePath()).removeRecursively();
}
} // namespace

class TestTeacherPass : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        const QString home = testenv::PrivateHome().path();
        // The store must be inside the private home, never the real one.
        QVERIFY2(Store().startsWith(home), qPrintable(Store()));
    }
    void init() { RemoveStore(); }

    void noKeyReadsEmptyAndCreatesIt() {
        QVERIFY(!QFileInfo::exists(Store()));
        QCOMPARE(ReadTeacherPassword(), QString());
        QVERIFY(QFileInfo::exists(Store()));
        QSettings s("Korvana", "Ostlind");
        QVERIFY(!s.contains("Pass"));
    }

    void writeThenRead_data() {
        QTest::addColumn<QString>("pass");
        QTest::newRow("latin") << "Teacher1";
        QTest::newRow("cyrillic") << "Учитель";
        QTest::newRow("with spaces and signs") << " a=b, c;d ";
    }
    void writeThenRead() {
        QFETCH(QString, pass);
        WriteTeacherPassword("old");
        WriteTeacherPassword(pass);
        QCOMPARE(ReadTeacherPassword(), pass);
    }

    void valueOfAnotherType_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("byte array") << QByteArray("Pass=@ByteArray(abc)");
        QTest::newRow("list") << QByteArray("Pass=a, b");
        QTest::newRow("point") << QByteArray("Pass=@Point(1 2)");
    }
    void valueOfAnotherType() {
        QFETCH(QByteArray, line);
        testenv::WriteBytes(Store(), "[General]\n" + line + "\n");
        try {
            ReadTeacherPassword();
            QFAIL("no error for a value that is not text");
        } catch (const VError& e) {
            QCOMPARE(e.text(), QStringLiteral("Invalid data type for 'Pass'"));
        }
    }

    void failedWrite() {
        // A directory where the settings file should be cannot be written.
        QDir().mkpath(Store());
        try {
            WriteTeacherPassword("x");
            QFAIL("no error for a failed write");
        } catch (const VError& e) {
            QCOMPARE(e.text(), QStringLiteral("Failed to set data for 'Pass'"));
        }
        QDir().rmdir(Store());
    }

    void changeChecks_data() {
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("message");
        auto row = [](const char* tag, const QString& p, const QString& c, const QString& m) {
            QTest::newRow(tag) << p << c << m;
        };
        const QString differ = QStringLiteral("Пароль и подтверждение не индентичны");
        row("both empty", "", "", "Не введен пароль.");
        row("first empty", "", "abc", "Не введен пароль.");
        row("second empty", "abc", "", "Пароль не подтвержден.");
        row("differ", "abc", "abd", differ);
        row("case differs", "Abc", "abc", differ);
        row("equal", "abc", "abc", "");
    }
    void changeChecks() {
        QFETCH(QString, pass);
        QFETCH(QString, confirm);
        QFETCH(QString, message);
        QCOMPARE(CheckTeacherPasswordChange(pass, confirm), message);
    }

    // A failed check keeps the old password, a passed one stores the new one.
    void changeDialog() {
        WriteTeacherPassword("before");
        MessageRecorder rec;
        TDlgChPassPrep dlg;
        dlg.show();
        dlg.Edit1->setText("abc");
        dlg.OKBtn->click();
        QCOMPARE(rec.texts(), QStringList{"Пароль не подтвержден."});
        QVERIFY(dlg.isVisible());
        QCOMPARE(ReadTeacherPassword(), QStringLiteral("before"));
        dlg.Edit2->setText("abc");
        dlg.OKBtn->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(ReadTeacherPassword(), QStringLiteral("abc"));
        QCOMPARE(rec.messages.size(), 1);
    }

    // The prompt checks nothing and returns what was typed.
    void passwordPrompt_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << true << int(QDialog::Accepted);
        QTest::newRow("cancel") << false << int(mrCancel);
    }
    void passwordPrompt() {
        QFETCH(bool, ok);
        QFETCH(int, result);
        TDlgPassWord dlg;
        testenv::OnNextModal([ok](QWidget* w) {
            auto* p = qobject_cast<TDlgPassWord*>(w);
            QVERIFY(p->EditPassWord->hasFocus() || !QApplication::focusWidget());
            QTest::keyClicks(p->EditPassWord, "Any Text");
            if (ok)
                QTest::keyClick(p->EditPassWord, Qt::Key_Return);
            else
                QTest::keyClick(p->EditPassWord, Qt::Key_Escape);
        });
        QCOMPARE(dlg.exec(), result);
        QCOMPARE(dlg.password(), QStringLiteral("Any Text"));
    }
};

QTEST_MAIN(TestTeacherPass)
#include "test_teacherpass.moc"
