#include "align/audiocheck.h"

#include <algorithm>

namespace {

// Mean loudness over [from, to).
double loudness(const TPauseMap& m, qint64 from, qint64 to) {
    double sum = 0;
    int n = 0;
    for (qint64 t = from; t < to; t += m.HopMs()) {
        sum += m.Loudness(t);
        ++n;
    }
    return n ? sum / n : 0;
}

} // namespace

QList<TAudioFinding> CheckTimingAudio(const QStringList& lines, const QList<TTimingEntry>& timing,
                                      const TSound& recording, const TAlignment* aligned,
                                      const TAudioCheckParams& p) {
    QList<TAudioFinding> out;
    const TPauseMap pauses(recording);
    const qint64 length = recording.LengthMs();
    const auto checked = [&](int i) {
        const TTimingEntry& e = timing[i];
        return HasSound(lines[i - 1]) && e.EndPos != 0 && e.StartPos >= 0 &&
               e.StartPos < e.EndPos && e.EndPos <= length;
    };
    const int n = int(std::min<qsizetype>(lines.size(), timing.size() - 1));
    // Neighbouring ranges: a range that begins where the one before it ends
    // splits speech that runs on, and cuts nothing off.
    std::vector<qint64> prevEnd(size_t(n) + 2, -1), nextStart(size_t(n) + 2, -1);
    for (int i = 1, last = 0; i <= n; ++i)
        if (checked(i)) {
            if (last) prevEnd[size_t(i)] = timing[last].EndPos;
            last = i;
        }
    for (int i = n, next = 0; i >= 1; --i)
        if (checked(i)) {
            if (next) nextStart[size_t(i)] = timing[next].StartPos;
            next = i;
        }
    for (int i = 1; i <= n; ++i) {
        const TTimingEntry& e = timing[i];
        if (!checked(i)) continue;
        const bool joinedBefore =
            prevEnd[size_t(i)] >= 0 && e.StartPos - prevEnd[size_t(i)] <= p.EdgeMs;
        const bool joinedAfter =
            nextStart[size_t(i)] >= 0 && nextStart[size_t(i)] - e.EndPos <= p.EdgeMs;
        if (pauses.Usable()) {
            // Speech just before the start (or just after the end) was cut off.
            if (!joinedBefore && e.StartPos >= p.EdgeMs &&
                loudness(pauses, e.StartPos - p.EdgeMs, e.StartPos) >= p.LoudAt)
                out.append({i, TAudioFinding::StartsInSpeech,
                            QStringLiteral("the range starts inside loud speech (at %1 ms)")
                                .arg(e.StartPos)});
            if (!joinedAfter && e.EndPos + p.EdgeMs <= length &&
                loudness(pauses, e.EndPos, e.EndPos + p.EdgeMs) >= p.LoudAt)
                out.append(
                    {i, TAudioFinding::EndsInSpeech,
                     QStringLiteral("the range ends inside loud speech (at %1 ms)").arg(e.EndPos)});
            const double quiet = pauses.QuietFraction(e.StartPos, e.EndPos);
            if (quiet > p.MostlySilence)
                out.append({i, TAudioFinding::MostlySilence,
                            QStringLiteral("the range %1-%2 ms is mostly silence (%3%)")
                                .arg(e.StartPos)
                                .arg(e.EndPos)
                                .arg(int(quiet * 100 + 0.5))});
        }
        if (aligned && i < aligned->Timing.size() && aligned->Timing[i].EndPos != 0) {
            const TTimingEntry& a = aligned->Timing[i];
            if (std::abs(e.StartPos - a.StartPos) > p.DisagreeMs)
                out.append({i, TAudioFinding::StartDisagrees,
                            QStringLiteral("start %1 ms; the aligner hears it start at %2 ms")
                                .arg(e.StartPos)
                                .arg(a.StartPos)});
            if (std::abs(e.EndPos - a.EndPos) > p.DisagreeMs)
                out.append({i, TAudioFinding::EndDisagrees,
                            QStringLiteral("end %1 ms; the aligner hears it end at %2 ms")
                                .arg(e.EndPos)
                                .arg(a.EndPos)});
        }
    }
    return out;
}
