#include "align/sound.h"

#include "base/errors.h"
#include "base/paths.h"

#include <cmath>
#include <numbers>
#ifdef _WIN32
#define ENABLE_SNDFILE_WINDOWS_PROTOTYPES 1 // sf_wchar_open: names beyond the ANSI code page
#endif
#include <sndfile.h>

namespace {

constexpr int kTableSteps = 512; // kernel samples per input sample
constexpr int kZeroCrossings = 8;

// Windowed-sinc kernel, one side, tabulated; shared by every resampler of
// the same cutoff is not worth the bookkeeping: a table is a few kB.
std::vector<float> makeKernel(double cutoff, int half) {
    std::vector<float> k(size_t(half) * kTableSteps + 2);
    for (size_t i = 0; i < k.size(); ++i) {
        const double t = double(i) / kTableSteps;
        if (t >= half) {
            k[i] = 0;
            continue;
        }
        const double x = 2 * cutoff * t;
        const double sinc = x == 0 ? 1.0 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
        const double w = 0.42 + 0.5 * std::cos(std::numbers::pi * t / half) +
                         0.08 * std::cos(2 * std::numbers::pi * t / half); // Blackman
        k[i] = float(2 * cutoff * sinc * w);
    }
    return k;
}

const std::vector<float>& kernelFor(double cutoff, int half) {
    thread_local double lastCutoff = -1;
    thread_local int lastHalf = -1;
    thread_local std::vector<float> table;
    if (cutoff != lastCutoff || half != lastHalf) {
        table = makeKernel(cutoff, half);
        lastCutoff = cutoff;
        lastHalf = half;
    }
    return table;
}

} // namespace

TResampler::TResampler(int from, int to) : m_step(double(from) / to), m_same(from == to) {
    m_cutoff = 0.5 * std::min(1.0, 1.0 / m_step) * 0.94;
    m_half = int(std::ceil(kZeroCrossings / (2 * m_cutoff)));
}

void TResampler::Push(const float* in, size_t n, std::vector<float>& out) {
    if (m_same) {
        out.insert(out.end(), in, in + n);
        return;
    }
    m_buf.insert(m_buf.end(), in, in + n);
    produce(out, false);
}

void TResampler::Finish(std::vector<float>& out) {
    if (m_same) return;
    produce(out, true);
    m_buf.clear();
}

void TResampler::produce(std::vector<float>& out, bool final) {
    const std::vector<float>& kernel = kernelFor(m_cutoff, m_half);
    const qint64 end = m_base + qint64(m_buf.size()); // input samples seen
    for (;; ++m_next) {
        const double x = m_next * m_step;
        if (final ? x >= end : x + m_half >= end) break;
        const qint64 c = qint64(std::floor(x));
        double acc = 0;
        for (qint64 k = c - m_half + 1; k <= c + m_half; ++k) {
            if (k < m_base || k >= end) continue;
            const double pos = std::abs(x - double(k)) * kTableSteps;
            const size_t i = size_t(pos);
            const double f = pos - double(i);
            acc += m_buf[size_t(k - m_base)] * (kernel[i] * (1 - f) + kernel[i + 1] * f);
        }
        out.push_back(float(acc));
    }
    // Keep only the input the next outputs still reach.
    const qint64 keepFrom = qint64(std::floor(m_next * m_step)) - m_half;
    if (keepFrom > m_base) {
        const qint64 drop = std::min<qint64>(keepFrom - m_base, qint64(m_buf.size()));
        m_buf.erase(m_buf.begin(), m_buf.begin() + drop);
        m_base += drop;
    }
}

TSound ReadSoundMono(const QString& path, int rate, int* originalRate) {
    SF_INFO info{};
    const QString native = NativePath(path);
#ifdef _WIN32
    SNDFILE* f = sf_wchar_open(reinterpret_cast<const wchar_t*>(native.utf16()), SFM_READ, &info);
#else
    SNDFILE* f = sf_open(native.toLocal8Bit().constData(), SFM_READ, &info);
#endif
    if (!f) {
        if (!FileExists(path)) throw FileError(ErrFileNotFound, path);
        throw VError(QStringLiteral("%1: not a sound file libsndfile can read (%2)")
                         .arg(path, QString::fromLocal8Bit(sf_strerror(nullptr))));
    }
    struct Closer {
        SNDFILE* f;
        ~Closer() { sf_close(f); }
    } closer{f};
    if (info.channels < 1 || info.samplerate <= 0)
        throw VError(QStringLiteral("%1: the sound file has no channels or no rate").arg(path));
    if (info.samplerate < 8000)
        throw VError(QStringLiteral("%1: a sample rate of %2 Hz is too low for speech; "
                                    "8000 Hz or more is needed")
                         .arg(path)
                         .arg(info.samplerate));
    if (info.frames <= 0) throw VError(QStringLiteral("%1: the recording is empty").arg(path));
    if (originalRate) *originalRate = info.samplerate;

    TSound s;
    s.Rate = rate;
    s.Samples.reserve(size_t(double(info.frames) * rate / info.samplerate) + 16);
    TResampler rs(info.samplerate, rate);
    const int ch = info.channels;
    std::vector<float> buf(size_t(ch) * 8192), mono(8192);
    for (;;) {
        const sf_count_t got = sf_readf_float(f, buf.data(), 8192);
        if (got <= 0) break;
        for (sf_count_t i = 0; i < got; ++i) {
            float sum = 0;
            for (int c = 0; c < ch; ++c)
                sum += buf[size_t(i * ch + c)];
            mono[size_t(i)] = sum / float(ch);
        }
        rs.Push(mono.data(), size_t(got), s.Samples);
    }
    if (sf_error(f) != SF_ERR_NO_ERROR)
        throw VError(QStringLiteral("%1: the sound file is damaged (%2)")
                         .arg(path, QString::fromLocal8Bit(sf_strerror(f))));
    rs.Finish(s.Samples);
    return s;
}
