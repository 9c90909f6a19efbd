#pragma once
// What the learner dialogs decide and do, kept free of widgets: the checks
// of a new learner, creating and deleting learners, the name key filter.
#include "course/progress.h"
#include "learners/learnertable.h"

#include <QByteArray>
#include <functional>
#include <QString>

// "<current dir>\Report" and "<current dir>\Report\N\N.rep", in the
// system's own separators.
QString ReportRootPath();
QString ReportPathFor(const QString& name);

// The report path as Users.eng stores it: the path itself, or, when the
// record cannot hold it (characters outside Windows-1251, longer than 255),
// its relative form Report\N\N.rep below the current directory, which
// LearnerPathHere finds again. Any other path comes back unchanged.
QString StorableReportPath(const QString& reportPath);

// False, after saying so, while Users.eng could not be read: a learner
// added or removed then could never be saved.
bool LearnerListChangeable(const LearnerTable& table);

struct NewUserInput {
    QString Name;
    QString Password;
    QString Password2;
    QString ReportPath;
    char Mode = 'A';
};

// The checks of a new learner in order. Returns the message of the first
// check that fails, or an empty string when all pass. Throws FileError when
// a file at the report path exists but cannot be read far enough.
QString CheckNewUser(const LearnerTable& table, const NewUserInput& in);

// The first `n` bytes of a file; FileError (read beyond end of file and
// the others) when it is shorter or cannot be read.
QByteArray ReadFirstBytes(const QString& path, int n);

// Creates the learner directory, the report path up to its last separator,
// one level only. FileError 183 when it exists, 3 when its parent is missing.
void CreateLearnerDir(const QString& reportPath);

// Writes the learner's blank progress file, then adds the learner to the
// list on disk (CommitLearners); the current learner's progress is not
// touched. When either fails the learner is not listed, its new directory is
// removed again and the error is rethrown. Clears the learner-unchanged flag
// on success. Returns the new learner's index.
int RegisterLearner(LearnerTable& table, const NewUserInput& in);

// Changes the learner list on disk at once (UpdateLearnerList) and keeps the
// current learner's index pointing at the same learner. VError while the
// list could not be read at start.
void CommitLearners(LearnerTable& table, const std::function<bool(LearnerTable&)>& change);
// Writes the list as it is on disk now, with no change of ours.
void SaveLearnerList(LearnerTable& table);
// Reads the list as other programs left it, writing nothing; does nothing
// while the list could not be read at start.
void RefreshLearnerList(LearnerTable& table);

// Learner `name` goes over to work mode `mode`. A fresh progress table is
// written to `progressFile` first, so a failed write leaves the learner as
// before; then the list on disk names the new mode. When the list cannot be
// written, `current` (the table the file held) is written back when complete
// and the error is rethrown. Returns the fresh table.
ProgressTable ChangeLearnerMode(LearnerTable& table, QString name,
                                const QString& progressFile, char mode,
                                const ProgressTable& current);

// Why a learner cannot be taken on or deleted: current in another program.
QString LearnerBusyText(const QString& name);

// The name field takes the codes 31 to 127 and backspace only.
bool NameCharAccepted(char16_t code);
QString FilterNameText(const QString& text);

// True when `reportDir` is an existing direct subdirectory of the
// course directory's Report folder (after links and ".." are resolved).
bool IsLearnerDirOf(const QString& reportDir, const QString& courseDir);
// Empties and removes a learner directory: files go, empty subdirectories
// go, nothing else is touched, failures are ignored. Does nothing unless
// IsLearnerDirOf holds. Returns whether it went ahead.
bool RemoveLearnerDir(const QString& reportDir, const QString& courseDir);

enum class DeleteOutcome {
    ListUnreadable,
    NoSelection,
    NothingToDelete,
    WrongPassword,
    InUse,
    Deleted
};
// Deletes learner `index` after the password `typed` was given: shows the
// messages of a refused deletion (a learner current in another program is
// refused too), removes the learner from the list on disk, then its
// directory when it is the learner's own and no other learner uses it, and
// adjusts the current learner.
DeleteOutcome DeleteLearner(LearnerTable& table, int index, const QString& typed,
                            const QString& courseDir);
