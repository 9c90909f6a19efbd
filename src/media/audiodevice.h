#pragma once
// A wave-audio device: one per role (player or recorder), positions and
// lengths in milliseconds. Commands run asynchronously; the end of a play or
// a recording arrives as notify() on the UI thread.
//
// Two back ends: the sound card (Qt Multimedia + libsndfile) and a virtual one
// whose clock tests advance by hand. Which one new devices use is chosen
// process-wide with AudioDevice::SetDefaultBackend().
#include <memory>
#include <QObject>
#include <QString>

class AudioBackend;

class AudioDevice : public QObject {
    Q_OBJECT
    // Playback speed in percent of the recording's pace (PlaySpeed's steps),
    // the pitch unchanged. Positions, lengths and ranges stay in the
    // recording's milliseconds at every speed.
    Q_PROPERTY(int speed READ speed WRITE setSpeed NOTIFY speedChanged)
public:
    enum Mode {
        NotReady = 0,
        Stopped = 1,
        Playing = 2,
        Recording = 3,
        Seeking = 4,
        Paused = 5,
        Open = 6
    };
    // Why a play or record ended, as notify() reports it.
    enum NotifyValue { Successful = 1, Superseded = 2, Aborted = 4, Failure = 8 };
    enum class Backend { Real, Virtual };

    explicit AudioDevice(QObject* parent = nullptr);
    ~AudioDevice() override;

    static void SetDefaultBackend(Backend b);
    static Backend DefaultBackend();

    void setFileName(const QString& name); // the wave file of the next open and of save
    QString fileName() const;

    // Opens the file; on refusal sets lastError() and throws DeviceError.
    void open();
    // Used once by the next play or record, then forgotten.
    void setStartPos(qint64 ms);
    void setEndPos(qint64 ms);
    // Snaps to the nearest step. A running play goes on at once at the new
    // speed from where it is, still one command with one notification.
    void setSpeed(int percent);
    int speed() const;
    void play();
    void startRecording();
    void pause();
    void stop();
    void save(); // writes the recorded sound to fileName(); throws FileError/DeviceError
    void close();

    qint64 length() const;   // ms
    qint64 position() const; // ms, what the listener has heard
    Mode mode() const;
    int lastError() const; // 0 = success
    QString lastErrorText() const;

Q_SIGNALS:
    void notify(int value);
    void speedChanged(int percent);

private:
    std::unique_ptr<AudioBackend> m_impl;
};
