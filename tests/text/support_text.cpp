#include "support_text.h"

#include "media/wavefile.h"

#include <QImage>

qint64 WaveMs(const QString& path) {
    const WaveInfo w = ProbeWave(path);
    return FramesToMs(w.frames, w.rate);
}

void WritePicture(const QString& path, QColor c) {
    QImage img(52, 56, QImage::Format_RGB32);
    img.fill(c);
    if (!img.save(path, "BMP")) qFatal("cannot write %s", qPrintable(path));
}
