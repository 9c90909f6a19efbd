// The splash window: shown for its time, closes by itself, music goes on
// after it and the player is closed when the music ends.
#include "app/eng_formbegin.h"
#include "common/testenv.h"
#include "common/wave.h"
#include "media/audiodevice.h"
#include "media/support_media.h"
#include "media/virtualaudio.h"

#include <QtTest>

class TestSplash : public QObject {
    Q_OBJECT
    MediaTestDir m_dir{AudioDevice::Backend::Virtual};

private Q_SLOTS:
    void init() { VirtualAudio::Reset(); }
    void cleanup() { TFormBegin::SetSplashDuration(4500); }

    void run_data() {
        QTest::addColumn<QByteArray>("music"); // empty: no music file
        QTest::addColumn<bool>("plays");
        QTest::newRow("with music") << testwave::Pcm(8000, 1, 16, 8000 * 6) << true;
        QTest::newRow("no music file") << QByteArray() << false;
    }
    // Closes after its time; music (6 s) goes on until
    // its end, then the player is closed and gone.
    void run() {
        QFETCH(QByteArray, music);
        QFETCH(bool, plays);
        QFile::remove("music.wav");
        if (!music.isEmpty()) testenv::WriteBytes("music.wav", music);
        TFormBegin::SetSplashDuration(300);
        TFormBegin f;
        bool wasModal = false;
        QTimer::singleShot(100, &f, [&] { wasModal = QApplication::activeModalWidget() == &f; });
        QElapsedTimer clock;
        clock.start();
        f.Run();
        QVERIFY2(clock.elapsed() >= 290 && clock.elapsed() < 2000,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY(wasModal);
        QVERIFY(!f.isVisible());
        QPointer<AudioDevice> player = TFormBegin::MusicPlayer();
        QCOMPARE(bool(player), plays);
        if (!plays) return;
        VirtualAudio::Advance(5000);
        QTest::qWait(0);
        QCOMPARE(player ? player->mode() : AudioDevice::NotReady, AudioDevice::Playing);
        VirtualAudio::Advance(1000);
        QTest::qWait(0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!player);
        QVERIFY(!TFormBegin::MusicPlayer());
    }

    void skipped() {
        testenv::WriteBytes("music.wav", testwave::Pcm(8000, 1, 16, 800));
        TFormBegin::SetSplashDuration(0);
        TFormBegin f;
        QElapsedTimer clock;
        clock.start();
        f.Run();
        QVERIFY(clock.elapsed() < 100);
        QVERIFY(!TFormBegin::MusicPlayer());
    }
};

QTEST_MAIN(TestSplash)
#include "app_splash.moc"
