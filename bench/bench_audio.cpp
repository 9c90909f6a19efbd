// Audio device timing against the sound server, each slowed figure beside
// the full-speed one of the same run: how soon sound starts, how late the
// end notification comes after the last sample was heard, how far the
// reported position is from the sound heard, what stretching costs, whether
// slowed ranges click at their ends, and how recording drifts against
// playback. VANTREL_BENCH_LONG=1 runs the duplex drift over 60 s, not 20 s.
#include "benchfigures.h"
#include "media/audiodevice.h"
#include "media/playfeed.h"

#include <algorithm>
#include <cmath>
#include <ctime>
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

constexpr int kRate = 22050; // the lessons' recordings: 22,050 Hz mono

void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void Put32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

// A 16-bit PCM wave of the given samples (-1..1).
void WriteWave(const QString& path, int rate, int channels, const std::vector<float>& s) {
    const quint32 data = quint32(s.size() * 2);
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
    for (float v : s) {
        const qint16 x = qint16(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
        b += char(x & 0xff);
        b += char((x >> 8) & 0xff);
    }
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(b);
}

// Something like a voice: a gliding fundamental with its harmonics, in
// syllables of a few per second with short pauses between words.
std::vector<float> Voice(qint64 ms) {
    std::vector<float> v(size_t(kRate * ms / 1000));
    double phase = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        const double t = double(i) / kRate;
        const double f0 =
            130 + 35 * std::sin(2 * M_PI * 0.6 * t) + 10 * std::sin(2 * M_PI * 2.3 * t);
        phase += 2 * M_PI * f0 / kRate;
        double s = 0;
        for (int h = 1; h <= 14; ++h)
            s += std::sin(h * phase + 0.3 * h) / (h * (1 + 0.2 * std::abs(h - 3)));
        const double syl = std::max(0.0, std::sin(2 * M_PI * 4.1 * t));
        const double word = std::fmod(t, 1.3) < 1.1 ? 1.0 : 0.0;
        v[i] = float(0.3 * s * syl * word);
    }
    return v;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double Worst(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

struct PlayResult {
    bool done = false;
    double firstMs = -1;     // play() to the position's first move
    double endDelayMs = 0;   // notification after the last sample was heard
    std::vector<double> err; // |position - sound heard|, ms of the recording
};

// Plays [from, to) of `file` at `speed` and watches the position. The sound
// server reports progress in blocks of a few ms, so the start of the sound
// is taken as the earliest one all positions agree with: at each sample,
// now - (position - from) / speed, at the least.
PlayResult PlayOnce(const QString& file, qint64 from, qint64 to, int speed, bool trackError) {
    PlayResult r;
    AudioDevice dev;
    dev.setFileName(file);
    dev.open();
    dev.setSpeed(speed);
    QElapsedTimer clock;
    double notifiedAt = -1;
    QObject::connect(&dev, &AudioDevice::notify,
                     [&](int) { notifiedAt = double(clock.nsecsElapsed()) / 1e6; });
    dev.setStartPos(from);
    dev.setEndPos(to);
    clock.start();
    dev.play();
    const double wallLen = double(to - from) * 100.0 / speed;
    std::vector<std::pair<double, qint64>> seen; // ms since play(), position
    while (notifiedAt < 0 && clock.elapsed() < qint64(wallLen) + 5000) {
        // Finely until the sound starts, then at the windows' own pace.
        Wait(r.firstMs < 0 ? 1 : 5);
        const qint64 pos = dev.position();
        const double now = double(clock.nsecsElapsed()) / 1e6;
        if (r.firstMs < 0 && pos > from) r.firstMs = now;
        if (r.firstMs >= 0 && pos < to && notifiedAt < 0) seen.push_back({now, pos});
    }
    r.done = notifiedAt >= 0 && r.firstMs >= 0 && !seen.empty();
    if (!r.done) return r;
    double start = r.firstMs;
    for (const auto& [now, pos] : seen)
        start = std::min(start, now - double(pos - from) * 100.0 / speed);
    r.endDelayMs = notifiedAt - (start + wallLen);
    if (trackError)
        for (const auto& [now, pos] : seen)
            r.err.push_back(std::abs(double(pos) - (double(from) + (now - start) * speed / 100.0)));
    return r;
}

bool NoOutput(benchmark::State& st) {
    if (!QMediaDevices::defaultAudioOutput().isNull()) return false;
    st.SkipWithError("no sound output device");
    return true;
}

// Start latency and end notification, ten short ranges at each speed taken
// in turns, after one of each to wake the output up.
void BM_PlayRange(benchmark::State& st) {
    DeclareFigures(st,
                   {{"first_ms:figure", "play to first sample heard at 60 % (baseline: at 100 %)"},
                    {"first_ms:unit", "ms"},
                    {"first_ms:worst", "first_worst_ms"},
                    {"first_ms:baseline", "first_100_ms"},
                    {"first_100_ms:worst", "first_100_worst_ms"},
                    {"first_ms:goal", "< 1.5x the time at 100 %"},
                    {"end_ms:figure",
                     "end notification after the last sample heard, at 60 % (baseline: at 100 %)"},
                    {"end_ms:unit", "ms"},
                    {"end_ms:worst", "end_worst_ms"},
                    {"end_ms:baseline", "end_100_ms"},
                    {"end_100_ms:worst", "end_100_worst_ms"},
                    {"end_ms:goal", "< 20 ms"}});
    if (NoOutput(st)) return;
    for (auto _ : st) {
        PlayOnce("short.wav", 100, 587, 100, false);
        PlayOnce("short.wav", 100, 587, 60, false);
        std::vector<double> first[2], end[2];
        for (int i = 0; i < 20; ++i) {
            const int k = i % 2;
            const PlayResult r = PlayOnce("short.wav", 100, 587, k ? 60 : 100, false);
            if (r.done) {
                first[k].push_back(r.firstMs);
                end[k].push_back(r.endDelayMs);
            }
            Wait(50);
        }
        st.counters["first_ms"] = Median(first[1]);
        st.counters["first_worst_ms"] = Worst(first[1]);
        st.counters["first_100_ms"] = Median(first[0]);
        st.counters["first_100_worst_ms"] = Worst(first[0]);
        st.counters["end_ms"] = Median(end[1]);
        st.counters["end_worst_ms"] = Worst(end[1]);
        st.counters["end_100_ms"] = Median(end[0]);
        st.counters["end_100_worst_ms"] = Worst(end[0]);
    }
}
BENCHMARK(BM_PlayRange)->Iterations(1)->Unit(benchmark::kMillisecond);

// The reported position against the sound heard (the null sink plays in
// real time from its first sample), sampled every 5 ms over 10 s of sound.
void BM_PositionError(benchmark::State& st) {
    DeclareFigures(st,
                   {{"err60_ms:figure", "position error over 10 s at 60 % (baseline: at 100 %)"},
                    {"err60_ms:unit", "ms"},
                    {"err60_ms:worst", "err60_worst_ms"},
                    {"err60_ms:baseline", "err100_ms"},
                    {"err100_ms:worst", "err100_worst_ms"},
                    {"err60_ms:goal", "median < 10 ms, worst < 25 ms"},
                    {"err50_ms:figure", "position error over 10 s at 50 % (baseline: at 100 %)"},
                    {"err50_ms:unit", "ms"},
                    {"err50_ms:worst", "err50_worst_ms"},
                    {"err50_ms:baseline", "err100_ms"},
                    {"err50_ms:goal", "median < 10 ms, worst < 25 ms"}});
    if (NoOutput(st)) return;
    for (auto _ : st) {
        for (int speed : {100, 60, 50}) {
            const PlayResult r = PlayOnce("voice.wav", 0, 10000, speed, true);
            const std::string key = "err" + std::to_string(speed);
            st.counters[key + "_ms"] = Median(r.err);
            st.counters[key + "_worst_ms"] = Worst(r.err);
        }
    }
}
BENCHMARK(BM_PositionError)->Iterations(1)->Unit(benchmark::kMillisecond);

// Processor time of making 10 s of 22,050 Hz mono sound for the sink at 50 %
// against the full-speed path (read and convert only), in % of one core.
void BM_StretchCpu(benchmark::State& st) {
    DeclareFigures(st, {{"cpu50_pct:figure",
                         "CPU of a 50 % play, 22,050 Hz mono, % of one core (baseline: 100 %)"},
                        {"cpu50_pct:unit", "%"},
                        {"cpu50_pct:baseline", "cpu100_pct"},
                        {"cpu50_pct:goal", "< 5 %"}});
    QAudioFormat f;
    f.setSampleRate(kRate);
    f.setChannelCount(1);
    f.setSampleFormat(QAudioFormat::Int16);
    for (auto _ : st) {
        for (int speed : {100, 50}) {
            PlayFeed feed;
            feed.prepare(kRate, 1);
            QByteArray out;
            const std::clock_t c0 = std::clock();
            feed.start("voice.wav", 0, 10 * kRate, speed, f);
            qint64 frames = 0;
            for (qint64 n; (n = feed.pull(441, out)) > 0; out.clear())
                frames += n;
            const double cpu = double(std::clock() - c0) / CLOCKS_PER_SEC;
            const double sound = double(frames) / kRate;
            st.counters[speed == 50 ? "cpu50_pct" : "cpu100_pct"] = cpu / sound * 100.0;
        }
    }
}
BENCHMARK(BM_StretchCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// Clicks: the largest step between neighbouring output samples of slowed
// ranges, the silence before and after included, against the largest step
// inside the same ranges at 100 %. Ranges start and stop mid-syllable.
void BM_RangeClicks(benchmark::State& st) {
    DeclareFigures(st, {{"jump60:figure", "largest sample step of ranges at 60 %, ends included "
                                          "(baseline: inside the ranges at 100 %)"},
                        {"jump60:baseline", "jump100"},
                        {"jump60:goal", "not above the baseline"}});
    QAudioFormat f;
    f.setSampleRate(kRate);
    f.setChannelCount(1);
    f.setSampleFormat(QAudioFormat::Int16);
    const auto samples = [&](int speed, qint64 from, qint64 to) {
        PlayFeed feed;
        feed.start("voice.wav", from, to, speed, f);
        QByteArray out;
        while (feed.pull(4096, out) > 0) {
        }
        std::vector<float> s(size_t(out.size() / 2));
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = float(qint16(quint8(out[qsizetype(2 * i)]) | quint8(out[qsizetype(2 * i + 1)])
                                                                    << 8)) /
                   32768.0f;
        return s;
    };
    for (auto _ : st) {
        float inside = 0, slowed = 0;
        for (int i = 0; i < 12; ++i) {
            const qint64 from = kRate / 3 + i * (kRate * 7 / 10), to = from + kRate * 4 / 10;
            const std::vector<float> full = samples(100, from, to);
            for (size_t k = 1; k < full.size(); ++k)
                inside = std::max(inside, std::abs(full[k] - full[k - 1]));
            const std::vector<float> slow = samples(60, from, to);
            float prev = 0;
            for (float v : slow) {
                slowed = std::max(slowed, std::abs(v - prev));
                prev = v;
            }
            slowed = std::max(slowed, std::abs(prev));
        }
        st.counters["jump60"] = slowed;
        st.counters["jump100"] = inside;
    }
}
BENCHMARK(BM_RangeClicks)->Iterations(1)->Unit(benchmark::kMillisecond);

// The recorder's position against the player's while both run (the
// listening practice's duplex use), in ms gained or lost per minute.
void BM_RecorderDrift(benchmark::State& st) {
    DeclareFigures(st, {{"drift:figure", "recorder drift against the player, duplex devices"},
                        {"drift:unit", "ms/min"},
                        {"drift:goal", "< 20 ms/min"}});
    if (NoOutput(st)) return;
    if (QMediaDevices::defaultAudioInput().isNull()) {
        st.SkipWithError("no sound input device");
        return;
    }
    const qint64 duplexLen = qEnvironmentVariableIsSet("VANTREL_BENCH_LONG") ? 60000 : 20000;
    WriteWave("duplex.wav", kRate, 1,
              std::vector<float>(size_t(kRate * (duplexLen + 2000) / 1000)));
    WriteWave("rec.wav", kRate, 1, {});
    for (auto _ : st) {
        AudioDevice player, rec;
        player.setFileName("duplex.wav");
        rec.setFileName("rec.wav");
        player.open();
        rec.open();
        rec.startRecording();
        player.play();
        QElapsedTimer clock;
        clock.start();
        std::vector<double> t, diff;
        while (clock.elapsed() < duplexLen) {
            Wait(50);
            if (clock.elapsed() < 1000) continue; // both running steadily
            t.push_back(double(player.position()));
            diff.push_back(double(rec.position()) - double(player.position()));
        }
        player.stop();
        rec.stop();
        // The recorder's position moves in captured blocks: the upper
        // envelope (the largest difference of each 2 s) shows the drift.
        std::vector<double> wt, wmax;
        for (size_t i = 0; i < t.size();) {
            double best = diff[i];
            size_t j = i;
            for (; j < t.size() && t[j] < t[i] + 2000; ++j)
                best = std::max(best, diff[j]);
            wt.push_back(t[i]);
            wmax.push_back(best);
            i = j;
        }
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        const double n = double(wt.size());
        for (size_t i = 0; i < wt.size(); ++i) {
            sx += wt[i];
            sy += wmax[i];
            sxx += wt[i] * wt[i];
            sxy += wt[i] * wmax[i];
        }
        const double d = n * sxx - sx * sx;
        st.counters["drift"] = d != 0 ? std::abs((n * sxy - sx * sy) / d) * 60000.0 : 0;
    }
}
BENCHMARK(BM_RecorderDrift)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    AudioDevice::SetDefaultBackend(AudioDevice::Backend::Real);
    WriteWave("short.wav", kRate, 1, Voice(700));
    WriteWave("voice.wav", kRate, 1, Voice(10500));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
