#pragma once
// Recordings as the aligner sees them: one channel of float samples at one
// rate, whatever the wave file held.
#include <QString>
#include <vector>

struct TSound {
    int Rate = 0;
    std::vector<float> Samples;
    qint64 LengthMs() const { return Rate > 0 ? qint64(Samples.size()) * 1000 / Rate : 0; }
};

// Reads any sound file libsndfile knows, mixes its channels to one and
// converts it to `rate`. `originalRate` gets the file's own rate. Throws
// VError with a message for the author: not a sound file, empty, or a rate
// too low to hold speech.
TSound ReadSoundMono(const QString& path, int rate, int* originalRate = nullptr);

// Band-limited conversion of the sample rate, fed in pieces so that a long
// recording is never held twice at its original rate.
class TResampler {
public:
    TResampler(int from, int to);
    void Push(const float* in, size_t n, std::vector<float>& out);
    void Finish(std::vector<float>& out);

private:
    void produce(std::vector<float>& out, bool final);

    double m_step;   // input samples per output sample
    double m_cutoff; // of the low-pass, in cycles per input sample
    int m_half;      // half the filter's length, input samples
    std::vector<float> m_buf;
    qint64 m_base = 0; // input index of m_buf[0]
    qint64 m_next = 0; // next output sample
    bool m_same;
};
