#pragma once
// The device's state machine, shared by both back ends: it alone decides
// modes, ranges and notifications. A driver only moves sound and reports
// the frame it has reached.
#include "media/audiodevice.h"
#include "media/wavefile.h"

#include <memory>
#include <optional>
#include <QString>

class AudioBackend;

class AudioDriver {
public:
    explicit AudioDriver(AudioBackend& core) : m_core(core) {}
    virtual ~AudioDriver() = default;

    // Starts sending frames [from, to) of the device's sound to the listener
    // at `speed` percent of its pace (the pitch kept); frame() still counts
    // frames of the sound. Throws DeviceError when the sound system refuses.
    virtual void play(qint64 from, qint64 to, int speed) = 0;
    // Plays at `speed` are coming: get ready for them now, not at play.
    virtual void prepare(int speed) { (void)speed; }
    // Starts recording at frame `from` (the sound after it is replaced);
    // stops by itself at frame `to` (-1: no limit). Throws DeviceError.
    virtual void record(qint64 from, qint64 to) = 0;
    // Stops sound now; frame() keeps the frame reached.
    virtual void halt() = 0;
    // While playing: the frame the listener hears; while recording: the
    // frames recorded so far (the device's length).
    virtual qint64 frame() const = 0;
    // Frames of the sound after the last recording; -1 when nothing was recorded.
    virtual qint64 recordedFrames() const = 0;
    // Writes the device's sound to `path` atomically. Throws.
    virtual void save(const QString& path) = 0;
    // Releases everything; temporary data of a saved recording is removed.
    virtual void close() = 0;

protected:
    AudioBackend& m_core;
};

class AudioBackend {
public:
    AudioBackend(AudioDevice& device, AudioDevice::Backend kind);
    ~AudioBackend();

    AudioDevice::Backend kind() const { return m_kind; }
    const WaveInfo& info() const { return m_info; }
    const QString& openPath() const { return m_openPath; }

    // AudioDevice's operations.
    void setFileName(const QString& name) { m_fileName = name; }
    const QString& fileName() const { return m_fileName; }
    void open();
    void setStartPos(qint64 ms) { m_startMs = ms; }
    void setEndPos(qint64 ms) { m_endMs = ms; }
    // false when the speed was that already.
    bool setSpeed(int percent);
    int speed() const { return m_speed; }
    void play();
    void startRecording();
    void pause();
    void stop();
    void save();
    void close();
    qint64 lengthMs() const;
    qint64 positionMs() const;
    AudioDevice::Mode mode() const { return m_mode; }
    int lastError() const { return m_lastError; }
    const QString& lastErrorText() const { return m_lastErrorText; }

    // From the driver: the range of the running command is done.
    void driverFinished();
    // From the driver: the running command broke off (device lost, disk full).
    void driverFailed(int code, const QString& text);

private:
    enum class Cmd { None, Play, Record };
    qint64 lengthFrames() const;
    qint64 currentFrame() const;
    void require(bool ok, int code, const QString& text);
    void fail(int code, const QString& text);
    void post(int value);
    void supersede();
    void halt();

    AudioDevice& m_device;
    AudioDevice::Backend m_kind;
    std::unique_ptr<AudioDriver> m_driver;
    QString m_fileName, m_openPath;
    WaveInfo m_info;
    std::optional<qint64> m_startMs, m_endMs;
    AudioDevice::Mode m_mode = AudioDevice::NotReady;
    Cmd m_pending = Cmd::None; // the command whose notification is still owed
    bool m_running = false;    // the driver is moving sound now
    qint64 m_pos = 0;          // frame reached when not running
    qint64 m_playTo = 0;       // end frame of the running play
    int m_speed = 100;
    int m_lastError = 0;
    QString m_lastErrorText;
};

std::unique_ptr<AudioDriver> MakeRealDriver(AudioBackend& core);
std::unique_ptr<AudioDriver> MakeVirtualDriver(AudioBackend& core);
