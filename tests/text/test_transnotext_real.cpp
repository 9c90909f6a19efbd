// The listening practice on the sound card back end: the lesson plays while
// the recorder records, in real time. Skipped where no sound server answers.
#include "base/textfile.h"
#include "base/timingline.h"
#include "common/testenv.h"
#include "common/wave.h"
#include "media/audiodevice.h"
#include "media/wavefile.h"
#include "text/transnotextrules.h"

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QSignalSpy>
#include <QtTest>

using testenv::CrLf;
using testenv::ReadBytes;
using testenv::WriteBytes;

class TestTransNoTextReal : public QObject {
    Q_OBJECT
    std::unique_ptr<testenv::CourseDir> m_dir;
private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
        if (QMediaDevices::defaultAudioOutput().isNull() ||
            QMediaDevices::defaultAudioInput().isNull())
            QSKIP("no sound server answers: no output or input device");
        // The program's splash music wakes the output up long before any
        // exercise; a sound server idling with a long block (the null sink
        // renders 2 s at a time) would otherwise start the first play late.
        m_dir = std::make_unique<testenv::CourseDir>();
        WriteBytes(m_dir->file("warm.wav"), testwave::Pcm(22050, 1, 16, 6615));
        AudioDevice warm;
        QSignalSpy spy(&warm, &AudioDevice::notify);
        warm.setFileName(m_dir->file("warm.wav"));
        warm.open();
        warm.play();
        QVERIFY(spy.wait(5000));
    }

    // A 5 s lesson recorded at once gives a take of 5 s + 10 s, and every
    // position of the learner timing file lies inside it.
    void duplexTake() {
        testenv::CourseDir dir;
        WriteBytes(dir.file("L1.txt"), CrLf({"#Title", "One two", "Three four", "#", "Five"}));
        WriteBytes(dir.file("T1.txt"), CrLf({"#T", "a", "b", "#", "c"}));
        WriteBytes(dir.file("Tm1.txt"),
                   CrLf({"#\t#", "300\t1500", "1500\t3000", "#\t#", "3000\t4800"}));
        WriteBytes(dir.file("Pic1.txt"), "");
        WriteBytes(dir.file("Lesson.wav"), testwave::Pcm(22050, 1, 16, 110250));
        WriteBytes(dir.file("TSBegin.wav"), testwave::Empty(22050, 1, 16));
        TListenParams p;
        p.Files.Sound = "Lesson.wav";
        p.RecordName = "Ann12.wav";
        p.Files.Text = "L1.txt";
        p.Files.Translation = "T1.txt";
        p.Files.Timing = "Tm1.txt";
        p.Files.Pictures = "Pic1.txt";
        p.WaitAllowed = true;
        TTransNoTextRun run(p, nullptr);
        QVERIFY(run.Load());
        run.SetLayouts(LayoutListenPane(run.Lesson().Text, 400,
                                        [](QStringView s) { return int(s.size()) * 10; }),
                       LayoutListenPane(run.Lesson().Trans, 400,
                                        [](QStringView s) { return int(s.size()) * 10; }));
        run.SetPaneHeight(300);
        QElapsedTimer clock;
        clock.start();
        run.Play(false, false);
        QVERIFY(run.Recording());
        QTRY_VERIFY_WITH_TIMEOUT(!run.Playing(), 25000);
        QVERIFY2(clock.elapsed() >= 14500, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(run.TakeSaved());

        const WaveInfo w = ProbeWave("Ann12.wav");
        const qint64 len = FramesToMs(w.frames, w.rate);
        QVERIFY2(qAbs(len - 15000) <= 150, qPrintable(QString::number(len)));
        QCOMPARE(w.rate, 22050);
        QCOMPARE(w.channels, 1);

        // Positions rise, lie inside the take, and follow the lesson's own
        // sintagm end (1500) within a step or two.
        const QList<QByteArray> lines = SplitLines(ReadBytes(dir.file("Ann12.txt")));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[3], QByteArray("#\t#"));
        qint64 prev = 0;
        for (int i : {1, 2, 4}) {
            const TTimingEntry e = ParseTimingLine(lines[i], true);
            QVERIFY2(e.StartPos >= prev && e.EndPos >= e.StartPos && e.EndPos <= len,
                     lines[i].constData());
            prev = e.EndPos;
        }
        const qint64 end2 = ParseTimingLine(lines[1], true).EndPos;
        QVERIFY2(end2 >= 1500 && end2 <= 1800, lines[1].constData());
        QCOMPARE(run.Finish(), 0);
        QVERIFY(QDir::current().entryList({"vantrel-rec-*.tmp"}, QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestTransNoTextReal)
#include "test_transnotext_real.moc"
