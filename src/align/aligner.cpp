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

constexpr int kMarginFrames = 5;   // of a reference sintagm, not "inside" it
constexpr int kInnerPauseMs = 100; // the reference's own pauses (espeak-ng at a comma)
constexpr float kReferenceQuietDb = -60.f;
constexpr qint64 kMinRangeMs = 10;

struct Boundary {
    qint64 EndPrev, BeginNext;
    double Confidence;
};

// The pause that best fits the matched gap [a, b]: long, and close to it.
// Pauses marked in `inner` are passed over.
const TPauseMap::Run* bestRun(const TPauseMap& pauses, qint64 a, qint64 b, const TAlignParams& p,
                              const std::vector<char>& inner, double& confidence,
                              double* bestRejected = nullptr) {
    const TPauseMap::Run* best = nullptr;
    double bestScore = 0, rejected = -1e9;
    for (size_t ri = 0; ri < pauses.Runs().size(); ++ri) {
        const auto& r = pauses.Runs()[ri];
        if (inner[ri] || r.EndMs < a - p.SearchMs) continue;
        if (r.BeginMs > b + p.SearchMs) break;
        const qint64 len = r.EndMs - r.BeginMs;
        if (len < p.MinPauseMs) continue;
        const qint64 dist = std::max<qint64>({0, r.BeginMs - b, a - r.EndMs});
        // A long pause may lie a little off the match; a short one (a stop
        // consonant's silence is 30-80 ms) must be close to it.
        const double score = 2.0 * double(std::min<qint64>(len, 300)) - 40.0 - 1.5 * double(dist);
        rejected = std::max(rejected, std::min(score, 0.0));
        if (score > bestScore) {
            bestScore = score;
            best = &r;
            confidence =
                std::clamp(1.0 - double(dist) / p.SearchMs, 0.0, 1.0) * (len >= 60 ? 1.0 : 0.8);
        }
    }
    if (bestRejected) *bestRejected = rejected;
    return best;
}

Boundary between(const TPauseMap& pauses, qint64 a, qint64 b, const TAlignParams& p,
                 const std::vector<char>& inner) {
    if (a > b) std::swap(a, b);
    double c = 0, rejected = 0;
    if (const auto* r = bestRun(pauses, a, b, p, inner, c, &rejected))
        return {r->BeginMs, r->EndMs, c};
    // Joined with no pause: the quietest place near the middle of the match.
    // A pause that nearly fitted makes the place doubtful: the match may be
    // off and the pause the true boundary.
    const qint64 mid = (a + b) / 2;
    const qint64 at = pauses.QuietestIn(mid - 40, mid + 40);
    return {at, at, 0.5 - 0.3 * std::clamp((rejected + 200.0) / 200.0, 0.0, 1.0)};
}

// Where the warping path puts each reference sintagm in the recording.
struct Matched {
    std::vector<qint64> Begin, End; // ms
    std::vector<double> Cost;       // mean frame distance
};

class Match {
public:
    Match(const TDtwPath& path, const TSynthesis& synth, int refFrames, int realFrames, int hopMs,
          int rate)
        : m_hopMs(hopMs), m_samplesPerHop(qint64(rate) * hopMs / 1000), m_refFrames(refFrames),
          m_first(size_t(refFrames), -1), m_last(size_t(refFrames), -1),
          m_cost(size_t(refFrames), 0.f), m_toRef(size_t(realFrames), 0),
          m_spanOf(size_t(refFrames), -1) {
        for (size_t k = 0; k < path.Cells.size(); ++k) {
            const auto [i, j] = path.Cells[k];
            if (m_first[size_t(j)] < 0) m_first[size_t(j)] = i;
            m_last[size_t(j)] = i;
            m_cost[size_t(j)] = std::max(m_cost[size_t(j)], path.Cost[k]);
            m_toRef[size_t(i)] = std::max(m_toRef[size_t(i)], j);
        }
        for (int k = 0; k < int(synth.Spans.size()); ++k) {
            const int js = FrameOf(synth.Spans[size_t(k)].first) + kMarginFrames;
            const int je = FrameOf(synth.Spans[size_t(k)].second) - kMarginFrames;
            for (int j = js; j <= je; ++j)
                m_spanOf[size_t(j)] = k;
        }
    }

    int FrameOf(qint64 sample) const {
        return int(std::clamp<qint64>((sample + m_samplesPerHop / 2) / m_samplesPerHop, 0,
                                      m_refFrames - 1));
    }

    Matched Sintagms(const TSynthesis& synth) const {
        Matched m;
        for (const auto& [s, e] : synth.Spans) {
            const int js = FrameOf(s), je = std::max(js, FrameOf(e));
            m.Begin.push_back(qint64(m_first[size_t(js)]) * m_hopMs);
            m.End.push_back(qint64(m_last[size_t(je)]) * m_hopMs);
            double c = 0;
            for (int j = js; j <= je; ++j)
                c += m_cost[size_t(j)];
            m.Cost.push_back(c / (je - js + 1));
        }
        return m;
    }

    // Pauses of the recording that the match lays onto a pause well inside
    // one reference sintagm: a comma, not a boundary.
    std::vector<char> InnerPauses(const TPauseMap& pauses, const TSound& reference) const {
        const std::vector<float> refDb = EnergyDb(reference, m_hopMs);
        std::vector<char> refPause(size_t(m_refFrames), 0);
        const auto quiet = [&](int x) {
            return size_t(x) < refDb.size() && refDb[size_t(x)] < kReferenceQuietDb;
        };
        for (int j = 0; j < m_refFrames;) {
            int e = j;
            while (e < m_refFrames && quiet(e))
                ++e;
            if ((e - j) * m_hopMs >= kInnerPauseMs)
                std::fill(&refPause[size_t(j)], &refPause[size_t(e)], 1);
            j = std::max(e, j + 1);
        }
        const int realFrames = int(m_toRef.size());
        std::vector<char> inner(pauses.Runs().size(), 0);
        for (size_t r = 0; r < inner.size(); ++r) {
            const auto& run = pauses.Runs()[r];
            const int i0 = int(std::clamp<qint64>(run.BeginMs / m_hopMs, 0, realFrames - 1));
            const int i1 = int(std::clamp<qint64>(run.EndMs / m_hopMs, i0, realFrames - 1));
            int onPause = 0, inside = 0;
            for (int i = i0; i <= i1; ++i) {
                const int j = m_toRef[size_t(i)];
                if (m_spanOf[size_t(j)] < 0) continue;
                ++inside;
                onPause += refPause[size_t(j)];
            }
            const int total = i1 - i0 + 1;
            inner[r] = inside == total && 2 * onPause >= total;
        }
        return inner;
    }

private:
    int m_hopMs;
    qint64 m_samplesPerHop;
    int m_refFrames;
    std::vector<int> m_first, m_last; // real frames matched to each reference frame
    std::vector<float> m_cost;
    std::vector<int> m_toRef;  // the last reference frame matched to each real frame
    std::vector<int> m_spanOf; // sintagm of each reference frame well inside one, else -1
};

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
    const TFeatures ref = Mfcc(synth.Sound, mp);
    worker.join();
    report(0.5);

    // The pauses put between the pieces of the reference stretch to nothing.
    const int hopMs = mp.HopMs;
    const qint64 samplesPerHop = qint64(p.RateHz) * hopMs / 1000;
    std::vector<char> elastic(size_t(ref.Count), 1);
    for (const auto& [s, e] : synth.Spans)
        for (qint64 j = s / samplesPerHop; j <= e / samplesPerHop && j < ref.Count; ++j)
            elastic[size_t(j)] = 0;
    const int band = std::clamp(std::max(real.Count, ref.Count) / 4, 6000, 18000);
    const TDtwPath path = MultiscaleDtw(real, ref, {16, 4, 1}, band, 10, elastic);
    report(0.9);

    const Match match(path, synth, ref.Count, real.Count, hopMs, p.RateHz);
    const Matched m = match.Sintagms(synth);
    const TPauseMap pauses(recording);
    const std::vector<char> inner = match.InnerPauses(pauses, synth.Sound);

    const int n = int(texts.size());
    const qint64 length = recording.LengthMs();
    std::vector<qint64> begin(m.Begin.size()), end(m.End.size());
    std::vector<double> confBegin(m.Begin.size()), confEnd(m.End.size());
    double c = 0;
    const auto* r = bestRun(pauses, m.Begin.front(), m.Begin.front(), p, inner, c);
    begin.front() = r ? r->EndMs : std::max<qint64>(0, m.Begin.front());
    confBegin.front() = r ? c : 0.5;
    r = bestRun(pauses, m.End.back(), m.End.back(), p, inner, c);
    end.back() = r ? r->BeginMs : std::min(length, m.End.back());
    confEnd.back() = r ? c : 0.5;
    for (size_t k = 0; k + 1 < size_t(n); ++k) {
        const Boundary b = between(pauses, m.End[k], m.Begin[k + 1], p, inner);
        end[k] = b.EndPrev;
        begin[k + 1] = b.BeginNext;
        confEnd[k] = confBegin[k + 1] = b.Confidence;
    }

    // Ranges in order, each at least a few milliseconds long, inside the recording.
    qint64 floorMs = 0;
    for (size_t k = 0; k < size_t(n); ++k) {
        begin[k] = std::max(begin[k], floorMs);
        end[k] = std::max(end[k], begin[k] + kMinRangeMs);
        if (end[k] > length) end[k] = std::max(length, begin[k] + 1);
        floorMs = end[k];
    }

    std::vector<double> sorted(m.Cost);
    std::nth_element(sorted.begin(), sorted.begin() + n / 2, sorted.end());
    const double median = std::max(1e-6, sorted[size_t(n / 2)]);

    TAlignment out;
    out.Sintagms = n;
    out.Timing = QList<TTimingEntry>(lines.size() + 1);
    out.Confidence = QList<double>(lines.size() + 1, 1.0);
    for (size_t k = 0; k < size_t(n); ++k) {
        const int line = lineOf[qsizetype(k)];
        out.Timing[line] = {qint32(begin[k]), qint32(end[k])};
        const double quality = std::clamp(1.5 - 0.5 * m.Cost[k] / median, 0.0, 1.0);
        const bool spoken = synth.Spans[k].second > synth.Spans[k].first;
        out.Confidence[line] = spoken ? std::min(confBegin[k], confEnd[k]) * quality : 0.0;
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
