#pragma once
// Wave fixtures for the media tests, built byte by byte (so the reader is
// checked against files it did not write) or through libsndfile for the
// compressed encodings.
#include <QByteArray>
#include <QString>

// A PCM wave file: `bits` 8/16/24/32, samples a quiet sine so nothing is silent.
QByteArray PcmWave(int rate, int channels, int bits, qint64 frames);
// The header of a PCM wave with no samples (like the recording template).
QByteArray EmptyWave(int rate, int channels, int bits);
// A wave through libsndfile with the given encoding (SF_FORMAT_* subtype).
QByteArray SndWave(int major, int subtype, int rate, int channels, qint64 frames);
void WriteFile(const QString& path, const QByteArray& bytes);
