// Creating a learner: the checks in their order, the name filter, the
// learner directory, the progress file, and the dialog around them.
#include "base/errors.h"
#include "common/testenv.h"
#include "common/widgets.h"
#include "course/appstate.h"
#include "course/progress.h"
#include "learners/eng_dlgnewuser.h"
#include "learners/learnerops.h"
#include "learners/learnerplace.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLineEdit>
#include <QtTest>

namespace {
const QString kForeign = QStringLiteral("foreign");

// Key presses carrying any character, the way a keyboard layout sends them.
void TypeText(QWidget* w, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QByteArray OurProgressFile() {
    ProgressTable t;
    t.Count = 2;
    t.Recs = QList<TProgressRec>(3);
    return EncodeProgressFile(t);
}
} // namespace

class TestNewUser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        ResetAppState();
        Learners() = LearnerTable();
    }

    void checksInOrder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("pass2");
        QTest::addColumn<QString>("path"); // "" = derived from the name, else a marker
        QTest::addColumn<QString>("message");
        auto row = [](const char* tag, const QString& name, const QString& pass,
                      const QString& pass2, const QString& path, const QString& message) {
            QTest::newRow(tag) << name << pass << pass2 << path << message;
        };
        const QString taken = QStringLiteral("Такое имя уже есть.");
        const QString dot = QStringLiteral("Имя пользователя не может содержать точку.");
        const QString cannot = QStringLiteral("Имя пользователя не может содержать \"%1\".");
        const QString p10(10, 'p'), p11(11, 'p');
        row("1 existing name", "Anna", "", "", "", taken);
        row("1 wins over 2", "a.b", "", "", "", taken);
        row("1 is case-sensitive", "anna", "", "", "", "");
        row("2 dot", "x.y", "", "", "", dot);
        row("3 slash", "x/y", "", "", "", cannot.arg("/"));
        row("4 backslash", "x\\y", "", "", "", cannot.arg("\\"));
        row("5 colon", "x:y", "", "", "", cannot.arg(":"));
        row("6 empty name", "", "a", "b", "", "Не введено имя пользователя");
        row("7 31 characters", QString(31, 'n'), "", "", "",
            "Имя пользователя не может превышать 30 символов");
        row("7 30 characters pass", QString(30, 'n'), "", "", "", "");
        row("8 confirmation differs", "Bob", "abc", "abC", "", "Не подтвержден пароль");
        row("8 wins over 9", "Bob", p11, "x", "", "Не подтвержден пароль");
        row("9 11 characters", "Bob", p11, p11, "", "Длина пароля не может превышать 10 символов");
        row("9 10 characters pass", "Bob", p10, p10, "", "");
        row("10 report file taken", "Bob", "", "", "taken",
            "Этот файл используется другим пользователем");
        row("11 report path empty", "Bob", "", "", "empty", "Не введено имя файла отчета");
        row("12 foreign file", "Bob", "", "", kForeign,
            "Файл не является файлом отчета для данного приложения");
        row("12 file shorter than a header", "Bob", "", "", "short", "Read beyond end of file");
        row("12 exactly a header", "Bob", "", "", "header", "");
        row("12 signature length wrong", "Bob", "", "", "bad signature",
            "Файл не является файлом отчета для данного приложения");
        row("unstorable password", "Bob", "密码", "密码", "",
            "Пароль содержит символы, которые нельзя сохранить");
        row("path too long for the record", "Bob", "", "", "long",
            "Путь к файлу отчета длиннее 255 символов");
    }
    void checksInOrder() {
        QFETCH(QString, name);
        QFETCH(QString, pass);
        QFETCH(QString, pass2);
        QFETCH(QString, path);
        QFETCH(QString, message);
        testenv::CourseDir dir;
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", ReportRootPath() + "/Anna/"));
        table.Users.append(MakeUser("a.b", 'B', "", ReportRootPath() + "/a.b/"));
        NewUserInput in;
        in.Name = name;
        in.Password = pass;
        in.Password2 = pass2;
        in.ReportPath = ReportPathFor(name);
        if (path == "taken") in.ReportPath = table.Users[0].ReportFile;
        if (path == "empty") in.ReportPath.clear();
        if (path == "long") in.ReportPath = ReportRootPath() + "/" + QString(250, 'x') + "/B.rep";
        if (path == kForeign) testenv::WriteBytes(in.ReportPath, QByteArray(300, 'f'));
        QByteArray header = OurProgressFile().left(264);
        if (path == "short") testenv::WriteBytes(in.ReportPath, header.left(263));
        if (path == "header") testenv::WriteBytes(in.ReportPath, header);
        header[8] = char(26); // the signature's length byte
        if (path == "bad signature") testenv::WriteBytes(in.ReportPath, header);
        QString got;
        try {
            got = CheckNewUser(table, in);
        } catch (const FileError& e) {
            got = e.text();
        }
        QCOMPARE(got, message);
    }

    void learnerDirectory_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error");
        QTest::newRow("created") << "report" << QString();
        QTest::newRow("exists") << "exists"
                                << "I/O error 183";
        QTest::newRow("no Report folder") << "none"
                                          << "Invalid filename";
    }
    void learnerDirectory() {
        QFETCH(QString, setup);
        QFETCH(QString, error);
        testenv::CourseDir dir;
        if (setup != "none") QDir().mkdir(dir.file("Report"));
        if (setup == "exists") {
            // A folder with a recording in it is no leftover of an unfinished creation.
            QDir().mkdir(dir.file("Report/Bob"));
            testenv::WriteBytes(dir.file("Report/Bob/take.wav"), "RIFF");
        }
        QString got;
        try {
            CreateLearnerDir(ReportPathFor("Bob"));
        } catch (const FileError& e) {
            got = e.text();
        }
        QCOMPARE(got, error);
        QCOMPARE(QFileInfo(dir.file("Report/Bob")).isDir(), setup != "none");
        QVERIFY(!QFileInfo::exists(dir.file("Report/Bob/Bob.rep")));
    }

    void registerWritesOwnTable_data() {
        QTest::addColumn<char>("mode");
        QTest::addColumn<int>("items");
        QTest::newRow("A") << 'A' << 4;
        QTest::newRow("C") << 'C' << 0;
        QTest::newRow("D") << 'D' << 120;
    }
    void registerWritesOwnTable() {
        QFETCH(char, mode);
        QFETCH(int, items);
        testenv::CourseDir dir;
        WriteCourseFiles(4, 2, 0, 120);
        QDir().mkpath(dir.file("Report/Bob"));
        ProgressTable& cur = CurrentProgress();
        cur.Count = 2;
        cur.Recs = QList<TProgressRec>(3);
        cur.Recs[1].Done = 1;
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", "x/"));
        table.Save();
        NewUserInput in{"Bob", "pw", "pw", ReportPathFor("Bob"), mode};
        QCOMPARE(RegisterLearner(table, in), 1);
        QCOMPARE(table.Users[1].UserName, QStringLiteral("Bob"));
        QCOMPARE(table.Users[1].Mode, mode);
        QCOMPARE(table.Users[1].Password, QStringLiteral("pw"));
        QCOMPARE(table.Users[1].ReportDir,
                 ReportRootPath() + QDir::separator() + "Bob" + QDir::separator());
        QVERIFY(!App().UserUnchanged);
        const QByteArray file = testenv::ReadBytes(in.ReportPath);
        QCOMPARE(file.size(), 264 * (items + 1));
        QVERIFY(HasProgressSignature(file.left(264)));
        QCOMPARE(file.mid(264), QByteArray(264 * items, '\0'));
        // The current learner's progress in memory is not the new learner's.
        QCOMPARE(cur.Count, 2);
        QCOMPARE(int(cur.Recs[1].Done), 1);
    }

    void registerFailureLeavesNoLearner() {
        testenv::CourseDir dir;
        // No course structure files: the blank progress cannot be made.
        QDir().mkpath(dir.file("Report/Bob"));
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", "x/"));
        NewUserInput in{"Bob", "", "", ReportPathFor("Bob"), 'B'};
        QVERIFY_THROWS_EXCEPTION(FileError, RegisterLearner(table, in));
        QCOMPARE(table.count(), 1);
        QVERIFY(App().UserUnchanged);
        // The empty directory is gone, so the same name can be tried again.
        QVERIFY(!QFileInfo::exists(dir.file("Report/Bob")));
    }

    // A course folder whose path Windows-1251 cannot hold: the learner is
    // stored by the relative path and found again after a restart.
    void reportPathStoredAndFoundAgain_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("relative");
        QTest::newRow("storable path") << "course" << false;
        QTest::newRow("path outside Windows-1251") << QString::fromUtf8("jürgen/курс") << true;
    }
    void reportPathStoredAndFoundAgain() {
        QFETCH(QString, folder);
        QFETCH(bool, relative);
        QTemporaryDir root;
        const QString course = root.filePath(folder);
        QVERIFY(QDir().mkpath(course + "/Report/Bob"));
        const QString old = QDir::currentPath();
        QDir::setCurrent(course);
        WriteCourseFiles(1, 2, 3, 4);
        LearnerTable table;
        MessageRecorder rec;
        QCOMPARE(CheckNewUser(table, {"Bob", "", "", ReportPathFor("Bob"), 'C'}), QString());
        RegisterLearner(table, {"Bob", "", "", ReportPathFor("Bob"), 'C'});
        table.Save();

        LearnerTable again;
        again.Load();
        const TUserRec& u = again.Users.value(0);
        QCOMPARE(u.ReportFile == "Report\\Bob\\Bob.rep", relative);
        QCOMPARE(u.ReportDir == "Report\\Bob\\", relative);
        ProgressTable t;
        ReadProgressCount(LearnerPlaceOf(u).ReportFile, 3, t);
        QVERIFY(t.Complete);
        QCOMPARE(t.RecordsInFile, 3);
        QVERIFY(rec.messages.isEmpty());
        QDir::setCurrent(old);
    }

    // While Users.eng could not be read, a learner made or removed could
    // never be saved: both are refused before anything is asked or done.
    void unreadableListRefusesChanges() {
        testenv::CourseDir dir;
        WriteCourseFiles(1, 1, 1, 1);
        QDir().mkpath(dir.file("Users.eng")); // cannot be read as a file
        QDir().mkpath(dir.file("Report/Anna"));
        LearnerTable t;
        QVERIFY_THROWS_EXCEPTION(FileError, t.Load());
        QVERIFY(t.loadFailed());
        t.Users.append(MakeUser("Anna", 'A', "", "Report\\Anna\\"));
        MessageRecorder rec;
        QVERIFY_THROWS_EXCEPTION(VError,
                                 RegisterLearner(t, {"Bob", "", "", ReportPathFor("Bob"), 'A'}));
        QCOMPARE(int(DeleteLearner(t, 0, "", dir.path())), int(DeleteOutcome::ListUnreadable));
        QVERIFY(rec.lastText().contains("Users.eng"));
        QCOMPARE(t.count(), 1);
        QCOMPARE(QDir(dir.file("Report")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"Anna"});
    }

    void nameKeys_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("backspace") << 8 << true;
        QTest::newRow("tab") << 9 << false;
        QTest::newRow("30") << 30 << false;
        QTest::newRow("31") << 31 << true;
        QTest::newRow("127") << 127 << true;
        QTest::newRow("128") << 128 << false;
        QTest::newRow("Cyrillic Zhe") << 0x416 << false;
    }
    void nameKeys() {
        QFETCH(int, code);
        QFETCH(bool, accepted);
        QCOMPARE(NameCharAccepted(char16_t(code)), accepted);
    }

    // Typed and pasted characters go through the same filter; the path follows.
    void nameFieldKeys() {
        testenv::CourseDir dir;
        TOKBottomDlgNewUser dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.EditNameUser->setFocus();
        TypeText(dlg.EditNameUser, QStringLiteral("AЖb"));
        QGuiApplication::clipboard()->setText(QStringLiteral("éy Ж"));
        dlg.EditNameUser->paste();
        QCOMPARE(dlg.EditNameUser->text(), QStringLiteral("Aby "));
        QCOMPARE(dlg.EditFileName->text(), ReportPathFor("Aby "));
    }

    // A failing check keeps the dialog open with its message; passing
    // creates the learner directory and closes it.
    void dialogWiring() {
        testenv::CourseDir dir;
        QDir().mkdir(dir.file("Report"));
        Learners().Users.append(MakeUser("Anna", 'A', "", "x/"));
        MessageRecorder rec;
        TOKBottomDlgNewUser dlg;
        dlg.show();
        dlg.EditNameUser->setText("Anna");
        dlg.OKBtn->click();
        QCOMPARE(rec.texts(), QStringList{"Такое имя уже есть."});
        QVERIFY(dlg.isVisible());
        dlg.EditNameUser->setText("Bob");
        dlg.OKBtn->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(QFileInfo(dir.file("Report/Bob")).isDir());
    }
};

QTEST_MAIN(TestNewUser)
#include "test_newuser.moc"
