#pragma once
// Checks of a lesson timing file against its recording: ranges that cut
// into speech, ranges over silence, and ranges far from the aligner's.
#include "align/aligner.h"

#include <QList>
#include <QString>

struct TAudioFinding {
    enum Kind { StartsInSpeech, EndsInSpeech, MostlySilence, StartDisagrees, EndDisagrees };
    int Line = 0; // of the timing file
    Kind What = StartsInSpeech;
    QString Message;
};

struct TAudioCheckParams {
    double LoudAt = 0.5;        // loudness 0..1 (noise floor .. speech level) that is speech
    int EdgeMs = 20;            // stretch just outside a range that must not be speech
    double MostlySilence = 0.5; // quiet share of a range that is too much
    int DisagreeMs = 250;       // from the aligner's boundary
};

// `timing` 1..N as read; `aligned` the aligner's result for the same lines,
// or null to leave that comparison out. Lines without sound, ranges without
// an end and ranges the plain checks reject (start not before end, beyond
// the recording) are passed over. A range that begins where the one before
// it ends (within EdgeMs) splits speech that runs on: that edge may lie in
// speech.
QList<TAudioFinding> CheckTimingAudio(const QStringList& lines, const QList<TTimingEntry>& timing,
                                      const TSound& recording, const TAlignment* aligned,
                                      const TAudioCheckParams& p = {});
