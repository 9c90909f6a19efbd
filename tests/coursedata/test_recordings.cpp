// Every recording of the demo course has speech inside each timing range and
// silence in the pauses between them.
#include "align/sound.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "base/timingline.h"
#include "course/course.h"

#include <cmath>
#include <numeric>
#include <QtTest>

namespace {

double rms(const TSound& s, qint64 fromMs, qint64 toMs) {
    const qint64 n = qint64(s.Samples.size());
    const qint64 a = qBound<qint64>(0, (fromMs * s.Rate + 999) / 1000, n);
    const qint64 b = qBound<qint64>(0, toMs * s.Rate / 1000, n);
    if (b <= a) return 0;
    const auto from = s.Samples.begin() + a, to = s.Samples.begin() + b;
    return std::sqrt(std::inner_product(from, to, from, 0.0) / double(b - a));
}

constexpr double kSpeech = 0.02; // full scale is 1.0
constexpr double kSilence = 0.001;

// Problems of one recording against its ranges (entries with end 0 have no sound).
QStringList problems(const TSound& s, const QList<TTimingEntry>& t) {
    QStringList out;
    qint64 lastEnd = -1;
    for (int k = 0; k < t.size(); ++k) {
        if (t[k].EndPos == 0) continue;
        if (rms(s, t[k].StartPos, t[k].EndPos) < kSpeech)
            out << QStringLiteral("line %1: no speech").arg(k + 1);
        if (lastEnd >= 0 && rms(s, lastEnd, t[k].StartPos) > kSilence)
            out << QStringLiteral("before line %1: pause not silent").arg(k + 1);
        lastEnd = t[k].EndPos;
    }
    return out;
}

} // namespace

class TestRecordings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(QDir::setCurrent(VANTREL_COURSE_DIR)); }

    void speechInRanges_data() {
        QTest::addColumn<QString>("wave");
        QTest::addColumn<QString>("timing");
        QMap<QString, QString> waves; // timing file -> its recording
        const QString root = QStringLiteral("DemoData\\");
        for (char m : {'A', 'B', 'C', 'D'}) {
            const CourseTable t = ReadCourseFile(CourseFileName(m));
            for (int i = 1; i < t.size(); ++i)
                if (t[i].ExerciseKind != 0 && !t[i].DataFile4.isEmpty())
                    waves[NativePath(root + t[i].DataFile4)] = NativePath(root + t[i].DataFile3);
        }
        for (auto it = waves.cbegin(); it != waves.cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.value() << it.key();
        QVERIFY(waves.size() >= 12); // three lessons: text, vocabulary, two question recordings
    }
    void speechInRanges() {
        QFETCH(QString, wave);
        QFETCH(QString, timing);
        const TSound s = ReadSoundMono(wave, 22050);
        QList<TTimingEntry> t;
        for (const QByteArray& l : ReadFileLines(timing))
            t.append(ParseTimingLine(l, true));
        const QStringList p = problems(s, t);
        QVERIFY2(p.isEmpty(), qPrintable(p.join("; ")));

        // The same ranges moved by one pause must not pass: the check can fail.
        QList<TTimingEntry> moved = t;
        for (auto& e : moved)
            if (e.EndPos) e.StartPos += 350, e.EndPos += 350;
        QVERIFY(!problems(s, moved).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestRecordings)
#include "test_recordings.moc"
