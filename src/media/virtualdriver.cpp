// The virtual back end: no sound, a clock moved by the tests.
#include "media/audiobackend.h"
#include "media/deviceerror.h"
#include "media/virtualaudio.h"

#include <QFile>
#include <QSaveFile>
#include <vector>

namespace {

class VirtualDriver;
std::vector<VirtualDriver*> g_drivers;
qint64 g_now = 0;
bool g_inputAvailable = true;

class VirtualDriver : public AudioDriver {
public:
    explicit VirtualDriver(AudioBackend& core) : AudioDriver(core) { g_drivers.push_back(this); }
    ~VirtualDriver() override { std::erase(g_drivers, this); }

    void play(qint64 from, qint64 to, int speed) override {
        start(false, from, to);
        m_speed = speed;
    }

    void record(qint64 from, qint64 to) override {
        if (!g_inputAvailable)
            throw DeviceError(DevErrNoInput,
                              QStringLiteral("Нет устройства записи звука (микрофона)."));
        start(true, from, to);
        m_speed = 100;
        m_recorded = from;
        m_saved = false;
    }

    void halt() override {
        m_frame = frame();
        m_running = false;
    }

    qint64 frame() const override {
        if (!m_running) return m_frame;
        // Slowed plays cover fewer frames of the sound per millisecond.
        qint64 f = m_from + m_elapsedMs * m_core.info().rate * m_speed / 100000;
        return m_to >= 0 ? std::min(f, m_to) : f;
    }

    qint64 recordedFrames() const override {
        if (m_running && m_recording) return frame();
        return m_recorded;
    }

    void save(const QString& path) override {
        const WaveInfo& in = m_core.info();
        if (m_recorded < 0) {
            // Nothing recorded: the open file itself.
            QFile src(m_core.openPath());
            if (!src.open(QIODevice::ReadOnly)) throw FileErrorOf(src, m_core.openPath());
            const QByteArray bytes = src.readAll();
            QSaveFile out(path);
            if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() ||
                !out.flush() || !out.commit())
                throw FileErrorOf(out, path);
        } else {
            WriteSilentWave(path, in.rate, in.channels, in.format, m_recorded);
        }
        m_saved = true;
    }

    void close() override { m_running = false; }

    // Moves this device's clock; true when its range ended now.
    bool advance(qint64 ms) {
        if (!m_running) return false;
        m_elapsedMs += ms;
        if (m_recording) m_recorded = frame();
        return m_to >= 0 && frame() >= m_to;
    }
    AudioBackend& core() { return m_core; }

private:
    void start(bool recording, qint64 from, qint64 to) {
        m_recording = recording;
        m_from = from;
        m_to = to;
        m_elapsedMs = 0;
        m_frame = from;
        m_running = true;
    }

    bool m_running = false, m_recording = false, m_saved = false;
    qint64 m_from = 0, m_to = -1, m_elapsedMs = 0, m_frame = 0;
    int m_speed = 100;
    qint64 m_recorded = -1;
};

} // namespace

std::unique_ptr<AudioDriver> MakeVirtualDriver(AudioBackend& core) {
    return std::make_unique<VirtualDriver>(core);
}

namespace VirtualAudio {

void Advance(qint64 ms) {
    if (ms <= 0) return;
    g_now += ms;
    // A finishing device may make its owner close or open others: work on a copy
    // and only with drivers still registered.
    const std::vector<VirtualDriver*> drivers = g_drivers;
    std::vector<VirtualDriver*> done;
    for (VirtualDriver* d : drivers)
        if (d->advance(ms)) done.push_back(d);
    for (VirtualDriver* d : done)
        if (std::find(g_drivers.begin(), g_drivers.end(), d) != g_drivers.end())
            d->core().driverFinished();
}

qint64 Now() {
    return g_now;
}

void Reset() {
    g_now = 0;
    g_inputAvailable = true;
}

void SetInputAvailable(bool available) {
    g_inputAvailable = available;
}
bool InputAvailable() {
    return g_inputAvailable;
}

} // namespace VirtualAudio
