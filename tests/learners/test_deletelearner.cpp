// Deleting a learner: the password, the current learner's index, and that
// nothing outside the learner's own directory is ever removed.
#include "common/testenv.h"
#include "course/appstate.h"
#include "learners/eng_dlgpassword.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/learnerops.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

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

class TestDeleteLearner : public LearnerTest {
    Q_OBJECT
private Q_SLOTS:
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
    void dialog() {
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
};

QTEST_MAIN(TestDeleteLearner)
#include "test_deletelearner.moc"
