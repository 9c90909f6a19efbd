// Slowed playback without the sound card: the steps a learner moves through,
// the choice kept between runs, and the sound a play hands to the output.
#include "common/testenv.h"
#include "common/wave.h"
#include "media/playfeed.h"
#include "media/playspeed.h"
#include "media/soundconvert.h"
#include "media/support_media.h"

#include <cmath>
#include <QSettings>
#include <QtTest>

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

class TestPlaySpeed : public QObject {
    Q_OBJECT
    MediaTestDir m_dir{AudioDevice::Backend::Virtual};

private Q_SLOTS:
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

QTEST_MAIN(TestPlaySpeed)
#include "test_playspeed.moc"
