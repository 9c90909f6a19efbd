#include "media/wavefile.h"
#include "media/deviceerror.h"

#include <cerrno>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <sndfile.h>
#include <vector>

struct SndFileHandle {
    SNDFILE* sf = nullptr;
    QIODevice* dev = nullptr;
    std::unique_ptr<QFile> ownFile; // the reader's own file
    ~SndFileHandle() {
        if (sf) sf_close(sf);
    }
};

namespace {

// libsndfile's virtual I/O over a QIODevice.
sf_count_t VioLength(void* user) {
    return static_cast<SndFileHandle*>(user)->dev->size();
}
sf_count_t VioSeek(sf_count_t offset, int whence, void* user) {
    QIODevice* d = static_cast<SndFileHandle*>(user)->dev;
    qint64 target = offset;
    if (whence == SEEK_CUR)
        target += d->pos();
    else if (whence == SEEK_END)
        target += d->size();
    if (target < 0) return -1;
    // Seeking past the end of a file opened for writing is allowed by QFile.
    if (!d->seek(target)) return -1;
    return d->pos();
}
sf_count_t VioRead(void* ptr, sf_count_t count, void* user) {
    qint64 n = static_cast<SndFileHandle*>(user)->dev->read(static_cast<char*>(ptr), count);
    return n < 0 ? 0 : n;
}
sf_count_t VioWrite(const void* ptr, sf_count_t count, void* user) {
    qint64 n = static_cast<SndFileHandle*>(user)->dev->write(static_cast<const char*>(ptr), count);
    return n < 0 ? 0 : n;
}
sf_count_t VioTell(void* user) {
    return static_cast<SndFileHandle*>(user)->dev->pos();
}

SF_VIRTUAL_IO g_vio = {VioLength, VioSeek, VioRead, VioWrite, VioTell};

quint32 Le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

[[noreturn]] void Refuse(int code, const QString& text) {
    throw DeviceError(code, text);
}

// Walks the RIFF chunks far enough to tell "not a wave file" from "header
// cut short" before libsndfile gives its one generic answer.
void CheckRiffHeader(QFile& f, const QString& path) {
    const qint64 size = f.size();
    QByteArray head = f.read(12);
    static const QByteArray riff("RIFF"), rf64("RF64");
    if (head.size() < 12) {
        if (!head.isEmpty() && (riff.startsWith(head.left(4)) || rf64.startsWith(head.left(4))))
            Refuse(DevErrBadHeader,
                   QStringLiteral("Заголовок звукового файла повреждён или обрезан: %1").arg(path));
        Refuse(DevErrNotWave,
               QStringLiteral("Файл не является звуковым файлом WAVE: %1").arg(path));
    }
    if ((!head.startsWith(riff) && !head.startsWith(rf64)) || head.mid(8, 4) != "WAVE")
        Refuse(DevErrNotWave,
               QStringLiteral("Файл не является звуковым файлом WAVE: %1").arg(path));
    // RF64 keeps its 64-bit sizes in the ds64 chunk: its chunks are walked
    // only for the list that runs past the end, the rest is libsndfile's.
    const bool wide = head.startsWith(rf64);
    bool fmt = false, data = false;
    qint64 pos = 12;
    while (pos + 8 <= size) {
        f.seek(pos);
        QByteArray ch = f.read(8);
        if (ch.size() < 8) break;
        const quint32 len = Le32(ch.constData() + 4);
        if (ch.startsWith("fmt ")) {
            if (len < 16 || pos + 8 + 16 > size) break; // format block cut short
            fmt = true;
        } else if (ch.startsWith("data")) {
            data = true;
            if (wide) break; // its size is in ds64
        } else if (ch.startsWith("LIST") && pos + 8 + qint64(len) > size) {
            // libsndfile reads the entries of a list that runs past the end
            // of the file for minutes, up to its stated length.
            Refuse(DevErrBadHeader,
                   QStringLiteral("Заголовок звукового файла повреждён или обрезан: %1").arg(path));
        }
        pos += 8 + qint64(len) + (len & 1);
    }
    if (!wide && (!fmt || !data))
        Refuse(DevErrBadHeader,
               QStringLiteral("Заголовок звукового файла повреждён или обрезан: %1").arg(path));
}

} // namespace

WaveInfo ProbeWave(const QString& path) {
    WaveReader r;
    r.open(path);
    return r.info();
}

int RecordingFormat(int openFormat) {
    const int enc = openFormat & SF_FORMAT_SUBMASK;
    switch (enc) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
        return SF_FORMAT_WAV | enc;
    default:
        // Block codecs (ADPCM, GSM) do not stream frame by frame: plain PCM.
        return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    }
}

WaveReader::WaveReader() = default;
WaveReader::~WaveReader() = default;

bool WaveReader::isOpen() const {
    return m_h && m_h->sf;
}

void WaveReader::open(const QString& path) {
    close();
    QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists() || fi.isDir())
        Refuse(DevErrFileNotFound, QStringLiteral("Звуковой файл не найден: %1").arg(path));
    auto h = std::make_unique<SndFileHandle>();
    h->ownFile = std::make_unique<QFile>(path);
    if (!h->ownFile->open(QIODevice::ReadOnly))
        Refuse(DevErrAccessDenied, QStringLiteral("Нет доступа к звуковому файлу: %1").arg(path));
    CheckRiffHeader(*h->ownFile, path);
    h->ownFile->seek(0);
    h->dev = h->ownFile.get();
    SF_INFO si{};
    h->sf = sf_open_virtual(&g_vio, SFM_READ, &si, h.get());
    if (!h->sf)
        Refuse(DevErrUnsupported,
               QStringLiteral("Формат звукового файла не поддерживается: %1 (%2)")
                   .arg(path, QString::fromUtf8(sf_strerror(nullptr))));
    const int major = si.format & SF_FORMAT_TYPEMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX && major != SF_FORMAT_RF64)
        Refuse(DevErrNotWave,
               QStringLiteral("Файл не является звуковым файлом WAVE: %1").arg(path));
    if (si.channels < 1 || si.channels > 8 || si.samplerate < 1000 || si.samplerate > 384000 ||
        si.frames < 0)
        Refuse(DevErrUnsupported,
               QStringLiteral("Формат звукового файла не поддерживается: %1 (%2 Гц, каналов: %3)")
                   .arg(path)
                   .arg(si.samplerate)
                   .arg(si.channels));
    m_info.rate = si.samplerate;
    m_info.channels = si.channels;
    m_info.frames = si.frames;
    m_info.format = si.format;
    m_h = std::move(h);
}

bool WaveReader::seek(qint64 frame) {
    if (!isOpen()) return false;
    return sf_seek(m_h->sf, frame, SEEK_SET) == frame;
}

qint64 WaveReader::read(float* buf, qint64 frames) {
    if (!isOpen() || frames <= 0) return 0;
    sf_count_t n = sf_readf_float(m_h->sf, buf, frames);
    return n < 0 ? 0 : n;
}

void WaveReader::close() {
    m_h.reset();
    m_info = {};
}

WaveWriter::WaveWriter() = default;
WaveWriter::~WaveWriter() {
    close();
}
WaveWriter::WaveWriter(WaveWriter&& o) noexcept : m_h(std::move(o.m_h)), m_frames(o.m_frames) {}
WaveWriter& WaveWriter::operator=(WaveWriter&& o) noexcept {
    if (this != &o) {
        close();
        m_h = std::move(o.m_h);
        m_frames = o.m_frames;
    }
    return *this;
}

bool WaveWriter::isOpen() const {
    return m_h && m_h->sf;
}

bool WaveWriter::open(QIODevice* dev, int rate, int channels, int format) {
    close();
    // libsndfile opens a read-only stream for writing too and only fails the
    // writes later, so a device that cannot take the header is refused here.
    if (!dev || !dev->isWritable()) return false;
    auto h = std::make_unique<SndFileHandle>();
    h->dev = dev;
    SF_INFO si{};
    si.samplerate = rate;
    si.channels = channels;
    si.format = format;
    if (!sf_format_check(&si)) return false;
    h->sf = sf_open_virtual(&g_vio, SFM_WRITE, &si, h.get());
    if (!h->sf) return false;
    sf_command(h->sf, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    // A crash or a full disk mid-recording still leaves a readable file.
    sf_command(h->sf, SFC_SET_UPDATE_HEADER_AUTO, nullptr, SF_TRUE);
    m_h = std::move(h);
    m_frames = 0;
    return true;
}

qint64 WaveWriter::write(const float* buf, qint64 frames) {
    if (!isOpen() || frames <= 0) return 0;
    sf_count_t n = sf_writef_float(m_h->sf, buf, frames);
    if (n < 0) n = 0;
    m_frames += n;
    return n;
}

bool WaveWriter::close() {
    if (!isOpen()) return true;
    sf_write_sync(m_h->sf);
    const bool ok = sf_error(m_h->sf) == SF_ERR_NO_ERROR;
    m_h.reset();
    return ok;
}

FileError FileErrorOf(const QFileDevice& f, const QString& path) {
    switch (f.error()) {
    case QFileDevice::ResourceError:
        return FileError(ErrDiskFull, path);
    case QFileDevice::PermissionsError:
        return FileError(ErrAccessDenied, path);
    default:
        return errno ? FileError::FromErrno(errno, path) : FileError(ErrAccessDenied, path);
    }
}

qint64 CopyFrames(WaveReader& from, WaveWriter& writer, qint64 frames) {
    if (!from.seek(0)) return 0;
    const int ch = from.info().channels;
    std::vector<float> buf(4096 * size_t(ch));
    qint64 done = 0;
    while (done < frames) {
        qint64 want = std::min<qint64>(4096, frames - done);
        qint64 got = from.read(buf.data(), want);
        if (got <= 0) break;
        qint64 put = writer.write(buf.data(), got);
        done += put;
        if (put < got) break;
    }
    return done;
}

void WriteSilentWave(const QString& path, int rate, int channels, int format, qint64 frames) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) throw FileErrorOf(out, path);
    {
        WaveWriter w;
        if (!w.open(&out, rate, channels, RecordingFormat(format)))
            throw DeviceError(DevErrCannotWrite,
                              QStringLiteral("Не удалось записать звуковой файл: %1").arg(path));
        std::vector<float> zero(4096 * size_t(channels), 0.0f);
        qint64 done = 0;
        while (done < frames) {
            qint64 want = std::min<qint64>(4096, frames - done);
            if (w.write(zero.data(), want) < want) {
                out.cancelWriting();
                throw FileError(ErrDiskFull, path);
            }
            done += want;
        }
        if (!w.close()) {
            out.cancelWriting();
            throw FileError(ErrDiskFull, path);
        }
    }
    if (!out.flush() || !out.commit()) throw FileErrorOf(out, path);
}
