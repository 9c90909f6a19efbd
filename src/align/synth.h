#pragma once
// The reference voice: espeak-ng speaks each sintagm, and the pieces are
// joined with a fixed pause, so where each sintagm lies in the synthetic
// recording is known exactly.
#include "align/sound.h"

#include <functional>
#include <QStringList>
#include <utility>

struct TSynthesis {
    TSound Sound;
    // Sample range of the speech of each text; begin == end when the text
    // had nothing to say.
    std::vector<std::pair<qint64, qint64>> Spans;
};

struct TSynthParams {
    int Rate = 16000;
    int LeadMs = 300; // silence before the first and after the last piece
    int GapMs = 500;  // silence between pieces: longer than espeak-ng's own pauses
    int WordsPerMinute = 165;
};

// Throws VError when espeak-ng cannot be started. `progress` gets the
// number of texts spoken so far.
TSynthesis SynthesizeSintagms(const QStringList& texts, const TSynthParams& p,
                              const std::function<void(int)>& progress = {});

// The first and one past the last sample of sound louder than `belowPeakDb`
// under the loudest 5 ms of `x`; {0, 0} for silence.
std::pair<qint64, qint64> SpeechSpan(const std::vector<float>& x, int rate, float belowPeakDb);
