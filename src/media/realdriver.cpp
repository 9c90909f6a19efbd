// The sound card back end: Qt Multimedia moves the sound, libsndfile reads
// and writes the wave files.
#include "media/audiobackend.h"
#include "media/deviceerror.h"
#include "media/playfeed.h"
#include "media/soundconvert.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QAudioSource>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QPointer>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTimer>
#include <future>
#include <vector>

namespace {

constexpr int kPollMs = 10;
constexpr int kSinkBufferMs = 200;
constexpr qint64 kChunkFrames = 2048;
// A slowed play runs on a shorter sink buffer: the sound server starts a
// stream only once a good part of its buffer is filled, and every
// millisecond of it has to be stretched before the first is heard.
constexpr int kSlowedSinkBufferMs = 50;

QAudioFormat DeviceFormat(const QAudioDevice& dev, int rate, int channels) {
    QAudioFormat f;
    f.setSampleRate(rate);
    f.setChannelCount(std::clamp(channels, 1, 2));
    for (auto s : {QAudioFormat::Int16, QAudioFormat::Float, QAudioFormat::Int32}) {
        f.setSampleFormat(s);
        if (dev.isFormatSupported(f)) return f;
    }
    QAudioFormat p = dev.preferredFormat();
    if (p.sampleFormat() == QAudioFormat::Unknown) p.setSampleFormat(QAudioFormat::Int16);
    return p;
}

// Keeps one silent, low-latency stream open on the default output while the
// program runs. Sound servers that render far ahead while idle (PulseAudio's
// null sink renders 2 s at a time) then start every new play at once instead
// of after their idle block; on other devices it costs next to nothing.
class OutputKeeper : public QObject {
public:
    explicit OutputKeeper(QObject* parent) : QObject(parent) {
        const QAudioDevice dev = QMediaDevices::defaultAudioOutput();
        if (dev.isNull()) return;
        QAudioFormat f;
        f.setSampleRate(dev.preferredFormat().sampleRate() > 0 ? dev.preferredFormat().sampleRate()
                                                               : 44100);
        f.setChannelCount(1);
        f.setSampleFormat(QAudioFormat::Int16);
        if (!dev.isFormatSupported(f)) f = dev.preferredFormat();
        m_sink = new QAudioSink(dev, f, this);
        m_sink->setBufferSize(f.bytesForDuration(40000));
        m_io = m_sink->start();
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            if (!m_io) return;
            const qsizetype n = m_sink->bytesFree();
            if (n > 0) m_io->write(QByteArray(n, '\0'));
        });
        m_timer.start();
    }

private:
    QAudioSink* m_sink = nullptr;
    QIODevice* m_io = nullptr;
    QTimer m_timer;
};

void EnsureOutputKeeper() {
    static QPointer<OutputKeeper> keeper;
    if (!keeper && QCoreApplication::instance())
        keeper = new OutputKeeper(QCoreApplication::instance());
}

QString NoInputText() {
    return QStringLiteral("Нет устройства записи звука (микрофона).");
}

class RealDriver : public QObject, public AudioDriver {
public:
    explicit RealDriver(AudioBackend& core) : AudioDriver(core) {
        EnsureOutputKeeper();
        m_timer.setInterval(kPollMs);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    }
    ~RealDriver() override { RealDriver::close(); }

    void play(qint64 from, qint64 to, int speed) override;
    void prepare(int speed) override {
        if (speed < 100) m_feed.prepare(in().rate, in().channels);
    }
    void record(qint64 from, qint64 to) override;
    void halt() override;
    qint64 frame() const override;
    qint64 recordedFrames() const override { return m_temp ? m_tempFrames : -1; }
    void save(const QString& path) override;
    void close() override;

private:
    void tick();
    void feed();
    void drainInput();
    qint64 heardSourceFrame() const;
    void releaseSink();
    void releaseSource();
    void startTemp(qint64 keepFrames);

    const WaveInfo& in() const { return m_core.info(); }

    QTimer m_timer;
    // playback
    QPointer<QAudioSink> m_sink;
    QIODevice* m_out = nullptr;
    QAudioFormat m_outFmt;
    PlayFeed m_feed;
    QByteArray m_pendingOut;
    std::vector<float> m_srcBuf, m_dstBuf;
    qint64 m_handedOut = 0;
    bool m_allHanded = false, m_endCheckArmed = false;
    QElapsedTimer m_drainClock, m_playClock;
    qint64 m_drainDeadlineMs = 0;
    mutable qint64 m_lastHeard = 0;
    // recording
    QPointer<QAudioSource> m_source;
    QIODevice* m_inDev = nullptr;
    QAudioFormat m_inFmt;
    Resampler m_fromDevice;
    std::unique_ptr<QFile> m_temp;
    WaveWriter m_writer;
    qint64 m_tempFrames = 0, m_recTo = -1, m_recCaptured = 0;
    QElapsedTimer m_recClock;
    bool m_recording = false, m_saved = false;
    // where the driver stands when nothing runs
    qint64 m_frame = 0;
};

void RealDriver::play(qint64 from, qint64 to, int speed) {
    const QAudioDevice dev = QMediaDevices::defaultAudioOutput();
    if (dev.isNull())
        throw DeviceError(DevErrNoOutput, QStringLiteral("Нет устройства воспроизведения звука."));
    // A recording made on this device plays from its temporary file.
    const QString src = m_temp ? m_temp->fileName() : m_core.openPath();
    if (m_temp) m_temp->flush();
    m_outFmt = DeviceFormat(dev, in().rate, in().channels);
    m_feed.start(src, from, to, speed, m_outFmt);
    const int bufferMs = speed < 100 ? kSlowedSinkBufferMs : kSinkBufferMs;
    // While the sound server sets the stream up, another thread stretches
    // what the stream asks for first (most of its buffer): the two waits
    // overlap instead of adding up. Nothing else touches the feed meanwhile:
    // no event is handled before the thread is joined.
    std::future<QByteArray> ahead;
    if (speed < 100) {
        const qint64 frames = qint64(m_outFmt.sampleRate()) * bufferMs * 3 / 4000;
        ahead = std::async(std::launch::async, [this, frames] {
            QByteArray bytes;
            m_feed.pull(frames, bytes);
            return bytes;
        });
    }
    // No parent: Qt gives the sink's platform part the same parent, so a
    // driver destroyed while the sink's deleteLater() was pending deleted
    // that part twice.
    m_sink = new QAudioSink(dev, m_outFmt);
    m_sink->setBufferSize(m_outFmt.bytesForDuration(bufferMs * 1000));
    // Nothing is heard before the stream starts: the clock that caps the
    // position starts with it.
    m_playClock.start();
    m_out = m_sink->start();
    m_pendingOut.clear();
    try {
        if (ahead.valid()) m_pendingOut = ahead.get();
    } catch (...) {
        releaseSink();
        throw;
    }
    if (!m_out || m_sink->error() != QAudio::NoError) {
        releaseSink();
        throw DeviceError(DevErrDeviceFailed,
                          QStringLiteral("Звуковая карта не может воспроизвести звук."));
    }
    m_handedOut = 0;
    m_lastHeard = from;
    m_allHanded = false;
    m_endCheckArmed = false;
    m_frame = from;
    feed();
    m_timer.start();
}

void RealDriver::startTemp(qint64 keepFrames) {
    // The recording goes to its own file in the current directory; the sound
    // before the start frame is copied in first.
    // A plain named file (not QTemporaryFile, which may stay nameless on
    // disk): whoever rescues an unsaved recording must find it.
    std::unique_ptr<QFile> temp;
    for (int attempt = 0; attempt < 100 && !temp; ++attempt) {
        const QString name =
            QStringLiteral("vantrel-rec-%1.tmp")
                .arg(QRandomGenerator::global()->generate() & 0xffffff, 6, 16, QLatin1Char('0'));
        auto f = std::make_unique<QFile>(QDir::current().filePath(name));
        // Unbuffered: a full disk shows at the write that hit it.
        if (f->open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered))
            temp = std::move(f);
        else if (f->exists())
            continue;
        else
            break;
    }
    if (!temp)
        throw DeviceError(DevErrCannotWrite,
                          QStringLiteral("Не удалось создать временный файл записи в папке %1")
                              .arg(QDir::currentPath()));
    WaveWriter writer;
    if (!writer.open(temp.get(), in().rate, in().channels, RecordingFormat(in().format))) {
        temp->remove();
        throw DeviceError(DevErrCannotWrite,
                          QStringLiteral("Не удалось создать временный файл записи в папке %1")
                              .arg(QDir::currentPath()));
    }
    if (keepFrames > 0) {
        WaveReader old;
        if (m_temp) m_temp->flush();
        old.open(m_temp ? m_temp->fileName() : m_core.openPath());
        if (CopyFrames(old, writer, keepFrames) < std::min(keepFrames, old.info().frames)) {
            writer.close();
            temp->remove();
            throw FileError(ErrDiskFull, temp->fileName());
        }
    }
    m_writer.close();
    if (m_temp) m_temp->remove();
    m_temp = std::move(temp);
    m_tempFrames = writer.frames();
    m_writer = std::move(writer);
}

void RealDriver::record(qint64 from, qint64 to) {
    const QAudioDevice dev = QMediaDevices::defaultAudioInput();
    if (dev.isNull()) throw DeviceError(DevErrNoInput, NoInputText());
    if (!(m_temp && m_writer.isOpen() && from == m_tempFrames)) startTemp(from);
    m_inFmt = DeviceFormat(dev, in().rate, in().channels);
    m_fromDevice.init(m_inFmt.sampleRate(), m_inFmt.channelCount(), in().rate, in().channels);
    m_source = new QAudioSource(dev, m_inFmt); // no parent, as the sink
    // Small fragments: the sound reaches the file soon after it was spoken.
    m_source->setBufferSize(m_inFmt.bytesForDuration(20000));
    m_recCaptured = 0;
    m_recClock.start();
    m_inDev = m_source->start();
    if (!m_inDev || m_source->error() != QAudio::NoError) {
        releaseSource();
        throw DeviceError(DevErrNoInput,
                          QStringLiteral("Не удалось начать запись звука с микрофона."));
    }
    QObject::connect(m_inDev, &QIODevice::readyRead, this, [this] { drainInput(); });
    m_recTo = to;
    m_recording = true;
    m_saved = false;
    m_frame = m_tempFrames;
    m_timer.start();
}

void RealDriver::drainInput() {
    if (!m_recording || !m_inDev) return;
    const QByteArray bytes = m_inDev->readAll();
    if (bytes.isEmpty()) return;
    m_srcBuf.clear();
    DecodeSamples(bytes.constData(), bytes.size(), m_inFmt.sampleFormat(), m_srcBuf);
    m_dstBuf.clear();
    m_fromDevice.push(m_srcBuf.data(), qint64(m_srcBuf.size()) / m_inFmt.channelCount(), m_dstBuf);
    qint64 frames = qint64(m_dstBuf.size()) / in().channels;
    // A source may hand over sound from before the start (PulseAudio passes
    // on what its buffer already held): what is more than the time since the
    // start is the oldest part, and is dropped.
    const qint64 allowed =
        m_recClock.nsecsElapsed() / 1000 * in().rate / 1000000 + in().rate / 50 - m_recCaptured;
    qint64 skip = 0;
    if (frames > allowed) {
        skip = std::min(frames, frames - std::max<qint64>(allowed, 0));
        frames -= skip;
    }
    bool reachedEnd = false;
    if (m_recTo >= 0 && m_tempFrames + frames >= m_recTo) {
        frames = m_recTo - m_tempFrames;
        reachedEnd = true;
    }
    const qint64 put = m_writer.write(m_dstBuf.data() + skip * in().channels, frames);
    m_tempFrames += put;
    m_recCaptured += put;
    if (put < frames) {
        // Disk full: what was written stays in the temporary file.
        m_core.driverFailed(DevErrDiskFull, FileError::TextOf(ErrDiskFull));
        return;
    }
    if (reachedEnd) m_core.driverFinished();
}

qint64 RealDriver::heardSourceFrame() const {
    if (!m_sink) return m_frame;
    // processedUSecs: what the server has played minus the sink's latency.
    // Never more than the time since play: nobody hears sound faster than that.
    const qint64 us = std::min(m_sink->processedUSecs(), m_playClock.nsecsElapsed() / 1000);
    qint64 out = qint64(double(us) * m_outFmt.sampleRate() / 1e6);
    out = std::clamp<qint64>(out, 0, m_handedOut);
    const qint64 f = std::clamp(m_feed.sourceFrame(out), m_lastHeard, m_feed.to());
    m_lastHeard = f;
    return f;
}

qint64 RealDriver::frame() const {
    if (m_sink) return heardSourceFrame();
    if (m_recording) return m_tempFrames;
    return m_frame;
}

void RealDriver::feed() {
    if (!m_sink || !m_out) return;
    const int bpf = m_outFmt.bytesPerFrame();
    qsizetype room = m_sink->bytesFree();
    while (room >= bpf) {
        if (m_pendingOut.isEmpty() &&
            m_feed.pull(std::min<qint64>(kChunkFrames, room / bpf), m_pendingOut) == 0)
            break;
        const qsizetype n = std::min(room - room % bpf, m_pendingOut.size());
        const qint64 w = m_out->write(m_pendingOut.constData(), n);
        if (w <= 0) break;
        const qint64 whole = w - w % bpf;
        m_handedOut += whole / bpf;
        m_pendingOut.remove(0, whole);
        room -= whole;
        if (whole < n) break;
    }
    if (!m_allHanded && m_feed.finished() && m_pendingOut.isEmpty()) {
        m_allHanded = true;
        // Should the sound system stop reporting progress, end anyway a
        // little after the buffered sound must have played.
        m_drainClock.start();
        const qint64 left =
            m_handedOut - qint64(double(m_sink->processedUSecs()) * m_outFmt.sampleRate() / 1e6);
        m_drainDeadlineMs = std::max<qint64>(0, left) * 1000 / m_outFmt.sampleRate() + 500;
    }
}

void RealDriver::tick() {
    if (m_sink) {
        if (m_sink->error() == QAudio::FatalError || m_sink->error() == QAudio::IOError ||
            m_sink->error() == QAudio::OpenError) {
            m_core.driverFailed(DevErrDeviceFailed,
                                QStringLiteral("Звуковая карта перестала воспроизводить звук."));
            return;
        }
        feed();
        if (m_allHanded) {
            const qint64 us = std::min(m_sink->processedUSecs(), m_playClock.nsecsElapsed() / 1000);
            const qint64 heardOut =
                std::min<qint64>(m_handedOut, qint64(double(us) * m_outFmt.sampleRate() / 1e6));
            // The server reports time rounded down to whole microseconds of
            // its own rate: a frame or two short of the end is the end.
            const qint64 slack = m_outFmt.sampleRate() / 1000 + 1;
            const bool done =
                heardOut + slack >= m_handedOut || m_drainClock.elapsed() > m_drainDeadlineMs;
            if (!done && !m_endCheckArmed) {
                // The last sample will be heard before the next tick: look
                // again just then, not up to a tick late.
                const qint64 leftUs = (m_handedOut - heardOut) * 1000000 / m_outFmt.sampleRate();
                if (leftUs < kPollMs * 1000) {
                    m_endCheckArmed = true;
                    QTimer::singleShot(int(leftUs / 1000) + 1, Qt::PreciseTimer, this, [this] {
                        m_endCheckArmed = false;
                        if (m_sink) tick();
                    });
                }
            }
            if (done) {
                m_lastHeard = m_feed.to();
                m_frame = m_feed.to();
                releaseSink();
                m_core.driverFinished();
                return;
            }
        }
    }
    if (m_recording) {
        drainInput();
        if (m_recording && m_source && m_source->error() != QAudio::NoError &&
            m_source->state() == QAudio::StoppedState)
            m_core.driverFailed(DevErrNoInput, NoInputText());
    }
}

void RealDriver::releaseSink() {
    if (m_sink) {
        m_frame = heardSourceFrame();
        m_sink->stop();
        m_sink->deleteLater();
    }
    m_sink = nullptr;
    m_out = nullptr;
    m_feed.close();
    m_pendingOut.clear();
}

void RealDriver::releaseSource() {
    if (m_source) {
        if (m_inDev) QObject::disconnect(m_inDev, nullptr, this, nullptr);
        m_source->stop();
        m_source->deleteLater();
    }
    m_source = nullptr;
    m_inDev = nullptr;
}

void RealDriver::halt() {
    if (m_sink) releaseSink();
    if (m_recording) {
        // Sound captured up to now still goes into the file.
        const qint64 to = m_recTo;
        drainInput();
        m_recTo = to;
        m_recording = false;
        releaseSource();
        m_frame = m_tempFrames;
        if (m_temp) m_temp->flush();
    }
    if (!m_sink && !m_recording) m_timer.stop();
}

void RealDriver::save(const QString& path) {
    if (!m_temp) {
        // Nothing recorded: the open file itself.
        QFile src(m_core.openPath());
        if (!src.open(QIODevice::ReadOnly)) throw FileErrorOf(src, m_core.openPath());
        const QByteArray bytes = src.readAll();
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush() ||
            !out.commit())
            throw FileErrorOf(out, path);
        return;
    }
    // The temporary file is a complete wave file at every moment; the saved
    // file replaces the old one only once it is fully written.
    m_temp->flush();
    QFile src(m_temp->fileName());
    if (!src.open(QIODevice::ReadOnly)) throw FileErrorOf(src, m_temp->fileName());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) throw FileErrorOf(out, path);
    char buf[65536];
    for (;;) {
        const qint64 n = src.read(buf, sizeof buf);
        if (n < 0) {
            out.cancelWriting();
            throw FileError(ErrReadBeyondEnd, m_temp->fileName());
        }
        if (n == 0) break;
        if (out.write(buf, n) != n) {
            out.cancelWriting();
            throw FileErrorOf(out, path);
        }
    }
    if (!out.flush() || !out.commit()) throw FileErrorOf(out, path);
    m_saved = true;
}

void RealDriver::close() {
    halt();
    m_timer.stop();
    m_writer.close();
    if (m_temp) {
        // An unsaved recording stays for the caller to rescue; a saved or
        // empty one is ours to remove.
        if (m_saved || m_tempFrames == 0) m_temp->remove();
        m_temp.reset();
    }
    m_tempFrames = 0;
}

} // namespace

std::unique_ptr<AudioDriver> MakeRealDriver(AudioBackend& core) {
    return std::make_unique<RealDriver>(core);
}
