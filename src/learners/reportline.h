#pragma once
// The text of one line of a learner's report, used by the learner's own
// report and by the teacher console.
#include "course/course.h"
#include "course/progress.h"

#include <optional>
#include <QString>

// No line for kinds 9, 10 and above 15.
std::optional<QString> ReportLine(const TCourseItem& item, const TProgressRec& rec);
// The line of an item whose recording was just deleted.
QString NotDoneLine(const TCourseItem& item);
