#include "media/playfeed.h"
#include "media/deviceerror.h"

#include <algorithm>
#include <cmath>
#include <rubberband/RubberBandStretcher.h>

namespace {
constexpr qint64 kChunkFrames = 2048;
// Slowed sound starts and ends with a short fade: the stretcher's first and
// last frames do not meet silence smoothly, and would click.
constexpr int kEdgeMs = 5;
} // namespace

// Rubber Band behind interleaved buffers. The R3 engine on its short window:
// a single analysis window instead of three serves a voice well, takes about
// half the stretching work and has a shorter start delay, which every slowed
// play waits for before its first sound. Made once per feed and reset for
// each play: building the R3 engine costs more than a play's start may.
class TimeStretcher {
public:
    TimeStretcher(int rate, int channels)
        : m_rate(rate), m_channels(channels),
          m_rb(size_t(rate), size_t(channels),
               RubberBand::RubberBandStretcher::OptionProcessRealTime |
                   RubberBand::RubberBandStretcher::OptionEngineFiner |
                   RubberBand::RubberBandStretcher::OptionWindowShort |
                   RubberBand::RubberBandStretcher::OptionThreadingNever |
                   RubberBand::RubberBandStretcher::OptionChannelsTogether),
          m_planes(static_cast<size_t>(channels)) {}

    int rate() const { return m_rate; }
    int channels() const { return m_channels; }

    // Starts a new stretch. The caller then feeds startPad() frames of the
    // sound before the range and throws away the first startDelay() frames
    // of output; output frame k then stands for input frame k * speed / 100.
    void restart(int speed) {
        m_rb.reset();
        m_rb.setTimeRatio(100.0 / double(speed));
    }
    qint64 startPad() const { return qint64(m_rb.getPreferredStartPad()); }
    qint64 startDelay() const { return qint64(m_rb.getStartDelay()); }
    qint64 required() const { return qint64(m_rb.getSamplesRequired()); }
    void process(const float* in, qint64 frames, bool final) {
        split(in, frames);
        std::vector<const float*> p(static_cast<size_t>(m_channels));
        for (int c = 0; c < m_channels; ++c)
            p[size_t(c)] = m_planes[size_t(c)].data();
        m_rb.process(p.data(), size_t(frames), final);
    }
    // Frames ready; -1 once the final input has come out completely.
    int available() const { return m_rb.available(); }
    // Appends up to `frames` interleaved frames to `out`; returns how many.
    qint64 retrieve(qint64 frames, std::vector<float>& out) {
        for (auto& pl : m_planes)
            pl.resize(size_t(frames));
        std::vector<float*> p(static_cast<size_t>(m_channels));
        for (int c = 0; c < m_channels; ++c)
            p[size_t(c)] = m_planes[size_t(c)].data();
        const qint64 got = qint64(m_rb.retrieve(p.data(), size_t(frames)));
        const size_t at = out.size();
        out.resize(at + size_t(got * m_channels));
        for (qint64 f = 0; f < got; ++f)
            for (int c = 0; c < m_channels; ++c)
                out[at + size_t(f * m_channels + c)] = m_planes[size_t(c)][size_t(f)];
        return got;
    }

private:
    void split(const float* in, qint64 frames) {
        for (int c = 0; c < m_channels; ++c) {
            auto& pl = m_planes[size_t(c)];
            pl.resize(size_t(frames));
            for (qint64 f = 0; f < frames; ++f)
                pl[size_t(f)] = in[f * m_channels + c];
        }
    }

    int m_rate, m_channels;
    RubberBand::RubberBandStretcher m_rb;
    std::vector<std::vector<float>> m_planes;
};

namespace {

// Stretchers outlive their feeds: windows open a device for each word they
// play, and a stretcher's first stretch runs several times slower than the
// next ones. Everything runs on the UI thread.
std::vector<std::unique_ptr<TimeStretcher>>& Pool() {
    static std::vector<std::unique_ptr<TimeStretcher>> pool;
    return pool;
}
constexpr size_t kPoolSize = 4;

std::unique_ptr<TimeStretcher> Borrow(int rate, int channels) {
    auto& pool = Pool();
    for (auto it = pool.begin(); it != pool.end(); ++it)
        if ((*it)->rate() == rate && (*it)->channels() == channels) {
            auto s = std::move(*it);
            pool.erase(it);
            return s;
        }
    auto s = std::make_unique<TimeStretcher>(rate, channels);
    // One throw-away stretch of a quiet hiss.
    s->restart(60);
    std::vector<float> hiss(size_t(rate / 5) * size_t(channels)), out;
    quint32 seed = 1;
    for (float& v : hiss) {
        seed = seed * 1664525u + 1013904223u;
        v = float(qint32(seed) >> 8) / float(1 << 23) * 1e-3f;
    }
    s->process(hiss.data(), rate / 5, true);
    for (int a; (a = s->available()) > 0;) {
        out.clear();
        s->retrieve(a, out);
    }
    return s;
}

void GiveBack(std::unique_ptr<TimeStretcher> s) {
    if (s && Pool().size() < kPoolSize) Pool().push_back(std::move(s));
}

} // namespace

PlayFeed::PlayFeed() = default;
PlayFeed::~PlayFeed() {
    GiveBack(std::move(m_stretch));
}

void PlayFeed::start(const QString& path, qint64 from, qint64 to, int speed,
                     const QAudioFormat& out) {
    m_finished = true;
    m_reader.open(path);
    if (!m_reader.seek(from))
        throw DeviceError(
            DevErrUnsupported,
            QStringLiteral("Не удалось перейти к позиции в звуковом файле: %1").arg(path));
    m_rate = m_reader.info().rate;
    m_channels = m_reader.info().channels;
    m_out = out;
    m_toOut.init(m_rate, m_channels, out.sampleRate(), out.channelCount());
    m_speed = std::clamp(speed, 1, 100);
    m_fileFrames = m_reader.info().frames;
    m_from = from;
    m_to = std::min(to, m_fileFrames);
    m_readFrame = from;
    m_made = 0;
    m_inputDone = false;
    m_src.clear();
    m_pendingOut.clear();
    m_finished = from >= m_to;
    if (m_speed == 100 || m_finished) return;
    prepare(m_rate, m_channels);
    m_stretch->restart(m_speed);
    m_drop = m_stretch->startDelay();
    m_target = (m_to - from) * 100 / m_speed;
    // The stretcher starts on the sound before the range where there is
    // some, silence before the file's start: a range beginning mid-word then
    // starts as smoothly as it would sound in the recording.
    const qint64 pad = m_stretch->startPad();
    const qint64 before = std::min(pad, from);
    std::vector<float> lead(size_t(pad * m_channels), 0.0f);
    if (before > 0 && m_reader.seek(from - before))
        m_reader.read(lead.data() + (pad - before) * m_channels, before);
    m_reader.seek(from);
    m_stretch->process(lead.data(), pad, false);
}

void PlayFeed::prepare(int rate, int channels) {
    if (m_stretch && m_stretch->rate() == rate && m_stretch->channels() == channels) return;
    GiveBack(std::move(m_stretch));
    m_stretch = Borrow(rate, channels);
}

void PlayFeed::close() {
    m_reader.close();
    m_pendingOut.clear();
    m_src.clear();
    m_finished = true;
}

qint64 PlayFeed::sourceFrame(qint64 outFrames) const {
    double f = double(outFrames);
    if (m_out.sampleRate() != m_rate && m_out.sampleRate() > 0) f = f * m_rate / m_out.sampleRate();
    if (m_speed != 100) f = f * m_speed / 100.0;
    return std::clamp(m_from + std::llround(f), m_from, std::max(m_from, m_to));
}

bool PlayFeed::produce(qint64 frames) {
    if (m_speed != 100) return produceStretched(frames);
    const qint64 want = std::min(frames, m_to - m_readFrame);
    if (want <= 0) return false;
    const size_t at = m_src.size();
    m_src.resize(at + size_t(want * m_channels));
    const qint64 got = m_reader.read(m_src.data() + at, want);
    m_src.resize(at + size_t(std::max<qint64>(got, 0) * m_channels));
    if (got <= 0) {
        m_to = m_readFrame; // the file ended early
        return false;
    }
    m_readFrame += got;
    return true;
}

bool PlayFeed::produceStretched(qint64 frames) {
    qint64 have = 0;
    std::vector<float> in;
    while (have < frames && m_made < m_target) {
        const int avail = m_stretch->available();
        if (avail > 0) {
            const size_t at = m_src.size();
            const qint64 got =
                m_stretch->retrieve(std::min<qint64>(avail, frames - have + m_drop), m_src);
            // The stretcher's start delay is sound from before the range.
            const qint64 drop = std::min(m_drop, got);
            m_drop -= drop;
            m_src.erase(m_src.begin() + qint64(at), m_src.begin() + qint64(at + drop * m_channels));
            const qint64 keep = std::min(got - drop, m_target - m_made);
            m_src.resize(at + size_t(keep * m_channels));
            shapeEdges(m_src.data() + at, keep, m_made);
            m_made += keep;
            have += keep;
            continue;
        }
        if (avail < 0 || m_inputDone) break; // all the stretcher will give
        // The sound after the range goes in too, until the range's output is
        // complete: the stretcher's last frames of a stream are ragged.
        const qint64 want = std::min(std::clamp<qint64>(m_stretch->required(), 1, kChunkFrames),
                                     m_fileFrames - m_readFrame);
        in.resize(size_t(std::max<qint64>(want, 1) * m_channels));
        std::fill(in.begin(), in.end(), 0.0f);
        const qint64 got = want > 0 ? m_reader.read(in.data(), want) : 0;
        if (got < want || m_readFrame + got >= m_fileFrames) {
            if (m_readFrame + got < m_to) {
                // The file is shorter than its header says: the output ends with it.
                m_to = m_readFrame + got;
                m_target = std::min(m_target, (m_to - m_from) * 100 / m_speed);
            }
            m_inputDone = true;
        }
        m_readFrame += got;
        // A last block of silence when the file gave none: the library
        // flushes only on a final block with frames in it.
        m_stretch->process(in.data(), std::max<qint64>(got, 1), m_inputDone);
    }
    return have > 0;
}

void PlayFeed::shapeEdges(float* frames, qint64 n, qint64 firstIndex) {
    const qint64 edge = std::max<qint64>(1, qint64(m_rate) * kEdgeMs / 1000);
    for (qint64 i = 0; i < n; ++i) {
        const qint64 k = firstIndex + i;
        double g = 1.0;
        if (k < edge) g *= 0.5 - 0.5 * std::cos(M_PI * (double(k) + 0.5) / double(edge));
        const qint64 fromEnd = m_target - 1 - k;
        if (fromEnd < edge)
            g *= 0.5 - 0.5 * std::cos(M_PI * (double(fromEnd) + 0.5) / double(edge));
        if (g == 1.0) continue;
        for (int c = 0; c < m_channels; ++c)
            frames[i * m_channels + c] *= float(g);
    }
}

qint64 PlayFeed::pull(qint64 maxFrames, QByteArray& out) {
    const int och = std::max(1, m_out.channelCount());
    qint64 done = 0;
    while (done < maxFrames) {
        if (m_pendingOut.empty()) {
            if (m_finished) break;
            // No more than asked for: a slowed start must not stretch ahead.
            const qint64 need = (maxFrames - done) * m_rate / std::max(1, m_out.sampleRate()) + 1;
            m_src.clear();
            if (!produce(std::min(kChunkFrames, need))) {
                m_finished = true;
                break;
            }
            m_toOut.push(m_src.data(), qint64(m_src.size()) / m_channels, m_pendingOut);
            continue;
        }
        const qint64 n = std::min(maxFrames - done, qint64(m_pendingOut.size()) / och);
        EncodeSamples(m_pendingOut.data(), size_t(n * och), m_out.sampleFormat(), out);
        m_pendingOut.erase(m_pendingOut.begin(), m_pendingOut.begin() + n * och);
        done += n;
    }
    return done;
}
