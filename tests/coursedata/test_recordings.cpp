// Every recording of the demo course has speech inside each timing range and
// silence in the pauses between them.
#include "base/paths.h"
#include "base/textfile.h"
#include "base/timingline.h"
#include "course/course.h"

#include <cmath>
#include <QDir>
#include <QSet>
#include <QtTest>
#include <sndfile.h>

namespace {

struct Samples {
    QList<float> data;
    int rate = 0;
};

Samples decode(const QString& path) {
    SF_INFO info{};
    Samples s;
    SNDFILE* f = sf_open(path.toLocal8Bit().constData(), SFM_READ, &info);
    if (!f) return s;
    s.rate = info.samplerate;
    QList<float> all(info.frames * info.channels);
    sf_readf_float(f, all.data(), info.frames);
    sf_close(f);
    for (qint64 i = 0; i < info.frames; ++i)
        s.data.append(all[i * info.channels]);
    return s;
}

double rms(const Samples& s, qint64 fromMs, qint64 toMs) {
    const qint64 a = qBound<qint64>(0, (fromMs * s.rate + 999) / 1000, s.data.size());
    const qint64 b = qBound<qint64>(0, toMs * s.rate / 1000, s.data.size());
    if (b <= a) return 0;
    double sum = 0;
    for (qint64 i = a; i < b; ++i)
        sum += double(s.data[i]) * s.data[i];
    return std::sqrt(sum / double(b - a));
}

constexpr double kSpeech = 0.02; // full scale is 1.0
constexpr double kSilence = 0.001;

// Problems of one recording against its ranges (entries with end 0 have no sound).
QStringList problems(const Samples& s, const QList<TTimingEntry>& t) {
    QStringList out;
    qint64 lastEnd = -1;
    for (int k = 0; k < t.size(); ++k) {
        if (t[k].EndPos == 0) continue;
        const double r = rms(s, t[k].StartPos, t[k].EndPos);
        if (r < kSpeech) out << QStringLiteral("line %1: no speech (rms %2)").arg(k + 1).arg(r);
        if (lastEnd >= 0) {
            const double p = rms(s, lastEnd, t[k].StartPos);
            if (p > kSilence)
                out << QStringLiteral("before line %1: pause not silent (rms %2)")
                           .arg(k + 1)
                           .arg(p);
        }
        lastEnd = t[k].EndPos;
    }
    return out;
}

QList<TTimingEntry> readTiming(const QString& path) {
    QList<TTimingEntry> t;
    for (const QByteArray& l : ReadFileLines(path))
        t.append(ParseTimingLine(l, true));
    return t;
}

} // namespace

class TestRecordings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(QDir::setCurrent(VANTREL_COURSE_DIR)); }

    void speechInRanges_data() {
        QTest::addColumn<QString>("wave");
        QTest::addColumn<QString>("timing");
        QSet<QString> seen;
        const QString root = QStringLiteral("DemoData\\");
        for (char m : {'A', 'B', 'C', 'D'}) {
            const CourseTable t = ReadCourseFile(CourseFileName(m));
            for (int i = 1; i < t.size(); ++i) {
                if (t[i].ExerciseKind == 0 || t[i].DataFile4.isEmpty()) continue;
                const QString w = NativePath(root + t[i].DataFile3),
                              tm = NativePath(root + t[i].DataFile4);
                if (seen.contains(tm)) continue;
                seen.insert(tm);
                QTest::newRow(qPrintable(tm)) << w << tm;
            }
        }
        QVERIFY(seen.size() >= 12); // three lessons: text, vocabulary, two question recordings
    }
    void speechInRanges() {
        QFETCH(QString, wave);
        QFETCH(QString, timing);
        const Samples s = decode(wave);
        QVERIFY2(!s.data.isEmpty(), qPrintable(wave));
        const QList<TTimingEntry> t = readTiming(timing);
        QVERIFY(t.size() >= 6);
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
