#include "check/lessoncheck.h"

#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"

#include <sndfile.h>

namespace check {

std::optional<qint64> WaveLengthMs(const QString& path, QString& error) {
    SF_INFO info{};
    SNDFILE* f = sf_open(NativePath(path).toLocal8Bit().constData(), SFM_READ, &info);
    if (!f) {
        error = QString::fromLocal8Bit(sf_strerror(nullptr));
        return std::nullopt;
    }
    sf_close(f);
    if (info.samplerate <= 0) {
        error = QStringLiteral("no sample rate");
        return std::nullopt;
    }
    return qint64(info.frames) * 1000 / info.samplerate;
}

void CheckRanges(const QString& timingFile, const QList<TTimingEntry>& ranges, qint64 lengthMs,
                 Findings& findings) {
    qint64 lastEnd = 0;
    for (int k = 0; k < ranges.size(); ++k) {
        const TTimingEntry& t = ranges[k];
        if (t.EndPos == 0 && t.StartPos == 0) continue;
        const int line = k + 1;
        if (t.StartPos < 0 || t.EndPos < 0)
            findings.Add(timingFile, line, QStringLiteral("negative position"));
        else if (t.StartPos >= t.EndPos)
            findings.Add(
                timingFile, line,
                QStringLiteral("start %1 is not before end %2").arg(t.StartPos).arg(t.EndPos));
        else if (t.EndPos > lengthMs)
            findings.Add(timingFile, line,
                         QStringLiteral("end %1 lies beyond the sound file (%2 ms)")
                             .arg(t.EndPos)
                             .arg(lengthMs));
        else if (t.StartPos < lastEnd)
            findings.Add(
                timingFile, line,
                QStringLiteral("start %1 goes back before the end of the previous range (%2)")
                    .arg(t.StartPos)
                    .arg(lastEnd));
        if (t.EndPos > lastEnd) lastEnd = t.EndPos;
    }
}

QString DataFile(const TCourseItem& it, int field) {
    switch (field) {
    case 1:
        return it.DataFile1;
    case 2:
        return it.DataFile2;
    case 3:
        return it.DataFile3;
    case 4:
        return it.DataFile4;
    default:
        return it.DataFile5;
    }
}

bool RequireFiles(Course& course, const ItemRef& ref, std::initializer_list<int> fields,
                  Findings& findings) {
    bool ok = true;
    for (int f : fields) {
        const QString stored = DataFile(ref.Item, f);
        if (stored.isEmpty()) {
            findings.Add(ref.StructureFile, ref.Index,
                         QStringLiteral("DataFile%1 is empty; exercise kind %2 needs it")
                             .arg(f)
                             .arg(ref.Item.ExerciseKind));
            ok = false;
        } else if (!FileExists(course.Resolve(stored))) {
            findings.Add(ref.StructureFile, ref.Index,
                         QStringLiteral("DataFile%1 %2: file not found").arg(f).arg(stored));
            ok = false;
        }
    }
    return ok;
}

int LinesIn(const QString& path) {
    try {
        return CountFileLines(path);
    } catch (const VError&) {
        return -1;
    }
}

} // namespace check
