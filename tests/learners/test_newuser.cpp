// Creating a learner: the checks in their order, the name filter, the
// learner directory, the progress file, and the dialog around them.
#include "base/errors.h"
#include "common/testenv.h"
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
struct NewUserCase {
    QString name, pass, pass2;
    QString path; // "" = derived from the name, else a marker
    int check;    // 0 for none failing
};
} // namespace

class TestNewUser : public LearnerTest {
    Q_OBJECT
    CheckKinds m_kinds;

private Q_SLOTS:
    // Rows giving a check its message come before the rows where two checks fail.
    void checksInOrder_data() {
        QTest::addColumn<NewUserCase>("c");
        const QString p10(10, 'p'), p11(11, 'p');
        QTest::newRow("dot") << NewUserCase{"x.y", "", "", "", 2};
        QTest::newRow("existing name wins over the dot") << NewUserCase{"a.b", "", "", "", 1};
        QTest::newRow("slash") << NewUserCase{"x/y", "", "", "", 3};
        QTest::newRow("backslash") << NewUserCase{"x\\y", "", "", "", 4};
        QTest::newRow("colon") << NewUserCase{"x:y", "", "", "", 5};
        QTest::newRow("31 characters") << NewUserCase{QString(31, 'n'), "", "", "", 7};
        QTest::newRow("30 characters") << NewUserCase{QString(30, 'n'), "", "", "", 0};
        QTest::newRow("confirmation differs") << NewUserCase{"Bob", "abc", "abC", "", 8};
        QTest::newRow("empty name wins over the confirmation") << NewUserCase{"", "a", "b", "", 6};
        QTest::newRow("11-character password") << NewUserCase{"Bob", p11, p11, "", 9};
        QTest::newRow("10-character password") << NewUserCase{"Bob", p10, p10, "", 0};
        QTest::newRow("confirmation wins over the length") << NewUserCase{"Bob", p11, "x", "", 8};
        QTest::newRow("unstorable password") << NewUserCase{"Bob", "密码", "密码", "", 10};
        QTest::newRow("report file taken") << NewUserCase{"Bob", "", "", "taken", 11};
        QTest::newRow("report path empty") << NewUserCase{"Bob", "", "", "empty", 12};
        QTest::newRow("path too long for the record") << NewUserCase{"Bob", "", "", "long", 13};
        QTest::newRow("foreign file") << NewUserCase{"Bob", "", "", "file foreign", 14};
        QTest::newRow("signature length wrong") << NewUserCase{"Bob", "", "", "file sig", 14};
        QTest::newRow("file shorter than a header") << NewUserCase{"Bob", "", "", "file short", 15};
        QTest::newRow("exactly a header") << NewUserCase{"Bob", "", "", "file", 0};
    }
    void checksInOrder() {
        QFETCH(NewUserCase, c);
        const QString& path = c.path;
        testenv::CourseDir dir;
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", ReportRootPath() + "/Anna/"));
        table.Users.append(MakeUser("a.b", 'B', "", ReportRootPath() + "/a.b/"));
        NewUserInput in{c.name, c.pass, c.pass2, ReportPathFor(c.name), 'A'};
        if (path == "taken") in.ReportPath = table.Users[0].ReportFile;
        if (path == "empty") in.ReportPath.clear();
        if (path == "long") in.ReportPath = ReportRootPath() + "/" + QString(250, 'x') + "/B.rep";
        QByteArray header = ProgressHeader();
        if (path == "file foreign") header.fill('f');
        if (path == "file sig") header[8] = char(header[8] - 1); // the length byte
        if (path == "file short") header.chop(1);
        if (path.startsWith("file")) testenv::WriteBytes(in.ReportPath, header);
        QString got;
        try {
            got = CheckNewUser(table, in);
        } catch (const FileError& e) {
            got = e.text();
        }
        QVERIFY2(m_kinds.matches(c.check, got), qPrintable(got));
    }

    // The folder is made only inside an existing Report folder.
    void learnerDirectory() {
        testenv::CourseDir dir;
        QCOMPARE(testenv::FileErrorCode([] { CreateLearnerDir(ReportPathFor("Bob")); }),
                 int(ErrInvalidFilename));
    }

    void registerLearner_data() {
        QTest::addColumn<char>("mode");
        QTest::addColumn<int>("items"); // -1: no course files, the blank progress cannot be made
        QTest::newRow("C, no items") << 'C' << 0;
        QTest::newRow("D") << 'D' << 120;
        QTest::newRow("no course files") << 'B' << -1;
    }
    void registerLearner() {
        QFETCH(char, mode);
        QFETCH(int, items);
        testenv::CourseDir dir;
        if (items >= 0) WriteCourseFiles(4, 2, 0, 120);
        QDir().mkpath(dir.file("Report/Bob"));
        ProgressTable& cur = CurrentProgress();
        cur.Count = 2;
        cur.Recs = QList<TProgressRec>(3);
        cur.Recs[1].Done = 1;
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", "x/"));
        table.Save();
        NewUserInput in{"Bob", "pw", "pw", ReportPathFor("Bob"), mode};
        if (items < 0) {
            QVERIFY_THROWS_EXCEPTION(FileError, RegisterLearner(table, in));
            QCOMPARE(table.count(), 1);
            QVERIFY(App().UserUnchanged);
            // The empty directory is gone, so the same name can be tried again.
            QVERIFY(!QFileInfo::exists(dir.file("Report/Bob")));
            return;
        }
        QCOMPARE(RegisterLearner(table, in), 1);
        const QString bobDir = ReportRootPath() + QDir::separator() + "Bob" + QDir::separator();
        QVERIFY(table.Users[1].sameFields(MakeUser("Bob", mode, "pw", bobDir)));
        QVERIFY(!App().UserUnchanged);
        QCOMPARE(testenv::ReadBytes(in.ReportPath), ProgressHeader() + QByteArray(264 * items, 0));
        // The current learner's progress in memory is not the new learner's.
        QCOMPARE(cur.Count, 2);
        QCOMPARE(int(cur.Recs[1].Done), 1);
    }

    // A course folder whose path Windows-1251 cannot hold: the learner is
    // stored by the relative path and found again after a restart.
    void reportPathOutsideWindows1251() {
        QTemporaryDir root;
        const QString course = root.filePath(QString::fromUtf8("jürgen/курс"));
        QVERIFY(QDir().mkpath(course + "/Report/Bob"));
        const QString old = QDir::currentPath();
        QDir::setCurrent(course);
        WriteCourseFiles(1, 2, 3, 4);
        LearnerTable table;
        const NewUserInput in{"Bob", "", "", ReportPathFor("Bob"), 'C'};
        QCOMPARE(CheckNewUser(table, in), QString());
        RegisterLearner(table, in);
        LearnerTable again;
        again.Load();
        const TUserRec& u = again.Users.value(0);
        QCOMPARE(u.ReportFile, QStringLiteral("Report\\Bob\\Bob.rep"));
        QCOMPARE(u.ReportDir, QStringLiteral("Report\\Bob\\"));
        ProgressTable t;
        ReadProgressCount(LearnerPlaceOf(u).ReportFile, 3, t);
        QCOMPARE(t.RecordsInFile, 3);
        QDir::setCurrent(old);
    }

    // While Users.eng could not be read, a learner made or removed could
    // never be saved: both are refused before anything is asked or done.
    void unreadableListRefusesChanges() {
        testenv::CourseDir dir;
        QDir().mkpath(dir.file("Users.eng")); // cannot be read as a file
        QDir().mkpath(dir.file("Report/Anna"));
        LearnerTable t;
        QVERIFY_THROWS_EXCEPTION(FileError, t.Load());
        t.Users.append(MakeUser("Anna", 'A', "", "Report\\Anna\\"));
        MessageRecorder rec;
        QVERIFY_THROWS_EXCEPTION(VError,
                                 RegisterLearner(t, {"Bob", "", "", ReportPathFor("Bob"), 'A'}));
        QCOMPARE(DeleteLearner(t, 0, "", dir.path()), DeleteOutcome::ListUnreadable);
        QCOMPARE(rec.messages.size(), 1);
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
    }
    void nameKeys() {
        QFETCH(int, code);
        QFETCH(bool, accepted);
        QCOMPARE(NameCharAccepted(char16_t(code)), accepted);
    }

    // Typed and pasted characters go through the name filter and the path
    // follows; a failing check keeps the dialog open with its message,
    // passing creates the learner directory and closes it.
    void dialog() {
        testenv::CourseDir dir;
        QDir().mkdir(dir.file("Report"));
        Learners().Users.append(MakeUser("Anna", 'A', "", "x/"));
        MessageRecorder rec;
        TOKBottomDlgNewUser dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(dlg.EditNameUser->hasFocus());
        // Key presses carrying any character, the way a keyboard layout sends them.
        for (QChar c : QStringLiteral("AЖb"))
            QTest::sendKeyEvent(QTest::Click, dlg.EditNameUser, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        QGuiApplication::clipboard()->setText(QStringLiteral("éy Ж"));
        dlg.EditNameUser->paste();
        QCOMPARE(dlg.EditNameUser->text(), QStringLiteral("Aby "));
        QCOMPARE(dlg.EditFileName->text(), ReportPathFor("Aby "));
        dlg.EditNameUser->setText("Anna");
        dlg.OKBtn->click();
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(dlg.isVisible());
        dlg.EditNameUser->setText("Bob");
        dlg.OKBtn->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(!dlg.isVisible());
        QVERIFY(QFileInfo(dir.file("Report/Bob")).isDir());
    }
};

QTEST_MAIN(TestNewUser)
#include "test_newuser.moc"
