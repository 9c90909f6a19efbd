// Two programs on one course folder: Users.eng changed from what is on disk
// under its lock, a learner current in one program only, and learner folders
// left by a program that died.
#include "base/errors.h"
#include "common/messages.h"
#include "common/testenv.h"
#include "course/appstate.h"
#include "course/course.h"
#include "learners/learnerlocks.h"
#include "learners/learnerops.h"
#include "learners/learnertable.h"

#include <QDateTime>
#include <QLockFile>
#include <QProcess>
#include <QtTest>

namespace {

// A record as another program wrote it: stale bytes after every string.
QByteArray ForeignRecord(const QString& name, char mode) {
    TUserRec r = AnonymousUser();
    r.UserName = name;
    r.Mode = mode;
    r.ReportDir = QStringLiteral("Report\\") + name + QStringLiteral("\\");
    r.ReportFile = r.ReportDir + name + QStringLiteral(".rep");
    QByteArray b = EncodeUserRec(r);
    for (int i = 1 + int(name.size()); i < 31; ++i) b[i] = char(0xA5);
    b[557] = 'x';
    return b;
}

// Another program that takes `lockFile` and holds it until it is killed;
// its lock then stays.
std::unique_ptr<QProcess> HoldLock(const QString& lockFile) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(LOCK_HOLDER), {lockFile});
    if (!p->waitForReadyRead(10000)) qFatal("lock_holder did not take %s", qPrintable(lockFile));
    return p;
}

void Kill(QProcess& p) {
    p.kill();
    QVERIFY(p.waitForFinished(10000));
}

// A learner made as the new-learner dialog makes one.
int Make(LearnerTable& table, const QString& name, char mode = 'A') {
    CreateLearnerDir(ReportPathFor(name));
    return RegisterLearner(table, {name, "", "", ReportPathFor(name), mode});
}

} // namespace

class TestLearnerLocks : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::CourseDir> m_dir;

private slots:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        m_dir = std::make_unique<testenv::CourseDir>();
        const QDir course(QStringLiteral(VANTREL_BUILD_DIR "/course"));
        for (char m : {'A', 'B', 'C', 'D'}) {
            const QString f = QStringLiteral("InitReg%1.txt").arg(m);
            QVERIFY(QFile::copy(course.filePath(f), f));
        }
        LoadCourseTables();
        QDir().mkdir(QStringLiteral("Report"));
        Learners().Load();
        ReleaseLearner();
        App().CurrentUser = -1;
    }
    void cleanup() {
        ReleaseLearner();
        m_dir.reset();
    }

    // Another program's records stay as they are, byte for byte, whatever
    // this one adds, removes or changes; its own table was read earlier.
    void changesOverAnotherProgramsList() {
        const QByteArray anna = ForeignRecord("Anna", 'B'), boris = ForeignRecord("Boris", 'C');
        testenv::WriteBytes("Users.eng", anna);
        LearnerTable mine;
        mine.Load();
        testenv::WriteBytes("Users.eng", anna + boris); // the other program added Boris

        Make(mine, "Clara");
        QByteArray disk = testenv::ReadBytes("Users.eng");
        QCOMPARE(disk.size(), 3 * kUserRecSize);
        QCOMPARE(disk.left(2 * kUserRecSize), anna + boris);
        QCOMPARE(mine.count(), 3);

        ChangeLearnerMode(mine, "Clara", ReportPathFor("Clara"), 'D', ProgressTable{});
        disk = testenv::ReadBytes("Users.eng");
        QCOMPARE(disk.left(2 * kUserRecSize), anna + boris);
        QCOMPARE(DecodeUserRec(disk.mid(2 * kUserRecSize)).Mode, 'D');

        QCOMPARE(DeleteLearner(mine, 0, QString(), m_dir->path()), DeleteOutcome::Deleted);
        disk = testenv::ReadBytes("Users.eng");
        QCOMPARE(disk.left(kUserRecSize), boris);
        QCOMPARE(DecodeUserRec(disk.mid(kUserRecSize)).UserName, QStringLiteral("Clara"));

        // The end of a run writes what is on disk, not its own old table.
        testenv::WriteBytes("Users.eng", disk + anna);
        SaveLearnerList(mine);
        QCOMPARE(testenv::ReadBytes("Users.eng"), disk + anna);
    }

    // The current learner keeps its index when others change the list.
    void currentLearnerFollowsTheList() {
        LearnerTable& list = Learners();
        Make(list, "Clara");
        App().CurrentUser = 0;
        testenv::WriteBytes("Users.eng",
                            ForeignRecord("Anna", 'A') + testenv::ReadBytes("Users.eng"));
        Make(list, "Dina");
        QCOMPARE(list.Users[App().CurrentUser].UserName, QStringLiteral("Clara"));
    }

    void listLock_data() {
        QTest::addColumn<bool>("dead");
        QTest::newRow("held by a running program") << false;
        QTest::newRow("left by a program that died") << true;
    }
    void listLock() {
        QFETCH(bool, dead);
        const QByteArray before = ForeignRecord("Anna", 'A');
        testenv::WriteBytes("Users.eng", before);
        const std::unique_ptr<QProcess> other = HoldLock("Users.eng.lock");
        if (dead) Kill(*other);
        LearnerTable t;
        bool changed = false;
        const auto addOne = [&](LearnerTable& d) {
            d.Users.append(AnonymousUser());
            return changed = true;
        };
        if (dead) {
            UpdateLearnerList(t, addOne, "Users.eng", 2000);
            QCOMPARE(testenv::ReadBytes("Users.eng").size(), 2 * kUserRecSize);
        } else {
            QVERIFY_THROWS_EXCEPTION(VError, UpdateLearnerList(t, addOne, "Users.eng", 200));
            QVERIFY(!changed);
            QCOMPARE(testenv::ReadBytes("Users.eng"), before);
            Kill(*other);
        }
    }

    // One program at a time has a learner as its current learner; a refused
    // take keeps the learner held before; a dead program's learner is taken.
    void learnerHeldByOneProgram() {
        for (const char* n : {"Anna", "Boris"})
            Make(Learners(), n);
        const QString anna = ReportRootPath() + "/Anna/", boris = ReportRootPath() + "/Boris/";
        QVERIFY(TakeLearner(anna));
        QVERIFY(TakeLearner(anna));
        QVERIFY(!LearnerInUseElsewhere(anna));
        // Boris is the current learner of a second program.
        const std::unique_ptr<QProcess> other = HoldLock(LearnerLockFile(boris));
        QVERIFY(LearnerInUseElsewhere(boris));
        QVERIFY(!TakeLearner(boris));
        QVERIFY(LearnerHeldHere(anna));

        // Deleting a learner who works elsewhere is refused; the list and
        // the folder stay.
        const QByteArray list = testenv::ReadBytes("Users.eng");
        testui::MessageRecorder said;
        QCOMPARE(DeleteLearner(Learners(), 1, QString(), m_dir->path()), DeleteOutcome::InUse);
        QCOMPARE(said.messages.size(), 1);
        QCOMPARE(testenv::ReadBytes("Users.eng"), list);
        QVERIFY(QFileInfo::exists(ReportPathFor("Boris")));

        Kill(*other);
        QVERIFY(TakeLearner(boris));
        QVERIFY(!LearnerHeldHere(anna));
        QLockFile third(LearnerLockFile(anna));
        QVERIFY(third.tryLock(0)); // Anna was let go
    }

    // A folder below Report\ that no learner names is taken over when the
    // learner is made again, unless something in it is not ours to remove.
    void leftoverFolder_data() {
        QTest::addColumn<QString>("extra");
        QTest::addColumn<bool>("listed");
        QTest::addColumn<bool>("locked");
        QTest::addColumn<bool>("takenOver");
        QTest::newRow("progress file only") << "" << false << false << true;
        QTest::newRow("with an unfinished write") << "Eva.rep.Ab3xYz" << false << false << true;
        QTest::newRow("with a dead program's lock") << "dead" << false << false << true;
        QTest::newRow("with a lock cut short") << "learner.lock" << false << false << true;
        QTest::newRow("named by a learner") << "" << true << false << false;
        QTest::newRow("being made by another program") << "" << false << true << false;
        QTest::newRow("holds a recording") << "Eva1.wav" << false << false << false;
    }
    void leftoverFolder() {
        QFETCH(QString, extra);
        QFETCH(bool, listed);
        QFETCH(bool, locked);
        QFETCH(bool, takenOver);
        const QString path = ReportPathFor("Eva");
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        testenv::WriteBytes(path, EncodeProgressFile(NewProgress('A')));
        const QString lockFile = LearnerLockFile(QFileInfo(path).path());
        if (extra == "dead") {
            Kill(*HoldLock(lockFile));
        } else if (!extra.isEmpty()) {
            QFile f(QFileInfo(path).dir().filePath(extra));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("x");
            f.flush();
            f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                          QFileDevice::FileModificationTime);
        }
        if (listed) testenv::WriteBytes("Users.eng", ForeignRecord("Eva", 'A'));
        QLockFile maker(lockFile);
        if (locked) QVERIFY(maker.tryLock(0));
        if (takenOver) {
            CreateLearnerDir(path);
            QVERIFY(QDir(QFileInfo(path).path()).isEmpty());
        } else {
            QVERIFY_THROWS_EXCEPTION(FileError, CreateLearnerDir(path));
            QVERIFY(QFileInfo::exists(path));
        }
    }
};

QTEST_GUILESS_MAIN(TestLearnerLocks)
#include "test_learnerlocks.moc"
