#pragma once
// Wave files through libsndfile, over Qt file devices (so names need no
// platform conversion and saved files can go through QSaveFile).
#include "base/errors.h"

#include <memory>
#include <QIODevice>
#include <QString>

struct WaveInfo {
    int rate = 0;
    int channels = 0;
    qint64 frames = 0;
    int format = 0; // libsndfile format word (major type | encoding)
};

// Checks the file and reads its header. Throws DeviceError with a clear text
// for a missing file, a file that is no wave file, a header cut short or an
// encoding that cannot be decoded.
WaveInfo ProbeWave(const QString& path);

// Frame to millisecond and back. A frame reached from a time in ms maps back
// to that same ms (frames round down, ms round up), so a range ends exactly at
// the position the caller asked for.
inline qint64 FramesToMs(qint64 frames, int rate) {
    return rate > 0 ? (frames * 1000 + rate - 1) / rate : 0;
}
inline qint64 MsToFrames(qint64 ms, int rate) {
    return ms * rate / 1000;
}

// The encoding a recording into a file of this format is written with.
int RecordingFormat(int openFormat);

struct SndFileHandle;

// Reads float frames (interleaved) from a wave file.
class WaveReader {
public:
    WaveReader();
    ~WaveReader();
    // Throws DeviceError.
    void open(const QString& path);
    const WaveInfo& info() const { return m_info; }
    bool seek(qint64 frame);
    // Frames read, 0 at the end or on error.
    qint64 read(float* buf, qint64 frames);
    void close();
    bool isOpen() const;

private:
    std::unique_ptr<SndFileHandle> m_h;
    WaveInfo m_info;
};

// Writes float frames to a new wave file on an open Qt device (a QFile or a
// QSaveFile). The header is kept up to date after every write, so the file is
// a valid wave file at any moment.
class WaveWriter {
public:
    WaveWriter();
    ~WaveWriter();
    WaveWriter(WaveWriter&& o) noexcept;
    WaveWriter& operator=(WaveWriter&& o) noexcept;
    // The device must be open for ReadWrite and stay alive while writing.
    // Returns false when libsndfile refuses the format or the device.
    bool open(QIODevice* dev, int rate, int channels, int format);
    // Frames written; fewer than asked when the device refused (disk full).
    qint64 write(const float* buf, qint64 frames);
    qint64 frames() const { return m_frames; }
    // Finishes the header. Returns false when the final write failed.
    bool close();
    bool isOpen() const;

private:
    std::unique_ptr<SndFileHandle> m_h;
    qint64 m_frames = 0;
};

// Writes `frames` frames of silence as a complete wave file, atomically.
// Throws FileError on a write failure; the old file then stays.
void WriteSilentWave(const QString& path, int rate, int channels, int format, qint64 frames);

class QFileDevice;
// The file error a failed Qt file operation stands for.
FileError FileErrorOf(const QFileDevice& f, const QString& path);

// Copies the frames [0, frames) of `from` into `writer`. Returns frames copied.
qint64 CopyFrames(WaveReader& from, WaveWriter& writer, qint64 frames);
