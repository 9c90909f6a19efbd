// The listening practice run and its window on the virtual audio back end:
// both clocks (lesson player and learner recorder) move only when the test
// advances them, and the test runs the timer steps itself.
#include "base/textfile.h"
#include "common/testenv.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/prgssbarzv.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "media/wavefile.h"
#include "support_text.h"
#include "text/eng_transnotext.h"

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

// What the run asked the window to do.
struct FakeView : TListenView {
    int applied = 0;
    QList<int> drawn, pictures;
    void ApplyControls(const TListenControls&) override { ++applied; }
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

std::unique_ptr<TTransNoTextRun> MakeRun(const TListenParams& p, FakeView& v) {
    auto r = std::make_unique<TTransNoTextRun>(p, &v);
    r->SetManualSteps(true);
    r->SetPaneHeight(300);
    r->Load();
    r->SetLayouts(
        LayoutListenPane(r->Lesson().Text, 200, [](QStringView s) { return int(s.size()) * 10; }),
        LayoutListenPane(r->Lesson().Trans, 200, [](QStringView s) { return int(s.size()) * 10; }));
    return r;
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
        p.Files.Sound = "Lesson.wav";
        p.Files.Text = "L1.txt";
        p.Files.Translation = "T1.txt";
        p.Files.Timing = "Tm1.txt";
        p.Files.Pictures = "DemoData\\Pic1.txt";
        p.DataRoot = "DemoData\\";
        p.HelpContext = 140;
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
    // The run over a fake window, started unless asked not to.
    std::unique_ptr<TTransNoTextRun> run(bool play = true) {
        auto r = MakeRun(p, v);
        if (play) r->Play(false, false);
        return r;
    }
    QString recording() const { return dir.file("Report/Ann/Ann12.wav"); }
    QString timingFile() const { return dir.file("Report/Ann/Ann12.txt"); }
};

// A lesson recorded with the wait allowed.
struct Take : Lesson {
    Take() { record(true); }
};

} // namespace

class TestTransNoText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    }
    void init() { VirtualAudio::Reset(); }

    void listenOnlyStopsAtLessonEnd() {
        Lesson l;
        auto r = l.run();
        Run(*r, 6950);
        QVERIFY(r->Playing());
        QCOMPARE(r->Controls().ProgressPos, 7); // 6950 ms rounds to 7 s
        Run(*r, 50);
        QVERIFY(r->Stopped() && !r->Playing());
        QVERIFY(QDir(l.dir.file("Report/Ann")).isEmpty());
        QCOMPARE(r->Finish(), 0);
    }

    // A take ends 10 s after the lesson, past the mark (17000), not on it; its
    // timing file is there only where the wait is allowed.
    void learnerTimingFile_data() {
        QTest::addColumn<bool>("wait");
        QTest::newRow("wait allowed") << true;
        QTest::newRow("no wait") << false;
    }

    void learnerTimingFile() {
        QFETCH(bool, wait);
        Lesson l;
        l.record(wait);
        auto r = l.run();
        Run(*r, 17000);
        QVERIFY(r->Playing());
        Run(*r, 1000);
        QCOMPARE(WaveMs(l.recording()), qint64(17050));
        QCOMPARE(QFile::exists(l.timingFile()), wait);
        if (wait) QCOMPARE(ReadBytes(l.timingFile()), kWholeTake);
    }

    void stopRunsOnce() {
        Take l;
        auto r = l.run();
        Run(*r, 2500);
        r->Stop();
        const QByteArray timing = ReadBytes(l.timingFile());
        // Lines the run never reached are written as silent.
        QCOMPARE(timing, QByteArray("#\t#\r\n0\t2050\r\n2050\t2500\r\n") +
                             QByteArray("#\t#\r\n").repeated(5));
        const QDateTime saved = QFileInfo(l.recording()).lastModified();
        const int applied = l.v.applied;
        // A second stop, later steps and late notifications change nothing.
        r->Stop();
        Run(*r, 3000);
        r->PlayerNotify(AudioDevice::Successful);
        r->RecorderNotify(AudioDevice::Successful);
        QCOMPARE(ReadBytes(l.timingFile()), timing);
        QCOMPARE(QFileInfo(l.recording()).lastModified(), saved);
        QCOMPARE(l.v.applied, applied);
    }

    void waitThenGoOn() {
        Take l;
        auto r = l.run();
        Run(*r, 1500);
        r->Wait();
        Run(*r, 4000); // the player holds at 1500
        r->Wait();
        Run(*r, 550); // player 2050: sintagm 2 ends at recorder 6050
        r->Stop();
        QCOMPARE(ReadBytes(l.timingFile()), QByteArray("#\t#\r\n0\t6050\r\n6050\t6050\r\n") +
                                                QByteArray("#\t#\r\n").repeated(5));
    }

    void waitGoesOnByItself() {
        Take l;
        auto r = l.run();
        Run(*r, 1000);
        r->Wait();
        // Sintagm 2 lasts 1000 ms: the wait holds for 1000 + 20000 ms, then goes on.
        Run(*r, 21000);
        QVERIFY(r->Waiting());
        QCOMPARE(r->Player()->position(), qint64(1000));
        Run(*r, 50);
        QVERIFY(!r->Waiting());
        Run(*r, 50);
        QCOMPARE(r->Player()->position(), qint64(1050));
    }

    void pauseHoldsBothDevices() {
        Take l;
        auto r = l.run();
        Run(*r, 1200);
        r->Pause();
        QVERIFY(r->Paused());
        Run(*r, 5000);
        QCOMPARE(r->Player()->position(), qint64(1200));
        // The wait is refused while paused.
        r->Wait();
        QVERIFY(!r->Waiting());
        r->Pause();
        QVERIFY(!r->Paused());
        // The pause is not in the take, which still ends 10 s after the lesson.
        Run(*r, 5800 + 10050);
        QVERIFY(!r->Playing());
        QCOMPARE(WaveMs(l.recording()), qint64(17050));
    }

    void continueAfterLessonEndOnlyRecords() {
        Take l;
        auto r = l.run();
        Run(*r, 8000);
        r->Pause();
        r->Pause();
        r->Wait();
        r->Wait();
        QCOMPARE(r->Recorder()->mode(), AudioDevice::Recording);
        Run(*r, 1000);
        // The lesson was not replayed from its start.
        QCOMPARE(r->Player()->position(), qint64(7000));
        Run(*r, 9000);
        QVERIFY(!r->Playing());
        QCOMPARE(ReadBytes(l.timingFile()), kWholeTake);
    }

    void recorderEndStopsRun() {
        // A lesson of length 0 gives a recorder end of 10000 ms per text row.
        Lesson l;
        l.lines({"#T", "a"}, {"#\t#", "0\t0"}, 0);
        l.record(false);
        auto r = l.run();
        const qint64 end = 10000 * r->Pane(0).Layout.RowCount;
        // The stop rule (mark + 10 s) comes first; push the recorder to its own end
        // without the timer steps.
        VirtualAudio::Advance(end);
        Settle();
        QVERIFY(!r->Playing());
        QCOMPARE(WaveMs(l.recording()), end);
    }

    void recorderFailureKeepsTake() {
        Take l;
        testui::MessageRecorder m;
        auto r = l.run();
        Run(*r, 2500);
        r->RecorderNotify(AudioDevice::Failure);
        QVERIFY(!r->Playing());
        QCOMPARE(WaveMs(l.recording()), qint64(2500));
        QCOMPARE(m.messages.size(), 1);
        QCOMPARE(CountLines(ReadBytes(l.timingFile())), 8);
    }

    // Recording refused at play: the earlier take and timing stay, the
    // learner is told why, and without a microphone nothing plays at all.
    void refusedRecordingKeepsOldTake_data() {
        QTest::addColumn<QByteArray>("templateBytes"); // empty: no file
        QTest::addColumn<bool>("microphone");
        QTest::addColumn<QString>("message");
        QTest::newRow("template missing") << QByteArray() << true << "Повреждены файлы";
        QTest::newRow("template not a wave file")
            << QByteArray("RIFF\x10\0\0\0junkjunkjunk", 20) << true << "Повреждены файлы";
        QTest::newRow("no microphone") << QByteArray("-") << false << "Подключите микрофон";
    }
    void refusedRecordingKeepsOldTake() {
        QFETCH(QByteArray, templateBytes);
        QFETCH(bool, microphone);
        QFETCH(QString, message);
        Take l;
        if (templateBytes != "-") {
            QFile::remove(l.dir.file("TSBegin.wav"));
            if (!templateBytes.isEmpty()) WriteBytes(l.dir.file("TSBegin.wav"), templateBytes);
        }
        VirtualAudio::SetInputAvailable(microphone);
        WriteSilent(l.recording(), 700);
        WriteBytes(l.timingFile(), CrLf({"#\t#", "0\t1", "1\t2", "#\t#", "2\t3"}));
        const QByteArray oldRec = ReadBytes(l.recording());
        const QByteArray oldTiming = ReadBytes(l.timingFile());
        testui::MessageRecorder m;
        auto r = l.run();
        QCOMPARE(m.messages.size(), 1);
        QVERIFY(m.messages[0].text.contains(message));
        QCOMPARE(m.messages[0].flags, 16);
        QCOMPARE(r->Playing(), microphone);
        QVERIFY(!r->Recording() && !r->Controls().RecordingSign);
        Run(*r, 7000); // without recording the lesson's end stops the run
        QVERIFY(!r->Playing());
        QCOMPARE(ReadBytes(l.recording()), oldRec);
        QCOMPARE(ReadBytes(l.timingFile()), oldTiming);
        QCOMPARE(r->Finish(), 0); // the earlier recording is still there
    }

    // The outcome is the recording on disk, not whether this run saved one:
    // after "Повторить" a run left without recording still has the take of
    // the run before, so the results dialog comes.
    void outcomeFollowsRecordingOnDisk_data() {
        QTest::addColumn<int>("earlierMs"); // -1: no file, 0: an empty file
        QTest::addColumn<bool>("record");   // this run records a take of 2 s
        QTest::addColumn<bool>("leftover"); // a recorder file of another run lies beside it
        QTest::addColumn<int>("outcome");
        QTest::newRow("take recorded now") << -1 << true << false << 0;
        QTest::newRow("repeat left without recording, a leftover beside it")
            << 700 << false << true << 0;
        QTest::newRow("no recording at all") << -1 << false << false << 2;
        QTest::newRow("only an empty file") << 0 << false << false << 2;
    }
    void outcomeFollowsRecordingOnDisk() {
        QFETCH(int, earlierMs);
        QFETCH(bool, record);
        QFETCH(bool, leftover);
        QFETCH(int, outcome);
        Lesson l;
        l.record(false);
        if (earlierMs > 0) WriteSilent(l.recording(), earlierMs);
        if (earlierMs == 0) WriteBytes(l.recording(), QByteArray());
        auto r = l.run(false);
        if (record) {
            r->Play(false, false);
            Run(*r, 2000);
            r->Stop();
        }
        if (leftover) WriteSilent(l.dir.file("vantrel-rec-00beef.tmp"), 300);
        QCOMPARE(r->Finish(), outcome);
        if (record || earlierMs > 0)
            QCOMPARE(WaveMs(l.recording()), qint64(record ? 2000 : earlierMs));
    }

    void unsavedTakeRescued() {
        Lesson l;
        // The learner's folder is missing: the save at the stop fails.
        l.p.RecordName = "Report\\Bob\\Bob12.wav";
        WriteSilent(l.dir.file("vantrel-rec-000001.tmp"), 300); // an earlier run's, stale
        testui::MessageRecorder m;
        auto r = l.run();
        Run(*r, 2000);
        // What the recorder left behind: a wave file of the take so far.
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
    }

    void degenerateLessons_data() {
        QTest::addColumn<int>("lines"); // 8: the work lesson's, 0: no lines at all
        QTest::addColumn<int>("ms");
        QTest::newRow("lesson of length 0") << 8 << 0;
        QTest::newRow("no lines") << 0 << 3000;
    }

    void degenerateLessons() {
        QFETCH(int, lines);
        QFETCH(int, ms);
        Lesson l;
        if (lines == 0)
            l.lines({}, {}, ms);
        else
            WriteSilent(l.dir.file("Lesson.wav"), ms);
        l.record(true);
        auto r = l.run(false);
        r->Play(true, false);
        QCOMPARE(r->Controls().ProgressMax, ms / 1000);
        r->Wait(); // held until it goes on by itself
        Run(*r, 37000);
        QVERIFY(!r->Playing());
        QVERIFY(r->TakeSaved());
        QCOMPARE(CountLines(ReadBytes(l.timingFile())), lines);
    }

    void schedulePictures() {
        Lesson l;
        auto r = l.run();
        // Sintagm 2 ends at 2000: entry 1 (0 < t <= 2500); sintagm 3 at 3000: entry 2.
        Run(*r, 3050);
        QCOMPARE(l.v.pictures, (QList<int>{1, 2}));
        // The translation shown: no schedule pictures, the pane is drawn instead.
        r->Stop(); // back to the first picture
        QCOMPARE(l.v.pictures.last(), 1);
        l.v.pictures.clear();
        l.v.drawn.clear();
        r->Play(false, true);
        Run(*r, 2500);
        QVERIFY(l.v.pictures.isEmpty());
        QVERIFY(l.v.drawn.contains(1));
        QVERIFY(!l.v.drawn.contains(0));
    }

    void scrollFollowsPlayback() {
        Lesson l;
        auto r = l.run(false);
        r->Play(true, true);
        Run(*r, 2500);
        const TListenPane& p = r->Pane(0);
        // 50 steps with the current row above a third of 300 px: drift -50.
        QCOMPARE(p.Drift, -50);
        QCOMPARE(p.Scroll, ListenScroll(2500, 7000, p.Layout.RowCount, -50));
        QCOMPARE(p.RowPos, kListenRowPitch * p.Layout.Spans[r->Current()].FirstRow - p.Scroll);
        QVERIFY(l.v.drawn.count(0) == 50 && l.v.drawn.count(1) == 50);
    }

    void readError() {
        Lesson l;
        WriteBytes(l.dir.file("Tm1.txt"), CrLf({"#\t#", "1000\tabc"}));
        auto r = l.run(false);
        QVERIFY(!r->Lesson().ok());
        // The run still works with what was read.
        r->Play(false, false);
        Run(*r, 7000);
        QVERIFY(!r->Playing());
    }

    // Before a run, stale takes of earlier runs go; other files stay.
    void staleRecordingsRemoved() {
        testenv::CourseDir dir;
        WriteBytes(dir.file("x.tmp"), "not ours");
        WriteBytes(dir.file("vantrel-rec-0a1b2c.tmp"), "left by an earlier run");
        TTransNoTextRun::RemoveStaleRecordings();
        QVERIFY(QFile::exists(dir.file("x.tmp")));
        QVERIFY(!QFile::exists(dir.file("vantrel-rec-0a1b2c.tmp")));
    }

    // --- the window --------------------------------------------------------------

    // The boxes reach the run, the run's state reaches the panes, the sign
    // and the bar; the current sintagm is drawn red among black text.
    void windowWiring() {
        Take l;
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
        const QImage img = text->image().toImage();
        bool red = false, black = false;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                red = red || (c.red() > 200 && c.green() < 60 && c.blue() < 60);
                black = black || (c.red() < 40 && c.green() < 40 && c.blue() < 40);
            }
        QVERIFY(red && black);
        Child<TBtnImgTransD1Zv>(&f, "BitBtnStop")->click();
        QVERIFY(!f.Run().Playing());
        QVERIFY(!sign->isVisible());
        QVERIFY(!text->isVisible());
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
};

QTEST_MAIN(TestTransNoText)
#include "test_transnotext.moc"
