// The aligner's rules: pauses, the timing file it writes, and a short flite recording aligned
// and checked against its known ranges.
#include "align/audiocheck.h"
#include "align/synth.h"
#include "base/errors.h"
#include "common/flitesample.h"
#include "text/lessonfiles.h"

#include <cmath>
#include <numbers>
#include <QtTest>
#include <random>

class TestAlign : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QStringList m_lines;
    flitesample::Sample m_sample;
    TSound m_sound;
    QList<TTimingEntry> m_truth;
    TAlignment m_aligned;

private slots:
    void initTestCase() {
        testenv::PrivateHome();
        m_lines = {"#A day at the river",
                   "So we went down to the river,",
                   "and fished off the old bridge.",
                   "#",
                   "Nobody caught anything.",
                   "It was still a good day, though."};
        m_sample = flitesample::Make(m_dir.path(), "walk", m_lines, 4);
        QVERIFY2(m_sample.Error.isEmpty(), qPrintable(m_sample.Error));
        TLessonReadError err;
        m_truth = ReadTimingFile(m_sample.Truth, int(m_lines.size()), err);
        QVERIFY2(!err.failed(), qPrintable(err.describe()));
        TAlignParams p;
        m_sound = ReadSoundMono(m_sample.Wave, p.RateHz, &p.OriginalRate);
        m_aligned = AlignLesson(m_lines, m_sound, p);
    }

    void pausesAreTheQuietStretches() {
        // Tone bursts over a faint noise floor; the gaps are the pauses.
        const int rate = 16000;
        TSound s;
        s.Rate = rate;
        s.Samples.assign(size_t(rate * 2.5), 0.f);
        std::mt19937 rng(3);
        std::uniform_real_distribution<float> noise(-0.001f, 0.001f);
        for (auto& v : s.Samples)
            v = noise(rng);
        const QList<QPair<int, int>> bursts{{300, 800}, {1000, 1600}, {1650, 2100}};
        for (const auto& [a, b] : bursts)
            for (int i = a * rate / 1000; i < b * rate / 1000; ++i)
                s.Samples[size_t(i)] +=
                    float(0.3 * std::sin(2 * std::numbers::pi * 440 * i / rate));
        const TPauseMap m(s);
        QVERIFY(m.Usable());
        const QList<QPair<int, int>> gaps{{0, 300}, {800, 1000}, {1600, 1650}, {2100, 2500}};
        QCOMPARE(int(m.Runs().size()), int(gaps.size()));
        for (int g = 0; g < gaps.size(); ++g) {
            const auto& r = m.Runs()[size_t(g)];
            QVERIFY2(std::abs(r.BeginMs - gaps[g].first) <= 10 &&
                         std::abs(r.EndMs - gaps[g].second) <= 10,
                     qPrintable(QStringLiteral("%1-%2").arg(r.BeginMs).arg(r.EndMs)));
        }
        QVERIFY(m.QuietFraction(1050, 1550) < 0.01);
        QVERIFY(m.QuietFraction(820, 980) > 0.99);
        QVERIFY(m.Loudness(500) > 0.9 && m.Loudness(900) < 0.1);
    }

    void timingFiles() {
        // Exact bytes: reading them back is the lesson reader's test.
        QCOMPARE(TimingFileBytes({"#Title", "one two", "#", "three"},
                                 {{}, {}, {120, 980}, {}, {1010, 2500}}),
                 QByteArray("#\t#\r\n120\t980\r\n#\t#\r\n1010\t2500\r\n"));
        // Beside the text: the extension replaced, or added to a name without one.
        QCOMPARE(DefaultTimingName("DemoData/Lesson1/L1.txt"), "DemoData/Lesson1/L1.tim");
        QCOMPARE(DefaultTimingName("C:\\Course\\L2.TXT"), "C:\\Course\\L2.tim");
        QCOMPARE(DefaultTimingName("v1.2/lesson"), "v1.2/lesson.tim");
    }

    void alignsAFliteRecording() {
        const QList<TTimingEntry>& t = m_aligned.Timing;
        QCOMPARE(t.size(), m_lines.size() + 1);
        qint32 last = -1;
        for (int i = 1; i <= m_lines.size(); ++i) {
            if (!HasSound(m_lines[i - 1])) {
                QCOMPARE(QList<int>({t[i].StartPos, t[i].EndPos}), QList<int>({0, 0}));
                continue;
            }
            QVERIFY(t[i].StartPos < t[i].EndPos);
            QVERIFY(t[i].StartPos >= last);
            last = t[i].EndPos;
            QVERIFY(m_aligned.Confidence[i] >= 0 && m_aligned.Confidence[i] <= 1);
            // Generous: the benchmark measures the real accuracy.
            QVERIFY2(
                std::abs(t[i].StartPos - m_truth[i].StartPos) <= 150 &&
                    std::abs(t[i].EndPos - m_truth[i].EndPos) <= 150,
                qPrintable(QString::asprintf("line %d: %d-%d, truth %d-%d", i, t[i].StartPos,
                                             t[i].EndPos, m_truth[i].StartPos, m_truth[i].EndPos)));
        }
        QVERIFY(last <= m_sound.LengthMs());
    }

    void refusesATextItCannotAlign() {
        QVERIFY_THROWS_EXCEPTION(VError, AlignLesson({"#T", "one", "", "two"}, m_sound));
        QVERIFY_THROWS_EXCEPTION(VError,
                                 AlignLesson({"#T", "#", "#@a.bmp"}, m_sound)); // no sintagm
    }

    void checkFindsWhatIsWrong_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("startShift");
        QTest::addColumn<int>("endShift");
        QTest::addColumn<QList<int>>("kinds");
        QTest::newRow("the true ranges") << 2 << 0 << 0 << QList<int>{};
        QTest::newRow("start late, inside the first word")
            << 2 << 300 << 0
            << QList<int>{TAudioFinding::StartsInSpeech, TAudioFinding::StartDisagrees};
        QTest::newRow("end early, inside the last word")
            << 6 << 0 << -200 << QList<int>{TAudioFinding::EndsInSpeech};
    }
    void checkFindsWhatIsWrong() {
        QFETCH(int, line);
        QFETCH(int, startShift);
        QFETCH(int, endShift);
        QFETCH(QList<int>, kinds);
        QList<TTimingEntry> t = m_truth;
        t[line].StartPos += startShift;
        t[line].EndPos += endShift;
        QList<int> got;
        for (const TAudioFinding& f : CheckTimingAudio(m_lines, t, m_sound, &m_aligned)) {
            QCOMPARE(f.Line, line);
            got.append(f.What);
        }
        QCOMPARE(got, kinds);
    }

    void checkFindsARangeOverSilence() {
        // The last sintagm moved into the quiet after it.
        QList<TTimingEntry> t = m_truth;
        const qint32 end = t[6].EndPos;
        t[6] = {end + 50, end + 300};
        QList<int> got;
        for (const TAudioFinding& f : CheckTimingAudio(m_lines, t, m_sound, nullptr))
            if (f.Line == 6) got.append(f.What);
        QVERIFY(got.contains(TAudioFinding::MostlySilence));
    }
};

QTEST_GUILESS_MAIN(TestAlign)
#include "test_align.moc"
