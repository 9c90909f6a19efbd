// The full-duplex check and its dialog, on the virtual back end.
#include "common/testenv.h"
#include "common/wave.h"
#include "main/eng_dlgtestfullduplex.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/support_media.h"
#include "media/virtualaudio.h"

#include <QPushButton>
#include <QtTest>

class TestDuplex : public QObject {
    Q_OBJECT
    MediaTestDir m_dir{AudioDevice::Backend::Virtual};

private Q_SLOTS:
    void init() {
        VirtualAudio::Reset();
        testenv::WriteBytes("Null.wav", testwave::Pcm(22050, 1, 16, 11025));
        testenv::WriteBytes("NullRec.wav", testwave::Empty(22050, 1, 16));
    }

    void check_data() {
        QTest::addColumn<bool>("input");
        QTest::addColumn<bool>("handed"); // the program handed its own dialog over
        QTest::newRow("plays and records") << true << false;
        QTest::newRow("no recording possible") << false << false;
        QTest::newRow("no recording, the program's dialog") << false << true;
    }
    void check() {
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

    // A missing file ends the launch with the device's text, no dialog.
    void missingFile() {
        QFile::remove("NullRec.wav");
        const auto e = testenv::Thrown<DeviceError>(RunDuplexTest);
        QVERIFY2(e && e->text().contains("NullRec.wav"), e ? qPrintable(e->text()) : "none");
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(TestDuplex)
#include "test_duplex.moc"
