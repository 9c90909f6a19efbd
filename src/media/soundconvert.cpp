#include "media/soundconvert.h"

#include <algorithm>
#include <cmath>
#include <cstring>

void Resampler::init(int srcRate, int srcChannels, int dstRate, int dstChannels) {
    m_srcRate = srcRate;
    m_srcCh = srcChannels;
    m_dstRate = dstRate;
    m_dstCh = dstChannels;
    m_hist.clear();
    m_phase = 0;
}

void Resampler::push(const float* in, qint64 frames, std::vector<float>& out) {
    if (frames <= 0 || m_srcCh <= 0 || m_dstCh <= 0) return;
    // Channel mapping first: mono spreads to all, many fold to one, else by index.
    const size_t base = m_hist.size();
    m_hist.resize(base + size_t(frames) * m_dstCh);
    float* h = m_hist.data() + base;
    for (qint64 f = 0; f < frames; ++f) {
        const float* s = in + f * m_srcCh;
        float* d = h + f * m_dstCh;
        if (m_dstCh == 1 && m_srcCh > 1) {
            float sum = 0;
            for (int c = 0; c < m_srcCh; ++c)
                sum += s[c];
            d[0] = sum / float(m_srcCh);
        } else {
            for (int c = 0; c < m_dstCh; ++c)
                d[c] = s[m_srcCh == 1 ? 0 : c % m_srcCh];
        }
    }
    if (m_srcRate == m_dstRate) {
        out.insert(out.end(), m_hist.begin(), m_hist.end());
        m_hist.clear();
        return;
    }
    const qint64 have = qint64(m_hist.size()) / m_dstCh;
    const double step = double(m_srcRate) / double(m_dstRate);
    while (m_phase + 1 < double(have)) {
        const qint64 i = qint64(m_phase);
        const float t = float(m_phase - double(i));
        const float* a = m_hist.data() + i * m_dstCh;
        const float* b = a + m_dstCh;
        for (int c = 0; c < m_dstCh; ++c)
            out.push_back(a[c] + (b[c] - a[c]) * t);
        m_phase += step;
    }
    // Keep the frame the next output still interpolates from.
    const qint64 used = std::min<qint64>(qint64(m_phase), have - 1);
    m_hist.erase(m_hist.begin(), m_hist.begin() + used * m_dstCh);
    m_phase -= double(used);
}

static float Clip(float v) {
    return std::clamp(v, -1.0f, 1.0f);
}

// The same scale as DecodeSamples and libsndfile's reader (full scale is
// 2^(bits-1)), so integer samples come out as the bytes they were read from.
void EncodeSamples(const float* in, size_t samples, QAudioFormat::SampleFormat f, QByteArray& out) {
    const qsizetype at = out.size();
    switch (f) {
    case QAudioFormat::UInt8: {
        out.resize(at + qsizetype(samples));
        auto* d = reinterpret_cast<quint8*>(out.data() + at);
        for (size_t i = 0; i < samples; ++i)
            d[i] = quint8(std::clamp<long>(std::lround(in[i] * 128.0f) + 128, 0, 255));
        break;
    }
    case QAudioFormat::Int16: {
        out.resize(at + qsizetype(samples * 2));
        char* d = out.data() + at;
        for (size_t i = 0; i < samples; ++i) {
            const qint16 v = qint16(std::clamp<long>(std::lround(in[i] * 32768.0f), -32768, 32767));
            std::memcpy(d + i * 2, &v, 2);
        }
        break;
    }
    case QAudioFormat::Int32: {
        out.resize(at + qsizetype(samples * 4));
        char* d = out.data() + at;
        for (size_t i = 0; i < samples; ++i) {
            const qint32 v = qint32(std::clamp<long long>(
                std::llround(double(Clip(in[i])) * 2147483648.0), -2147483648LL, 2147483647LL));
            std::memcpy(d + i * 4, &v, 4);
        }
        break;
    }
    case QAudioFormat::Float: {
        out.resize(at + qsizetype(samples * 4));
        std::memcpy(out.data() + at, in, samples * 4);
        break;
    }
    default:
        break;
    }
}

void DecodeSamples(const char* in, qsizetype bytes, QAudioFormat::SampleFormat f,
                   std::vector<float>& out) {
    switch (f) {
    case QAudioFormat::UInt8:
        for (qsizetype i = 0; i < bytes; ++i)
            out.push_back((float(quint8(in[i])) - 128.0f) / 128.0f);
        break;
    case QAudioFormat::Int16:
        for (qsizetype i = 0; i + 2 <= bytes; i += 2) {
            qint16 v;
            std::memcpy(&v, in + i, 2);
            out.push_back(float(v) / 32768.0f);
        }
        break;
    case QAudioFormat::Int32:
        for (qsizetype i = 0; i + 4 <= bytes; i += 4) {
            qint32 v;
            std::memcpy(&v, in + i, 4);
            out.push_back(float(double(v) / 2147483648.0));
        }
        break;
    case QAudioFormat::Float:
        for (qsizetype i = 0; i + 4 <= bytes; i += 4) {
            float v;
            std::memcpy(&v, in + i, 4);
            out.push_back(v);
        }
        break;
    default:
        break;
    }
}
