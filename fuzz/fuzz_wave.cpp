// Wave files opened by the audio device (virtual back end, the decoder is
// the real one): an open either succeeds with a sane header or throws a
// device error with its code; an opened file plays to its end and its
// frames copy into a file that opens with the same shape.
// fuzz-libs: vantrel_media
#include "fuzzsupport.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/virtualaudio.h"
#include "media/wavefile.h"

#include <cstdlib>
#include <QCoreApplication>
#include <QFile>
#include <vector>

namespace {

bool KnownCode(int code) {
    return code == DevErrFileNotFound || code == DevErrAccessDenied || code == DevErrNotWave ||
           code == DevErrBadHeader || code == DevErrUnsupported;
}

void CheckCopy(const QString& in, const WaveInfo& info) {
    constexpr qint64 kMaxFrames = 1 << 16; // the header may promise far more than there is
    WaveReader r;
    r.open(in);
    const QString out = fuzz::PathOf(QStringLiteral("copy.wav"));
    QFile::remove(out);
    QFile f(out);
    if (!f.open(QIODevice::ReadWrite)) __builtin_trap();
    qint64 copied = 0;
    {
        WaveWriter w;
        if (!w.open(&f, info.rate, info.channels, RecordingFormat(info.format))) return;
        copied = CopyFrames(r, w, std::min(info.frames, kMaxFrames));
        if (copied < 0 || copied > info.frames || w.frames() != copied) __builtin_trap();
        if (!w.close()) __builtin_trap();
    }
    f.close();
    const WaveInfo back = ProbeWave(out);
    if (back.rate != info.rate || back.channels != info.channels || back.frames != copied)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::Put(QStringLiteral("in.wav"), fuzz::Bytes(data, size));
    AudioDevice dev;
    dev.setFileName(path);
    try {
        dev.open();
    } catch (const DeviceError& e) {
        if (!KnownCode(e.code()) || dev.lastError() != e.code() || e.text().isEmpty())
            __builtin_trap();
        return 0;
    } catch (...) {
        __builtin_trap();
    }
    if (dev.lastError() != 0 || dev.mode() != AudioDevice::Stopped) __builtin_trap();
    WaveInfo info;
    try {
        info = ProbeWave(path);
    } catch (...) {
        __builtin_trap(); // it opened a moment ago
    }
    if (info.rate <= 0 || info.channels <= 0 || info.frames < 0) __builtin_trap();
    const qint64 len = dev.length();
    if (len != FramesToMs(info.frames, info.rate) || len < 0) __builtin_trap();

    try {
        // The second half, then the whole sound to its end.
        dev.setStartPos(len / 2);
        dev.play();
        VirtualAudio::Advance(len);
        QCoreApplication::processEvents();
        if (dev.position() < 0 || dev.position() > len) __builtin_trap();
        dev.setStartPos(0);
        dev.play();
        VirtualAudio::Advance(len + 1);
        QCoreApplication::processEvents();
        if (dev.mode() != AudioDevice::Stopped || dev.position() > len) __builtin_trap();
        dev.close();
        CheckCopy(path, info);
    } catch (const VError&) {
        __builtin_trap();
    }
    return 0;
}
