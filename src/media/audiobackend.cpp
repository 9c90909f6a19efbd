#include "media/audiobackend.h"
#include "media/deviceerror.h"
#include "media/playspeed.h"

#include <algorithm>
#include <QMetaObject>
#include <QPointer>

AudioBackend::AudioBackend(AudioDevice& device, AudioDevice::Backend kind)
    : m_device(device), m_kind(kind) {}

AudioBackend::~AudioBackend() {
    if (m_driver) {
        if (m_running) m_driver->halt();
        m_driver->close();
    }
}

void AudioBackend::fail(int code, const QString& text) {
    m_lastError = code;
    m_lastErrorText = text;
    throw DeviceError(code, text);
}

void AudioBackend::require(bool ok, int code, const QString& text) {
    if (!ok) fail(code, text);
}

void AudioBackend::post(int value) {
    // Queued, like a window message: the caller's command returns first, and
    // a device destroyed meanwhile drops it.
    QPointer<AudioDevice> dev(&m_device);
    QMetaObject::invokeMethod(
        &m_device,
        [dev, value] {
            if (dev) Q_EMIT dev->notify(value);
        },
        Qt::QueuedConnection);
}

qint64 AudioBackend::lengthFrames() const {
    if (!m_driver) return 0;
    const qint64 rec = m_driver->recordedFrames();
    return rec >= 0 ? rec : m_info.frames;
}

qint64 AudioBackend::currentFrame() const {
    return m_running ? m_driver->frame() : m_pos;
}

qint64 AudioBackend::lengthMs() const {
    return FramesToMs(lengthFrames(), m_info.rate);
}
qint64 AudioBackend::positionMs() const {
    return FramesToMs(currentFrame(), m_info.rate);
}

void AudioBackend::halt() {
    if (!m_running) return;
    m_pos = m_driver->frame();
    m_driver->halt();
    m_running = false;
}

void AudioBackend::supersede() {
    halt();
    if (m_pending != Cmd::None) post(AudioDevice::Superseded);
    m_pending = Cmd::None;
}

void AudioBackend::open() {
    m_lastError = 0;
    m_lastErrorText.clear();
    if (m_driver) close();
    WaveInfo info;
    try {
        info = ProbeWave(m_fileName);
    } catch (const DeviceError& e) {
        m_lastError = e.code();
        m_lastErrorText = e.text();
        throw;
    }
    m_info = info;
    m_openPath = m_fileName;
    m_driver =
        m_kind == AudioDevice::Backend::Virtual ? MakeVirtualDriver(*this) : MakeRealDriver(*this);
    m_pos = 0;
    m_pending = Cmd::None;
    m_running = false;
    m_mode = AudioDevice::Stopped;
    m_driver->prepare(m_speed);
}

static const QString kNotOpen = QStringLiteral("Звуковое устройство не открыто.");

void AudioBackend::play() {
    m_lastError = 0;
    m_lastErrorText.clear();
    require(m_driver != nullptr, DevErrNotOpen, kNotOpen);
    const qint64 len = lengthFrames();
    const qint64 cur = currentFrame();
    qint64 from = m_startMs ? MsToFrames(*m_startMs, m_info.rate) : (cur >= len ? 0 : cur);
    qint64 to = m_endMs ? MsToFrames(*m_endMs, m_info.rate) : len;
    m_startMs.reset();
    m_endMs.reset();
    // A range beyond the sound is cut to it rather than refused: timing files
    // written against a slightly longer recording still play.
    from = std::clamp<qint64>(from, 0, len);
    to = std::clamp<qint64>(to, from, len);
    supersede();
    m_pos = from;
    if (from == to) {
        m_mode = AudioDevice::Stopped;
        post(AudioDevice::Successful);
        return;
    }
    try {
        m_driver->play(from, to, m_speed);
    } catch (const DeviceError& e) {
        m_mode = AudioDevice::Stopped;
        m_lastError = e.code();
        m_lastErrorText = e.text();
        throw;
    }
    m_running = true;
    m_pending = Cmd::Play;
    m_playTo = to;
    m_mode = AudioDevice::Playing;
}

bool AudioBackend::setSpeed(int percent) {
    const int speed = PlaySpeed::Nearest(percent);
    if (speed == m_speed) return false;
    m_speed = speed;
    if (m_driver) m_driver->prepare(m_speed);
    if (!m_running || m_pending != Cmd::Play) return true;
    // A play goes on from the sound heard now at the new speed, as the same
    // command: its notification still comes once, at the range's end.
    const qint64 at = m_driver->frame();
    m_driver->halt();
    m_pos = at;
    if (at >= m_playTo) {
        m_running = false;
        m_pending = Cmd::None;
        m_mode = AudioDevice::Stopped;
        post(AudioDevice::Successful);
        return true;
    }
    try {
        m_driver->play(at, m_playTo, m_speed);
    } catch (const DeviceError& e) {
        m_running = false;
        m_pending = Cmd::None;
        m_mode = AudioDevice::Stopped;
        m_lastError = e.code();
        m_lastErrorText = e.text();
        post(AudioDevice::Failure);
    }
    return true;
}

void AudioBackend::startRecording() {
    m_lastError = 0;
    m_lastErrorText.clear();
    require(m_driver != nullptr, DevErrNotOpen, kNotOpen);
    const qint64 len = lengthFrames();
    qint64 from = m_startMs ? MsToFrames(*m_startMs, m_info.rate) : currentFrame();
    qint64 to = m_endMs ? MsToFrames(*m_endMs, m_info.rate) : -1;
    m_startMs.reset();
    m_endMs.reset();
    from = std::clamp<qint64>(from, 0, len);
    supersede();
    m_pos = from;
    if (to >= 0 && to <= from) {
        m_mode = AudioDevice::Stopped;
        post(AudioDevice::Successful);
        return;
    }
    try {
        m_driver->record(from, to);
    } catch (const VError& e) {
        const auto* de = dynamic_cast<const DeviceError*>(&e);
        const auto* fe = dynamic_cast<const FileError*>(&e);
        m_mode = AudioDevice::Stopped;
        m_lastError = de ? de->code() : fe ? fe->code() : DevErrCannotWrite;
        m_lastErrorText = e.text();
        throw;
    }
    m_running = true;
    m_pending = Cmd::Record;
    m_mode = AudioDevice::Recording;
}

void AudioBackend::pause() {
    m_lastError = 0;
    m_lastErrorText.clear();
    if (!m_running) return;
    halt();
    m_mode = AudioDevice::Paused;
}

void AudioBackend::stop() {
    m_lastError = 0;
    m_lastErrorText.clear();
    if (!m_driver) return;
    halt();
    if (m_pending != Cmd::None) post(AudioDevice::Aborted);
    m_pending = Cmd::None;
    m_mode = AudioDevice::Stopped;
}

void AudioBackend::save() {
    m_lastError = 0;
    m_lastErrorText.clear();
    require(m_driver != nullptr, DevErrNotOpen, kNotOpen);
    // The sound being recorded is what gets saved: end the recording first.
    if (m_running || m_pending == Cmd::Record) stop();
    try {
        m_driver->save(m_fileName);
    } catch (const VError& e) {
        const auto* de = dynamic_cast<const DeviceError*>(&e);
        const auto* fe = dynamic_cast<const FileError*>(&e);
        m_lastError = de ? de->code() : fe ? fe->code() : DevErrCannotWrite;
        m_lastErrorText = e.text();
        throw;
    }
}

void AudioBackend::close() {
    m_lastError = 0;
    m_lastErrorText.clear();
    if (!m_driver) return;
    halt();
    m_driver->close();
    m_driver.reset();
    m_pending = Cmd::None;
    m_mode = AudioDevice::NotReady;
    m_info = {};
    m_openPath.clear();
    m_pos = 0;
    m_startMs.reset();
    m_endMs.reset();
}

void AudioBackend::driverFinished() {
    if (!m_running) return;
    m_pos = m_driver->frame();
    m_driver->halt();
    m_running = false;
    m_pending = Cmd::None;
    m_mode = AudioDevice::Stopped;
    post(AudioDevice::Successful);
}

void AudioBackend::driverFailed(int code, const QString& text) {
    if (!m_running) return;
    m_pos = m_driver->frame();
    m_driver->halt();
    m_running = false;
    m_pending = Cmd::None;
    m_mode = AudioDevice::Stopped;
    m_lastError = code;
    m_lastErrorText = text;
    post(AudioDevice::Failure);
}
