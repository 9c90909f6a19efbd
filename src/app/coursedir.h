#pragma once
// Which directory the program runs from (the course directory, made current
// at start): --course-dir, then VANTREL_COURSE_DIR, then course/ beside the
// executable's bin/ when it holds InitRegD.txt, otherwise a per-user copy of
// the installed course, made on first run.
#include <QString>

struct CourseDirChoice {
    QString dir;   // empty when none could be found
    QString error; // why, when dir is empty
    bool copied = false;
};

// exeDir: the directory of the executable; option: the --course-dir value;
// userDataDir: where the per-user copy lives.
CourseDirChoice ChooseCourseDir(const QString& option, const QString& exeDir,
                                const QString& userDataDir);
// Copies a directory tree; false on the first failure (the half copy is removed).
bool CopyTree(const QString& from, const QString& to);
