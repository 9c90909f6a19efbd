#pragma once
// Sample conversion between a wave file's frames and the sound device's
// format: channel mapping, linear resampling, sample encoding.
#include <QAudioFormat>
#include <QByteArray>
#include <vector>

class Resampler {
public:
    void init(int srcRate, int srcChannels, int dstRate, int dstChannels);
    // Appends the converted frames of `frames` input frames to `out`.
    void push(const float* in, qint64 frames, std::vector<float>& out);
    int dstChannels() const { return m_dstCh; }

private:
    int m_srcRate = 0, m_srcCh = 0, m_dstRate = 0, m_dstCh = 0;
    std::vector<float> m_hist; // mapped input frames not used up yet
    double m_phase = 0;        // next output position, in frames of m_hist
};

// Appends the samples as bytes of the given sample format.
void EncodeSamples(const float* in, size_t samples, QAudioFormat::SampleFormat f, QByteArray& out);
// Appends the samples of `bytes` bytes of the given sample format as floats.
void DecodeSamples(const char* in, qsizetype bytes, QAudioFormat::SampleFormat f,
                   std::vector<float>& out);
