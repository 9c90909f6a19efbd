// The listening practice run and its window on the virtual audio back end:
// both clocks (lesson player and learner recorder) move only when the test
// advances them, and the test runs the timer steps itself. Layout, highlight,
// scroll and placement arithmetic of the listening practice, measured with a
// fixed-width fake font (10 px a character).
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/prgssbarzv.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "support_text.h"
#include "text/eng_transnotext.h"
#include "text/transnotextrules.h"

#include <memory>
#include <QLabel>
#include <QtEndian>
#include <QtTest>

using testenv::CrLf;
using testenv::ReadBytes;
using testenv::WriteBytes;
using testui::Child;
using testui::Settle;
using testwave::WriteSilent;

namespace {

// The learner timing of a take of the whole work lesson: each sintagm closed on
// the step after its end, the last one at the take's end 10 s after the lesson.
const QByteArray kWholeTake("#\t#\r\n0\t2050\r\n2050\t3050\r\n#\t#\r\n3050\t4050\r\n"
                            "4050\t5050\r\n#\t#\r\n5050\t17050\r\n");
const QByteArray kTakeTo2500 =
    QByteArray("#\t#\r\n0\t2050\r\n2050\t2500\r\n") + QByteArray("#\t#\r\n").repeated(5);

// What the run asked the window to do.
struct FakeView : TListenView {
    QList<int> drawn, pictures;
    void ApplyControls(const TListenControls&) override {}
    void DrawPane(int pane) override { drawn << pane; }
    void ShowPicture(int k) override { pictures << k; }
};

// Both clocks forward in timer steps of 50 ms: notifications first, then the step.
void Run(TTransNoTextRun& r, qint64 ms) {
    for (qint64 done = 0; done < ms; done += 50) {
        VirtualAudio::Advance(qMin<qint64>(50, ms - done));
        Settle();
        r.Step();
    }
}

// The folder's work lesson (8 lines, a 7 s recording) with the recorder's
// template and the learner's folder.
struct Lesson {
    testenv::CourseDir dir;
    TListenParams p;
    FakeView v;
    Lesson() {
        WriteWorkTextLesson(dir, true);
        WriteSilent(dir.file("TSBegin.wav"), 0);
        QDir().mkpath(dir.file("Report/Ann"));
        p.Files = {"L1.txt", "T1.txt", "Lesson.wav", "Tm1.txt", "DemoData\\Pic1.txt"};
        p.DataRoot = "DemoData\\";
    }
    // Another text, its translation and timing, and a recording of `ms`.
    void lines(const QList<QByteArray>& text, const QList<QByteArray>& timing, int ms) {
        WriteBytes(dir.file("L1.txt"), CrLf(text));
        WriteBytes(dir.file("T1.txt"), CrLf(text));
        WriteBytes(dir.file("Tm1.txt"), CrLf(timing));
        WriteSilent(dir.file("Lesson.wav"), ms);
    }
    void record(bool wait) {
        p.RecordName = "Report\\Ann\\Ann12.wav";
        p.WaitAllowed = wait;
    }
    // The run over a fake window, loaded and laid out 10 px a character.
    std::unique_ptr<TTransNoTextRun> run() {
        auto r = std::make_unique<TTransNoTextRun>(p, &v);
        r->SetManualSteps(true);
        r->SetPaneHeight(300);
        r->Load();
        const auto tenPx = [](QStringView s) { return int(s.size()) * 10; };
        r->SetLayouts(LayoutListenPane(r->Lesson().Text, 200, tenPx),
                      LayoutListenPane(r->Lesson().Trans, 200, tenPx));
        return r;
    }
    QString recording() const { return dir.file("Report/Ann/Ann12.wav"); }
    QString timingFile() const { return dir.file("Report/Ann/Ann12.txt"); }
};

// Runs a script of ';'-separated commands: play (text, trans, both: with the
// text, the translation, both panes shown), "run N" timer steps over N ms,
// "advance N" both clocks without steps, wait, pause, stop, fail (the
// recorder fails). Checks: "at N" (the player's position), playing, stopped,
// idle (never started), norec (not recording), waiting, going, "max N" (the
// bar's end), "pictures a,b" (shown so far), "drawn N M" (draws of each
// pane), "drift N" (the text pane's drift, and its scroll and current row).
void Script(TTransNoTextRun& r, const FakeView& v, const QString& script) {
    for (const QString& cmd : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList w = cmd.split(' ', Qt::SkipEmptyParts);
        const QString op = w[0];
        const qint64 n = w.value(1).toLongLong();
        const TListenPane& p = r.Pane(0);
        if (op == "play" || op == "text") r.Play(op == "text", false);
        if (op == "trans" || op == "both") r.Play(op == "both", true);
        if (op == "run") Run(r, n);
        if (op == "advance") VirtualAudio::Advance(n);
        if (op == "advance") Settle();
        if (op == "wait") r.Wait();
        if (op == "pause") r.Pause();
        if (op == "stop") r.Stop();
        if (op == "fail") r.RecorderNotify(AudioDevice::Failure);
        if (op == "at") QCOMPARE(r.Player()->position(), n);
        if (op == "playing") QVERIFY(r.Playing() && !r.Stopped());
        if (op == "stopped") QVERIFY(!r.Playing() && r.Stopped());
        if (op == "idle") QVERIFY(!r.Playing() && !r.Stopped());
        if (op == "norec") QVERIFY(!r.Recording() && !r.Controls().RecordingSign);
        if (op == "waiting" || op == "going") QCOMPARE(r.Waiting(), op == "waiting");
        if (op == "max") QCOMPARE(r.Controls().ProgressMax, int(n));
        if (op == "drawn")
            QCOMPARE(QList<qsizetype>({v.drawn.count(0), v.drawn.count(1)}),
                     QList<qsizetype>({n, w.value(2).toLongLong()}));
        if (op == "pictures") {
            QStringList got;
            for (int k : v.pictures)
                got << QString::number(k);
            QCOMPARE(got.join(','), w.value(1));
        }
        if (op == "drift") {
            QCOMPARE(p.Drift, int(n));
            const qint64 pos = r.Player()->position(), len = r.Player()->length();
            QCOMPARE(p.Scroll, ListenScroll(pos, len, p.Layout.RowCount, int(n)));
            QCOMPARE(p.RowPos, kListenRowPitch * p.Layout.Spans[r.Current()].FirstRow - p.Scroll);
        }
    }
}

// An earlier take of the learner's and its timing.
const QByteArray kOldTiming = CrLf({"#\t#", "0\t1", "1\t2", "#\t#", "2\t3"});

} // namespace

namespace {

int TenPx(QStringView s) {
    return int(s.size()) * 10;
}

// "row|row|..." of rows 1..RowCount.
QString RowsOf(const TListenLayout& l) {
    QStringList out;
    for (int r = 1; r <= l.RowCount; ++r)
        out << (r < l.Rows.size() ? l.Rows[r] : "<missing>");
    return out.join('|');
}

QString SpanText(const TSintagmSpan& s) {
    return QStringLiteral("%1,%2-%3,%4")
        .arg(s.FirstRow)
        .arg(s.FirstCol)
        .arg(s.LastRow)
        .arg(s.LastCol);
}

} // namespace

class TestTransNoText : public VirtualAudioTest {
    Q_OBJECT
private Q_SLOTS:
    // A run driven by a script "<setup>: <commands>" (see Script): what it leaves
    // on disk and the run's outcome. Setup: record, wait (recorded with the
    // wait allowed); another lesson: short (two lines, no sound), zero (no
    // sound), nolines, badtiming; old (an earlier take of 700 ms), empty (an
    // empty recording file), leftover (a recorder file of another run beside
    // it); recording refused: notemplate, nomic.
    void takes_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("timing"); // "-": no file
        QTest::addColumn<int>("recMs");         // -1: no file
        QTest::addColumn<int>("messages");
        QTest::addColumn<int>("outcome");
        QTest::newRow("listen only: stops at the lesson's end")
            << ": play; run 6950; playing; run 50; stopped" << QByteArray("-") << -1 << 0 << 0;
        // The take ends 10 s after the lesson, past the mark (17000), not on it.
        QTest::newRow("whole take")
            << "wait: play; run 17000; playing; run 1000; stopped" << kWholeTake << 17050 << 0 << 0;
        QTest::newRow("stop runs once") << "wait: play; run 2500; stop; stop; run 3000; stopped"
                                        << kTakeTo2500 << 2500 << 0 << 0;
        QTest::newRow("recorder failure keeps the take")
            << "wait: play; run 2500; fail; stopped" << kTakeTo2500 << 2500 << 1 << 0;
        // The pause is refused while waiting.
        QTest::newRow("wait then go on")
            << "wait: play; run 1500; wait; pause; run 4000; at 1500; wait; run 550; stop"
            << QByteArray("#\t#\r\n0\t6050\r\n6050\t6050\r\n") + QByteArray("#\t#\r\n").repeated(5)
            << 6050 << 0 << 0;
        // Sintagm 2 lasts 1000 ms: the wait holds for 1000 + 20000 ms, then goes on.
        QTest::newRow("wait goes on by itself")
            << "wait: play; run 1000; wait; run 21000; waiting; at 1000; run 50; going; run 50;"
               "at 1050; stop"
            << QByteArray("#\t#\r\n0\t22100\r\n") + QByteArray("#\t#\r\n").repeated(6) << 22100 << 0
            << 0;
        // The wait is refused while paused; the pause is not in the take.
        QTest::newRow("pause holds both devices")
            << "wait: play; run 1200; pause; run 5000; at 1200; wait; going; pause; run 15850;"
               "stopped"
            << kWholeTake << 17050 << 0 << 0;
        // After the lesson's end only the recorder goes on: nothing is replayed.
        QTest::newRow("pause and wait after the lesson's end")
            << "wait: play; run 8000; pause; pause; wait; wait; run 1000; at 7000; run 9000;"
               "stopped"
            << kWholeTake << 17050 << 0 << 0;
        // 10000 ms of recorder a text row (3 rows): the recorder's end comes before
        // the stop rule (mark + 10 s) when the clocks get there without the steps.
        QTest::newRow("recorder end stops the run")
            << "record short: play; advance 30000; stopped" << QByteArray("-") << 30000 << 0 << 0;
        // No sound: the lesson has ended at once, and once the wait has gone on by
        // itself (1000 + 20000 ms) the next step stops the run.
        QTest::newRow("lesson of length 0")
            << "wait zero: text; max 0; wait; run 37000; stopped"
            << QByteArray("#\t#\r\n0\t21100\r\n") + QByteArray("#\t#\r\n").repeated(6) << 21100 << 0
            << 0;
        // No text rows: the recorder stops at its end, 2 * 3000 + 10000 ms.
        QTest::newRow("no lines") << "wait nolines: text; max 3; wait; run 37000; stopped"
                                  << QByteArray() << 16000 << 0 << 0;
        // The run still works with what was read.
        QTest::newRow("damaged timing")
            << "badtiming: play; run 7000; stopped" << QByteArray("-") << -1 << 0 << 0;
        // Sintagm 2 ends at 2000: entry 1 (0 < t <= 2500); sintagm 3 at 3000: entry 2;
        // stopped, back to the first. With the translation shown the pane is drawn
        // instead of the schedule's pictures.
        QTest::newRow("schedule pictures")
            << ": play; run 3050; pictures 1,2; drawn 0 0; stop; pictures 1,2,1;"
               "trans; run 2500; pictures 1,2,1; drawn 0 50"
            << QByteArray("-") << -1 << 0 << 0;
        // 50 steps with the current row above a third of 300 px: drift -50.
        QTest::newRow("scroll follows playback")
            << ": both; run 2500; drift -50; drawn 50 50" << QByteArray("-") << -1 << 0 << 0;
        // Recording refused at play: the earlier take and timing stay, the learner
        // is told why, and without a microphone nothing plays at all.
        QTest::newRow("template missing")
            << "wait old notemplate: play; playing; norec; run 7000; stopped" << kOldTiming << 700
            << 1 << 0;
        QTest::newRow("no microphone")
            << "wait old nomic: play; idle; norec" << kOldTiming << 700 << 1 << 0;
        // The outcome is the recording on disk, not whether this run saved one:
        // after "Повторить" a run left without recording still has the take of
        // the run before, so the results dialog comes.
        QTest::newRow("repeat left without recording, a leftover beside it")
            << "record old leftover:" << kOldTiming << 700 << 0 << 0;
        QTest::newRow("no recording at all") << "record:" << QByteArray("-") << -1 << 0 << 2;
        QTest::newRow("only an empty file") << "record empty:" << QByteArray("-") << 0 << 0 << 2;
    }
    void takes() {
        QFETCH(QString, script);
        QFETCH(QByteArray, timing);
        QFETCH(int, recMs);
        QFETCH(int, messages);
        QFETCH(int, outcome);
        const QStringList setup = script.section(':', 0, 0).split(' ');
        Lesson l;
        if (setup.contains("record") || setup.contains("wait")) l.record(setup.contains("wait"));
        if (setup.contains("short")) l.lines({"#T", "a"}, {"#\t#", "0\t0"}, 0);
        if (setup.contains("zero")) WriteSilent(l.dir.file("Lesson.wav"), 0);
        if (setup.contains("nolines")) l.lines({}, {}, 3000);
        if (setup.contains("badtiming")) WriteBytes(l.dir.file("Tm1.txt"), "#\t#\r\n1000\tx\r\n");
        if (setup.contains("old")) WriteSilent(l.recording(), 700);
        if (setup.contains("old")) WriteBytes(l.timingFile(), kOldTiming);
        if (setup.contains("empty")) WriteBytes(l.recording(), QByteArray());
        if (setup.contains("leftover")) WriteSilent(l.dir.file("vantrel-rec-00beef.tmp"), 300);
        if (setup.contains("notemplate")) QFile::remove(l.dir.file("TSBegin.wav"));
        VirtualAudio::SetInputAvailable(!setup.contains("nomic"));
        testui::MessageRecorder m;
        auto r = l.run();
        QCOMPARE(r->Lesson().ok(), !setup.contains("badtiming"));
        Script(*r, l.v, script.section(':', 1));
        if (QTest::currentTestFailed()) return;
        QCOMPARE(QFile::exists(l.timingFile()), timing != "-");
        if (timing != "-") QCOMPARE(ReadBytes(l.timingFile()), timing);
        QCOMPARE(QFile::exists(l.recording()), recMs >= 0);
        if (recMs > 0) QCOMPARE(WaveMs(l.recording()), qint64(recMs));
        QCOMPARE(m.messages.size(), messages);
        // Only a missing microphone gets the hint to connect one.
        QCOMPARE(m.lastText().contains("микрофон"), setup.contains("nomic"));
        QCOMPARE(r->Finish(), outcome);
    }

    // A take whose save failed is rescued from the newest recorder file of
    // this run; the stale ones go only before the next run.
    void unsavedTakeRescued() {
        Lesson l;
        // The learner's folder is missing: the save at the stop fails.
        l.p.RecordName = "Report\\Bob\\Bob12.wav";
        WriteSilent(l.dir.file("vantrel-rec-000001.tmp"), 300); // an earlier run's, stale
        WriteBytes(l.dir.file("x.tmp"), "not ours");
        testui::MessageRecorder m;
        auto r = l.run();
        Script(*r, l.v, "play; run 2000");
        // What the recorder left behind: wave files of the take so far, the newest
        // one the whole take.
        WriteSilent(l.dir.file("vantrel-rec-00aaaa.tmp"), 1000);
        QFile older(l.dir.file("vantrel-rec-00aaaa.tmp"));
        QVERIFY(older.open(QIODevice::ReadWrite));
        QVERIFY(older.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
        older.close();
        WriteSilent(l.dir.file("vantrel-rec-00abcd.tmp"), 2000);
        r->Stop();
        QVERIFY(!r->TakeSaved());
        QCOMPARE(m.messages.size(), 1);
        QDir().mkpath(l.dir.file("Report/Bob"));
        QCOMPARE(r->Finish(), 0);
        const QString rescued = l.dir.file("Report/Bob/Bob12.wav");
        QCOMPARE(WaveMs(rescued), qint64(2000));
        // Written afresh: a complete RIFF header stating the real data length.
        const QByteArray bytes = ReadBytes(rescued);
        QVERIFY(bytes.startsWith("RIFF"));
        QCOMPARE(qFromLittleEndian<quint32>(bytes.constData() + 4), quint32(bytes.size() - 8));
        QVERIFY(!QFile::exists(l.dir.file("vantrel-rec-00abcd.tmp")));
        QVERIFY(QFile::exists(l.dir.file("vantrel-rec-000001.tmp")));
        TTransNoTextRun::RemoveStaleRecordings();
        QVERIFY(!QFile::exists(l.dir.file("vantrel-rec-000001.tmp")));
        QVERIFY(QFile::exists(l.dir.file("x.tmp")));
    }

    // --- the window --------------------------------------------------------------

    // The boxes reach the run, the run's state reaches the panes, the sign
    // and the bar.
    void windowWiring() {
        Lesson l;
        l.record(true);
        l.p.TextAllowed = true;
        TFormTransNoText f(l.p);
        f.Run().SetManualSteps(true);
        f.Place(0, 0, 1000, 700);
        f.show();
        Settle();
        auto* ct = Child<TChBxImgTransD1Zv>(&f, "CheckBoxText");
        auto* cr = Child<TChBxImgTransD1Zv>(&f, "CheckBoxTrans");
        auto* text = Child<TListenPaintBox>(&f, "PaintBoxText");
        ct->click();
        cr->click(); // translation not allowed
        QVERIFY(ct->Checked() && !cr->Checked());
        Child<TBtnImgTransD1Zv>(&f, "BitBtnPlay")->click();
        ct->click(); // not while playing
        QVERIFY(ct->Checked());
        Run(f.Run(), 2600);
        QVERIFY(text->isVisible());
        auto* sign = Child<QLabel>(&f, "LabelRecSign");
        QVERIFY(sign->text().endsWith("0:02"));
        QCOMPARE(Child<TPrgssBarZv>(&f, "ProgressBarRec")->Position(),
                 f.Run().Controls().ProgressPos);
        Child<TBtnImgTransD1Zv>(&f, "BitBtnStop")->click();
        QVERIFY(!f.Run().Playing());
        QVERIFY(!sign->isVisible() && !text->isVisible());
    }

    // A take started from the keyboard ends by Space only on "Стоп" the
    // learner moved to, or by Esc, which closes the window with the take kept;
    // until then Space is the wait key where the wait is allowed.
    void keysDuringTake_data() {
        QTest::addColumn<bool>("wait");
        QTest::newRow("wait allowed, Space on Stop") << true;
        QTest::newRow("no wait, Esc") << false;
    }
    void keysDuringTake() {
        QFETCH(bool, wait);
        Lesson l;
        l.record(wait);
        TFormTransNoText f(l.p);
        f.Run().SetManualSteps(true);
        f.show();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
        auto* stop = Child<TBtnImgTransD1Zv>(&f, "BitBtnStop");
        key(Qt::Key_Space);
        QVERIFY(f.Run().Playing());
        Run(f.Run(), 500);
        for (Qt::Key k : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Space}) {
            key(k);
            QVERIFY(f.Run().Playing());
        }
        QVERIFY(!f.Run().Waiting()); // two Spaces: waited and went on, or nothing
        if (wait) {
            key(Qt::Key_Space);
            QVERIFY(f.Run().Waiting());
            for (int i = 0; i < 10 && QApplication::focusWidget() != stop; ++i)
                key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), stop);
            key(Qt::Key_Space);
        } else {
            QTest::keyClick(&f, Qt::Key_Escape);
            QVERIFY(!f.isVisible());
        }
        QVERIFY(!f.Run().Playing());
        QCOMPARE(WaveMs(l.recording()), qint64(500));
    }

    void layout_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QStringList>("spans"); // lines 1..N

        QTest::newRow("title, sintagm, hash, sintagm")
            << QStringList{"#Title", "One two", "#", "Three"} << 100 << "||One two ||Three "
            << QStringList{"0,0-0,0", "3,0-3,8", "0,0-0,0", "5,0-5,6"};
        QTest::newRow("wrap at the width")
            << QStringList{"aa bb cc"} << 60 << "aa bb |cc " << QStringList{"1,0-2,3"};
        QTest::newRow("two sintagms share a row")
            << QStringList{"ab", "cd"} << 100 << "ab cd " << QStringList{"1,0-1,3", "1,3-1,6"};
        QTest::newRow("first word no longer fits")
            << QStringList{"abcd", "efgh"} << 60 << "abcd |efgh "
            << QStringList{"1,0-1,5", "1,5-2,5"};
        QTest::newRow("empty line is an empty sintagm")
            << QStringList{"", "x"} << 100 << " x " << QStringList{"1,0-1,1", "1,1-1,3"};
        QTest::newRow("heading text is not shown")
            << QStringList{"#Heading words", "#@pic.bmp", "a"} << 100 << "||||a "
            << QStringList{"0,0-0,0", "0,0-0,0", "5,0-5,2"};
        QTest::newRow("word wider than the pane")
            << QStringList{"abcdefghij"} << 50 << "|abcdefghij " << QStringList{"1,0-2,11"};
        QTest::newRow("no lines") << QStringList{} << 100 << "" << QStringList{};
        // One word a row: far more rows than the three a line the pane starts with.
        QTest::newRow("grows past three rows a line")
            << QStringList{"a b c d e f g h i j k l"} << 20 << "a |b |c |d |e |f |g |h |i |j |k |l "
            << QStringList{"1,0-12,2"};
    }

    void layout() {
        QFETCH(QStringList, lines);
        QFETCH(int, width);
        QFETCH(QString, rows);
        QFETCH(QStringList, spans);
        const TListenLayout l = LayoutListenPane(lines, width, TenPx);
        QCOMPARE(RowsOf(l), rows);
        QCOMPARE(l.Spans.size(), lines.size() + 1);
        QStringList got;
        for (int i = 1; i < l.Spans.size(); ++i)
            got << SpanText(l.Spans[i]);
        QCOMPARE(got, spans);
        QVERIFY(l.Rows.size() > l.RowCount);
    }

    void highlight() {
        struct Row {
            const char* name;
            TSintagmSpan span;
            int row, rowLength;
            const char* columns; // "from..to" or "none"
        };
        const Row rows[] = {
            {"one row from the blank", {1, 3, 1, 8}, 1, 8, "3..8"},
            {"one row from the start", {1, 0, 1, 4}, 1, 4, "1..4"},
            {"first of three rows", {1, 3, 3, 4}, 1, 10, "4..10"},
            {"middle row", {1, 3, 3, 4}, 2, 7, "1..7"},
            {"last row", {1, 3, 3, 4}, 3, 9, "1..4"},
            {"row after", {1, 3, 3, 4}, 4, 9, "none"},
            {"row before", {2, 0, 3, 4}, 1, 9, "none"},
            {"hash line span", {0, 0, 0, 0}, 0, 0, "none"},
            {"first row ends at its start", {1, 6, 2, 3}, 1, 6, "none"},
            {"span past a shorter row", {1, 0, 1, 9}, 1, 5, "1..5"},
        };
        for (const Row& r : rows) {
            int from = -1, to = -1;
            const bool any = HighlightColumns(r.span, r.row, r.rowLength, from, to);
            QCOMPARE(QString(r.name) + ": " +
                         (any ? QStringLiteral("%1..%2").arg(from).arg(to) : "none"),
                     QString(r.name) + ": " + r.columns);
        }
    }

    // The scroll follows the playback through the rows; the drift adds a quarter
    // of itself, rounded; a lesson of no length has only the drift.
    void scroll() {
        QCOMPARE(ListenScroll(2500, 5000, 10, 0), 100);
        QCOMPARE(ListenScroll(2500, 5000, 10, 6), 102);
        QCOMPARE(ListenScroll(0, 0, 10, -6), -2);
    }

    // Wide enough, the width decides and the window is centred vertically; too
    // low, the height decides and it is centred horizontally. The paint box for
    // the window's pane height.
    void placement() {
        QCOMPARE(ListenPlacement(0, 0, 1000, 700), QRect(0, 42, 1000, 615));
        QCOMPARE(ListenPaintBoxSize(615 - kListenPanelNavF), QSize(450, 508));
        QCOMPARE(ListenPlacement(10, 20, 1000, 400), QRect(210, 20, 600, 400));
        QCOMPARE(ListenPaintBoxSize(400 - kListenPanelNavF), QSize(250, 293));
    }
};

QTEST_MAIN(TestTransNoText)
#include "test_transnotext.moc"
