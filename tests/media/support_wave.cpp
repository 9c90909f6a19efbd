#include "support_wave.h"

#include <cmath>
#include <QFile>
#include <QTemporaryFile>
#include <sndfile.h>
#include <vector>

static void Put16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}
static void Put32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xff));
}

QByteArray PcmWave(int rate, int channels, int bits, qint64 frames) {
    const int bps = bits / 8;
    const quint32 data = quint32(frames * channels * bps);
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

QByteArray EmptyWave(int rate, int channels, int bits) {
    return PcmWave(rate, channels, bits, 0);
}

QByteArray SndWave(int major, int subtype, int rate, int channels, qint64 frames) {
    QTemporaryFile tmp;
    tmp.open();
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
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}
