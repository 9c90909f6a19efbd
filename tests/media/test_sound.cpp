// Opening wave files: the kinds of file the device reads, every way a file can be
// refused, and the sample conversion towards the sound device. Damaged files at large
// are the fuzz target's. Slowed playback without the sound card: the steps a learner
// moves through, the choice kept between runs, and the sound a play hands to the output.
#include "common/testenv.h"
#include "common/wave.h"
#include "media/audiodevice.h"
#include "media/deviceerror.h"
#include "media/playfeed.h"
#include "media/playspeed.h"
#include "media/soundconvert.h"
#include "media/support_media.h"
#include "media/wavefile.h"

#include <cmath>
#include <QSettings>
#include <QtTest>
#include <sndfile.h>

namespace {

QByteArray Le32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

// 16 kHz mono float header, then the given chunks after it.
QByteArray FloatWave(const QByteArray& chunks) {
    const QByteArray fmt = QByteArray::fromHex("03000100803e000000fa000004002000");
    const QByteArray body = "WAVEfmt " + Le32(16) + fmt + chunks;
    return "RIFF" + Le32(quint32(body.size())) + body;
}

const QByteArray kSamples(16, '\x10');

} // namespace

namespace {

QAudioFormat Int16Format(int rate, int channels) {
    QAudioFormat a;
    a.setSampleRate(rate);
    a.setChannelCount(channels);
    a.setSampleFormat(QAudioFormat::Int16);
    return a;
}

// Everything the feed hands out, in pulls of an odd size, as floats.
std::vector<float> PullAll(PlayFeed& feed) {
    QByteArray out;
    while (feed.pull(777, out) > 0) {
    }
    std::vector<float> v;
    DecodeSamples(out.constData(), out.size(), QAudioFormat::Int16, v);
    return v;
}

// The largest step between neighbouring samples of channel 0 over frames
// [a, b], silence counted before the first frame and after the last.
float LargestJump(const std::vector<float>& s, int channels, qint64 a, qint64 b) {
    const qint64 frames = qint64(s.size()) / channels;
    const auto at = [&](qint64 f) { return f >= 0 && f < frames ? s[size_t(f * channels)] : 0; };
    float worst = 0;
    for (qint64 f = a; f <= b; ++f)
        worst = std::max(worst, std::abs(at(f) - at(f - 1)));
    return worst;
}

// Upward zero crossings per second of channel 0 over the middle half.
double Pitch(const std::vector<float>& s, int channels, int rate) {
    const size_t frames = s.size() / size_t(channels);
    const size_t a = frames / 4, b = frames * 3 / 4;
    int ups = 0;
    for (size_t f = a + 1; f < b; ++f)
        if (s[(f - 1) * size_t(channels)] < 0 && s[f * size_t(channels)] >= 0) ++ups;
    return double(ups) * rate / double(b - a);
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
    MediaTestDir m_dir{AudioDevice::Backend::Virtual};

private Q_SLOTS:
    void readsEncodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<qint64>("frames");
        const auto row = [](const char* name, const QByteArray& b, int rate, int ch, qint64 n) {
            QTest::newRow(name) << b << rate << ch << n;
        };
        const auto snd = [](int type, int sub, int rate, int ch, int n) {
            return testwave::Snd(type, sub, rate, ch, n);
        };
        row("hand-made pcm16 mono", testwave::Pcm(22050, 1, 16, 2205), 22050, 1, 2205);
        row("hand-made pcm8 stereo", testwave::Pcm(11025, 2, 8, 1000), 11025, 2, 1000);
        row("template: header, no samples", testwave::Empty(22050, 1, 16), 22050, 1, 0);
        // Block codecs round the length up to whole blocks (-1: any length).
        row("ima adpcm", snd(SF_FORMAT_WAV, SF_FORMAT_IMA_ADPCM, 22050, 1, 2041), 22050, 1, -1);
        row("wavex", snd(SF_FORMAT_WAVEX, SF_FORMAT_PCM_16, 16000, 2, 1600), 16000, 2, 1600);
        // What must keep opening: a whole list after the samples, garbage
        // after them, and samples cut short by a recording that stopped.
        const QByteArray data = "data" + Le32(16) + kSamples;
        row("whole list after the samples", FloatWave(data + "LIST" + Le32(4) + "INFO"), 16000, 1,
            4);
        row("garbage after the samples", FloatWave(data + QByteArray(40, '\xff')), 16000, 1, 4);
        row("samples cut short", FloatWave("data" + Le32(4000) + kSamples), 16000, 1, 4);
    }
    void readsEncodings() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(qint64, frames);
        testenv::WriteBytes("enc.wav", bytes);
        const WaveInfo w = ProbeWave("enc.wav");
        QCOMPARE(QList<int>({w.rate, w.channels}), QList<int>({rate, channels}));
        QVERIFY2(frames < 0 ? w.frames > 0 : w.frames == frames,
                 qPrintable(QString::number(w.frames)));
        // The samples decode, not only the header.
        WaveReader r;
        r.open("enc.wav");
        std::vector<float> buf(size_t(std::max<qint64>(w.frames, 1) * channels));
        QCOMPARE(r.read(buf.data(), w.frames), w.frames);
        const float peak = *std::max_element(buf.begin(), buf.end());
        QVERIFY2(w.frames <= 10 || (peak > 0.15f && peak < 0.3f),
                 qPrintable(QString::number(peak)));
    }

    void refuses_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        auto row = [&](const char* name, const QByteArray& bytes, int code) {
            QTest::newRow(name) << bytes << code;
        };
        const QByteArray good = testwave::Pcm(22050, 1, 16, 100);
        row("missing", "<none>", DevErrFileNotFound);
        row("a directory", "<dir>", DevErrFileNotFound);
        row("empty", {}, DevErrNotWave);
        row("text", "Hello, this is no sound at all.\r\n", DevErrNotWave);
        row("RIFF but AVI", QByteArray("RIFF\x10\0\0\0AVI LIST\0\0\0\0", 20), DevErrNotWave);
        row("three bytes of RIFF", "RIF", DevErrBadHeader);
        row("format block cut", good.left(30), DevErrBadHeader);
        row("no data chunk", good.left(36), DevErrBadHeader);
        QByteArray codec = good;
        codec[20] = char(0x34); // format tag 0x1234: no such codec
        codec[21] = char(0x12);
        row("unknown codec", codec, DevErrUnsupported);
        // Found by fuzzing: libsndfile read this RF64 file's list for ever.
        row("RF64 list past the end, as found",
            QByteArray::fromBase64(
                "UkY2NFABAABXQVZFTElTVGZtdCAQmgAA+P///wAAAAABAAEAQB8AAMBdIAADABgAZGF0"
                "otP+/wD//w=="),
            DevErrBadHeader);
        row("list past the end",
            FloatWave("data" + Le32(16) + kSamples + "LIST" + Le32(0x7fffff00) + "INFOjunk"),
            DevErrBadHeader);
        // A chunk size whose top byte alone puts it past the end of the file.
        row("chunk past the end before the format",
            "RIFF" + Le32(0x40) + "WAVEJUNK" + Le32(0x80000000) + good.mid(12), DevErrBadHeader);
    }
    void refuses() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        const QString name = QString::fromLatin1(QTest::currentDataTag()) + ".wav";
        if (bytes == "<dir>")
            QDir().mkdir(name);
        else if (bytes != "<none>")
            testenv::WriteBytes(name, bytes);
        AudioDevice dev;
        dev.setFileName(name);
        const auto e = testenv::Thrown<DeviceError>([&] { dev.open(); });
        QCOMPARE(e ? e->code() : 0, code);
        QVERIFY2(e->text().contains(name), qPrintable(e->text())); // says which file
        QCOMPARE(dev.lastError(), code);
        QCOMPARE(dev.mode(), AudioDevice::NotReady);
    }

    void writerNeedsWritableDevice_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("opens");
        QTest::newRow("closed") << int(QIODevice::NotOpen) << false;
        QTest::newRow("read only") << int(QIODevice::ReadOnly) << false;
        QTest::newRow("read and write") << int(QIODevice::ReadWrite) << true;
    }
    void writerNeedsWritableDevice() {
        QFETCH(int, mode);
        QFETCH(bool, opens);
        QByteArray bytes;
        QBuffer buf(&bytes);
        if (mode != QIODevice::NotOpen) buf.open(QIODevice::OpenMode(mode));
        WaveWriter w;
        QCOMPARE(w.open(&buf, 22050, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16), opens);
        QCOMPARE(w.isOpen(), opens);
        if (opens) QVERIFY(bytes.startsWith("RIFF")); // the header went to the device
    }

    void sampleCodec_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("bytesPerSample");
        QTest::addColumn<float>("step");
        QTest::newRow("u8") << int(QAudioFormat::UInt8) << 1 << 1.0f / 127;
        QTest::newRow("s16") << int(QAudioFormat::Int16) << 2 << 1.0f / 32767;
        QTest::newRow("s32") << int(QAudioFormat::Int32) << 4 << 1e-6f;
        QTest::newRow("float") << int(QAudioFormat::Float) << 4 << 0.0f;
    }
    void sampleCodec() {
        QFETCH(int, format);
        QFETCH(int, bytesPerSample);
        QFETCH(float, step);
        const auto f = QAudioFormat::SampleFormat(format);
        const std::vector<float> in{0.0f, 0.5f, -0.5f, 0.999f, -0.999f, 1.5f, -1.5f};
        QByteArray bytes;
        EncodeSamples(in.data(), in.size(), f, bytes);
        QCOMPARE(bytes.size(), qsizetype(in.size()) * bytesPerSample);
        std::vector<float> back;
        DecodeSamples(bytes.constData(), bytes.size(), f, back);
        QCOMPARE(back.size(), in.size());
        for (size_t i = 0; i < in.size(); ++i) {
            // Out-of-range samples clip instead of wrapping round.
            const float want = std::clamp(in[i], -1.0f, 1.0f);
            const float tol =
                f == QAudioFormat::Float ? (std::abs(in[i]) > 1 ? 0.51f : 0.0f) : 2 * step + 1e-6f;
            QVERIFY2(std::abs(back[i] - (f == QAudioFormat::Float ? in[i] : want)) <= tol,
                     qPrintable(QStringLiteral("%1 -> %2").arg(in[i]).arg(back[i])));
        }
        if (f == QAudioFormat::Int16) QCOMPARE(bytes.mid(2, 2), QByteArray("\0\x40", 2)); // 0.5
    }

    void steps_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<QList<int>>("steps"); // nearest, slower, faster
        QTest::newRow("full speed") << 100 << QList<int>{100, 90, 100};
        QTest::newRow("slowest") << 50 << QList<int>{50, 50, 60};
        QTest::newRow("between steps") << 83 << QList<int>{80, 70, 90};
        QTest::newRow("above full speed") << 250 << QList<int>{100, 90, 100};
        QTest::newRow("below the slowest") << 10 << QList<int>{50, 50, 60};
    }
    void steps() {
        QFETCH(int, from);
        QFETCH(QList<int>, steps);
        using namespace PlaySpeed;
        QCOMPARE(QList<int>({Nearest(from), Slower(from), Faster(from)}), steps);
    }

    // What was kept comes back as a step; what cannot be read is full speed.
    void keptChoice_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("off the steps") << QVariant(77) << 80;
        QTest::newRow("text") << QVariant("slow") << 100;
    }
    void keptChoice() {
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        QSettings(QStringLiteral("Vantrel"), QStringLiteral("Vantrel"))
            .setValue(QStringLiteral("Playback/Speed"), stored);
        QCOMPARE(PlaySpeed::Load(), loaded);
        PlaySpeed::Save(PlaySpeed::Slower(loaded));
        QCOMPARE(PlaySpeed::Load(), PlaySpeed::Slower(loaded));
    }

    // At full speed the output gets the file's own bytes, nothing stretched,
    // up to the file's end when the range goes past it.
    void fullSpeedPassesTheFile() {
        const QByteArray file = testwave::Pcm(44100, 2, 16, 44100);
        testenv::WriteBytes("full.wav", file);
        PlayFeed feed;
        feed.start("full.wav", 1234, 60000, 100, Int16Format(44100, 2));
        QByteArray out;
        while (feed.pull(777, out) > 0) {
        }
        QCOMPARE(out, file.mid(44 + 1234 * 4));
        QVERIFY(feed.finished());
        QCOMPARE(feed.to(), qint64(44100));
        QCOMPARE(feed.sourceFrame(10000), qint64(1234 + 10000));
    }

    // Slower: the range lasts length / speed, the voice keeps its pitch, the
    // output maps back to recording frames, and neither end clicks.
    void slowed_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("outRate");
        QTest::newRow("50 %") << 50 << 22050 << 1 << 22050;
        QTest::newRow("60 %, stereo to a faster output") << 60 << 22050 << 2 << 44100;
    }
    void slowed() {
        QFETCH(int, speed);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(int, outRate);
        const qint64 from = rate / 7, to = from + rate; // one second, off a cycle's start
        const QByteArray file = testwave::Pcm(rate, channels, 16, 2 * rate);
        testenv::WriteBytes("voice.wav", file);
        std::vector<float> range;
        const QByteArray rangeBytes =
            file.mid(44 + from * 2 * channels, (to - from) * 2 * channels);
        DecodeSamples(rangeBytes.constData(), rangeBytes.size(), QAudioFormat::Int16, range);
        PlayFeed feed;
        feed.start("voice.wav", from, to, speed, Int16Format(outRate, channels));
        const std::vector<float> out = PullAll(feed);
        const qint64 frames = qint64(out.size()) / channels;

        const double wantFrames = double(to - from) * outRate / rate * 100.0 / speed;
        QVERIFY2(std::abs(double(frames) - wantFrames) <= outRate / 1000.0,
                 qPrintable(QStringLiteral("%1 frames, %2 wanted").arg(frames).arg(wantFrames)));
        const double inPitch = Pitch(range, channels, rate);
        const double outPitch = Pitch(out, channels, outRate);
        QVERIFY2(std::abs(outPitch / inPitch - 1.0) < 0.02,
                 qPrintable(QStringLiteral("%1 Hz from %2 Hz").arg(outPitch).arg(inPitch)));
        // Resampling holds back the last frame it has no successor for.
        QVERIFY(qAbs(feed.sourceFrame(frames) - to) <= 1);
        QVERIFY(qAbs(feed.sourceFrame(frames / 2) - (from + to) / 2) <= 1);
        // The ends: no step larger than the recording's own inside the
        // range (a little over for the stretcher's slight level ripple).
        const float inside = LargestJump(range, channels, 1, to - from - 1);
        const qint64 edge = outRate / 50;
        const float ends = std::max(LargestJump(out, channels, 0, edge),
                                    LargestJump(out, channels, frames - edge, frames));
        QVERIFY2(ends <= inside * 1.1f,
                 qPrintable(QStringLiteral("jump %1, inside the range %2").arg(ends).arg(inside)));
    }

    // A slowed range past the file's end ends with the file.
    void slowedFileEndsFirst() {
        testenv::WriteBytes("short.wav", testwave::Pcm(8000, 1, 16, 4000));
        PlayFeed feed;
        feed.start("short.wav", 1000, 9000, 60, Int16Format(8000, 1));
        const qint64 frames = qint64(PullAll(feed).size());
        QCOMPARE(feed.to(), qint64(4000));
        QVERIFY2(std::abs(double(frames) - 3000 / 0.6) <= 8, qPrintable(QString::number(frames)));
        QCOMPARE(feed.sourceFrame(frames), qint64(4000));
    }
};

QTEST_MAIN(TestSound)
#include "test_sound.moc"
