// Audio device timing against the sound server: how soon sound starts, how
// far the reported position is from what was heard, how late the end
// notification comes and how recording drifts against playback.
// Short by default; VANTREL_BENCH_LONG=1 runs the full lengths (10 s, 60 s).
#include "media/audiodevice.h"

#include <algorithm>
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

// A silent 16-bit PCM wave of `ms` milliseconds.
void WriteWave(const QString& path, int rate, int channels, qint64 ms) {
    const quint32 data = quint32(rate * ms / 1000 * channels * 2);
    QByteArray b("RIFF");
    Put32(b, 36 + data);
    b += "WAVEfmt ";
    Put32(b, 16);
    b += QByteArray("\x01\x00", 2);
    b += char(channels);
    b += char(0);
    Put32(b, quint32(rate));
    Put32(b, quint32(rate * channels * 2));
    b += char(channels * 2);
    b += char(0);
    b += QByteArray("\x10\x00", 2);
    b += "data";
    Put32(b, data);
    b += QByteArray(qsizetype(data), '\0');
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(b);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Plays `file` to its end; returns start latency and end delay in ms.
bool PlayOnce(const QString& file, qint64 lengthMs, double& startMs, double& endDelayMs,
              std::vector<double>* posErr) {
    AudioDevice dev;
    dev.setFileName(file);
    dev.open();
    bool done = false;
    QElapsedTimer endClock;
    QObject::connect(&dev, &AudioDevice::notify, [&](int) {
        done = true;
        endClock.start();
    });
    QElapsedTimer clock;
    clock.start();
    dev.play();
    qint64 first = -1;
    QElapsedTimer poll;
    while (!done && clock.elapsed() < lengthMs + 5000) {
        Wait(5);
        const qint64 pos = dev.position();
        const double now = double(clock.nsecsElapsed()) / 1e6;
        if (first < 0 && pos > 0) first = qint64(now);
        if (posErr && first >= 0 && pos < lengthMs)
            posErr->push_back(std::abs(double(pos) - (now - double(first))));
    }
    if (!done) return false;
    startMs = double(first);
    endDelayMs = double(clock.nsecsElapsed()) / 1e6 - double(endClock.nsecsElapsed()) / 1e6 -
                 double(lengthMs);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool longRun = qEnvironmentVariableIsSet("VANTREL_BENCH_LONG");
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        std::printf("bench_audio: no sound output device, nothing measured\n");
        return 0;
    }
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
    WriteWave("short.wav", 44100, 2, 500);
    const qint64 posLen = longRun ? 10000 : 3000;
    WriteWave("long.wav", 44100, 2, posLen);
    const qint64 duplexLen = longRun ? 60000 : 5000;
    WriteWave("duplex.wav", 22050, 1, duplexLen + 2000);
    WriteWave("rec.wav", 22050, 1, 0);

    double s = 0, e = 0;
    PlayOnce("short.wav", 500, s, e, nullptr); // wakes the output up

    std::vector<double> starts, ends;
    for (int i = 0; i < 10; ++i) {
        if (PlayOnce("short.wav", 500, s, e, nullptr)) {
            starts.push_back(s);
            ends.push_back(e);
        }
        Wait(50);
    }
    std::printf(
        "play to first frame heard:   median %6.1f ms, worst %6.1f ms (%zu runs)\n", Median(starts),
        starts.empty() ? 0 : *std::max_element(starts.begin(), starts.end()), starts.size());
    std::printf("end notification delay:     median %6.1f ms, worst %6.1f ms\n", Median(ends),
                ends.empty() ? 0 : *std::max_element(ends.begin(), ends.end()));

    std::vector<double> err;
    if (PlayOnce("long.wav", posLen, s, e, &err))
        std::printf("position error over %lld s:   median %6.1f ms, worst %6.1f ms (%zu samples)\n",
                    posLen / 1000, Median(err),
                    err.empty() ? 0 : *std::max_element(err.begin(), err.end()), err.size());

    if (QMediaDevices::defaultAudioInput().isNull()) {
        std::printf("full duplex: no input device, not measured\n");
        return 0;
    }
    AudioDevice player, rec;
    player.setFileName("duplex.wav");
    rec.setFileName("rec.wav");
    player.open();
    rec.open();
    rec.startRecording();
    player.play();
    QElapsedTimer clock;
    clock.start();
    double firstDiff = 0, lastDiff = 0;
    bool haveFirst = false;
    while (clock.elapsed() < duplexLen) {
        Wait(50);
        if (clock.elapsed() < 1000) continue; // both running steadily
        const double diff = double(rec.position()) - double(player.position());
        if (!haveFirst) {
            firstDiff = diff;
            haveFirst = true;
        }
        lastDiff = diff;
    }
    player.stop();
    rec.stop();
    const double span = double(duplexLen - 1000) / 1000.0;
    std::printf("recording drift vs playback: %+6.1f ms over %.0f s (%+.0f ppm), offset %+.1f ms\n",
                lastDiff - firstDiff, span, (lastDiff - firstDiff) / (span * 1000.0) * 1e6,
                firstDiff);
    return 0;
}
