#include "wave.h"

#include <cmath>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <sndfile.h>
#include <vector>

namespace testwave {

static void Put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}
static void Put32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

static QByteArray Header(int rate, int channels, int bits, quint32 data) {
    const int bps = bits / 8;
    QByteArray b("RIFF");
    Put32(b, 36 + data);
    b += "WAVEfmt ";
    Put32(b, 16);
    Put16(b, 1);
    Put16(b, quint16(channels));
    Put32(b, quint32(rate));
    Put32(b, quint32(rate * channels * bps));
    Put16(b, quint16(channels * bps));
    Put16(b, quint16(bits));
    b += "data";
    Put32(b, data);
    return b;
}

QByteArray Pcm(int rate, int channels, int bits, qint64 frames) {
    const int bps = bits / 8;
    QByteArray b = Header(rate, channels, bits, quint32(frames * channels * bps));
    for (qint64 f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) {
            const double s = 0.25 * std::sin(2 * M_PI * 440.0 * double(f) / rate);
            if (bits == 8) {
                b.append(char(quint8(128 + std::lround(s * 127))));
            } else {
                const qint64 v = std::llround(s * double((1LL << (bits - 1)) - 1));
                for (int i = 0; i < bps; ++i)
                    b.append(char((quint64(v) >> (8 * i)) & 0xff));
            }
        }
    return b;
}

QByteArray Empty(int rate, int channels, int bits) {
    return Pcm(rate, channels, bits, 0);
}

QByteArray Silent(int ms) {
    const quint32 data = quint32(ms) * 16;
    return Header(8000, 1, 16, data) + QByteArray(int(data), '\0');
}

QByteArray Snd(int major, int subtype, int rate, int channels, qint64 frames) {
    QTemporaryFile tmp;
    if (!tmp.open()) qFatal("no temporary file for the wave fixture");
    const QByteArray path = QFile::encodeName(tmp.fileName());
    tmp.close();
    SF_INFO si{};
    si.samplerate = rate;
    si.channels = channels;
    si.format = major | subtype;
    SNDFILE* sf = sf_open(path.constData(), SFM_WRITE, &si);
    if (!sf) qFatal("libsndfile refused the fixture format: %s", sf_strerror(nullptr));
    std::vector<float> buf(size_t(frames * channels));
    for (qint64 f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            buf[size_t(f * channels + c)] = float(0.25 * std::sin(2 * M_PI * 440.0 * f / rate));
    sf_writef_float(sf, buf.data(), frames);
    sf_close(sf);
    QFile f(tmp.fileName());
    if (!f.open(QIODevice::ReadOnly)) qFatal("cannot read back the wave fixture");
    return f.readAll();
}

void WriteSilent(const QString& path, int ms) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(Silent(ms));
}

} // namespace testwave
