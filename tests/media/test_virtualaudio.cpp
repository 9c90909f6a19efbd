// The device's state machine on the virtual back end: every command, the
// mode after it, positions, lengths and the notifications, run as scripts.
#include "common/testenv.h"
#include "common/wave.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/virtualaudio.h"
#include "media/wavefile.h"

#include <QSignalSpy>
#include <QtTest>
#include <utility>

class TestVirtualAudio : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

    // Runs "cmd arg; check=value; ..." against one device, failing on the
    // first step whose outcome differs; "cmd!" must throw.
    void runScript(AudioDevice& dev, const QString& script, QList<int>& notes) {
        const auto value = [&](const QString& what) -> QString {
            if (what == "mode") return QString::number(dev.mode());
            if (what == "pos") return QString::number(dev.position());
            if (what == "len") return QString::number(dev.length());
            if (what == "err") return QString::number(dev.lastError());
            QCoreApplication::processEvents(); // "notes": those delivered since the last look
            QStringList l;
            for (int n : std::exchange(notes, {}))
                l << QString::number(n);
            return l.join(',');
        };
        const auto run = [&](const QString& cmd, const QString& a) {
            if (cmd == "open") {
                dev.setFileName(a.isEmpty() ? "two.wav" : a + ".wav");
                dev.open();
            } else if (cmd == "start")
                dev.setStartPos(a.toLongLong());
            else if (cmd == "end")
                dev.setEndPos(a.toLongLong());
            else if (cmd == "play")
                dev.play();
            else if (cmd == "rec")
                dev.startRecording();
            else if (cmd == "pause")
                dev.pause();
            else if (cmd == "stop")
                dev.stop();
            else if (cmd == "save")
                dev.save();
            else if (cmd == "close")
                dev.close();
            else if (cmd == "speed")
                dev.setSpeed(a.toInt());
            else if (cmd == "adv")
                VirtualAudio::Advance(a.toLongLong());
            else if (cmd == "noinput")
                VirtualAudio::SetInputAvailable(false);
            else
                QFAIL(qPrintable("unknown command " + cmd));
        };
        for (QString step : script.split(';', Qt::SkipEmptyParts)) {
            step = step.trimmed();
            const QString where = QStringLiteral("at step '%1'").arg(step);
            const int eq = step.indexOf('=');
            if (eq > 0) {
                const QString got = value(step.left(eq));
                QVERIFY2(got == step.mid(eq + 1), qPrintable(where + ": got " + got));
                continue;
            }
            const QStringList w = step.split(' ', Qt::SkipEmptyParts);
            const bool expectThrow = w[0].endsWith('!');
            bool threw = false;
            try {
                run(expectThrow ? w[0].chopped(1) : w[0], w.value(1));
            } catch (const DeviceError& e) {
                threw = true;
                QVERIFY2(expectThrow, qPrintable(where + ": threw " + e.text()));
                QVERIFY2(!e.text().isEmpty(), qPrintable(where));
                QCOMPARE(e.code(), dev.lastError());
            }
            QVERIFY2(threw == expectThrow, qPrintable(where + ": did not throw"));
        }
    }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = std::make_unique<testenv::CourseDir>();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        testenv::WriteBytes("two.wav", testwave::Pcm(8000, 1, 16, 16000)); // 2000 ms
        testenv::WriteBytes("empty.wav", testwave::Empty(22050, 1, 16));
        testenv::WriteBytes("r22.wav", testwave::Pcm(22050, 2, 16, 44100)); // 2000 ms
    }
    void init() { VirtualAudio::Reset(); }

    void commands_data() {
        QTest::addColumn<QString>("script");
        QTest::newRow("closed device") << "mode=0; len=0; pos=0; stop; pause; close; err=0; play!;"
                                          " err=257; rec!; save!; mode=0; notes=";
        QTest::newRow("play to the end")
            << "open; mode=1; len=2000; pos=0; play; mode=2; adv 500; pos=500; mode=2;"
               " notes=; adv 1499; pos=1999; mode=2; adv 1; mode=1;"
               " pos=2000; notes=1";
        QTest::newRow("rewinds at the end") << "open; play; adv 2000; notes=1; play; mode=2;"
                                               " pos=0; adv 100; pos=100";
        QTest::newRow("range, then forgotten")
            << "open; start 500; end 800; play; pos=500; adv 200; pos=700; adv 200; pos=800;"
               " mode=1; notes=1; play; pos=800; adv 1200; pos=2000; notes=1";
        QTest::newRow("stop aborts") << "open; play; adv 300; stop; mode=1; pos=300; notes=4;"
                                        " stop; notes=; play; pos=300; mode=2";
        QTest::newRow("superseded by a newer play")
            << "open; play; adv 100; start 1000; play; notes=2; pos=1000; adv 1000; notes=1";
        QTest::newRow("pause and continue play")
            << "open; play; adv 400; pause; mode=5; adv 1000; pos=400; notes=; play; mode=2;"
               " notes=2; adv 100; pos=500; adv 1500; notes=1";
        QTest::newRow("pause when stopped") << "open; pause; mode=1; play; adv 10; pause; pause;"
                                               " mode=5; stop; mode=1; notes=4";
        QTest::newRow("end before start") << "open; start 800; end 300; play; mode=1; pos=800;"
                                             " notes=1";
        QTest::newRow("start beyond the sound")
            << "open; start 5000; play; mode=1; pos=2000; notes=1";
        QTest::newRow("end beyond the sound")
            << "open; start 1900; end 99999; play; adv 150; mode=1; pos=2000; notes=1";
        QTest::newRow("close drops the pending notification")
            << "open; play; adv 100; close; mode=0; len=0; pos=0; notes=; open; pos=0; mode=1";
        QTest::newRow("record into the empty template")
            << "open empty; len=0; rec; mode=3; adv 700; len=700; pos=700; pause; mode=5;"
               " adv 500; len=700; rec; mode=3; notes=2; adv 300; len=1000; stop; mode=1;"
               " notes=4; len=1000";
        QTest::newRow("record up to the end position")
            << "open empty; start 0; end 1500; rec; adv 1000; mode=3; adv 600; mode=1;"
               " len=1500; pos=1500; notes=1; rec; adv 100; len=1600";
        QTest::newRow("record from a start replaces what follows")
            << "open; start 500; rec; len=500; adv 200; len=700; pos=700; stop; len=700";
        QTest::newRow("play supersedes a recording")
            << "open empty; rec; adv 400; play; mode=2; pos=0; notes=2; adv 400; mode=1; notes=1";
        QTest::newRow("no microphone") << "noinput; open; rec!; err=321; mode=1; play; err=0;"
                                          " mode=2";
        QTest::newRow("reopen another file")
            << "open; play; adv 100; open r22; mode=1; pos=0; len=2000; notes=";
        QTest::newRow("sample-exact ranges")
            << "open r22; start 1000; end 1001; play; pos=1000; adv 1; mode=1; notes=1;"
               " start 3; end 10; play; adv 6; mode=2; pos=9; adv 1; pos=10; mode=1";
        // Slowed: the clock is the listener's, positions stay the recording's.
        QTest::newRow("a range at 60 % lasts its length / 0.6")
            << "open; speed 60; start 500; end 1100; play; adv 500; pos=800; adv 499; mode=2;"
               " notes=; adv 1; mode=1; pos=1100; notes=1";
        QTest::newRow("pause, continue and stop at 60 %")
            << "open; speed 60; play; adv 500; pause; pos=300; adv 1000; pos=300; play; notes=2;"
               " adv 1000; pos=900; stop; pos=900; notes=4";
        QTest::newRow("speed changed while playing: one command, one notification")
            << "open; play; adv 200; speed 50; mode=2; pos=200; adv 400; pos=400; notes=;"
               " speed 100; adv 1599; mode=2; adv 1; pos=2000; mode=1; notes=1";
        QTest::newRow("a recording keeps the clock's pace")
            << "open empty; speed 50; rec; adv 700; len=700; stop; play; adv 350; pos=175";
    }
    void commands() {
        QFETCH(QString, script);
        AudioDevice dev;
        QList<int> notes;
        connect(&dev, &AudioDevice::notify, this, [&notes](int v) { notes << v; });
        runScript(dev, script, notes);
    }

    // The clock moves every device, and notifications come only through the
    // event loop, each from its own device.
    void twoDevices() {
        AudioDevice a, b;
        QSignalSpy sa(&a, &AudioDevice::notify), sb(&b, &AudioDevice::notify);
        a.setFileName("two.wav");
        b.setFileName("empty.wav");
        a.open();
        b.open();
        a.play();
        b.startRecording();
        VirtualAudio::Advance(2000);
        QCOMPARE(a.mode(), AudioDevice::Stopped);
        QCOMPARE(sa.count(), 0); // queued, not yet delivered
        QCoreApplication::processEvents();
        QCOMPARE(sa.count(), 1);
        QCOMPARE(sa.at(0).at(0).toInt(), int(AudioDevice::Successful));
        QCOMPARE(sb.count(), 0);
        QCOMPARE(b.length(), qint64(2000));
    }

    // A device closed by its own notification handler, the way windows do.
    void closeFromNotification() {
        AudioDevice dev;
        int calls = 0;
        connect(&dev, &AudioDevice::notify, this, [&] {
            ++calls;
            dev.close();
        });
        dev.setFileName("two.wav");
        dev.open();
        dev.play();
        VirtualAudio::Advance(2500);
        QTest::qWait(0);
        QCOMPARE(calls, 1);
        QCOMPARE(dev.mode(), AudioDevice::NotReady);
    }

    void saveRecording_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("recordMs");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::newRow("template 22050 mono") << "empty.wav" << qint64(3000) << 22050 << 1;
        QTest::newRow("stereo file") << "r22.wav" << qint64(1250) << 22050 << 2;
    }
    void saveRecording() {
        QFETCH(QString, file);
        QFETCH(qint64, recordMs);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFile::remove("learner.wav");
        QFile::copy(file, "learner.wav");
        {
            AudioDevice rec;
            rec.setFileName("learner.wav");
            rec.open();
            rec.setStartPos(0);
            rec.startRecording();
            VirtualAudio::Advance(recordMs);
            rec.stop();
            rec.save();
            rec.close();
        }
        const WaveInfo w = ProbeWave("learner.wav");
        QCOMPARE(w.rate, rate);
        QCOMPARE(w.channels, channels);
        QCOMPARE(w.frames, MsToFrames(recordMs, rate));
        AudioDevice again;
        again.setFileName("learner.wav");
        again.open();
        QCOMPARE(again.length(), recordMs);
    }

    // Saving where it cannot be written keeps the old file and says why.
    void saveFailureKeepsOld() {
        QDir().mkpath("ro");
        testenv::WriteBytes("ro/keep.wav", testwave::Pcm(8000, 1, 16, 800));
        const QByteArray before = testenv::ReadBytes("ro/keep.wav");
        AudioDevice rec;
        rec.setFileName("ro/keep.wav");
        rec.open();
        rec.startRecording();
        VirtualAudio::Advance(300);
        rec.setFileName("no-such-dir/keep.wav");
        QVERIFY_THROWS_EXCEPTION(VError, rec.save());
        QVERIFY(rec.lastError() != 0);
        QCOMPARE(testenv::ReadBytes("ro/keep.wav"), before);
        rec.setFileName("ro/keep.wav");
        rec.save();
        QCOMPARE(rec.lastError(), 0);
        QCOMPARE(ProbeWave("ro/keep.wav").frames, qint64(2400));
    }

    // Save without recording writes the open sound unchanged.
    void saveWithoutRecording() {
        AudioDevice dev;
        dev.setFileName("two.wav");
        dev.open();
        dev.setFileName("copy.wav");
        dev.save();
        QCOMPARE(testenv::ReadBytes("copy.wav"), testenv::ReadBytes("two.wav"));
    }
};

QTEST_MAIN(TestVirtualAudio)
#include "test_virtualaudio.moc"
