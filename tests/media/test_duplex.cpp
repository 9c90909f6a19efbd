// The full-duplex check and its dialog, on the virtual back end.
#include "common/testenv.h"
#include "common/wave.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "main/eng_dlgtestfullduplex.h"
#include "media/virtualaudio.h"

#include <QApplication>
#include <QPushButton>
#include <QtTest>

class TestDuplex : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = std::make_unique<testenv::CourseDir>();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    }
    void init() {
        VirtualAudio::Reset();
        testenv::WriteBytes("Null.wav", testwave::Pcm(22050, 1, 16, 11025));
        testenv::WriteBytes("NullRec.wav", testwave::Empty(22050, 1, 16));
    }

    void check_data() {
        QTest::addColumn<bool>("input");
        QTest::addColumn<bool>("passes");
        QTest::newRow("plays and records") << true << true;
        QTest::newRow("no recording possible") << false << false;
    }
    void check() {
        QFETCH(bool, input);
        QFETCH(bool, passes);
        VirtualAudio::SetInputAvailable(input);
        const QByteArray rec = testenv::ReadBytes("NullRec.wav");
        bool shown = false;
        QString title;
        if (!passes)
            testenv::OnNextModal([&](QWidget* w) {
                shown = true;
                title = w->objectName();
                w->findChild<QPushButton*>("OKBtn")->click();
            });
        QCOMPARE(RunDuplexTest(), passes);
        QCOMPARE(shown, !passes);
        if (!passes) QCOMPARE(title, QStringLiteral("TDlgTestFullDulex"));
        QCOMPARE(testenv::ReadBytes("NullRec.wav"), rec);
        // Nothing keeps playing after the check.
        QCoreApplication::processEvents();
    }

    // The program's own dialog is used when one was handed over.
    void usesProgramDialog() {
        VirtualAudio::SetInputAvailable(false);
        TDlgTestFullDulex dlg;
        SetDuplexDialog(&dlg);
        QWidget* seen = nullptr;
        testenv::OnNextModal([&](QWidget* w) {
            seen = w;
            static_cast<QDialog*>(w)->accept();
        });
        QVERIFY(!RunDuplexTest());
        QCOMPARE(seen, static_cast<QWidget*>(&dlg));
        SetDuplexDialog(nullptr);
    }

    void missingFiles_data() {
        QTest::addColumn<QString>("remove");
        QTest::newRow("no Null.wav") << "Null.wav";
        QTest::newRow("no NullRec.wav") << "NullRec.wav";
    }
    // A missing file ends the launch with the device's text, no dialog.
    void missingFiles() {
        QFETCH(QString, remove);
        QFile::remove(remove);
        try {
            RunDuplexTest();
            QFAIL("no error");
        } catch (const DeviceError& e) {
            QVERIFY2(e.text().contains(remove), qPrintable(e.text()));
        }
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

QTEST_MAIN(TestDuplex)
#include "test_duplex.moc"
