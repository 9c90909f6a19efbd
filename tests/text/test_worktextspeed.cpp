// The text work exercise at a slower speed, on the virtual audio clock:
// every command plays its stretch of the recording in length / speed, the
// highlight steps at the recording's own positions, and the window's keys
// set the speed of its one player and keep it for the next window.
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/speedcontrol.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"
#include "media/virtualaudio.h"
#include "support_text.h"
#include "text/eng_formworktext.h"
#include "text/textsintagm.h"
#include "text/worktextrun.h"

#include <memory>
#include <QtTest>

namespace {

struct View : TWorkTextView {
    int ended = 0;
    void ApplyControls(const TWorkTextControls&) override {}
    void ShowCurrent(int) override {}
    void ShowMark(const TMarkState&) override {}
    void SetViewSpeed(int) override {}
    void Follow(int, bool, bool) override {}
    void ShowComments(const QStringList&) override {}
    bool ShowPicture(const QString&) override { return true; }
    void PlaybackEnded() override { ++ended; }
};

const TLessonFiles kFiles{"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"};

} // namespace

class TestWorkTextSpeed : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;
    View m_view;
    std::unique_ptr<TWorkTextRun> m_run;

    // Real milliseconds on the virtual clock, in the run's timer steps.
    void play(qint64 ms) {
        for (qint64 done = 0; done < ms; done += 50) {
            VirtualAudio::Advance(qMin<qint64>(50, ms - done));
            m_run->Step();
            testui::Settle();
        }
    }

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
        m_dir = std::make_unique<testenv::CourseDir>();
        WriteWorkTextLesson(*m_dir, true);
        testwave::WriteSilent(m_dir->file("Ann3.wav"), 3000);
    }
    void init() {
        VirtualAudio::Reset();
        m_view = View();
    }
    void cleanup() { m_run.reset(); }

    // Lines 2, 3, 5, 6, 8 play 1000-2000, 2000-3000, 3000-4000, 4000-5000,
    // 5000-6000 of a 7000 ms recording; line 4 is silent.
    void commands_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("from"); // recording ms
        QTest::addColumn<int>("to");
        QTest::newRow("all at 60 %") << "all" << 1 << 60 << 1000 << 7000;
        QTest::newRow("from line 5 at 60 %") << "from" << 5 << 60 << 3000 << 7000;
        QTest::newRow("fragment at 60 %") << "fragment" << 3 << 60 << 2000 << 3000;
        QTest::newRow("fragment at 50 %") << "fragment" << 6 << 50 << 4000 << 5000;
        QTest::newRow("loop of lines 4-6 at 60 %") << "loop" << 4 << 60 << 3000 << 5000;
        QTest::newRow("learner's recording at 60 %") << "learner" << 2 << 60 << 1000 << 2000;
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(int, line);
        QFETCH(int, speed);
        QFETCH(int, from);
        QFETCH(int, to);
        const bool learner = command == "learner";
        m_run = std::make_unique<TWorkTextRun>(kFiles, learner ? "Ann3.wav" : "", "DemoData\\",
                                               &m_view);
        m_run->SetManualSteps(true);
        QVERIFY(m_run->Load());
        m_run->Start();
        m_run->Player()->setSpeed(speed);
        m_run->SetCurrent(line);
        if (command == "all") m_run->PlayAll();
        if (command == "from") m_run->PlayFrom();
        if (command == "fragment" || learner) {
            m_run->UseLearnerRecording(learner);
            m_run->PlayFragment();
        }
        if (command == "loop") {
            m_run->Mark();
            m_run->SetCurrent(6);
            m_run->Mark();
            m_run->Loop();
        }
        QVERIFY(m_run->DeviceOpen());
        QCOMPARE(m_run->Player()->fileName(), QString(learner ? "Ann3.wav" : "Lesson.wav"));
        QCOMPARE(m_run->Player()->position(), from);
        // The stretch lasts its length / speed of real time; positions stay
        // in the recording's milliseconds.
        const qint64 real = qint64(to - from) * 100 / speed;
        play(real - 100);
        QVERIFY(m_run->DeviceOpen());
        QVERIFY(qAbs(m_run->Player()->position() - (from + (real - 100) * speed / 100)) <= 1);
        play(200);
        QCOMPARE(m_view.ended, command == "loop" ? 0 : 1);
        if (command == "loop") { // round two has begun
            QVERIFY(m_run->DeviceOpen());
            QVERIFY(m_run->Player()->position() < from + 100);
        } else {
            QVERIFY(!m_run->DeviceOpen());
        }
    }

    // Playing all at 60 %, the current sintagm moves when the voice reaches
    // the next one's stretch, at the recording's positions.
    void highlightSteps() {
        m_run = std::make_unique<TWorkTextRun>(kFiles, "", "DemoData\\", &m_view);
        m_run->SetManualSteps(true);
        QVERIFY(m_run->Load());
        m_run->Start();
        m_run->Player()->setSpeed(60);
        m_run->PlayAll();
        // real ms -> sintagm: 1650 real ms are 1990 of the recording, 1700 are 2020.
        const QList<std::pair<int, int>> rows{{1650, 2}, {1700, 3}, {3300, 3}, {3400, 5},
                                              {5050, 6}, {8350, 8}};
        qint64 at = 0;
        for (const auto& [real, line] : rows) {
            play(real - at);
            at = real;
            QVERIFY2(m_run->Current() == line,
                     qPrintable(QStringLiteral("at %1 ms: line %2").arg(real).arg(m_run->Current())));
        }
    }

    // The window: "-" and "+" reach its one player wherever the focus is,
    // the choice is kept, and the next window starts with it; while playing
    // a slower voice scrolls the views more gently.
    void windowKeys() {
        PlaySpeed::Save(100);
        {
            TFormWorkText w(kFiles, "Ann3.wav", "DemoData\\");
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            auto* speed = testui::Child<TSpeedControl>(&w, "Speed");
            QCOMPARE(w.Run().Player()->speed(), 100);
            w.Run().PlayAll();
            auto* view = testui::Child<TTextSintagm>(&w, "TextSintagmText");
            const int fullPace = view->k_Speed();
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            QTest::keyClick(focus, Qt::Key_Minus);
            QTest::keyClick(focus, Qt::Key_Minus, Qt::KeypadModifier);
            QCOMPARE(speed->speed(), 80);
            QCOMPARE(w.Run().Player()->speed(), 80);
            QVERIFY(view->k_Speed() > fullPace);
            QCOMPARE(PlaySpeed::Load(), 80);
            w.Run().Stop();
            // The learner's recording plays through the same player.
            w.Run().UseLearnerRecording(true);
            w.Run().SetCurrent(2);
            w.Run().PlayFragment();
            QCOMPARE(w.Run().Player()->fileName(), QString("Ann3.wav"));
            QCOMPARE(w.Run().Player()->speed(), 80);
            w.Run().Stop();
        }
        TFormWorkText next(kFiles, "", "DemoData\\");
        QCOMPARE(next.Run().Player()->speed(), 80);
        QCOMPARE(testui::Child<TSpeedControl>(&next, "Speed")->speed(), 80);
    }
};

QTEST_MAIN(TestWorkTextSpeed)
#include "test_worktextspeed.moc"
