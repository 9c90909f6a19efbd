// Slowed playback without the sound card: the steps a learner moves through,
// the choice kept between runs, and the sound a play hands to the output.
#include "common/testenv.h"
#include "common/wave.h"
#include "media/playfeed.h"
#include "media/playspeed.h"

#include <cmath>
#include <QSettings>
#include <QtTest>

namespace {

QAudioFormat Format(int rate, int channels, QAudioFormat::SampleFormat f) {
    QAudioFormat a;
    a.setSampleRate(rate);
    a.setChannelCount(channels);
    a.setSampleFormat(f);
    return a;
}

// Everything the feed hands out, in pulls of an odd size.
QByteArray PullAll(PlayFeed& feed) {
    QByteArray out;
    while (feed.pull(777, out) > 0) {
    }
    return out;
}

std::vector<float> AsFloats(const QByteArray& s16) {
    std::vector<float> v(size_t(s16.size() / 2));
    for (size_t i = 0; i < v.size(); ++i)
        v[i] =
            float(qint16(quint8(s16[qsizetype(2 * i)]) | quint8(s16[qsizetype(2 * i + 1)]) << 8)) /
            32768.0f;
    return v;
}

// The largest step between neighbouring samples of one channel over frames
// [a, b), counting silence before the first and after the last frame.
float LargestJump(const std::vector<float>& s, int channels, size_t a, size_t b) {
    const size_t frames = s.size() / size_t(channels);
    float worst = 0;
    for (int c = 0; c < channels; ++c)
        for (size_t f = a; f <= b && f <= frames; ++f) {
            const float prev = f > 0 ? s[(f - 1) * size_t(channels) + size_t(c)] : 0.0f;
            const float cur = f < frames ? s[f * size_t(channels) + size_t(c)] : 0.0f;
            if (f > a || a == 0) worst = std::max(worst, std::abs(cur - prev));
        }
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
    std::unique_ptr<testenv::CourseDir> m_dir;

private Q_SLOTS:
    void initTestCase() {
        testenv::PrivateHome();
        m_dir = std::make_unique<testenv::CourseDir>();
    }

    void steps_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("nearest");
        QTest::addColumn<int>("slower");
        QTest::addColumn<int>("faster");
        QTest::newRow("full speed") << 100 << 100 << 90 << 100;
        QTest::newRow("slowest") << 50 << 50 << 50 << 60;
        QTest::newRow("between steps") << 83 << 80 << 70 << 90;
        QTest::newRow("above full speed") << 250 << 100 << 90 << 100;
        QTest::newRow("below the slowest") << 10 << 50 << 50 << 60;
    }
    void steps() {
        QFETCH(int, from);
        QFETCH(int, nearest);
        QFETCH(int, slower);
        QFETCH(int, faster);
        QCOMPARE(PlaySpeed::Nearest(from), nearest);
        QCOMPARE(PlaySpeed::Slower(from), slower);
        QCOMPARE(PlaySpeed::Faster(from), faster);
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
        {
            QSettings s(QStringLiteral("Vantrel"), QStringLiteral("Vantrel"));
            s.clear();
            if (stored.isValid()) s.setValue(QStringLiteral("Playback/Speed"), stored);
        }
        QCOMPARE(PlaySpeed::Load(), loaded);
        PlaySpeed::Save(PlaySpeed::Slower(loaded));
        QCOMPARE(PlaySpeed::Load(), PlaySpeed::Slower(loaded));
    }

    // At full speed the output gets the file's own bytes, nothing stretched.
    void fullSpeedPassesTheFile() {
        const int rate = 44100, channels = 2;
        const qint64 from = 1234, to = 30001;
        const QByteArray file = testwave::Pcm(rate, channels, 16, 44100);
        testenv::WriteBytes("full.wav", file);
        PlayFeed feed;
        feed.start("full.wav", from, to, 100, Format(rate, channels, QAudioFormat::Int16));
        const QByteArray out = PullAll(feed);
        const int bpf = 2 * channels;
        QCOMPARE(out, file.mid(44 + from * bpf, (to - from) * bpf));
        QVERIFY(feed.finished());
        QCOMPARE(feed.sourceFrame((to - from) / 2), from + (to - from) / 2);
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
        const std::vector<float> range =
            AsFloats(file.mid(44 + from * 2 * channels, (to - from) * 2 * channels));
        PlayFeed feed;
        feed.start("voice.wav", from, to, speed, Format(outRate, channels, QAudioFormat::Int16));
        const std::vector<float> out = AsFloats(PullAll(feed));
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
        const size_t rangeFrames = range.size() / size_t(channels), edge = size_t(outRate / 50);
        const float inside = LargestJump(range, channels, 1, rangeFrames - 1);
        const float ends =
            std::max(LargestJump(out, channels, 0, edge),
                     LargestJump(out, channels, size_t(frames) - edge, size_t(frames)));
        QVERIFY2(ends <= inside * 1.1f,
                 qPrintable(QStringLiteral("jump %1, inside the range %2").arg(ends).arg(inside)));
    }

    // A range past the file's end ends with the file, at any speed.
    void fileEndsFirst_data() {
        QTest::addColumn<int>("speed");
        QTest::newRow("100 %") << 100;
        QTest::newRow("60 %") << 60;
    }
    void fileEndsFirst() {
        QFETCH(int, speed);
        testenv::WriteBytes("short.wav", testwave::Pcm(8000, 1, 16, 4000));
        PlayFeed feed;
        feed.start("short.wav", 1000, 9000, speed, Format(8000, 1, QAudioFormat::Int16));
        const qint64 frames = PullAll(feed).size() / 2;
        QCOMPARE(feed.to(), qint64(4000));
        QVERIFY2(std::abs(double(frames) - 3000 * 100.0 / speed) <= 8,
                 qPrintable(QString::number(frames)));
        QCOMPARE(feed.sourceFrame(frames), qint64(4000));
    }
};

QTEST_MAIN(TestPlaySpeed)
#include "test_playspeed.moc"
