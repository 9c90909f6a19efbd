// bench-libs: vantrel_align
// vantrel-align on the evaluation set (tools/align/make-eval-set): the demo
// lessons spoken by flite voices at two rates with random pauses and a noise
// floor, whose true sintagm ranges are known. Figures as counters:
//   BM_AlignBoundaryError  median_ms, p95_ms, max_ms over every begin and end
//   BM_AlignTenMinutes     seconds, realtime_x (recording length / time) for
//                          a recording of more than 10 minutes
//   BM_AlignPeakMemory     peak_mb of vantrel-align aligning that recording
// VANTREL_EVAL_DIR names a set made before (it takes half a minute to make).
#include "align/aligner.h"
#include "benchfigures.h"
#include "base/textfile.h"
#include "base/timingline.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#if defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#define VANTREL_HAVE_RUSAGE 1
#endif

namespace {

QString EvalDir() {
    static QTemporaryDir tmp;
    static QString dir;
    if (!dir.isEmpty()) return dir;
    dir = qEnvironmentVariable("VANTREL_EVAL_DIR");
    if (!dir.isEmpty() && QFile::exists(dir + "/list.txt")) return dir;
    if (dir.isEmpty()) dir = tmp.path();
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start("python3", {VANTREL_SOURCE_DIR "/tools/align/make-eval-set", "--src",
                        VANTREL_SOURCE_DIR "/course-src", "--out", dir, "--long", "600"});
    if (!p.waitForFinished(-1) || p.exitCode() != 0) qFatal("make-eval-set failed");
    return dir;
}

QStringList Names() {
    QStringList names;
    for (const QByteArray& l : ReadFileLines(EvalDir() + "/list.txt"))
        if (!l.trimmed().isEmpty()) names.append(QString::fromUtf8(l.trimmed()));
    return names;
}

TAlignment AlignFile(const QString& base, qint64* lengthMs = nullptr) {
    TAlignParams p;
    const TSound s = ReadSoundMono(base + ".wav", p.RateHz, &p.OriginalRate);
    if (lengthMs) *lengthMs = s.LengthMs();
    return AlignLesson(ReadTextLines(base + ".txt"), s, p);
}

double Percentile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[size_t(q * double(v.size() - 1))];
}

void BM_AlignBoundaryError(benchmark::State& st) {
    std::vector<double> errors;
    for (auto _ : st) {
        errors.clear();
        for (const QString& name : Names()) {
            if (name == "long") continue;
            const QString base = EvalDir() + "/" + name;
            const TAlignment a = AlignFile(base);
            const QList<QByteArray> truth = ReadFileLines(base + ".truth");
            for (int i = 1; i <= truth.size() && i < a.Timing.size(); ++i) {
                const TTimingEntry t = ParseTimingLine(truth[i - 1], true);
                if (t.EndPos == 0) continue;
                errors.push_back(std::abs(a.Timing[i].StartPos - t.StartPos));
                errors.push_back(std::abs(a.Timing[i].EndPos - t.EndPos));
            }
        }
    }
    DeclareFigures(st, {{"median_ms:figure", "vantrel-align boundary error on the evaluation set, median"},
                        {"median_ms:unit", "ms"},
                        {"median_ms:goal", "< 30 ms"},
                        {"p95_ms:figure", "vantrel-align boundary error, 95th percentile"},
                        {"p95_ms:unit", "ms"},
                        {"p95_ms:goal", "< 100 ms"},
                        {"max_ms:figure", "vantrel-align boundary error, largest"},
                        {"max_ms:unit", "ms"},
                        {"max_ms:goal", "< 300 ms"}});
    st.counters["median_ms"] = Percentile(errors, 0.5);
    st.counters["p95_ms"] = Percentile(errors, 0.95);
    st.counters["max_ms"] = Percentile(errors, 1.0);
    st.counters["boundaries"] = double(errors.size());
}
BENCHMARK(BM_AlignBoundaryError)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_AlignTenMinutes(benchmark::State& st) {
    qint64 length = 0;
    double seconds = 0;
    for (auto _ : st) {
        QElapsedTimer t;
        t.start();
        benchmark::DoNotOptimize(AlignFile(EvalDir() + "/long", &length));
        seconds = t.nsecsElapsed() / 1e9;
    }
    DeclareFigures(st, {{"seconds:figure", "vantrel-align on a recording of more than 10 minutes, 2 cores"},
                        {"seconds:unit", "s"},
                        {"seconds:goal", "< 20 s"},
                        {"realtime_x:figure", "vantrel-align speed, times real time"},
                        {"realtime_x:goal", "> 30"}});
    st.counters["seconds"] = seconds;
    st.counters["recording_s"] = length / 1000.0;
    st.counters["realtime_x"] = seconds > 0 ? length / 1000.0 / seconds : 0;
}
BENCHMARK(BM_AlignTenMinutes)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The program itself in a child process, so that its peak is its own.
void BM_AlignPeakMemory(benchmark::State& st) {
    double peakMb = 0;
    for (auto _ : st) {
        const QString base = EvalDir() + "/long";
        QTemporaryDir out;
        QProcess p;
        p.start(QCoreApplication::applicationDirPath() + "/vantrel-align",
                {base + ".txt", base + ".wav", "-o", out.filePath("long.tim")});
        if (!p.waitForFinished(-1) || p.exitCode() != 0) {
            st.SkipWithError("vantrel-align failed");
            return;
        }
#ifdef VANTREL_HAVE_RUSAGE
        rusage u{};
        getrusage(RUSAGE_CHILDREN, &u);
#ifdef __APPLE__
        peakMb = double(u.ru_maxrss) / (1024.0 * 1024.0); // bytes
#else
        peakMb = double(u.ru_maxrss) / 1024.0; // kilobytes
#endif
#endif
    }
    DeclareFigures(st, {{"peak_mb:figure", "vantrel-align peak memory on that recording"},
                        {"peak_mb:unit", "MB"},
                        {"peak_mb:goal", "< 300 MB"}});
    st.counters["peak_mb"] = peakMb;
}
BENCHMARK(BM_AlignPeakMemory)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
