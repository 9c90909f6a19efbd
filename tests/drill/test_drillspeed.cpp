// The speed of the vocabulary and question windows' playback: each window
// opens at the speed kept from the last one, plays its entry's range in
// length / speed on the virtual clock, and "-" and "+" change it.
#include "common/testenv.h"
#include "common/wave.h"
#include "common/widgets.h"
#include "controls/speedcontrol.h"
#include "drill/eng_formexeclexic.h"
#include "drill/eng_formexeclexicdemo.h"
#include "drill/eng_formquesttrfl.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"
#include "media/virtualaudio.h"
#include "support_drill.h"

#include <memory>
#include <QAbstractButton>
#include <QtTest>

class TestDrillSpeed : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;
    QString F(const QString& n) const { return m_dir->file(n); }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        m_dir = std::make_unique<testenv::CourseDir>();
        // Every entry a second of the recording.
        testenv::WriteBytes(F("e.txt"), Join({"house", "cat", "dog"}));
        testenv::WriteBytes(F("t.txt"), Join({W("дом"), W("кошка"), W("собака")}));
        testenv::WriteBytes(F("q.txt"), Join({"A\t0", "B\t1", "C\t0"}));
        testenv::WriteBytes(F("a.txt"), "");
        testenv::WriteBytes(F("s.txt"), Join({"0\t1000", "1000\t2000", "2000\t3000"}));
        testenv::WriteBytes(F("l.wav"), testwave::Silent(4000));
    }

    void playAndKeys_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("kept");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("after");
        QTest::newRow("presentation, minus") << "demo" << 60 << int(Qt::Key_Minus) << 0 << 50;
        QTest::newRow("drill, pad plus")
            << "lexic" << 60 << int(Qt::Key_Plus) << int(Qt::KeypadModifier) << 70;
        QTest::newRow("true/false, minus at the slowest")
            << "trfl" << 50 << int(Qt::Key_Minus) << 0 << 50;
        QTest::newRow("drill at full speed, plus") << "lexic" << 100 << int(Qt::Key_Plus) << 0
                                                   << 100;
    }
    void playAndKeys() {
        QFETCH(QString, kind);
        QFETCH(int, kept);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, after);
        PlaySpeed::Save(kept);
        VirtualAudio::Reset();
        std::unique_ptr<TDrillWindow> w;
        if (kind == "demo") {
            auto d = std::make_unique<TFormExecLexicDemo>();
            d->SetFiles(F("e.txt"), F("t.txt"), F("s.txt"), F("l.wav"));
            QVERIFY(d->Load());
            d->SetInitialData();
            w = std::move(d);
        } else if (kind == "lexic") {
            auto d = std::make_unique<TFormExecLexic>();
            d->SetSeed(5);
            d->SetFiles(F("e.txt"), F("t.txt"), F("s.txt"), F("l.wav"));
            QVERIFY(d->Load());
            w = std::move(d);
        } else {
            auto d = std::make_unique<TFormQuestTrFl>();
            d->SetSeed(5);
            d->SetFiles(F("q.txt"), F("a.txt"), F("s.txt"), F("l.wav"));
            QVERIFY(d->Load());
            d->Start();
            w = std::move(d);
        }
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* speed = testui::Child<TSpeedControl>(w.get(), "Speed");
        auto* play = testui::Child<QAbstractButton>(w.get(), "BitBtnPlay");
        auto* device = w->findChild<AudioDevice*>();
        QVERIFY(speed->isVisible());
        testui::Shot(w.get(), QStringLiteral("speed-") + kind);
        QCOMPARE(speed->speed(), kept);
        QCOMPARE(device->speed(), kept);

        // A second of the recording lasts 1000 / speed of real time.
        play->click();
        QCOMPARE(device->mode(), AudioDevice::Playing);
        const qint64 real = 100000 / kept;
        VirtualAudio::Advance(real - 50);
        QTest::qWait(10);
        QCOMPARE(device->mode(), AudioDevice::Playing);
        VirtualAudio::Advance(100);
        QTest::qWait(10);
        QVERIFY(device->mode() != AudioDevice::Playing);
        QVERIFY(play->isEnabled());

        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : w.get(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
        QCOMPARE(speed->speed(), after);
        QCOMPARE(device->speed(), after);
        QCOMPARE(PlaySpeed::Load(), after);
    }
};

QTEST_MAIN(TestDrillSpeed)
#include "test_drillspeed.moc"
