#pragma once
// Wave fixtures built byte by byte (so the reader is checked against files it
// did not write), or through libsndfile for the compressed encodings.
#include <QByteArray>
#include <QString>

namespace testwave {

// A PCM wave: `bits` 8/16/24/32, samples a quiet sine so nothing is silent.
QByteArray Pcm(int rate, int channels, int bits, qint64 frames);
// The header of a PCM wave with no samples (like the recording template).
QByteArray Empty(int rate, int channels, int bits);
// 16-bit mono 8000 Hz silence, `ms` long.
QByteArray Silent(int ms);
// A wave through libsndfile with the given encoding (SF_FORMAT_* major and subtype).
QByteArray Snd(int major, int subtype, int rate, int channels, qint64 frames);
// Writes Silent(ms) to `path`.
void WriteSilent(const QString& path, int ms);

} // namespace testwave
