#pragma once
// Forced alignment of a lesson text to its recording: where each sintagm
// starts and ends, in milliseconds, as the lesson timing file holds it.
#include "align/sound.h"
#include "base/timingline.h"

#include <functional>
#include <QList>
#include <QStringList>

// A lesson line that is spoken: everything but the "#" lines.
bool HasSound(const QString& lessonLine);

struct TAlignParams {
    int RateHz = 16000;   // of the analysis
    int SearchMs = 250;   // how far from the matched place a pause is looked for
    int MinPauseMs = 20;  // shorter quiet stretches are not pauses
    int OriginalRate = 0; // the recording's own rate; 0: RateHz
};

struct TAlignment {
    QList<TTimingEntry> Timing; // 1..N; lines without sound 0, 0
    QList<double> Confidence;   // 1..N in 0..1; lines without sound 1
    int Sintagms = 0;
    // Lines (1..N) of the sintagms, least sure first.
    QList<int> LeastSure(int count) const;
};

// Stage names and the fraction done of the whole, for a progress bar.
using TAlignProgress = std::function<void(double fraction)>;

// `lines` are the lesson text lines; `recording` is at params.RateHz.
// Throws VError for a text without sintagms or with an empty line.
TAlignment AlignLesson(const QStringList& lines, const TSound& recording,
                       const TAlignParams& params = {}, const TAlignProgress& progress = {});

// The timing file of an alignment: one line per lesson line, "#\t#" for the
// lines without sound, CR LF, Windows-1251.
QByteArray TimingFileBytes(const QStringList& lines, const QList<TTimingEntry>& timing);

// Quiet stretches of a recording, found from its short-time energy against
// its own noise floor and speech level.
class TPauseMap {
public:
    TPauseMap(const TSound& s, int hopMs = 5);
    struct Run {
        qint64 BeginMs, EndMs; // quiet from BeginMs to EndMs
    };
    const std::vector<Run>& Runs() const { return m_runs; }
    // False when the recording has no level difference to tell pauses by.
    bool Usable() const { return m_usable; }
    // Fraction of the frames in [fromMs, toMs) that are quiet.
    double QuietFraction(qint64 fromMs, qint64 toMs) const;
    // Level at a position relative to the speech level: 1 at or above the
    // loud speech level, 0 at the noise floor.
    double Loudness(qint64 ms) const;
    // The quietest position in [fromMs, toMs].
    qint64 QuietestIn(qint64 fromMs, qint64 toMs) const;
    int HopMs() const { return m_hop; }

private:
    int m_hop;
    std::vector<float> m_db;
    float m_floor = 0, m_loud = 0, m_threshold = 0;
    bool m_usable = false;
    std::vector<Run> m_runs;
};

// The timing file beside a lesson text: its name with the extension the
// course uses for timing files (L1.txt -> L1.tim).
QString DefaultTimingName(const QString& textFile);

// Writes a timing file atomically. An existing file is replaced only with
// `force`; without it nothing is written and the result is false. Throws
// FileError.
bool WriteTimingFile(const QString& path, const QByteArray& bytes, bool force);
