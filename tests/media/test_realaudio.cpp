// The sound card back end against a real sound server (PulseAudio's null
// sink and source in CI). Skipped cleanly where no server answers.
#include "common/testenv.h"
#include "common/wave.h"
#include "main/eng_dlgtestfullduplex.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/wavefile.h"

#include <memory>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <sndfile.h>

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
    std::unique_ptr<testenv::CourseDir> m_dir;
    bool m_haveOutput = false, m_haveInput = false;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = std::make_unique<testenv::CourseDir>();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        m_haveOutput = !QMediaDevices::defaultAudioOutput().isNull();
        m_haveInput = !QMediaDevices::defaultAudioInput().isNull();
        if (!m_haveOutput) QSKIP("no sound server answers: no output device");
        testenv::WriteBytes("two.wav", testwave::Pcm(44100, 2, 16, 88200)); // 2000 ms
        testenv::WriteBytes("TSBegin.wav", testwave::Empty(22050, 1, 16));
        testenv::WriteBytes("Null.wav", testwave::Pcm(22050, 1, 16, 11025));
        testenv::WriteBytes("NullRec.wav", testwave::Empty(22050, 1, 16));
        // A sound server idling with a long block (the null sink renders 2 s
        // at a time) takes that long for its first stream; the device keeps
        // the output awake from then on.
        AudioDevice warm;
        QSignalSpy spy(&warm, &AudioDevice::notify);
        warm.setFileName("Null.wav");
        warm.open();
        warm.play();
        QVERIFY(spy.wait(5000));
    }

    // A range plays to the end notification in its length / speed; the
    // position is what has been heard: it starts soon, never goes back, never
    // runs ahead of the clock and keeps pace with it.
    void playsInRealTime_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<qint64>("from");
        QTest::addColumn<qint64>("to");
        QTest::newRow("whole file, full speed") << 100 << qint64(0) << qint64(2000);
        QTest::newRow("a range at 60 %") << 60 << qint64(300) << qint64(1500);
    }
    void playsInRealTime() {
        QFETCH(int, speed);
        QFETCH(qint64, from);
        QFETCH(qint64, to);
        const double rate = speed / 100.0;
        AudioDevice dev;
        QSignalSpy spy(&dev, &AudioDevice::notify);
        dev.setFileName("two.wav");
        dev.open();
        dev.setSpeed(speed);
        if (from > 0) dev.setStartPos(from);
        if (to < 2000) dev.setEndPos(to);
        QElapsedTimer clock;
        QList<QPair<qint64, qint64>> samples; // wall ms, position ms
        clock.start();
        dev.play();
        QCOMPARE(dev.mode(), AudioDevice::Playing);
        while (spy.isEmpty() && clock.elapsed() < 5000) {
            const qint64 pos = dev.position();
            const double heardBy = double(from) + double(clock.nsecsElapsed()) / 1e6 * rate;
            QVERIFY2(double(pos) <= heardBy + 1,
                     qPrintable(QStringLiteral("at %1 ms, %2 heard by now").arg(pos).arg(heardBy)));
            samples.append({clock.elapsed(), pos});
            QTest::qWait(5);
        }
        const qint64 span = clock.elapsed();
        QCOMPARE(WaitNotify(spy, 0), int(AudioDevice::Successful));
        const qint64 want = qint64((to - from) / rate);
        // The whole file may end a little late (the server's block); a range ends on time.
        QVERIFY2(span >= want - (to < 2000 ? 50 : 0) && span <= want + (to < 2000 ? 50 : 200),
                 qPrintable(QStringLiteral("%1 ms, %2 wanted").arg(span).arg(want)));
        QCOMPARE(dev.position(), to);
        QCOMPARE(dev.mode(), AudioDevice::Stopped);

        qint64 firstMove = -1;
        for (int i = 1; i < samples.size(); ++i) {
            QVERIFY2(samples[i].second >= samples[i - 1].second,
                     qPrintable(QStringLiteral("went back at %1 ms").arg(samples[i].first)));
            if (firstMove < 0 && samples[i].second > from) firstMove = samples[i].first;
        }
        QVERIFY2(firstMove >= 0 && firstMove <= 150, qPrintable(QString::number(firstMove)));
        // Pace between a quarter and nine tenths of the play.
        QPair<qint64, qint64> a{-1, 0}, b{-1, 0};
        for (const auto& s : samples) {
            if (a.first < 0 && s.first >= want / 4) a = s;
            if (s.first <= want * 9 / 10) b = s;
        }
        QVERIFY(a.first >= 0 && b.first > a.first + want / 2);
        const double pace = double(b.second - a.second) / double(b.first - a.first) / rate;
        QVERIFY2(pace > 0.97 && pace < 1.03, qPrintable(QString::number(pace)));
    }

    // A window closed while its voice plays destroys the device mid-play:
    // nothing of it may reach the next play (no stale queued events, no hang).
    void goneWhilePlaying_data() {
        QTest::addColumn<int>("speed");
        QTest::newRow("full speed") << 100;
        QTest::newRow("60 %") << 60;
    }
    void goneWhilePlaying() {
        QFETCH(int, speed);
        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler before =
            qInstallMessageHandler([](QtMsgType t, const QMessageLogContext&, const QString& m) {
                if (t != QtDebugMsg && t != QtInfoMsg) warnings << m;
            });
        {
            auto dev = std::make_unique<AudioDevice>();
            dev->setFileName("two.wav");
            dev->open();
            dev->setSpeed(speed);
            dev->play();
            QTest::qWait(300);
        }
        QTest::qWait(100);
        AudioDevice next;
        QSignalSpy spy(&next, &AudioDevice::notify);
        next.setFileName("two.wav");
        next.open();
        next.setSpeed(speed);
        next.setStartPos(100);
        next.setEndPos(400);
        next.play();
        const int outcome = WaitNotify(spy, 3000);
        qInstallMessageHandler(before);
        QCOMPARE(outcome, int(AudioDevice::Successful));
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join('\n')));
    }

    // Encodings and rates other than the device's play a range to its end
    // (each encoding's decoding is the wave reader's test).
    void playsEveryEncoding_data() {
        QTest::addColumn<int>("subtype");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("pcm8 11025 mono") << int(SF_FORMAT_PCM_U8) << 11025 << 1;
        QTest::newRow("pcm16 48000 stereo") << int(SF_FORMAT_PCM_16) << 48000 << 2;
        QTest::newRow("ms adpcm 11025 stereo") << int(SF_FORMAT_MS_ADPCM) << 11025 << 2;
    }
    void playsEveryEncoding() {
        QFETCH(int, subtype);
        QFETCH(int, rate);
        QFETCH(int, channels);
        testenv::WriteBytes("enc.wav", testwave::Snd(SF_FORMAT_WAV, subtype, rate, channels, rate));
        AudioDevice dev;
        QSignalSpy spy(&dev, &AudioDevice::notify);
        dev.setFileName("enc.wav");
        dev.open();
        dev.setStartPos(100);
        dev.setEndPos(400);
        QElapsedTimer clock;
        clock.start();
        dev.play();
        QCOMPARE(WaitNotify(spy, 3000), int(AudioDevice::Successful));
        QVERIFY2(clock.elapsed() >= 280 && clock.elapsed() < 800,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(dev.position(), qint64(400));
    }

    // Stop ends the play with Aborted where it was; play goes on from there.
    void stopAndContinue() {
        AudioDevice dev;
        QSignalSpy spy(&dev, &AudioDevice::notify);
        dev.setFileName("two.wav");
        dev.open();
        dev.play();
        QTest::qWait(400);
        dev.stop();
        QCOMPARE(dev.mode(), AudioDevice::Stopped);
        const qint64 at = dev.position();
        QVERIFY2(at > 200 && at < 600, qPrintable(QString::number(at)));
        QCOMPARE(WaitNotify(spy, 1000), int(AudioDevice::Aborted));
        QTest::qWait(100);
        QCOMPARE(dev.position(), at);
        dev.pause();
        QCOMPARE(dev.mode(), AudioDevice::Stopped);
        dev.play();
        // Play starts from there at once; on a slow machine (sanitizers) the
        // first milliseconds may already be heard when play() returns.
        const qint64 resumed = dev.position();
        QVERIFY2(resumed >= at && resumed <= at + 30, qPrintable(QString::number(resumed - at)));
        QTest::qWait(200);
        dev.pause();
        QCOMPARE(dev.mode(), AudioDevice::Paused);
        QVERIFY(dev.position() > at);
        dev.close();
        QCOMPARE(dev.mode(), AudioDevice::NotReady);
    }

    // A 3 s recording, saved and opened again, is 3 s long; while it runs the
    // temporary file is a valid wave file.
    void recordAndSave() {
        if (!m_haveInput) QSKIP("no input device");
        QFile::remove("learner.wav");
        QVERIFY(QFile::copy("TSBegin.wav", "learner.wav"));
        AudioDevice rec;
        QSignalSpy spy(&rec, &AudioDevice::notify);
        rec.setFileName("learner.wav");
        rec.open();
        QCOMPARE(rec.length(), qint64(0));
        QElapsedTimer clock;
        rec.setStartPos(0);
        rec.startRecording();
        clock.start();
        QCOMPARE(rec.mode(), AudioDevice::Recording);
        QTest::qWait(1000);
        const QStringList temps = TempRecordings();
        QCOMPARE(temps.size(), 1);
        const WaveInfo partial = ProbeWave(temps[0]);
        QCOMPARE(partial.rate, 22050);
        QVERIFY(partial.frames > 0);
        QVERIFY(rec.position() > 700);
        while (clock.elapsed() < 3000)
            QTest::qWait(1);
        rec.stop();
        QCOMPARE(WaitNotify(spy, 1000), int(AudioDevice::Aborted));
        rec.save();
        rec.close();
        QVERIFY(TempRecordings().isEmpty());
        const WaveInfo w = ProbeWave("learner.wav");
        QCOMPARE(w.rate, 22050);
        QCOMPARE(w.channels, 1);
        const qint64 ms = FramesToMs(w.frames, w.rate);
        QVERIFY2(qAbs(ms - 3000) <= 60, qPrintable(QString::number(ms)));
    }

    // The end position ends the recording at exactly that length.
    void recordToEndPos() {
        if (!m_haveInput) QSKIP("no input device");
        QFile::copy("TSBegin.wav", "short.wav");
        AudioDevice rec;
        QSignalSpy spy(&rec, &AudioDevice::notify);
        rec.setFileName("short.wav");
        rec.open();
        rec.setStartPos(0);
        rec.setEndPos(500);
        rec.startRecording();
        QCOMPARE(WaitNotify(spy, 2000), int(AudioDevice::Successful));
        QCOMPARE(rec.mode(), AudioDevice::Stopped);
        QCOMPARE(rec.length(), qint64(500));
        rec.save();
        QCOMPARE(ProbeWave("short.wav").frames, qint64(11025));
    }

    // Pause and continue of a recording adds to it; the pause is not recorded.
    void recordPauseContinue() {
        if (!m_haveInput) QSKIP("no input device");
        QFile::copy("TSBegin.wav", "paused.wav");
        AudioDevice rec;
        QSignalSpy spy(&rec, &AudioDevice::notify);
        rec.setFileName("paused.wav");
        rec.open();
        rec.startRecording();
        QTest::qWait(500);
        rec.pause();
        QCOMPARE(rec.mode(), AudioDevice::Paused);
        const qint64 first = rec.length();
        QTest::qWait(400);
        QCOMPARE(rec.length(), first);
        rec.startRecording();
        QCOMPARE(WaitNotify(spy, 500), int(AudioDevice::Superseded));
        QTest::qWait(500);
        rec.stop();
        QVERIFY2(qAbs(rec.length() - 1000) <= 80, qPrintable(QString::number(rec.length())));
    }

    void fullDuplex() {
        if (!m_haveInput) QSKIP("no input device");
        AudioDevice player, rec;
        player.setFileName("two.wav");
        rec.setFileName("NullRec.wav");
        player.open();
        rec.open();
        player.play();
        rec.startRecording();
        QCOMPARE(player.mode(), AudioDevice::Playing);
        QCOMPARE(rec.mode(), AudioDevice::Recording);
        QTest::qWait(300);
        QVERIFY(player.position() > 100);
        QVERIFY(rec.length() > 100);
        player.stop();
        rec.stop();
        player.close();
        rec.close();
        QVERIFY(RunDuplexTest());
        // The check leaves no recording behind and does not touch NullRec.wav.
        QCOMPARE(testenv::ReadBytes("NullRec.wav"), testwave::Empty(22050, 1, 16));
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
        testenv::WriteBytes("rec.wav", testwave::Empty(22050, 1, 16));
        {
            AudioDevice rec;
            QSignalSpy spy(&rec, &AudioDevice::notify);
            rec.setFileName("rec.wav");
            rec.open();
            rec.startRecording();
            QCOMPARE(WaitNotify(spy, 6000), int(AudioDevice::Failure));
            QCOMPARE(rec.mode(), AudioDevice::Stopped);
            QCOMPARE(rec.lastError(), int(ErrDiskFull));
            QCOMPARE(rec.lastErrorText(), QStringLiteral("Disk full"));
            QVERIFY(rec.length() > 500);
            const QStringList temps = TempRecordings();
            QCOMPARE(temps.size(), 1);
            QVERIFY(ProbeWave(temps[0]).frames > 0);
            // No room for the saved copy: the old file stays as it was.
            bool threw = false;
            try {
                rec.save();
            } catch (const VError&) {
                threw = true;
            }
            QVERIFY(threw);
            QCOMPARE(testenv::ReadBytes("rec.wav"), testwave::Empty(22050, 1, 16));
            rec.close();
            QCOMPARE(TempRecordings().size(), 1); // unsaved: left to be rescued
        }
    }
};

QTEST_MAIN(TestRealAudio)
#include "test_realaudio.moc"
