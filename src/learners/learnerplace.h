#pragma once
// Where a learner's files lie in this course. Users.eng and progress records
// keep full paths, made on Windows or before the course folder was moved; the
// program reads and writes learner files only below Report/ of the course
// directory (the current directory). This is the one rule that maps a stored
// path there; the stored strings themselves are never rewritten by it.
#include "course/progress.h"
#include "learners/userrec.h"

#include <QDateTime>
#include <QString>

// A stored learner path as it lies in this course: unchanged when it is below
// Report/ already; when its tail is Report\<folder>\<file> ("\" or "/",
// "Report" in any case, one plain folder, no "..") the same folder and file
// below this course's Report/ (a stored folder, ending with a separator,
// keeps it). Empty for any other path: refused.
QString LearnerPathHere(const QString& stored);

// A recording named by a progress record, for reading: mapped by
// LearnerPathHere where it can be, otherwise as stored.
QString LearnerRecordingHere(const QString& stored);

struct LearnerPlace {
    QString ReportFile; // the progress file
    QString ReportDir;  // the learner folder, with its separator
};

// The learner's progress file and folder in this course. A work mode other
// than A-D throws VError with a message, a path that cannot be mapped
// FileError "Invalid filename": nothing of such a learner is read or written.
LearnerPlace LearnerPlaceOf(const TUserRec& u);

// Reads a learner's progress (ReadProgress). When the file holds fewer records
// than the course has items now, it is first copied byte for byte to
// "<file>.bak", and the returned text tells the learner so; otherwise the
// text is empty. Throws FileError; the table is then incomplete.
QString OpenLearnerProgress(const QString& reportFile, char mode, const QString& userName,
                            ProgressTable& t);

// Removes the temporary files a write killed before its rename leaves
// (QSaveFile's "<name>.XXXXXX", six letters): those of Users.eng and the
// anonymous learner's recording and timing file in `courseDir`, and those of
// progress files (and their .bak), recordings and timing files in each
// learner folder directly below Report/. Only files last changed before
// `olderThan` go: a newer one may be another copy's write in progress.
// Returns how many were removed.
int RemoveStrayTemporaries(const QString& courseDir, const QDateTime& olderThan);
