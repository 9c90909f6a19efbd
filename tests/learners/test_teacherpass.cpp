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

// The text of the error `f` throws, empty if none.
template <typename F> QString ErrorOf(F f) {
    try {
        f();
    } catch (const VError& e) {
        return e.text();
    }
    return {};
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
    void init() { QDir(QFileInfo(Store()).absolutePath()).removeRecursively(); }

    void noKeyReadsEmptyAndCreatesIt() {
        QCOMPARE(ReadTeacherPassword(), QString());
        QVERIFY(QFileInfo(Store()).isFile());
        QVERIFY(!QSettings("Korvana", "Ostlind").contains("Pass"));
    }

    void writeThenRead() {
        WriteTeacherPassword("old");
        WriteTeacherPassword(QStringLiteral(" Уч=b, c;d "));
        QCOMPARE(ReadTeacherPassword(), QStringLiteral(" Уч=b, c;d "));
    }

    void storeErrors() {
        testenv::WriteBytes(Store(), "[General]\nPass=@ByteArray(abc)\n");
        QCOMPARE(ErrorOf([] { ReadTeacherPassword(); }), "Invalid data type for 'Pass'");
        // A directory where the settings file should be cannot be written.
        QFile::remove(Store());
        QDir().mkpath(Store());
        QCOMPARE(ErrorOf([] { WriteTeacherPassword("x"); }), "Failed to set data for 'Pass'");
    }

    void changeChecks_data() {
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("message");
        QTest::newRow("first empty") << ""
                                     << "abc"
                                     << "Не введен пароль.";
        QTest::newRow("second empty") << "abc"
                                      << ""
                                      << "Пароль не подтвержден.";
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
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Esc") << int(Qt::Key_Escape) << int(mrCancel);
    }
    void passwordPrompt() {
        QFETCH(int, key);
        QFETCH(int, result);
        TDlgPassWord dlg;
        testenv::OnNextModal([key](QWidget* w) {
            auto* p = qobject_cast<TDlgPassWord*>(w);
            QVERIFY(p->EditPassWord->hasFocus() || !QApplication::focusWidget());
            QTest::keyClicks(p->EditPassWord, "Any Text");
            QTest::keyClick(p->EditPassWord, Qt::Key(key));
        });
        QCOMPARE(dlg.exec(), result);
        QCOMPARE(dlg.password(), QStringLiteral("Any Text"));
    }
};

QTEST_MAIN(TestTeacherPass)
#include "test_teacherpass.moc"
