// The sound card back end against a real sound server (PulseAudio's null
// sink and source in CI). Skipped cleanly where no server answers.
#include "common/testenv.h"
#include "common/wave.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/support_media.h"
#include "media/wavefile.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Waits for the device's next notification; returns it, or 0 on timeout.
int WaitNotify(QSignalSpy& spy, int timeoutMs) {
    if (spy.isEmpty() && !spy.wait(timeoutMs)) return 0;
    return spy.takeFirst().at(0).toInt();
}

QStringList TempRecordings() {
    return QDir::current().entryList({"vantrel-rec-*.tmp"}, QDir::Files);
}

} // namespace

class TestRealAudio : public QObject {
    Q_OBJECT
    MediaTestDir m_dir{AudioDevice::Backend::Real};
    bool m_haveInput = false;

private Q_SLOTS:
    void initTestCase() {
        m_haveInput = !QMediaDevices::defaultAudioInput().isNull();
        if (QMediaDevices::defaultAudioOutput().isNull())
            QSKIP("no sound server answers: no output device");
        testenv::WriteBytes("two.wav", testwave::Pcm(44100, 2, 16, 88200)); // 2000 ms
        // A sound server idling with a long block (the null sink renders 2 s
        // at a time) takes that long for its first stream; the device keeps
        // the output awake from then on.
        AudioDevice warm;
        QSignalSpy spy(&warm, &AudioDevice::notify);
        warm.setFileName("two.wav");
        warm.open();
        warm.setEndPos(500);
        warm.play();
        QVERIFY(spy.wait(5000));
    }

    // A range plays to the end notification in its length / speed; the
    // position is what has been heard: it starts soon, never goes back, never
    // runs ahead of the clock. A device destroyed
    // mid-play just before (a window closed while its voice plays) leaves
    // nothing behind for it: no stale queued event, no warning, no hang.
    void playsInRealTime() {
        const int speed = 60;
        const double rate = speed / 100.0;
        const qint64 from = 300, to = 1500, want = qint64((to - from) / rate);
        static QStringList warnings;
        const QtMessageHandler before =
            qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&, const QString& m) {
                if (t != QtDebugMsg && t != QtInfoMsg) warnings << m;
            });
        {
            AudioDevice gone;
            gone.setFileName("two.wav");
            gone.open();
            gone.setSpeed(speed);
            gone.play();
            QTest::qWait(300);
        }
        QTest::qWait(100);
        AudioDevice dev;
        QSignalSpy spy(&dev, &AudioDevice::notify);
        dev.setFileName("two.wav");
        dev.open();
        dev.setSpeed(speed);
        dev.setStartPos(from);
        dev.setEndPos(to);
        QElapsedTimer clock;
        clock.start();
        dev.play();
        QCOMPARE(dev.mode(), AudioDevice::Playing);
        qint64 last = from, firstMove = -1; // wall time of the first moving sample
        while (spy.isEmpty() && clock.elapsed() < 5000) {
            const qint64 pos = dev.position(), at = clock.elapsed();
            const double heardBy = double(from) + double(clock.nsecsElapsed()) / 1e6 * rate;
            QVERIFY2(double(pos) <= heardBy + 1 && pos >= last,
                     qPrintable(QStringLiteral("at %1 ms after %2, %3 heard by now")
                                    .arg(pos)
                                    .arg(last)
                                    .arg(heardBy)));
            if (firstMove < 0 && pos > from) firstMove = at;
            last = pos;
            QTest::qWait(5);
        }
        const qint64 span = clock.elapsed();
        qInstallMessageHandler(before);
        QCOMPARE(WaitNotify(spy, 0), int(AudioDevice::Successful));
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
        QVERIFY2(qAbs(span - want) <= 50,
                 qPrintable(QStringLiteral("%1 ms, %2 wanted").arg(span).arg(want)));
        QCOMPARE(dev.position(), to);
        QCOMPARE(dev.mode(), AudioDevice::Stopped);
        QVERIFY2(firstMove >= 0 && firstMove <= 150, qPrintable(QString::number(firstMove)));
    }

    // A recording runs in real time, paused without recording the pause,
    // continued up to an end position that ends it exactly there.
    void recordPauseToEnd() {
        if (!m_haveInput) QSKIP("no input device");
        testenv::WriteBytes("learner.wav", testwave::Empty(22050, 1, 16));
        AudioDevice rec;
        QSignalSpy spy(&rec, &AudioDevice::notify);
        rec.setFileName("learner.wav");
        rec.open();
        QElapsedTimer clock;
        clock.start();
        rec.startRecording();
        QCOMPARE(rec.mode(), AudioDevice::Recording);
        QTest::qWait(1000);
        rec.pause();
        const qint64 first = rec.length();
        QVERIFY2(first > 700 && first < 1300, qPrintable(QString::number(first)));
        QTest::qWait(400);
        QCOMPARE(rec.length(), first);
        rec.setEndPos(3000);
        rec.startRecording();
        QCOMPARE(WaitNotify(spy, 500), int(AudioDevice::Superseded));
        QCOMPARE(WaitNotify(spy, 4000), int(AudioDevice::Successful));
        const qint64 wall = clock.elapsed() - 400; // heard: the 3 s recorded
        QVERIFY2(qAbs(wall - 3000) <= 200, qPrintable(QString::number(wall)));
        QCOMPARE(rec.length(), qint64(3000));
        rec.save();
        rec.close();
        QVERIFY(TempRecordings().isEmpty());
        QCOMPARE(ProbeWave("learner.wav").frames, MsToFrames(3000, 22050));
    }

    // A full disk stops the recording with "Disk full" and keeps what was
    // recorded in a valid wave file.
    void diskFull() {
        if (!m_haveInput) QSKIP("no input device");
        QDir().mkpath("small");
        const QString dir = QDir::current().absoluteFilePath("small");
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir}) != 0)
            QSKIP("a small file system cannot be mounted here");
        struct Unmount {
            QString d, old;
            ~Unmount() {
                QDir::setCurrent(old);
                QProcess::execute("umount", {d});
            }
        } unmount{dir, QDir::currentPath()};
        QDir::setCurrent(dir);
        const QByteArray old = testwave::Empty(22050, 1, 16);
        testenv::WriteBytes("rec.wav", old);
        AudioDevice rec;
        QSignalSpy spy(&rec, &AudioDevice::notify);
        rec.setFileName("rec.wav");
        rec.open();
        rec.startRecording();
        QCOMPARE(WaitNotify(spy, 6000), int(AudioDevice::Failure));
        QCOMPARE(rec.lastError(), int(ErrDiskFull));
        QVERIFY(rec.length() > 500);
        QCOMPARE(TempRecordings().size(), 1);
        QVERIFY(ProbeWave(TempRecordings()[0]).frames > 0);
        // No room for the saved copy: the old file stays as it was.
        QVERIFY_THROWS_EXCEPTION(VError, rec.save());
        QCOMPARE(testenv::ReadBytes("rec.wav"), old);
        rec.close();
        QCOMPARE(TempRecordings().size(), 1); // unsaved: left to be rescued
    }
};

QTEST_MAIN(TestRealAudio)
#include "test_realaudio.moc"
