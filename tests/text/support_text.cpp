#include "support_text.h"

#include "media/wavefile.h"

#include <QCoreApplication>
#include <QImage>
#include <sndfile.h>
#include <vector>

void WriteWave(const QString& path, int ms) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (!f) qFatal("cannot write %s", qPrintable(path));
    std::vector<short> zeros(size_t(ms) * 8, 0);
    if (!zeros.empty()) sf_write_short(f, zeros.data(), sf_count_t(zeros.size()));
    sf_close(f);
}

qint64 WaveMs(const QString& path) {
    const WaveInfo w = ProbeWave(path);
    return FramesToMs(w.frames, w.rate);
}

void WritePicture(const QString& path, QColor c) {
    QImage img(52, 56, QImage::Format_RGB32);
    img.fill(c);
    if (!img.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
}

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

Messages::Messages() {
    old = SetXMessageHandler([this](const QString& t, const QString& title, int flags) {
        got << QStringLiteral("%1|%2|%3").arg(t, title).arg(flags);
        return 1;
    });
}
Messages::~Messages() {
    SetXMessageHandler(old);
}
