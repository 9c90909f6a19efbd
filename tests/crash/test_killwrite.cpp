// Kills a process with SIGKILL at random moments while it writes a learner's
// files through each of the program's writers: every kill must leave the old or the
// new complete file (byte for byte one of the versions written whole).
#include "base/paths.h"
#include "common/testenv.h"
#include "media/audiodevice.h"

#include <chrono>
#include <csignal>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <thread>

namespace {

// Names in the target's folder other than the files we know. A kill between
// the save file's link and rename may leave a complete copy named after one
// of our files plus ".XXXXXX" (removed at the next start); anything else is returned.
QStringList Strangers(const QString& target, const QStringList& known) {
    QStringList out;
    const QDir dir = QFileInfo(NativePath(target)).dir();
    for (const QString& n : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
        if (!known.contains(n) && !(known.contains(n.left(n.size() - 7)) && n[n.size() - 7] == '.'))
            out << n;
    return out;
}

std::unique_ptr<QProcess> Start(const QString& kind, const QString& dir, const QString& what) {
    auto p = std::make_unique<QProcess>();
    p->start(CRASH_WRITER, {kind, dir, what});
    return p;
}

// Runs the writer once for version `v` in `dir`; true when it ended well.
bool RunOnce(const QString& kind, const QString& dir, int v) {
    std::unique_ptr<QProcess> p = Start(kind, dir, QString::number(v));
    const bool ok =
        p->waitForFinished(20000) && p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    if (!ok) qWarning() << p->readAllStandardError();
    return ok;
}

} // namespace

class TestKillWrite : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_course;
    QStringList m_known; // what the course folder and the learner's folder hold

private slots:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        m_course = std::make_unique<testenv::CourseDir>();
        m_known = {"Users.eng", "Report", "TSBegin.wav", "Ann5.wav", "Ann5.txt"};
    }

    void killWhileWriting_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("target");
        // Users.eng and the progress files share one writer, tested here with Users.eng.
        QTest::newRow("Users.eng") << "users" << QString("Users.eng");
        QTest::newRow("recording") << "recording" << QString("Report/Ann/Ann5.wav");
        QTest::newRow("learner timing file") << "timing" << QString("Report/Ann/Ann5.txt");
    }

    void killWhileWriting() {
        QFETCH(QString, kind);
        QFETCH(QString, target);
        const int asked = qEnvironmentVariableIntValue("VANTREL_CRASH_KILLS");
        const int kills = asked > 0 ? asked : 200;
        QList<QByteArray> versions;
        for (int v = 0; v < 3; ++v) {
            QTemporaryDir ref;
            QVERIFY(RunOnce(kind, ref.path(), v));
            versions << testenv::ReadBytes(ref.filePath(NativePath(target)));
        }
        QVERIFY(!versions.contains(QByteArray()));
        QCOMPARE(QSet<QByteArray>(versions.begin(), versions.end()).size(), 3);
        // One write cycle on this machine now; kills land anywhere within the
        // cycle after 0 or 1 completed writes, however slow the disk is.
        std::unique_ptr<QProcess> probe = Start(kind, QDir::currentPath(), "loop");
        QElapsedTimer clock;
        QByteArray out;
        while (out.count('\n') < 1 + 10 && probe->waitForReadyRead(10000)) {
            if (out.isEmpty()) clock.start();
            out += probe->readAllStandardOutput();
        }
        const qint64 cycleUs = qMax<qint64>(clock.nsecsElapsed() / 1000 / 10, 50);
        probe->kill();
        QVERIFY(probe->waitForFinished(10000));
        QVERIFY(RunOnce(kind, QDir::currentPath(), 0));

        int onDisk = 0, changed = 0;
        for (int i = 0; i < kills; ++i) {
            std::unique_ptr<QProcess> p = Start(kind, QDir::currentPath(), "loop");
            const int waitWrites = QRandomGenerator::global()->bounded(2);
            out.clear();
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

            const int found = int(versions.indexOf(testenv::ReadBytes(NativePath(target))));
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
