#pragma once
// The sound one play sends to the output: frames [from, to) of a wave file
// at a speed, in the output's rate, channels and sample format. At full speed
// the file's samples pass unchanged; slower, a time stretcher (Rubber Band's
// R3 engine in real-time mode, short window) keeps the voice's pitch.
//
// Every output frame maps back to the recording frame it was made from, so
// the device's position stays in the recording's milliseconds whatever the
// speed.
#include "media/soundconvert.h"
#include "media/wavefile.h"

#include <memory>
#include <QAudioFormat>
#include <QByteArray>
#include <QString>
#include <vector>

class TimeStretcher;

class PlayFeed {
public:
    PlayFeed();
    ~PlayFeed();
    PlayFeed(const PlayFeed&) = delete;
    PlayFeed& operator=(const PlayFeed&) = delete;

    // Builds the stretcher for sound of this rate and channels ahead of the
    // first slowed play, which then starts sooner.
    void prepare(int rate, int channels);
    // Opens `path` and prepares frames [from, to) at `speed` percent (as
    // PlaySpeed's steps; 100 bypasses the stretcher). Throws DeviceError.
    void start(const QString& path, qint64 from, qint64 to, int speed, const QAudioFormat& out);
    // Appends up to `maxFrames` output frames as bytes to `out`; returns the
    // frames appended, 0 once everything has been handed out.
    qint64 pull(qint64 maxFrames, QByteArray& out);
    bool finished() const { return m_finished; }
    // The recording frame the listener hears once `outFrames` output frames
    // have been heard.
    qint64 sourceFrame(qint64 outFrames) const;
    // The range's end; earlier than asked when the file ended before it.
    qint64 to() const { return m_to; }
    int speed() const { return m_speed; }
    void close();

private:
    // Appends up to `frames` frames in the file's own rate and channels to
    // m_src; false when the range has none left.
    bool produce(qint64 frames);
    bool produceStretched(qint64 frames);
    void shapeEdges(float* frames, qint64 n, qint64 firstIndex);

    WaveReader m_reader;
    std::unique_ptr<TimeStretcher> m_stretch;
    Resampler m_toOut;
    QAudioFormat m_out;
    int m_rate = 0, m_channels = 0, m_speed = 100;
    qint64 m_from = 0, m_to = 0, m_readFrame = 0, m_fileFrames = 0;
    // Stretched frames handed on so far, and how many the range makes.
    qint64 m_made = 0, m_target = 0;
    qint64 m_drop = 0; // stretcher output still to be thrown away
    bool m_inputDone = false, m_finished = true;
    std::vector<float> m_src, m_conv, m_pendingOut;
};
