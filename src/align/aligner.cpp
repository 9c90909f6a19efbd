#include "align/aligner.h"

#include "align/dtw.h"
#include "align/features.h"
#include "align/synth.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <thread>

bool HasSound(const QString& lessonLine) {
    return !lessonLine.startsWith(QLatin1Char('#'));
}

QList<int> TAlignment::LeastSure(int count) const {
    QList<int> lines;
    for (int i = 1; i < Timing.size(); ++i)
        if (Timing[i].EndPos != 0) lines.append(i);
    std::stable_sort(lines.begin(), lines.end(),
                     [this](int a, int b) { return Confidence[a] < Confidence[b]; });
    return lines.mid(0, count);
}

QByteArray TimingFileBytes(const QStringList& lines, const QList<TTimingEntry>& timing) {
    QStringList out;
    for (int i = 1; i <= lines.size(); ++i) {
        const TTimingEntry e = i < timing.size() ? timing[i] : TTimingEntry{};
        if (!HasSound(lines[i - 1]) || e.EndPos == 0)
            out.append(QStringLiteral("#\t#"));
        else
            out.append(QStringLiteral("%1\t%2").arg(e.StartPos).arg(e.EndPos));
    }
    return JoinLinesCrLf(out);
}

// ------------------------------------------------------------------ pauses

namespace {
float percentile(std::vector<float> v, double p) {
    if (v.empty()) return 0;
    const size_t k = std::min(v.size() - 1, size_t(p * double(v.size() - 1)));
    std::nth_element(v.begin(), v.begin() + qint64(k), v.end());
    return v[k];
}
} // namespace

TPauseMap::TPauseMap(const TSound& s, int hopMs) : m_hop(hopMs), m_db(EnergyDb(s, hopMs)) {
    if (m_db.empty()) return;
    m_floor = percentile(m_db, 0.05);
    m_loud = percentile(m_db, 0.95);
    const float range = m_loud - m_floor;
    m_usable = range >= 12.f;
    m_threshold = m_floor + std::clamp(0.25f * range, 6.f, 12.f);
    if (!m_usable) return;
    const qint64 n = qint64(m_db.size());
    for (qint64 i = 0; i < n;) {
        if (m_db[size_t(i)] >= m_threshold) {
            ++i;
            continue;
        }
        qint64 j = i;
        while (j < n && m_db[size_t(j)] < m_threshold)
            ++j;
        m_runs.push_back({i * hopMs, std::max(i, j - 1) * hopMs});
        i = j;
    }
}

double TPauseMap::QuietFraction(qint64 fromMs, qint64 toMs) const {
    if (!m_usable || toMs <= fromMs) return 0;
    const qint64 a = std::clamp<qint64>(fromMs / m_hop, 0, qint64(m_db.size()));
    const qint64 b = std::clamp<qint64>(toMs / m_hop, a, qint64(m_db.size()));
    if (b == a) return 0;
    qint64 quiet = 0;
    for (qint64 i = a; i < b; ++i)
        quiet += m_db[size_t(i)] < m_threshold;
    return double(quiet) / double(b - a);
}

double TPauseMap::Loudness(qint64 ms) const {
    if (m_db.empty() || m_loud <= m_floor) return 0;
    const qint64 i = std::clamp<qint64>(ms / m_hop, 0, qint64(m_db.size()) - 1);
    return std::clamp((m_db[size_t(i)] - m_floor) / (m_loud - m_floor), 0.f, 1.f);
}

qint64 TPauseMap::QuietestIn(qint64 fromMs, qint64 toMs) const {
    if (m_db.empty()) return fromMs;
    const qint64 a = std::clamp<qint64>(fromMs / m_hop, 0, qint64(m_db.size()) - 1);
    const qint64 b = std::clamp<qint64>(toMs / m_hop, a, qint64(m_db.size()) - 1);
    qint64 best = a;
    for (qint64 i = a; i <= b; ++i)
        if (m_db[size_t(i)] < m_db[size_t(best)]) best = i;
    return best * m_hop;
}

// ---------------------------------------------------------------- aligning

namespace {

struct Boundary {
    qint64 EndPrev, BeginNext;
    double Confidence;
};

// The pause that best fits the matched gap [a, b]: long, and close to it.
const TPauseMap::Run* bestRun(const TPauseMap& pauses, qint64 a, qint64 b, const TAlignParams& p,
                              double& confidence, const std::vector<char>& inner) {
    const TPauseMap::Run* best = nullptr;
    double bestScore = 0;
    for (size_t ri = 0; ri < pauses.Runs().size(); ++ri) {
        const auto& r = pauses.Runs()[ri];
        if (!inner.empty() && inner[ri]) continue;
        if (r.EndMs < a - p.SearchMs) continue;
        if (r.BeginMs > b + p.SearchMs) break;
        const qint64 len = r.EndMs - r.BeginMs;
        if (len < p.MinPauseMs) continue;
        const qint64 dist = std::max<qint64>({0, r.BeginMs - b, a - r.EndMs});
        // A long pause may lie a little off the match; a short one must be close.
        const double score = double(std::min<qint64>(len, 400)) + 40.0 - 1.5 * double(dist);
        if (score > bestScore) {
            bestScore = score;
            best = &r;
            confidence =
                std::clamp(1.0 - double(dist) / p.SearchMs, 0.0, 1.0) * (len >= 60 ? 1.0 : 0.8);
        }
    }
    return best;
}

Boundary between(const TPauseMap& pauses, qint64 a, qint64 b, const TAlignParams& p,
                 const std::vector<char>& inner) {
    if (a > b) std::swap(a, b);
    double c = 0;
    if (const auto* r = bestRun(pauses, a, b, p, c, inner)) return {r->BeginMs, r->EndMs, c};
    // Joined with no pause: the quietest place near the middle of the match.
    const qint64 mid = (a + b) / 2;
    const qint64 at = pauses.QuietestIn(mid - 40, mid + 40);
    return {at, at, 0.5};
}

} // namespace

TAlignment AlignLesson(const QStringList& lines, const TSound& recording, const TAlignParams& p,
                       const TAlignProgress& progress) {
    const auto report = [&](double f) {
        if (progress) progress(f);
    };
    QStringList texts;
    QList<int> lineOf;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].isEmpty())
            throw VError(QStringLiteral("line %1 is empty; a lesson line never is (a paragraph "
                                        "break is \"#\")")
                             .arg(i + 1));
        if (!HasSound(lines[i])) continue;
        texts.append(lines[i]);
        lineOf.append(i + 1);
    }
    if (texts.isEmpty()) throw VError(QStringLiteral("the text has no sintagm to align"));
    if (recording.Samples.empty()) throw VError(QStringLiteral("the recording is empty"));

    TMfccParams mp;
    const int original = p.OriginalRate > 0 ? p.OriginalRate : p.RateHz;
    mp.HighHz = std::min(mp.HighHz, 0.45 * std::min(original, p.RateHz));

    // The recording's features on a second core while espeak-ng speaks.
    TFeatures real;
    std::thread worker([&] { real = Mfcc(recording, mp); });
    TSynthesis synth;
    try {
        TSynthParams sp;
        sp.Rate = p.RateHz;
        synth = SynthesizeSintagms(texts, sp,
                                   [&](int done) { report(0.4 * done / double(texts.size())); });
    } catch (...) {
        worker.join();
        throw;
    }
    TFeatures ref = Mfcc(synth.Sound, mp);
    worker.join();
    report(0.5);
    const TPauseMap pauses(recording);

    const int hopMs = mp.HopMs;

    const int band = std::clamp(std::max(real.Count, ref.Count) / 4, 6000, 18000);
    // The pauses put between the pieces of the reference stretch to nothing.
    std::vector<char> elastic(size_t(ref.Count), 1);
    const qint64 samplesPerHop = qint64(p.RateHz) * hopMs / 1000;
    for (const auto& [s, e] : synth.Spans)
        for (qint64 j = s / samplesPerHop; j <= e / samplesPerHop && j < ref.Count; ++j)
            elastic[size_t(j)] = 0;
    const TDtwPath path = MultiscaleDtw(real, ref, {16, 4, 1}, band, 10, elastic);
    report(0.9);

    // Real frames matched to each synthetic frame, and the cost there.
    std::vector<int> first(size_t(ref.Count), -1), last(size_t(ref.Count), -1);
    std::vector<float> cost(size_t(ref.Count), 0.f);
    for (size_t k = 0; k < path.Cells.size(); ++k) {
        const auto [i, j] = path.Cells[k];
        if (first[size_t(j)] < 0) first[size_t(j)] = i;
        last[size_t(j)] = i;
        cost[size_t(j)] = std::max(cost[size_t(j)], path.Cost[k]);
    }
    const auto frameOf = [&](qint64 sample) {
        return int(
            std::clamp<qint64>((sample + samplesPerHop / 2) / samplesPerHop, 0, ref.Count - 1));
    };
    const int n = int(texts.size());
    std::vector<qint64> mapBegin(static_cast<size_t>(n)), mapEnd(static_cast<size_t>(n));
    std::vector<double> sintagmCost(static_cast<size_t>(n), 0);
    for (int k = 0; k < n; ++k) {
        const auto [s, e] = synth.Spans[size_t(k)];
        const int js = frameOf(s), je = std::max(js, frameOf(e));
        mapBegin[size_t(k)] = qint64(first[size_t(js)]) * hopMs;
        mapEnd[size_t(k)] = qint64(last[size_t(je)]) * hopMs;
        double c = 0;
        for (int j = js; j <= je; ++j)
            c += cost[size_t(j)];
        sintagmCost[size_t(k)] = c / (je - js + 1);
    }

    // Pauses of the recording that the match puts well inside one sintagm of
    // the reference (a comma, a breath, a stop) are not between sintagms.
    std::vector<int> realToRef(size_t(real.Count), 0);
    for (const auto& [i, j] : path.Cells)
        realToRef[size_t(i)] = std::max(realToRef[size_t(i)], j);
    std::vector<int> spanOf(size_t(ref.Count), -1);
    constexpr int marginFrames = 5;
    for (int k = 0; k < n; ++k) {
        const int js = frameOf(synth.Spans[size_t(k)].first) + marginFrames;
        const int je = frameOf(synth.Spans[size_t(k)].second) - marginFrames;
        for (int j = js; j <= je; ++j)
            spanOf[size_t(j)] = k;
    }
    // The reference's own pauses inside a sintagm (espeak-ng pauses at a
    // comma): quiet stretches of at least kInnerPauseMs.
    constexpr int kInnerPauseMs = 100;
    const std::vector<float> refDb = EnergyDb(synth.Sound, hopMs);
    std::vector<char> refPause(size_t(ref.Count), 0);
    for (int j = 0; j < ref.Count;) {
        const auto quiet = [&](int x) {
            return size_t(x) < refDb.size() && refDb[size_t(x)] < -60.f;
        };
        if (!quiet(j)) {
            ++j;
            continue;
        }
        int e = j;
        while (e < ref.Count && quiet(e))
            ++e;
        if ((e - j) * hopMs >= kInnerPauseMs)
            for (int x = j; x < e; ++x)
                refPause[size_t(x)] = 1;
        j = e;
    }
    const auto refQuiet = [&](int j) { return refPause[size_t(j)] != 0; };
    std::vector<char> inner(pauses.Runs().size(), 0);
    for (size_t r = 0; r < inner.size(); ++r) {
        const int i0 = int(std::clamp<qint64>(pauses.Runs()[r].BeginMs / hopMs, 0, real.Count - 1));
        const int i1 = int(std::clamp<qint64>(pauses.Runs()[r].EndMs / hopMs, i0, real.Count - 1));
        int quiet = 0, inside = 0, total = 0;
        for (int i = i0; i <= i1; ++i) {
            const int j = realToRef[size_t(i)];
            ++total;
            if (spanOf[size_t(j)] >= 0) {
                ++inside;
                quiet += refQuiet(j);
            }
        }
        inner[r] = inside == total && 2 * quiet >= total;
    }
    const qint64 length = recording.LengthMs();
    std::vector<qint64> begin(static_cast<size_t>(n)), end(static_cast<size_t>(n));
    std::vector<double> confBegin(static_cast<size_t>(n)), confEnd(static_cast<size_t>(n));
    {
        double c = 0;
        const auto* r = bestRun(pauses, mapBegin[0], mapBegin[0], p, c, inner);
        begin[0] = r ? r->EndMs : std::max<qint64>(0, mapBegin[0]);
        confBegin[0] = r ? c : 0.5;
        r = bestRun(pauses, mapEnd[size_t(n - 1)], mapEnd[size_t(n - 1)], p, c, inner);
        end[size_t(n - 1)] = r ? r->BeginMs : std::min(length, mapEnd[size_t(n - 1)]);
        confEnd[size_t(n - 1)] = r ? c : 0.5;
    }
    for (int k = 0; k + 1 < n; ++k) {
        const Boundary b = between(pauses, mapEnd[size_t(k)], mapBegin[size_t(k + 1)], p, inner);
        end[size_t(k)] = b.EndPrev;
        begin[size_t(k + 1)] = b.BeginNext;
        confEnd[size_t(k)] = confBegin[size_t(k + 1)] = b.Confidence;
    }

    // Ranges in order, each at least a few milliseconds long, inside the recording.
    constexpr qint64 kMinMs = 10;
    qint64 floorMs = 0;
    for (int k = 0; k < n; ++k) {
        qint64 b = std::max(begin[size_t(k)], floorMs), e = end[size_t(k)];
        if (e < b + kMinMs) e = b + kMinMs;
        if (e > length) e = std::max(length, b + 1);
        begin[size_t(k)] = b;
        end[size_t(k)] = e;
        floorMs = e;
    }

    std::vector<double> sorted(sintagmCost);
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
    const double median = std::max(1e-6, sorted[size_t(n / 2)]);

    TAlignment out;
    out.Sintagms = n;
    out.Timing = QList<TTimingEntry>(lines.size() + 1);
    out.Confidence = QList<double>(lines.size() + 1, 1.0);
    for (int k = 0; k < n; ++k) {
        const int line = lineOf[k];
        out.Timing[line] = {qint32(begin[size_t(k)]), qint32(end[size_t(k)])};
        const double quality = std::clamp(1.5 - 0.5 * sintagmCost[size_t(k)] / median, 0.0, 1.0);
        const bool spoken = synth.Spans[size_t(k)].second > synth.Spans[size_t(k)].first;
        out.Confidence[line] =
            spoken ? std::min(confBegin[size_t(k)], confEnd[size_t(k)]) * quality : 0.0;
    }
    report(1.0);
    return out;
}

QString DefaultTimingName(const QString& textFile) {
    const qsizetype slash = std::max(textFile.lastIndexOf('/'), textFile.lastIndexOf('\\'));
    const qsizetype dot = textFile.lastIndexOf('.');
    const QString stem = dot > slash + 1 ? textFile.left(dot) : textFile;
    return stem + QStringLiteral(".tim");
}

bool WriteTimingFile(const QString& path, const QByteArray& bytes, bool force) {
    if (!force && PathExists(path)) return false;
    WriteFileAtomic(path, bytes);
    return true;
}
