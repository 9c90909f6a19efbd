// Kills a process with SIGKILL at random moments while it writes a learner's
// files through each of the program's writers: every kill must leave the old or the
// new complete file (byte for byte one of the versions written whole).
#include "crash_files.h"

#include "common/testenv.h"
#include "media/audiodevice.h"

#include <chrono>
#include <csignal>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <thread>

using namespace crashfiles;

namespace {

QString TargetOf(const QString& kind) {
    if (kind == "users") return kUsersFile;
    if (kind == "progress") return kProgressFile;
    if (kind == "recording") return kRecordingFile;
    return kTimingFile;
}

QString Native(const QString& stored) {
    return QString(stored).replace('\\', '/');
}

// Names in the target's folder other than the files we know. A kill between
// the save file's link and rename may leave a complete copy named after one
// of our files plus ".XXXXXX" (removed at the next start); anything else is returned.
QStringList Strangers(const QString& target, const QStringList& known) {
    QStringList out;
    const QDir dir = QFileInfo(Native(target)).dir();
    for (const QString& n : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        if (!known.contains(n) && !(known.contains(n.left(n.size() - 7)) && n[n.size() - 7] == '.'))
            out << n;
    return out;
}

} // namespace

class TestKillWrite : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_course;
    QStringList m_known; // what the course folder and the learner's folder hold

    QProcess* Start(const QString& kind, const QString& dir, const QString& what) {
        auto* p = new QProcess(this);
        p->start(CRASH_WRITER, {kind, dir, what});
        return p;
    }
    bool RunOnce(const QString& kind, const QString& dir, int v) {
        std::unique_ptr<QProcess> p(Start(kind, dir, QString::number(v)));
        if (!p->waitForFinished(20000)) return false;
        if (p->exitCode() != 0) qWarning() << p->readAllStandardError();
        return p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    }

private slots:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        m_course = std::make_unique<testenv::CourseDir>();
        m_known = {"Users.eng", "Report", "TSBegin.wav", "Ann.rep", "Ann5.wav", "Ann5.txt"};
    }

    void killWhileWriting_data() {
        QTest::addColumn<QString>("kind");
        // Users.eng and the progress file share one writer.
        QTest::newRow("Users.eng") << "users";
        QTest::newRow("recording") << "recording";
        QTest::newRow("learner timing file") << "timing";
    }

    void killWhileWriting() {
        QFETCH(QString, kind);
        const int asked = qEnvironmentVariableIntValue("VANTREL_CRASH_KILLS");
        const int kills = asked > 0 ? asked : 200;
        const QString target = TargetOf(kind);

        QList<QByteArray> versions;
        for (int v = 0; v < 3; ++v) {
            QTemporaryDir ref;
            QVERIFY(RunOnce(kind, ref.path(), v));
            versions << testenv::ReadBytes(ref.filePath(Native(target)));
            QVERIFY(!versions[v].isEmpty());
        }
        QVERIFY(versions[0] != versions[1] && versions[1] != versions[2] &&
                versions[0] != versions[2]);
        // One write cycle on this machine now; kills land anywhere within the
        // cycle after 0 or 1 completed writes, however slow the disk is.
        qint64 cycleUs = 0;
        {
            std::unique_ptr<QProcess> p(Start(kind, QDir::currentPath(), "loop"));
            QElapsedTimer clock;
            QByteArray out;
            while (out.count('\n') < 1 + 10 && p->waitForReadyRead(10000)) {
                if (out.isEmpty()) clock.start();
                out += p->readAllStandardOutput();
            }
            cycleUs = qMax<qint64>(clock.nsecsElapsed() / 1000 / 10, 50);
            p->kill();
            QVERIFY(p->waitForFinished(10000));
        }
        QVERIFY(RunOnce(kind, QDir::currentPath(), 0));

        int onDisk = 0, changed = 0;
        for (int i = 0; i < kills; ++i) {
            std::unique_ptr<QProcess> p(Start(kind, QDir::currentPath(), "loop"));
            const int waitWrites = QRandomGenerator::global()->bounded(2);
            QByteArray out;
            while (out.count('\n') < 1 + waitWrites) {
                QVERIFY2(p->waitForReadyRead(10000), p->readAllStandardError());
                out += p->readAllStandardOutput();
            }
            std::this_thread::sleep_for(
                std::chrono::microseconds(QRandomGenerator::global()->bounded(cycleUs + 1)));
            ::kill(pid_t(p->processId()), SIGKILL);
            QVERIFY(p->waitForFinished(10000));
            QVERIFY2(p->exitStatus() == QProcess::CrashExit, p->readAllStandardError());

            // The last write reported done, and the one that may have been cut.
            out += p->readAllStandardOutput();
            const QList<QByteArray> lines = out.trimmed().split('\n');
            const int done = lines.last().startsWith("wrote ") ? lines.last().mid(6).toInt() : 0;
            const int allowed[2] = {done ? done : onDisk, done ? 3 - done : 1};

            const int found = int(versions.indexOf(testenv::ReadBytes(Native(target))));
            QVERIFY2(found == allowed[0] || found == allowed[1],
                     qPrintable(QString("kill %1, last done %2, file is version %3")
                                    .arg(i)
                                    .arg(done)
                                    .arg(found)));
            QCOMPARE(Strangers(target, m_known), QStringList());
            if (found != onDisk) ++changed;
            onDisk = found;
        }
        // The kills must have met the writes, not only the time before them.
        QVERIFY(changed > kills / 20);
    }
};

QTEST_GUILESS_MAIN(TestKillWrite)
#include "test_killwrite.moc"
