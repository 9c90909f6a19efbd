// The text work run on the virtual audio back end, seen through a recording
// view: playback following, marks, the loop, comments, the learner's own
// recording, pictures and read errors.
#include "common/testenv.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "support_text.h"
#include "text/worktextrules.h"
#include "text/worktextrun.h"

#include <array>
#include <memory>
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
    explicit Lesson(bool withTiming = true) { WriteWorkTextLesson(dir, withTiming); }
    TWorkTextRun& open(const QString& learner = QString()) {
        run = std::make_unique<TWorkTextRun>(
            TLessonFiles{"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"},
            learner, "DemoData\\", &view);
        run->SetManualSteps(true);
        loaded = run->Load();
        run->Start();
        return *run;
    }
    // The virtual clock in timer steps.
    void play(qint64 ms) {
        for (qint64 done = 0; done < ms; done += 50) {
            VirtualAudio::Advance(qMin<qint64>(50, ms - done));
            run->Step();
            Settle();
        }
    }
    void mark(int from, int to) {
        run->SetCurrent(from);
        run->Mark();
        run->SetCurrent(to);
        run->Mark();
    }
    qint64 position() const { return run->Player()->position(); }
    bool loaded = false;
};

} // namespace

class TestWorkTextRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    }
    void init() { VirtualAudio::Reset(); }

    void placement_data() {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("window");
        // Wide: the height decides, centred across; tall: the width decides,
        // centred down; between them the width rule would overflow the area.
        QTest::newRow("wide") << QRect(10, 20, 1600, 600) << QRect(360, 20, 899, 600);
        QTest::newRow("tall") << QRect(0, 0, 825, 800) << QRect(0, 120, 825, 560);
        QTest::newRow("would overflow") << QRect(0, 0, 1000, 600) << QRect(50, 0, 899, 600);
    }
    void placement() {
        QFETCH(QRect, area);
        QFETCH(QRect, window);
        QCOMPARE(WorkTextPlacement(area.x(), area.y(), area.width(), area.height()), window);
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

    // The run follows the playback through the view, then is idle again.
    void playAllFollows() {
        Lesson l;
        TWorkTextRun& r = l.open();
        const int idleSpeed = l.view.speed;
        r.SetCurrent(5);
        r.PlayAll();
        QCOMPARE(l.position(), 1000);
        QVERIFY(r.Playing() && !l.view.c.Idle);
        QVERIFY(l.view.speed != idleSpeed);
        l.play(2200);
        QCOMPARE(r.Current(), 5);
        QCOMPARE(l.view.current, 5);
        l.play(4000);
        QVERIFY(!r.Playing());
        QVERIFY(!r.DeviceOpen());
        QCOMPARE(l.view.speed, idleSpeed);
        QCOMPARE(l.view.ended, 1);
    }

    // One fragment plays the sintagm's own stretch and leaves the current one.
    void fragment() {
        Lesson l;
        TWorkTextRun& r = l.open();
        r.SetCurrent(5);
        r.PlayFragment();
        QCOMPARE(l.position(), 3000);
        QVERIFY(!r.Playing());
        l.play(1100);
        QVERIFY(!r.DeviceOpen());
        QCOMPARE(r.Current(), 5);
        QVERIFY(l.view.c.Idle);
    }

    // Mark twice and loop: the range reaches the view, the loop starts again at
    // its end until stopped.
    void markAndLoop() {
        Lesson l;
        TWorkTextRun& r = l.open();
        r.Loop();
        QVERIFY(!r.Looping() && !r.DeviceOpen()); // nothing marked
        l.mark(6, 4);
        QCOMPARE(l.view.mark.Begin, 4);
        QCOMPARE(l.view.mark.End, 6);
        r.Loop();
        QCOMPARE(r.Current(), 4);
        for (int round = 0; round < 2; ++round) {
            l.play(2000); // the end: starts again
            QVERIFY(r.DeviceOpen());
            QCOMPARE(l.position(), 3000);
        }
        QCOMPARE(l.view.ended, 0);
        r.Stop();
        Settle();
        QVERIFY(!r.Looping());
        l.play(2100);
        QVERIFY(!r.DeviceOpen());
        QCOMPARE(l.view.ended, 1);
    }

    void commentStopsLoop() {
        Lesson l;
        TWorkTextRun& r = l.open();
        l.mark(5, 5);
        r.Loop();
        r.Step();
        QVERIFY(l.view.c.CommentEnabled); // line 5 has comments
        r.Comment();
        Settle();
        QCOMPARE(l.view.comments, QStringList({"Note five", "second"}));
        QVERIFY(!r.Looping());
        l.play(1500);
        QVERIFY(!r.DeviceOpen()); // no restart
        r.SetCurrent(2);
        r.Step();
        QVERIFY(!l.view.c.CommentEnabled);
    }

    void learnerRecording() {
        Lesson l;
        testwave::WriteSilent(l.dir.file("Ann3.wav"), 3000); // no Ann3.txt: the lesson's positions
        TWorkTextRun& r = l.open("Ann3.wav");
        r.UseLearnerRecording(true);
        QCOMPARE(r.SelectedRecording(), QString("Ann3.wav"));
        QVERIFY(!l.view.c.LoopEnabled);
        r.SetCurrent(2);
        r.PlayFragment();
        QCOMPARE(r.Player()->fileName(), QString("Ann3.wav"));
        QCOMPARE(l.position(), 1000);
        l.play(1100);
        // Line 3 ends where the recording ends: it plays.
        r.SetCurrent(3);
        r.PlayFragment();
        QVERIFY(r.DeviceOpen());
        l.play(1100);
        // Line 5 ends at 4000, beyond the 3000 ms recording: nothing plays.
        r.SetCurrent(5);
        r.PlayFragment();
        QVERIFY(!r.DeviceOpen());
        r.PlayFrom();
        QVERIFY(!r.DeviceOpen());
        QVERIFY(l.view.c.Idle);
        r.UseLearnerRecording(false);
        QCOMPARE(r.SelectedRecording(), QString("Lesson.wav"));
        QVERIFY(l.view.c.LoopEnabled);

        // Without a learner recording the switch changes nothing.
        Lesson none;
        TWorkTextRun& n = none.open();
        n.UseLearnerRecording(true);
        QCOMPARE(n.SelectedRecording(), QString("Lesson.wav"));
    }

    void learnerTimingUsed() {
        Lesson l;
        testwave::WriteSilent(l.dir.file("Ann3.wav"), 3000);
        WriteBytes(l.dir.file("Ann3.txt"), CrLf({"#\t#", "0\t500", "500\t900", "#\t#", "900\t1400",
                                                 "1400\t2000", "#\t#", "2000\t2900"}));
        TWorkTextRun& r = l.open("Ann3.wav");
        r.UseLearnerRecording(true);
        r.SetCurrent(5);
        r.PlayFrom();
        QCOMPARE(l.position(), 900);
        l.play(600); // 1500: past line 5's own end
        QCOMPARE(r.Current(), 6);
    }

    // The schedule's picture for the current sintagm's end, each shown once.
    void schedulePictures() {
        Lesson l;
        TWorkTextRun& r = l.open();
        QCOMPARE(l.view.pictures, QStringList{"p1.bmp"});
        r.PlayAll();
        l.play(300);  // line 2, ends at 2000
        l.play(1000); // line 3, ends at 3000
        l.play(500);
        QCOMPARE(l.view.pictures, QStringList({"p1.bmp", "p1.bmp", "p2.bmp"}));
        QCOMPARE(r.ShownPicture(), 2);
        // While the translation is shown no picture changes.
        r.SetTransShown(true);
        r.SetCurrent(2);
        r.Step();
        QCOMPARE(r.ShownPicture(), 2);
    }

    void readError() {
        Lesson l(false); // no timing file
        TWorkTextRun& r = l.open();
        QVERIFY(!l.loaded);
        QCOMPARE(r.Lesson().N, 8);
        // Nothing has a position: no fragment, nothing after the last line,
        // and a range without sound never loops.
        r.SetCurrent(3);
        r.PlayFragment();
        Settle();
        QVERIFY(!r.DeviceOpen());
        r.SetCurrent(r.Lesson().N);
        r.PlayFrom();
        QVERIFY(!r.DeviceOpen());
        l.mark(3, 3);
        r.Loop();
        QVERIFY(!r.Looping());
        QVERIFY(!r.DeviceOpen());
    }

    void pickOnlyWhileIdle() {
        Lesson l;
        TWorkTextRun& r = l.open();
        r.Pick(1);
        QCOMPARE(r.Current(), 2);
        r.PlayFragment();
        r.Pick(6);
        QCOMPARE(r.Current(), 2);
        // Stopped, until the device has said so.
        r.Stop();
        r.Pick(6);
        QCOMPARE(r.Current(), 2);
        Settle();
        r.Pick(6);
        QCOMPARE(r.Current(), 7);
    }
};

QTEST_MAIN(TestWorkTextRun)
#include "test_worktextrun.moc"
