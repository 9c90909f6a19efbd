// The text work run on the virtual audio back end, seen through a recording
// view: playback following, marks, the loop, comments, the learner's own
// recording, pictures and read errors.
// The text work window over its run: clicks reach the run, the run's state reaches the
// screen; the keys and the focus.
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/speedcontrol.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"
#include "media/virtualaudio.h"
#include "support_text.h"
#include "text/eng_formworktext.h"
#include "text/textsintagm.h"
#include "text/worktextrules.h"
#include "text/worktextrun.h"

#include <array>
#include <memory>
#include <QFrame>
#include <QSlider>
#include <QtTest>

using testenv::CrLf;
using testenv::WriteBytes;
using testui::Settle;

namespace {

// The work lesson's timing, lines 1..8: title, two sintagms, "#", two
// sintagms, a heading, a sintagm.
const QList<TTimingEntry> kTiming{{},           {0, 0},       {1000, 2000}, {2000, 3000}, {0, 0},
                                  {3000, 4000}, {4000, 5000}, {0, 0},       {5000, 6000}};

struct View : TWorkTextView {
    TWorkTextControls c;
    int current = 0, speed = 0, ended = 0;
    TMarkState mark;
    QStringList comments, pictures;
    void ApplyControls(const TWorkTextControls& x) override { c = x; }
    void ShowCurrent(int line) override { current = line; }
    void ShowMark(const TMarkState& m) override { mark = m; }
    void SetViewSpeed(int k) override { speed = k; }
    void Follow(int, bool, bool) override {}
    void ShowComments(const QStringList& lines) override { comments = lines; }
    bool ShowPicture(const QString& path) override {
        pictures << QFileInfo(path).fileName();
        return QFile::exists(path);
    }
    void PlaybackEnded() override { ++ended; }
};

struct Lesson {
    testenv::CourseDir dir;
    View view;
    std::unique_ptr<TWorkTextRun> run;
    bool loaded = false;
    explicit Lesson(bool withTiming) { WriteWorkTextLesson(dir, withTiming); }
    TWorkTextRun& open(const QString& learner) {
        run = std::make_unique<TWorkTextRun>(
            TLessonFiles{"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"},
            learner, "DemoData\\", &view);
        run->SetManualSteps(true);
        loaded = run->Load();
        run->Start();
        return *run;
    }
};

// Runs a script of ';'-separated commands on the run: "cur N" (SetCurrent),
// all, frag, from, loop, stop, mark, comment, step, "pick N", "learner 1/0",
// trans (the translation shown), "speed N" (the player's, in %), "run N"
// (timer steps over N real ms), settle.
// Checks: "at N" (the player's position), "near N" (within 1 ms), "current
// N", "shown N" (the view's current line), open/closed (the device),
// playing/still, looping/once,
// idle/busy, loopok/noloop, comments/nocomments (the buttons), "ended N",
// "marked A-B", "said a|b" (comments shown), "pictures a,b" (shown so far),
// "picture N" (the schedule entry shown), "selected F", "file F" (the
// player's), fast/slow (the view's speed against its idle one).
void Script(TWorkTextRun& r, const View& v, const QString& script) {
    const int idleSpeed = v.speed;
    for (const QString& cmd : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList w = cmd.split(' ', Qt::SkipEmptyParts);
        const QString op = w[0], arg = w.mid(1).join(' ');
        const int n = arg.toInt();
        if (op == "cur") r.SetCurrent(n);
        if (op == "all") r.PlayAll();
        if (op == "frag") r.PlayFragment();
        if (op == "from") r.PlayFrom();
        if (op == "loop") r.Loop();
        if (op == "stop") r.Stop();
        if (op == "mark") r.Mark();
        if (op == "comment") r.Comment();
        if (op == "step") r.Step();
        if (op == "pick") r.Pick(n);
        if (op == "learner") r.UseLearnerRecording(n == 1);
        if (op == "trans") r.SetTransShown(true);
        if (op == "speed") r.Player()->setSpeed(n);
        for (int done = 0; op == "run" && done < n; done += 50) {
            VirtualAudio::Advance(qMin(50, n - done));
            r.Step();
            Settle();
        }
        if (op == "settle") Settle();
        if (op == "at") QCOMPARE(r.Player()->position(), qint64(n));
        if (op == "near") QVERIFY2(qAbs(r.Player()->position() - n) <= 1, qPrintable(cmd));
        if (op == "current") QCOMPARE(r.Current(), n);
        if (op == "shown") QCOMPARE(v.current, n);
        if (op == "open" || op == "closed") QCOMPARE(r.DeviceOpen(), op == "open");
        if (op == "playing" || op == "still") QCOMPARE(r.Playing(), op == "playing");
        if (op == "looping" || op == "once") QCOMPARE(r.Looping(), op == "looping");
        if (op == "idle" || op == "busy") QCOMPARE(v.c.Idle, op == "idle");
        if (op == "loopok" || op == "noloop") QCOMPARE(v.c.LoopEnabled, op == "loopok");
        if (op == "comments" || op == "nocomments") QCOMPARE(v.c.CommentEnabled, op == "comments");
        if (op == "ended") QCOMPARE(v.ended, n);
        if (op == "marked")
            QCOMPARE(QStringLiteral("%1-%2").arg(v.mark.Begin).arg(v.mark.End), arg);
        if (op == "said") QCOMPARE(v.comments.join('|'), arg);
        if (op == "pictures") QCOMPARE(v.pictures.join(','), arg);
        if (op == "picture") QCOMPARE(r.ShownPicture(), n);
        if (op == "selected") QCOMPARE(r.SelectedRecording(), arg);
        if (op == "file") QCOMPARE(r.Player()->fileName(), arg);
        if (op == "fast" || op == "slow") QCOMPARE(v.speed != idleSpeed, op == "fast");
    }
}

} // namespace

using testui::Child;

namespace {

struct WindowLesson {
    testenv::CourseDir dir;
    WindowLesson() { WriteWorkTextLesson(dir, true); }
    std::unique_ptr<TFormWorkText> open() {
        auto f = std::make_unique<TFormWorkText>(
            TLessonFiles{"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"},
            QString(), "DemoData\\");
        f->Place(0, 0, 1000, 600);
        f->show();
        return f;
    }
};

// Moves the virtual clock in timer steps, running the window's timer step.
void run(TFormWorkText* f, qint64 ms) {
    for (qint64 done = 0; done < ms; done += 50) {
        VirtualAudio::Advance(qMin<qint64>(50, ms - done));
        f->Run().Step();
        Settle();
    }
}

} // namespace

class TestWorkText : public VirtualAudioTest {
    Q_OBJECT
private Q_SLOTS:
    // Wide: the height decides, centred across; tall: the width decides,
    // centred down; between them the width rule would overflow the area.
    void placement() {
        QCOMPARE(WorkTextPlacement(10, 20, 1600, 600), QRect(360, 20, 899, 600));
        QCOMPARE(WorkTextPlacement(0, 0, 825, 800), QRect(0, 120, 825, 560));
        QCOMPARE(WorkTextPlacement(0, 0, 1000, 600), QRect(50, 0, 899, 600));
    }

    // Where "from the fragment" and the loop start, and where the loop ends.
    void stretchRules() {
        QCOMPARE(StartFrom(kTiming, 3), 2000);
        QCOMPARE(StartFrom(kTiming, 4), 3000); // a silent line: the next line's start
        QCOMPARE(StartFrom(kTiming, 9), 0);
        QCOMPARE(LoopEnd(kTiming, 6), 5000);
        QCOMPARE(LoopEnd(kTiming, 4), 4000); // a silent line: the next line's end
    }

    // Two presses of the mark button: sintagms pressed on -> the marked range.
    void markRules() {
        const QList<std::array<int, 4>> rows{{6, 3, 3, 6}, {2, 5, 2, 5}, {3, 7, 3, 6},
                                             {2, 4, 2, 3}, {5, 5, 5, 5}, {8, 7, 7, 8}};
        for (const auto& [first, second, begin, end] : rows) {
            TMarkState m;
            MarkStep(m, first, kTiming);
            QVERIFY(m.Marking);
            MarkStep(m, second, kTiming);
            QVERIFY(!m.Marking);
            const QString row = QStringLiteral("%1 then %2: ").arg(first).arg(second);
            QCOMPARE(row + QStringLiteral("%1-%2").arg(m.Begin).arg(m.End),
                     row + QStringLiteral("%1-%2").arg(begin).arg(end));
        }
    }

    // One timer step while playing: current sintagm, position -> the new current one.
    void advanceRules() {
        const QList<std::array<int, 3>> rows{{1, 1400, 2}, {2, 2000, 2}, {2, 2001, 3},
                                             {4, 4500, 6}, {7, 5050, 8}, {8, 9000, 8}};
        for (const auto& [current, pos, next] : rows)
            QVERIFY2(AdvanceCurrent(current, 8, kTiming, pos) == next,
                     qPrintable(QStringLiteral("%1 at %2").arg(current).arg(pos)));
    }

    // A script "<setup>: <commands>" (see Script) over the work lesson. Setup:
    // learner (the learner's recording Ann3.wav, 3000 ms, beside it), ltiming (and
    // the learner's own timing Ann3.txt), notiming (no timing file).
    void runs_data() {
        QTest::addColumn<QString>("script");
        QTest::newRow("play all follows, then idle again")
            << ": cur 5; all; at 1000; playing; busy; fast; run 2200; current 5; shown 5;"
               "run 4000; still; closed; slow; ended 1";
        // The loop starts again at its end until stopped; the view follows it at
        // the playing pace, and at the idle one once it has ended.
        QTest::newRow("mark and loop")
            << ": loop; once; closed; cur 6; mark; cur 4; mark; marked 4-6; loop; current 4; fast;"
               "run 2000; open; at 3000; fast; run 2000; open; at 3000; ended 0; stop; settle;"
               "once; run 2100; closed; slow; ended 1";
        QTest::newRow("a comment stops the loop")
            << ": cur 5; mark; mark; loop; step; comments; comment; settle; said Note five|second;"
               "once; run 1500; closed; cur 2; step; nocomments";
        // Line 3 ends where the learner's 3000 ms end: it plays; line 5 (to 4000) does not.
        QTest::newRow("the learner's recording")
            << "learner: learner 1; selected Ann3.wav; noloop; cur 2; frag; file Ann3.wav;"
               "at 1000; run 1100; cur 3; frag; open; run 1100; cur 5; frag; closed; from;"
               "closed; idle; learner 0; selected Lesson.wav; loopok";
        QTest::newRow("no learner's recording to switch to") << ": learner 1; selected Lesson.wav";
        // 1500 in the learner's timing is past line 5's own end.
        QTest::newRow("the learner's timing")
            << "learner ltiming: learner 1; cur 5; from; at 900; run 600; current 6";
        // The schedule's picture for the current sintagm's end, each shown once;
        // none changes while the translation is shown.
        QTest::newRow("schedule pictures")
            << ": pictures p1.bmp; all; run 300; run 1000; run 500; pictures p1.bmp,p1.bmp,p2.bmp;"
               "picture 2; trans; cur 2; step; picture 2";
        // Nothing has a position: no fragment, nothing after the last line, and a
        // range without sound never loops.
        QTest::newRow("no timing file")
            << "notiming: cur 3; frag; settle; closed; cur 8; from; closed; cur 3; mark; mark;"
               "loop; once; closed";
        // Stopped, the pick waits until the device has said so.
        QTest::newRow("pick only while idle")
            << ": pick 1; current 2; frag; pick 6; current 2; stop; pick 6; current 2; settle;"
               "pick 6; current 7";
        // At 60 % a stretch lasts its length / 0.6 of real time, 50 real ms are
        // 30 of the recording, and every end is found at the recording's position.
        // 1650 real ms are 1990 of the recording (line 2), 1700 are 2020 (line 3).
        QTest::newRow("all at 60 %")
            << ": speed 60; cur 1; all; at 1000; run 1650; current 2; run 50; current 3; run 8200;"
               "open; near 6940; run 200; closed; ended 1";
        QTest::newRow("from line 5 at 60 %")
            << ": speed 60; cur 5; from; at 3000; run 6550; open; near 6930;"
               "run 200; closed; ended 1";
        // One fragment plays its stretch and stays on its sintagm.
        QTest::newRow("fragment at 60 %")
            << ": speed 60; cur 3; frag; at 2000; still; run 1600; open; near 2960;"
               "run 100; closed; current 3; idle; ended 1";
        QTest::newRow("loop of lines 4-6 at 60 %")
            << ": cur 4; mark; cur 6; mark; speed 60; loop; at 3000; run 3300; open; near 4980;"
               "run 50; open; at 3000; ended 0";
        QTest::newRow("the learner's recording at 60 %")
            << "learner: learner 1; speed 60; cur 2; frag; file Ann3.wav; at 1000; run 1600; open;"
               "near 1960; run 100; closed; ended 1";
    }
    void runs() {
        QFETCH(QString, script);
        const QStringList setup = script.section(':', 0, 0).split(' ');
        Lesson l(!setup.contains("notiming"));
        if (setup.contains("learner")) testwave::WriteSilent(l.dir.file("Ann3.wav"), 3000);
        if (setup.contains("ltiming"))
            WriteBytes(l.dir.file("Ann3.txt"),
                       CrLf({"#\t#", "0\t500", "500\t900", "#\t#", "900\t1400", "1400\t2000",
                             "#\t#", "2000\t2900"}));
        TWorkTextRun& r = l.open(setup.contains("learner") ? "Ann3.wav" : "");
        QCOMPARE(l.loaded, !setup.contains("notiming"));
        QCOMPARE(r.Lesson().N, 8);
        Script(r, l.view, script.section(':', 1));
    }

    // The text box and the play button reach the run; the text pane shows,
    // and the run's current sintagm reaches the slider and the view.
    void wiring() {
        WindowLesson l;
        auto f = l.open();
        TWorkTextRun& r = f->Run();
        r.SetManualSteps(true);
        auto* slider = Child<QSlider>(f.get(), "TrackBarText");
        auto* box = Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText");
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        QVERIFY(r.Playing());
        QVERIFY(!slider->isEnabled());
        run(f.get(), 1200);
        QCOMPARE(slider->value(), r.Current());
        QCOMPARE(Child<TTextSintagm>(f.get(), "TextSintagmText")->Position(), r.Current() - 1);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnStop")->click();
        Settle();
        QVERIFY(slider->isEnabled());
    }

    // Space is the mark key wherever the focus is; while playing it does
    // nothing, and the disabled slider does not hand the focus to a button.
    void spaceAndFocus() {
        WindowLesson l;
        auto f = l.open();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
        auto* slider = Child<QSlider>(f.get(), "TrackBarText");
        QCOMPARE(QApplication::focusWidget(), slider);
        auto space = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); };

        // On a focused play button Space marks and plays nothing.
        slider->setValue(3);
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnSelectString")->setFocus(Qt::TabFocusReason);
        space();
        QVERIFY(f->Run().Controls().Marking);
        QVERIFY(!f->Run().DeviceOpen());
        space();
        QVERIFY(!f->Run().Controls().Marking);
        // Enter on a focused box toggles it.
        Child<TChBxImgTransD1Zv>(f.get(), "CheckBoxText")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(Child<TTextSintagm>(f.get(), "TextSintagmText")->isVisible());

        slider->setFocus();
        Child<TBtnImgTransD1Zv>(f.get(), "BitBtnPlayAll")->click();
        // Through lines 3 and 5, which have comments.
        for (int step = 0; step < 12; ++step) {
            run(f.get(), 400);
            space();
            QVERIFY(f->Run().Playing());
            QVERIFY(!f->Run().Controls().Marking);
            QVERIFY(!Child<QFrame>(f.get(), "PanelComent")->isVisible());
            QVERIFY(qobject_cast<TBtnImgTransD1Zv*>(QApplication::focusWidget()) == nullptr);
        }
        run(f.get(), 1500);
        QVERIFY(!f->Run().DeviceOpen());
        QCOMPARE(QApplication::focusWidget(), slider);
    }

    // "-" reaches the window's player wherever the focus is, and the next
    // window starts with the choice; a slower voice scrolls the view more gently.
    void speedKeys() {
        PlaySpeed::Save(100);
        WindowLesson l;
        {
            auto f = l.open();
            QVERIFY(QTest::qWaitForWindowExposed(f.get()));
            f->Run().PlayAll();
            auto* view = Child<TTextSintagm>(f.get(), "TextSintagmText");
            const int fullPace = view->k_Speed();
            QVERIFY(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
            QCOMPARE(Child<TSpeedControl>(f.get(), "Speed")->speed(), 90);
            QCOMPARE(f->Run().Player()->speed(), 90);
            QVERIFY(view->k_Speed() > fullPace);
            f->Run().Stop();
        }
        auto next = l.open();
        QCOMPARE(next->Run().Player()->speed(), 90);
        QCOMPARE(Child<TSpeedControl>(next.get(), "Speed")->speed(), 90);
    }
};

QTEST_MAIN(TestWorkText)
#include "test_worktext.moc"
