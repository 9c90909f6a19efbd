// Creating a learner: the checks in their order, the name filter, the learner
// directory, the progress file, and the dialog around them. Deleting a learner: the
// password, the current learner's index, and that nothing outside the learner's own
// directory is ever removed. The teacher password store and its change dialog.
#include "base/errors.h"
#include "common/testenv.h"
#include "course/appstate.h"
#include "course/progress.h"
#include "learners/eng_dlgchpassprep.h"
#include "learners/eng_dlgnewuser.h"
#include "learners/eng_dlgpassword.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/learnerops.h"
#include "learners/learnerplace.h"
#include "learners/teacherpass.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {
struct NewUserCase {
    QString name, pass, pass2;
    QString path; // "" = derived from the name, else a marker
    int check;    // 0 for none failing
};
} // namespace

namespace {
const QStringList kNames{"Anna", "Bob", "Cid"};

struct DeleteCase {
    int index;
    QString typed;
    int current;
    DeleteOutcome outcome;
    int currentAfter;
    bool unchangedAfter;
};

// Three learners with their directories and a file each in Report/, saved.
LearnerTable ThreeLearners(const testenv::CourseDir& dir) {
    LearnerTable t;
    for (const QString& name : kNames) {
        const QString d = dir.path() + "/Report/" + name + "/";
        testenv::WriteBytes(d + name + ".rep", "x");
        testenv::WriteBytes(d + "rec1.wav", "y");
        QDir().mkpath(d + "emptysub");
        testenv::WriteBytes(d + "fullsub/keep.txt", "z");
        t.Users.append(MakeUser(name, 'A', name == "Bob" ? "secret" : "", d));
    }
    t.Save();
    return t;
}
} // namespace

class TestLearnerOps : public LearnerTest {
    Q_OBJECT
    CheckKinds m_kinds, m_passKinds; // of the new-learner and the teacher password checks

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
    void newUserDialog() {
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

    void deleteAndCurrentIndex_data() {
        QTest::addColumn<DeleteCase>("c");
        const DeleteOutcome del = DeleteOutcome::Deleted, wrong = DeleteOutcome::WrongPassword;
        QTest::newRow("wrong password") << DeleteCase{1, "Secret", 1, wrong, 1, true};
        QTest::newRow("current learner") << DeleteCase{1, "secret", 1, del, -1, false};
        QTest::newRow("before the current") << DeleteCase{0, "", 2, del, 1, true};
        QTest::newRow("after the current") << DeleteCase{2, "", 0, del, 0, true};
        const DeleteOutcome none = DeleteOutcome::NoSelection;
        QTest::newRow("no selection") << DeleteCase{-1, "", 1, none, 1, true};
        QTest::newRow("past the last learner") << DeleteCase{3, "", 1, none, 1, true};
    }
    void deleteAndCurrentIndex() {
        QFETCH(DeleteCase, c);
        const DeleteOutcome outcome = c.outcome;
        testenv::CourseDir dir;
        LearnerTable t = ThreeLearners(dir);
        App().CurrentUser = c.current;
        MessageRecorder rec;
        QCOMPARE(DeleteLearner(t, c.index, c.typed, dir.path()), outcome);
        QStringList left = kNames;
        if (outcome == DeleteOutcome::Deleted) left.removeAt(c.index);
        QStringList names;
        for (const TUserRec& r : t.Users)
            names << r.UserName;
        QCOMPARE(names, left);
        QCOMPARE(App().CurrentUser, c.currentAfter);
        QCOMPARE(App().UserUnchanged, c.unchangedAfter);
        for (const QString& n : kNames) {
            const QString d = dir.file("Report/" + n);
            QCOMPARE(QFileInfo::exists(d + "/rec1.wav"), left.contains(n));
            QCOMPARE(QFileInfo::exists(d + "/emptysub"), left.contains(n));
            // Subdirectories with something in them are not emptied.
            QVERIFY(QFileInfo::exists(d + "/fullsub/keep.txt"));
        }
        QCOMPARE(rec.messages.size(), outcome == DeleteOutcome::WrongPassword ? 1 : 0);
    }

    void nothingToDelete() {
        testenv::CourseDir dir;
        LearnerTable t;
        MessageRecorder rec;
        QCOMPARE(DeleteLearner(t, 0, "", dir.path()), DeleteOutcome::NothingToDelete);
        QCOMPARE(rec.messages.size(), 1);
    }

    // Whatever a tampered Users.eng says, only a direct subdirectory of
    // Report/ is emptied; the record goes in every case.
    void foreignDirectoryIsNeverTouched_data() {
        QTest::addColumn<QString>("reportDir"); // "@" = the course directory
        // Paths the mapping of stored paths refuses are its own test's rows.
        QTest::newRow("Report itself") << "@/Report/";
        QTest::newRow("two levels below Report") << "@/Report/Anna/deeper/";
    }
    void foreignDirectoryIsNeverTouched() {
        QFETCH(QString, reportDir);
        testenv::CourseDir dir;
        const QStringList precious{"Report/Anna/deeper/p.txt", "Report/p.txt", "p.txt"};
        for (const QString& f : precious)
            testenv::WriteBytes(dir.file(f), "p");
        LearnerTable t;
        t.Users.append(MakeUser("Eve", 'A', "", reportDir.replace("@", dir.path())));
        QCOMPARE(DeleteLearner(t, 0, "", dir.path()), DeleteOutcome::Deleted);
        QCOMPARE(t.count(), 0);
        for (const QString& f : precious)
            QVERIFY2(QFileInfo::exists(dir.file(f)), qPrintable(f));
    }

    void sharedDirectoryKept() {
        testenv::CourseDir dir;
        LearnerTable t = ThreeLearners(dir);
        t.Users[2].ReportDir = t.Users[0].ReportDir; // Cid claims Anna's directory
        t.Save();
        QCOMPARE(DeleteLearner(t, 2, "", dir.path()), DeleteOutcome::Deleted);
        QVERIFY(QFileInfo::exists(dir.file("Report/Anna/rec1.wav")));
        QVERIFY(QFileInfo::exists(dir.file("Report/Cid/rec1.wav"))); // not named by any record now
    }

    void linkInsideIsRemovedNotFollowed() {
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("outside/keep.txt"), "k");
        testenv::WriteBytes(dir.file("Report/Anna/Anna.rep"), "x");
        QFile::link(dir.file("outside"), dir.file("Report/Anna/dirlink"));
        QFile::link(dir.file("outside/keep.txt"), dir.file("Report/Anna/filelink"));
        QVERIFY(RemoveLearnerDir(dir.file("Report/Anna/"), dir.path()));
        QVERIFY(!QFileInfo::exists(dir.file("Report/Anna")));
        QVERIFY(QFileInfo::exists(dir.file("outside/keep.txt")));
    }

    // Through the dialog: the password typed in the prompt reaches the delete,
    // the list shows the learners left with the next one selected.
    void deleteDialog() {
        testenv::CourseDir dir;
        ThreeLearners(dir);
        TOKBottomDlgSelectUsers sel;
        sel.ListBoxUsers->setCurrentRow(1);
        testenv::OnNextModal([](QWidget* w) {
            auto* p = qobject_cast<TDlgPassWord*>(w);
            QTest::keyClicks(p->EditPassWord, "secret");
            p->OKBtn->click();
        });
        sel.ButtonDel->click();
        QCOMPARE(Learners().count(), 2);
        QCOMPARE(sel.ListBoxUsers->count(), 2);
        QCOMPARE(sel.selectedIndex(), 1);
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
        // Changed on disk within the clock tick of the last write: a later time stamp
        // makes sure the settings cache does not take it for the file it wrote.
        QFile store(TeacherPasswordStore());
        QVERIFY(store.open(QIODevice::ReadWrite));
        QVERIFY(store.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                  QFileDevice::FileModificationTime));
        store.close();
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
        QVERIFY2(m_passKinds.matches(check, message), qPrintable(message));
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

QTEST_MAIN(TestLearnerOps)
#include "test_learnerops.moc"
