#pragma once
// The lines of a learner's report and the deletion of a recording of the
// learner's voice, which marks its exercise not done again. No windows.
#include "course/course.h"
#include "course/progress.h"

#include <QList>
#include <QString>
#include <QStringList>

// The lines of a report and, for each line, the item number it shows.
// Items of kinds that give no line are skipped, so the map is the only
// safe way from a line back to its item.
struct ReportLines {
    QStringList Lines;
    QList<int> Items;
};
ReportLines BuildReportLines(const CourseTable& course, const ProgressTable& progress);

// The delete button is offered for a done item that keeps a recording.
bool CanDeleteRecording(const TCourseItem& item, const TProgressRec& rec);

enum class RecordingDelete {
    Nothing, // not done, not a recording kind or no recording name
    Deleted, // file removed, record cleared
    Missing, // no such file, record cleared
    Shared,  // another record names the same file: kept, record cleared
    Outside, // name outside the learner's directory: file kept, record cleared
    Failed,  // the file exists and could not be removed: record unchanged
};
// Deletes the recording of item `itemNo` of `table`. `learnerDir` is the
// learner's own directory (below Report\ of the current directory); only a
// file inside it is ever removed. On Failed, `errorText` gets the I/O error.
RecordingDelete DeleteRecording(ProgressTable& table, int itemNo, const TCourseItem& item,
                                const QString& learnerDir, QString* errorText = nullptr);
