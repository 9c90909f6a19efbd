// bench-libs: vantrel_text
// The listening practice on the sound card: the learner recorder's position
// against the lesson player's over one duplex run. The learner timing file
// stores recorder positions for lesson events, so a recorder that runs fast
// or slow against the player shifts every sintagm of a long take.
// Short by default (30 s); VANTREL_BENCH_LONG=1 runs a 5 minute lesson.
#include "media/audiodevice.h"
#include "text/transnotextrules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <QAudioDevice>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QTemporaryDir>
#include <QTimer>
#include <vector>

namespace {

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Put32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

// A silent 16-bit mono PCM wave of `ms` milliseconds.
void WriteWave(const QString& path, int rate, qint64 ms) {
    const quint32 data = quint32(rate * ms / 1000 * 2);
    QByteArray b("RIFF");
    Put32(b, 36 + data);
    b += "WAVEfmt ";
    Put32(b, 16);
    b += QByteArray("\x01\x00\x01\x00", 4);
    Put32(b, quint32(rate));
    Put32(b, quint32(rate * 2));
    b += QByteArray("\x02\x00\x10\x00", 4);
    b += "data";
    Put32(b, data);
    b += QByteArray(qsizetype(data), '\0');
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(b);
}

void WriteText(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Least-squares slope of y over x.
double Slope(const std::vector<double>& x, const std::vector<double>& y) {
    const size_t n = x.size();
    if (n < 2) return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < n; ++i) {
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
    }
    const double d = n * sxx - sx * sx;
    return d != 0 ? (n * sxy - sx * sy) / d : 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool longRun = qEnvironmentVariableIsSet("VANTREL_BENCH_LONG");
    if (QMediaDevices::defaultAudioOutput().isNull() ||
        QMediaDevices::defaultAudioInput().isNull()) {
        std::printf("bench_listen: no sound output or input device, nothing measured\n");
        return 0;
    }
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);

    const qint64 lessonMs = longRun ? 300000 : 30000;
    WriteWave("Lesson.wav", 22050, lessonMs);
    WriteWave("TSBegin.wav", 22050, 0);
    WriteWave("warm.wav", 22050, 300);
    WriteText("L1.txt", "#Title\r\nOne\r\n");
    WriteText("T1.txt", "#T\r\nOne\r\n");
    WriteText("Tm1.txt", QByteArray("#\t#\r\n0\t") + QByteArray::number(lessonMs) + "\r\n");
    WriteText("Pic1.txt", "");

    {
        // Wakes the output up, as the start-up music does in the program.
        AudioDevice warm;
        warm.setFileName("warm.wav");
        warm.open();
        warm.play();
        Wait(600);
    }

    TListenParams p;
    p.Files.Sound = "Lesson.wav";
    p.RecordName = "take.wav";
    p.Files.Text = "L1.txt";
    p.Files.Translation = "T1.txt";
    p.Files.Timing = "Tm1.txt";
    p.Files.Pictures = "Pic1.txt";
    TTransNoTextRun run(p, nullptr);
    run.Load();
    const auto tenPx = [](QStringView s) { return int(s.size()) * 10; };
    run.SetLayouts(LayoutListenPane(run.Lesson().Text, 400, tenPx),
                   LayoutListenPane(run.Lesson().Trans, 400, tenPx));
    run.SetPaneHeight(300);
    run.Play(false, false);
    if (!run.Recording()) {
        std::printf("bench_listen: the recorder did not start, nothing measured\n");
        return 1;
    }

    std::vector<double> t, diff;
    QElapsedTimer clock;
    clock.start();
    while (run.Playing() && run.StopMark() == kNoStopMark && clock.elapsed() < lessonMs + 5000) {
        Wait(50);
        const qint64 pl = run.Player()->position();
        // Both running steadily, and not the last moments of the lesson.
        if (clock.elapsed() < 1000 || pl >= lessonMs - 200) continue;
        t.push_back(double(pl));
        diff.push_back(double(run.Recorder()->position()) - double(pl));
    }
    run.Stop();
    run.Finish();

    // The recorder's position moves in captured blocks, so it lags by up to a
    // block at any moment: the upper envelope (the largest difference of each
    // 2 s window, just after a block came in) is what the drift shows in.
    std::vector<double> wt, wmax;
    for (size_t i = 0; i < t.size();) {
        const double start = t[i];
        double best = diff[i];
        size_t j = i;
        for (; j < t.size() && t[j] < start + 2000; ++j)
            best = std::max(best, diff[j]);
        wt.push_back(start);
        wmax.push_back(best);
        i = j;
    }
    // ms of recorder gained (or lost) per minute of lesson.
    const double perMin = Slope(wt, wmax) * 60000.0;
    std::printf("recorder vs player over %.0f s: offset %+.1f ms at start, %+.1f ms at end, "
                "%zu samples, envelope slope %+.2f ms/min (raw %+.2f)\n",
                double(lessonMs) / 1000, diff.empty() ? 0 : diff.front(),
                diff.empty() ? 0 : diff.back(), diff.size(), perMin, Slope(t, diff) * 60000.0);
    std::printf("FIGURE: Recorder drift vs player | %.2f ms/min | - | - | < 20 ms/min\n",
                std::fabs(perMin));
    return 0;
}
