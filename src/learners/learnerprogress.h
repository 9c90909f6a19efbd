#pragma once
// Reading another learner's progress for the teacher: the file is only
// ever opened for reading, and only as far as the records needed.
#include "course/progress.h"

#include <QString>

// Reads records 1..count of the progress file `fileName` (stored form, found
// by LearnerPathHere) into `t`, skipping the header record unchecked; records
// the file lacks stay blank. Only a regular file is read; anything else is
// refused with "File access denied", and a file that does not map below
// Report/ of the current directory with "Invalid filename". Throws FileError
// ("File not found", "Read beyond end of file", ...); `t` is then cleared.
void ReadLearnerProgress(const QString& fileName, int count, ProgressTable& t);

// A copy of records 1..count of `from`; records `from` does not hold stay blank.
ProgressTable CopyProgress(const ProgressTable& from, int count);
