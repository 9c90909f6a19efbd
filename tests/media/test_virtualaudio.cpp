// The device's state machine on the virtual back end: every command, the
// mode after it, positions, lengths, saving and the notifications, run as
// scripts. And the full-duplex check and its dialog on it.
#include "common/testenv.h"
#include "common/wave.h"
#include "main/eng_dlgtestfullduplex.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/support_media.h"
#include "media/virtualaudio.h"
#include "media/wavefile.h"

#include <functional>
#include <QPushButton>
#include <QtTest>
#include <utility>

class TestVirtualAudio : public QObject {
    Q_OBJECT
    MediaTestDir m_dir{AudioDevice::Backend::Virtual};

    // Runs "cmd arg; check=value; ..." against one device, failing on the
    // first step whose outcome differs; "cmd!" must throw.
    void runScript(AudioDevice& dev, const QString& script, QList<int>& notes) {
        const auto value = [&](const QString& what) -> QString {
            if (what == "mode") return QString::number(dev.mode());
            if (what == "pos") return QString::number(dev.position());
            if (what == "len") return QString::number(dev.length());
            if (what == "err") return QString::number(dev.lastError());
            if (what == "size") return QString::number(QFileInfo(dev.fileName()).size());
            if (what == "wave") { // of the file named: rate/channels/frames
                const WaveInfo w = ProbeWave(dev.fileName());
                return QStringLiteral("%1/%2/%3").arg(w.rate).arg(w.channels).arg(w.frames);
            }
            QCoreApplication::processEvents(); // "notes": those delivered since the last look
            QStringList l;
            for (int n : std::exchange(notes, {}))
                l << QString::number(n);
            return l.join(',');
        };
        using A = const QString&;
        const QHash<QString, std::function<void(A)>> commands{
            {"open", [&](A) { dev.open(); }},
            {"name", [&](A a) { dev.setFileName(a + ".wav"); }},
            {"start", [&](A a) { dev.setStartPos(a.toLongLong()); }},
            {"end", [&](A a) { dev.setEndPos(a.toLongLong()); }},
            {"play", [&](A) { dev.play(); }},
            {"rec", [&](A) { dev.startRecording(); }},
            {"pause", [&](A) { dev.pause(); }},
            {"stop", [&](A) { dev.stop(); }},
            {"save", [&](A) { dev.save(); }},
            {"close", [&](A) { dev.close(); }},
            {"speed", [&](A a) { dev.setSpeed(a.toInt()); }},
            {"adv", [&](A a) { VirtualAudio::Advance(a.toLongLong()); }},
            {"noinput", [&](A) { VirtualAudio::SetInputAvailable(false); }}};
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
            const auto command = commands.value(expectThrow ? w[0].chopped(1) : w[0]);
            QVERIFY2(command, qPrintable(where + ": no such command"));
            const auto e = testenv::Thrown<VError>([&] { command(w.value(1)); });
            QVERIFY2(bool(e) == expectThrow, qPrintable(where + ": " + (e ? e->text() : "none")));
            QVERIFY2(!e || dev.lastError() != 0, qPrintable(where + ": no error code"));
        }
    }

private Q_SLOTS:
    void init() {
        VirtualAudio::Reset();
        testenv::WriteBytes("two.wav", testwave::Pcm(8000, 1, 16, 16000)); // 2000 ms
        testenv::WriteBytes("empty.wav", testwave::Empty(22050, 1, 16));
        testenv::WriteBytes("r22.wav", testwave::Pcm(22050, 2, 16, 44100)); // 2000 ms
        testenv::WriteBytes("Null.wav", testwave::Pcm(22050, 1, 16, 11025));
        testenv::WriteBytes("NullRec.wav", testwave::Empty(22050, 1, 16));
    }

    void commands_data() {
        QTest::addColumn<QString>("script");
        QTest::newRow("closed device") << "mode=0; len=0; pos=0; stop; pause; close; err=0; play!;"
                                          " err=257; rec!; save!; mode=0; notes=";
        QTest::newRow("play to the end, then from the start")
            << "open; len=2000; play; adv 1999; pos=1999; mode=2; notes=; adv 1; mode=1;"
               " pos=2000; notes=1; play; adv 100; pos=100";
        QTest::newRow("range, then forgotten")
            << "open; start 500; end 800; play; adv 300; mode=1; pos=800; notes=1; play;"
               " adv 1200; pos=2000; notes=1";
        QTest::newRow("stop aborts") << "open; play; adv 300; stop; mode=1; pos=300; notes=4;"
                                        " stop; notes=; play; pos=300";
        QTest::newRow("superseded by a newer play")
            << "open; play; adv 100; start 1000; play; notes=2; pos=1000; adv 1000; notes=1";
        QTest::newRow("pause and continue play")
            << "open; play; adv 400; pause; mode=5; adv 1000; pos=400; play; notes=2; adv 100;"
               " pos=500; adv 1500; notes=1";
        QTest::newRow("pause when stopped") << "open; pause; mode=1; play; adv 10; pause; pause;"
                                               " mode=5; stop; mode=1; notes=4";
        QTest::newRow("end before start") << "open; start 800; end 300; play; mode=1; pos=800;"
                                             " notes=1";
        QTest::newRow("start or end beyond the sound")
            << "open; start 5000; play; mode=1; pos=2000; notes=1; start 1900; end 99999; play;"
               " adv 150; mode=1; pos=2000; notes=1";
        QTest::newRow("close drops the pending notification")
            << "open; play; adv 100; close; mode=0; len=0; notes=; open; pos=0";
        QTest::newRow("record into the empty template")
            << "name empty; open; rec; adv 700; pos=700; pause; mode=5; adv 500; len=700; rec;"
               " notes=2; adv 300; stop; mode=1; notes=4; len=1000; save; close; open; len=1000;"
               " wave=22050/1/22050";
        QTest::newRow("record up to the end position")
            << "name empty; open; start 0; end 1500; rec; adv 1000; mode=3; adv 600; mode=1;"
               " len=1500; notes=1; rec; adv 100; len=1600";
        QTest::newRow("record from a start replaces what follows, saved in the file's format")
            << "name r22; open; start 500; rec; adv 750; len=1250; save; open; len=1250;"
               " wave=22050/2/27562";
        QTest::newRow("play supersedes a recording")
            << "name empty; open; rec; adv 400; play; notes=2; adv 400; mode=1; notes=1";
        QTest::newRow("no microphone") << "noinput; open; rec!; err=321; mode=1; play; err=0;"
                                          " mode=2";
        QTest::newRow("reopen another file")
            << "open; play; adv 100; name r22; open; mode=1; pos=0; len=2000; notes=";
        QTest::newRow("sample-exact ranges")
            << "name r22; open; start 1000; end 1001; play; pos=1000; adv 1; mode=1; notes=1;"
               " start 3; end 10; play; adv 6; mode=2; pos=9; adv 1; pos=10; mode=1";
        // Saving where it cannot be written keeps the old file and says why.
        QTest::newRow("failed save keeps the old file")
            << "open; rec; adv 300; name no-such-dir/two; save!; name two; size=32044; save;"
               " err=0; wave=8000/1/2400";
        QTest::newRow("save without recording writes the sound unchanged")
            << "open; name copy; save; wave=8000/1/16000";
        // Slowed: the clock is the listener's, positions stay the recording's.
        QTest::newRow("a range at 60 % lasts its length / 0.6")
            << "open; speed 60; start 500; end 1100; play; adv 999; mode=2; adv 1; mode=1;"
               " pos=1100; notes=1";
        QTest::newRow("pause, continue and stop at 60 %")
            << "open; speed 60; play; adv 500; pause; pos=300; play; notes=2; adv 1000; stop;"
               " pos=900; notes=4";
        QTest::newRow("speed changed while playing: one command, one notification")
            << "open; play; adv 200; speed 50; adv 400; pos=400; speed 100; adv 1599; mode=2;"
               " adv 1; mode=1; notes=1";
        QTest::newRow("a recording keeps the clock's pace")
            << "name empty; open; speed 50; rec; adv 700; len=700; stop; play; adv 350;"
               " pos=175";
    }
    void commands() {
        QFETCH(QString, script);
        AudioDevice dev;
        dev.setFileName("two.wav");
        QList<int> notes;
        connect(&dev, &AudioDevice::notify, this, [&notes](int v) { notes << v; });
        runScript(dev, script, notes);
    }

    // The clock moves every device, and notifications come only through the
    // event loop, each from its own device.
    void twoDevices() {
        AudioDevice a, b;
        QList<int> na, nb;
        connect(&a, &AudioDevice::notify, this, [&na](int v) { na << v; });
        connect(&b, &AudioDevice::notify, this, [&nb](int v) { nb << v; });
        a.setFileName("two.wav");
        runScript(a, "open; play", na);
        runScript(b, "name empty; open; rec", nb);
        VirtualAudio::Advance(2000);
        runScript(a, "mode=1", na);
        QVERIFY(na.isEmpty()); // queued, not yet delivered
        runScript(a, "notes=1", na);
        runScript(b, "notes=; len=2000", nb);
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

    void duplex_data() {
        QTest::addColumn<bool>("input");
        QTest::addColumn<bool>("handed"); // the program handed its own dialog over
        QTest::newRow("plays and records") << true << false;
        QTest::newRow("no recording possible") << false << false;
        QTest::newRow("no recording, the program's dialog") << false << true;
    }
    void duplex() {
        QFETCH(bool, input);
        QFETCH(bool, handed);
        VirtualAudio::SetInputAvailable(input);
        const QByteArray rec = testenv::ReadBytes("NullRec.wav");
        TDlgTestFullDulex dlg;
        if (handed) SetDuplexDialog(&dlg);
        QWidget* seen = nullptr;
        if (!input)
            testenv::OnNextModal([&](QWidget* w) {
                seen = qobject_cast<TDlgTestFullDulex*>(w);
                w->findChild<QPushButton*>("OKBtn")->click();
            });
        QCOMPARE(RunDuplexTest(), input);
        SetDuplexDialog(nullptr);
        QCOMPARE(seen != nullptr, !input);
        QCOMPARE(seen == &dlg, handed);
        QCOMPARE(testenv::ReadBytes("NullRec.wav"), rec);
    }

    // A missing file ends the duplex check with the device's text, no dialog.
    void duplexMissingFile() {
        QFile::remove("NullRec.wav");
        const auto e = testenv::Thrown<DeviceError>(RunDuplexTest);
        QVERIFY2(e && e->text().contains("NullRec.wav"), e ? qPrintable(e->text()) : "none");
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(TestVirtualAudio)
#include "test_virtualaudio.moc"
