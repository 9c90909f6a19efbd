// Deleting a learner: the password, the current learner's index, and that
// nothing outside the learner's own directory is ever removed.
#include "common/testenv.h"
#include "course/appstate.h"
#include "learners/eng_dlgpassword.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/learnerops.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

namespace {
// Three learners with their directories and a file each in Report/.
void MakeThreeLearners(const testenv::CourseDir& dir, LearnerTable& t) {
    for (const char* n : {"Anna", "Bob", "Cid"}) {
        const QString name = QString::fromLatin1(n);
        const QString d = dir.path() + "/Report/" + name + "/";
        testenv::WriteBytes(d + name + ".rep", "x");
        testenv::WriteBytes(d + "rec1.wav", "y");
        QDir().mkpath(d + "emptysub");
        testenv::WriteBytes(d + "fullsub/keep.txt", "z");
        t.Users.append(MakeUser(name, 'A', name == "Bob" ? "secret" : "", d));
    }
}

void SaveThreeLearners(const testenv::CourseDir& dir) {
    LearnerTable t;
    MakeThreeLearners(dir, t);
    t.Save();
}

QStringList Names(const LearnerTable& t) {
    QStringList out;
    for (const TUserRec& r : t.Users)
        out << r.UserName;
    return out;
}
} // namespace

class TestDeleteLearner : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        ResetAppState();
        Learners() = LearnerTable();
    }

    void deleteAndCurrentIndex_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("currentAfter");
        QTest::addColumn<bool>("unchangedAfter");
        const QStringList all{"Anna", "Bob", "Cid"};
        const int del = int(DeleteOutcome::Deleted);
        QTest::newRow("wrong password")
            << 1 << "Secret" << 1 << int(DeleteOutcome::WrongPassword) << all << 1 << true;
        QTest::newRow("empty typed for a password")
            << 1 << "" << -1 << int(DeleteOutcome::WrongPassword) << all << -1 << true;
        QTest::newRow("current learner")
            << 1 << "secret" << 1 << del << QStringList{"Anna", "Cid"} << -1 << false;
        QTest::newRow("before the current")
            << 0 << "" << 2 << del << QStringList{"Bob", "Cid"} << 1 << true;
        QTest::newRow("after the current")
            << 2 << "" << 0 << del << QStringList{"Anna", "Bob"} << 0 << true;
        QTest::newRow("no selection")
            << -1 << "" << 1 << int(DeleteOutcome::NoSelection) << all << 1 << true;
    }
    void deleteAndCurrentIndex() {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(int, current);
        QFETCH(int, outcome);
        QFETCH(QStringList, left);
        QFETCH(int, currentAfter);
        QFETCH(bool, unchangedAfter);
        testenv::CourseDir dir;
        LearnerTable t;
        MakeThreeLearners(dir, t);
        t.Save();
        App().CurrentUser = current;
        MessageRecorder rec;
        QCOMPARE(int(DeleteLearner(t, index, typed, dir.path())), outcome);
        QCOMPARE(Names(t), left);
        QCOMPARE(App().CurrentUser, currentAfter);
        QCOMPARE(App().UserUnchanged, unchangedAfter);
        for (const char* n : {"Anna", "Bob", "Cid"}) {
            const QString d = dir.file(QStringLiteral("Report/") + n);
            const bool kept = left.contains(QString::fromLatin1(n));
            QCOMPARE(QFileInfo::exists(d + "/rec1.wav"), kept);
            QCOMPARE(QFileInfo::exists(d + "/emptysub"), kept);
            // Subdirectories with something in them are not emptied.
            QVERIFY(QFileInfo::exists(d + "/fullsub/keep.txt"));
        }
        if (outcome == int(DeleteOutcome::WrongPassword)) {
            QCOMPARE(rec.texts(), QStringList{"Неправильный пароль"});
        } else {
            QVERIFY(rec.messages.isEmpty());
        }
    }

    void nothingToDelete() {
        testenv::CourseDir dir;
        LearnerTable t;
        MessageRecorder rec;
        QCOMPARE(DeleteLearner(t, 0, "", dir.path()), DeleteOutcome::NothingToDelete);
        QCOMPARE(rec.texts(), QStringList{"Удалять больше нечего"});
    }

    // Whatever a tampered Users.eng says, only a direct subdirectory of
    // Report/ is emptied; the record goes in every case.
    void foreignDirectoryIsNeverTouched_data() {
        QTest::addColumn<QString>("reportDir"); // "@" = the course directory
        QTest::newRow("Report itself") << "@/Report/";
        QTest::newRow("dot-dot out of Report") << "@/Report/Anna/../../victim/";
        QTest::newRow("two levels below Report") << "@/Report/Anna/deeper/";
        QTest::newRow("empty") << "";
        QTest::newRow("link to elsewhere") << "@/Report/link/";
    }
    void foreignDirectoryIsNeverTouched() {
        QFETCH(QString, reportDir);
        testenv::CourseDir dir;
        testenv::WriteBytes(dir.file("victim/precious.txt"), "p");
        testenv::WriteBytes(dir.file("Report/Anna/deeper/precious.txt"), "p");
        testenv::WriteBytes(dir.file("Report/precious.txt"), "p");
        testenv::WriteBytes(dir.file("precious.txt"), "p");
        QFile::link(dir.file("victim"), dir.file("Report/link"));
        reportDir.replace("@", dir.path());
        LearnerTable t;
        t.Users.append(MakeUser("Eve", 'A', "", reportDir));
        QCOMPARE(DeleteLearner(t, 0, "", dir.path()), DeleteOutcome::Deleted);
        QCOMPARE(t.count(), 0);
        for (const QString& f :
             {dir.file("victim/precious.txt"), dir.file("Report/Anna/deeper/precious.txt"),
              dir.file("Report/precious.txt"), dir.file("precious.txt")})
            QVERIFY2(QFileInfo::exists(f), qPrintable(f));
        QVERIFY(QFileInfo(dir.file("Report/link")).isSymLink());
    }

    void sharedDirectoryKept() {
        testenv::CourseDir dir;
        LearnerTable t;
        MakeThreeLearners(dir, t);
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

    // Through the dialog, the password prompt answered by a helper.
    void deleteThroughDialog() {
        testenv::CourseDir dir;
        SaveThreeLearners(dir);
        MessageRecorder rec;
        TOKBottomDlgSelectUsers sel;
        sel.ListBoxUsers->setCurrentRow(1);
        testenv::OnNextModal([](QWidget* w) {
            auto* p = qobject_cast<TDlgPassWord*>(w);
            QVERIFY(p);
            QTest::keyClicks(p->EditPassWord, "secret");
            p->OKBtn->click();
        });
        sel.ButtonDel->click();
        QCOMPARE(Names(Learners()), QStringList({"Anna", "Cid"}));
        QCOMPARE(sel.ListBoxUsers->count(), 2);
        QCOMPARE(sel.selectedIndex(), 1);
        QVERIFY(rec.messages.isEmpty());
    }

    // Keyboard: Enter in the list confirms the name, Esc cancels.
    void keyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(mrOk);
        QTest::newRow("Esc") << int(Qt::Key_Escape) << int(mrCancel);
    }
    void keyboard() {
        QFETCH(int, key);
        QFETCH(int, result);
        testenv::CourseDir dir;
        SaveThreeLearners(dir);
        TOKBottomDlgSelectUsers sel;
        testenv::OnNextModal([key](QWidget* w) {
            auto* d = qobject_cast<TOKBottomDlgSelectUsers*>(w);
            QVERIFY(d->ListBoxUsers->hasFocus());
            QTest::keyClick(d->ListBoxUsers, Qt::Key_Down);
            QTest::keyClick(d->ListBoxUsers, Qt::Key(key));
        });
        QCOMPARE(sel.exec(), result);
        QCOMPARE(sel.selectedIndex(), 1);
    }
};

QTEST_MAIN(TestDeleteLearner)
#include "test_deletelearner.moc"
