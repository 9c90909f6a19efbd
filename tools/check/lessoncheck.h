#pragma once
// Helpers shared by the checks of lesson files.
#include "check/registry.h"

#include "base/timingline.h"

#include <optional>
#include <QList>

namespace check {

// Length of a wave file in milliseconds (libsndfile); nullopt with `error`
// set when it cannot be opened as sound.
std::optional<qint64> WaveLengthMs(const QString& path, QString& error);

// Ranges of one timing file, entry k on line k + 1. Entries with end 0 have
// no sound and are passed over. Reports a start after its end, an end beyond
// the sound file and a start before the end of the previous range.
void CheckRanges(const QString& timingFile, const QList<TTimingEntry>& ranges, qint64 lengthMs,
                 Findings& findings);

// The resolved names of an item's data files that must exist for its kind;
// reports the missing ones at the item's line and returns false then.
// `fields` are 1..5 (DataFile1..DataFile5).
bool RequireFiles(Course& course, const ItemRef& ref, std::initializer_list<int> fields,
                  Findings& findings);
QString DataFile(const TCourseItem& it, int field);

// Line count of a text file, or -1 when it cannot be read.
int LinesIn(const QString& path);

} // namespace check
