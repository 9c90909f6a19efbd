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
        QTest::newRow("both empty") << ""
                                    << ""
                                    << "Не введен пароль.";
        QTest::newRow("first empty") << ""
                                     << "abc"
                                     << "Не введен пароль.";
        QTest::newRow("second empty") << "abc"
                                      << ""
                                      << "Пароль не подтвержден.";
        QTest::newRow("differ") << "abc"
                                << "abd"
                                << "Пароль и подтверждение не индентичны";
        QTest::newRow("case differs") << "Abc"
                                      << "abc"
                                      << "Пароль и подтверждение не индентичны";
        QTest::newRow("equal") << "abc"
                               << "abc"
                               << "";
    }
    void changeChecks() {
        QFETCH(QString, pass);
        QFETCH(QString, confirm);
        QFETCH(QString, message);
        QCOMPARE(CheckTeacherPasswordChange(pass, confirm), message);

        WriteTeacherPassword("before");
        MessageRecorder rec;
        TDlgChPassPrep dlg;
        dlg.show();
        dlg.Edit1->setText(pass);
        dlg.Edit2->setText(confirm);
        dlg.OKBtn->click();
        if (message.isEmpty()) {
            QVERIFY(rec.messages.isEmpty());
            QVERIFY(!dlg.isVisible());
            QCOMPARE(ReadTeacherPassword(), pass);
        } else {
            QCOMPARE(rec.messages.size(), 1);
            QCOMPARE(rec.messages[0].text, message);
            QCOMPARE(rec.messages[0].title, QStringLiteral("Ошибка"));
            QCOMPARE(rec.messages[0].flags, 0x30);
            QVERIFY(dlg.isVisible());
            QCOMPARE(ReadTeacherPassword(), QStringLiteral("before"));
            dlg.CancelBtn->click();
            QVERIFY(!dlg.isVisible());
            QCOMPARE(rec.messages.size(), 1);
        }
    }

    void changeDialogClearsOnShow() {
        TDlgChPassPrep dlg;
        dlg.Edit1->setText("a");
        dlg.Edit2->setText("b");
        dlg.show();
        QVERIFY(dlg.Edit1->text().isEmpty() && dlg.Edit2->text().isEmpty());
        QVERIFY(ShowsStars(dlg.Edit1));
        QVERIFY(ShowsStars(dlg.Edit2));
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
        QVERIFY(ShowsStars(dlg.EditPassWord));
        dlg.EditPassWord->setText("left over");
        testenv::OnNextModal([ok](QWidget* w) {
            auto* p = qobject_cast<TDlgPassWord*>(w);
            QVERIFY(p->EditPassWord->text().isEmpty());
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

    void promptHelpTopic() {
        TDlgPassWord dlg;
        QCOMPARE(dlg.helpTopic(), 0);
        int shown = -1;
        SetHelpHandlers([&shown](int t) { shown = t; }, [](const QString&) {});
        dlg.setHelpTopic(90);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::keyClick(&dlg, Qt::Key_F1);
        QCOMPARE(shown, 90);
        dlg.setHelpTopic(0);
        QCOMPARE(dlg.helpTopic(), 0);
        SetHelpHandlers({}, {});
    }
};

QTEST_MAIN(TestTeacherPass)
#include "test_teacherpass.moc"
