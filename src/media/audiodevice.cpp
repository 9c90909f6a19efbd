#include "media/audiodevice.h"
#include "media/audiobackend.h"

namespace {
AudioDevice::Backend g_defaultBackend = AudioDevice::Backend::Real;
}

AudioDevice::AudioDevice(QObject* parent)
    : QObject(parent), m_impl(std::make_unique<AudioBackend>(*this, g_defaultBackend)) {}

AudioDevice::~AudioDevice() = default;

void AudioDevice::SetDefaultBackend(Backend b) {
    g_defaultBackend = b;
}
AudioDevice::Backend AudioDevice::DefaultBackend() {
    return g_defaultBackend;
}

void AudioDevice::setFileName(const QString& name) {
    m_impl->setFileName(name);
}
QString AudioDevice::fileName() const {
    return m_impl->fileName();
}
void AudioDevice::open() {
    m_impl->open();
}
void AudioDevice::setStartPos(qint64 ms) {
    m_impl->setStartPos(ms);
}
void AudioDevice::setEndPos(qint64 ms) {
    m_impl->setEndPos(ms);
}
void AudioDevice::setSpeed(int percent) {
    if (m_impl->setSpeed(percent)) Q_EMIT speedChanged(m_impl->speed());
}
int AudioDevice::speed() const {
    return m_impl->speed();
}
void AudioDevice::play() {
    m_impl->play();
}
void AudioDevice::startRecording() {
    m_impl->startRecording();
}
void AudioDevice::pause() {
    m_impl->pause();
}
void AudioDevice::stop() {
    m_impl->stop();
}
void AudioDevice::save() {
    m_impl->save();
}
void AudioDevice::close() {
    m_impl->close();
}
qint64 AudioDevice::length() const {
    return m_impl->lengthMs();
}
qint64 AudioDevice::position() const {
    return m_impl->positionMs();
}
AudioDevice::Mode AudioDevice::mode() const {
    return m_impl->mode();
}
int AudioDevice::lastError() const {
    return m_impl->lastError();
}
QString AudioDevice::lastErrorText() const {
    return m_impl->lastErrorText();
}
