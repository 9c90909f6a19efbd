#pragma once
// Several programs may work on one course folder at once (a classroom on a
// shared folder). Users.eng is then changed only under a lock beside it and
// always from what is on disk now, and a learner is current in one program
// at a time: a lock in the learner's folder is held while it is current.
#include "learners/learnertable.h"

#include <functional>

// Takes the lock beside `fileName` (a lock left by a program that died is
// taken over), reads the file afresh, lets `change` alter what was read and,
// when it returns true, writes the result atomically; records it does not
// touch keep their bytes. `table` then holds what is on disk. Throws VError
// when the lock cannot be had within `waitMs`, FileError when the file cannot
// be read or written; the file and `table` are then as they were.
void UpdateLearnerList(LearnerTable& table, const std::function<bool(LearnerTable&)>& change,
                       const QString& fileName = QStringLiteral("Users.eng"), int waitMs = 10000);

// The lock file in a learner's folder.
QString LearnerLockFile(const QString& reportDir);

class QLockFile;
// Tries a learner folder's lock, made on LearnerLockFile: Taken, Busy (a
// running program holds it) or NoLock (the folder cannot hold a lock file).
// It never goes stale by age (a learner may work for hours), but one left
// by a program that died on this machine, or one that holds no readable
// owner for some seconds (cut short by a crash), is taken over.
enum class FolderLock { Taken, Busy, NoLock };
FolderLock TryLearnerLock(QLockFile& lock);

// Makes the learner whose folder is `reportDir` this program's current
// learner: its lock is taken and the lock of the learner held before is
// let go. False, and the learner held before is kept, when another running
// program holds it. A folder that cannot take the lock file (read-only
// media) does not keep the learner out.
bool TakeLearner(const QString& reportDir);
// No learner is current in this program any more.
void ReleaseLearner();
// True when `reportDir` is the folder of this program's current learner.
bool LearnerHeldHere(const QString& reportDir);
// True when another running program has the learner of `reportDir` as its
// current learner.
bool LearnerInUseElsewhere(const QString& reportDir);
