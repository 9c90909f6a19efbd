#include "learners/reportbuild.h"

#include "base/errors.h"
#include "base/paths.h"
#include "learners/learnerplace.h"
#include "learners/reportline.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString comparablePath(const QString& stored) {
    const QFileInfo fi(NativePath(stored));
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : canonical;
}

bool namedElsewhere(const ProgressTable& t, int itemNo, const QString& name) {
    const QString target = comparablePath(name);
    for (int k = 1; k <= t.Count && k < t.Recs.size(); ++k) {
        if (k == itemNo || t[k].RecordFile.isEmpty()) continue;
        if (comparablePath(LearnerRecordingHere(t[k].RecordFile)) == target) return true;
    }
    return false;
}

void clearRecord(TProgressRec& r) {
    r.Done = 0;
    r.RecordFile.clear();
}

// The learner's directory must itself lie below Report of the current
// directory, otherwise a damaged learner record could open up any folder.
bool learnerDirUsable(const QString& learnerDir) {
    return IsInsideDir(learnerDir, QDir::current().filePath(QStringLiteral("Report")));
}

} // namespace

ReportLines BuildReportLines(const CourseTable& course, const ProgressTable& progress) {
    ReportLines out;
    const int last =
        std::min<int>(progress.Count, std::min<int>(progress.Recs.size(), course.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        if (auto line = ReportLine(course[i], progress[i])) {
            out.Lines << *line;
            out.Items << i;
        }
    }
    return out;
}

bool CanDeleteRecording(const TCourseItem& item, const TProgressRec& rec) {
    return rec.Done != 0 && KeepsRecording(item.ExerciseKind);
}

RecordingDelete DeleteRecording(ProgressTable& table, int itemNo, const TCourseItem& item,
                                const QString& learnerDir, QString* errorText) {
    if (itemNo < 1 || itemNo > table.Count || itemNo >= table.Recs.size())
        return RecordingDelete::Nothing;
    TProgressRec& rec = table[itemNo];
    if (!CanDeleteRecording(item, rec) || rec.RecordFile.isEmpty()) return RecordingDelete::Nothing;

    // A recording named where the list was made lies in this course's folder.
    const QString name = LearnerPathHere(rec.RecordFile);
    if (name.isEmpty() || !learnerDirUsable(learnerDir) || !IsInsideDir(name, learnerDir)) {
        clearRecord(rec);
        return RecordingDelete::Outside;
    }
    if (namedElsewhere(table, itemNo, name)) {
        clearRecord(rec);
        return RecordingDelete::Shared;
    }
    // Only a file goes: a directory of that name is never taken away. A link
    // is removed itself, never what it points to.
    const QString native = NativePath(name);
    const QFileInfo info(native);
    if (!info.exists() && !info.isSymLink()) {
        clearRecord(rec);
        return RecordingDelete::Missing;
    }
    if (info.isDir() && !info.isSymLink()) {
        if (errorText) *errorText = FileError(ErrAccessDenied, name).text();
        return RecordingDelete::Failed;
    }
    QFile file(native);
    if (!file.remove()) {
        if (errorText) *errorText = FileError(ErrAccessDenied, name).text();
        return RecordingDelete::Failed;
    }
    clearRecord(rec);
    return RecordingDelete::Deleted;
}
