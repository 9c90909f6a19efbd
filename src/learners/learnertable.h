#pragma once
// The learner table: the records of Users.eng in file order, indexed from 0.
// Loaded once at start, written back at the end; changed in memory between.
#include "learners/userrec.h"

#include <QList>
#include <QString>

class LearnerTable {
public:
    QList<TUserRec> Users;

    int LastUser() const { return int(Users.size()) - 1; }
    int count() const { return int(Users.size()); }
    bool isEmpty() const { return Users.isEmpty(); }

    // Reads the file: one record per 560 bytes, a trailing partial record is
    // ignored, a missing file gives an empty table. Throws FileError when an
    // existing file cannot be read; the table is then marked not loaded and
    // Save refuses to write, so a file we could not read is never replaced.
    void Load(const QString& fileName = QStringLiteral("Users.eng"));
    // Writes records 0..LastUser atomically (an empty table gives an empty file).
    void Save(const QString& fileName = QStringLiteral("Users.eng")) const;
    // The bytes Save writes.
    QByteArray Encode() const;

    bool loadFailed() const { return m_loadFailed; }

    int indexOfName(const QString& name) const;
    int indexOfReportFile(const QString& reportFile) const;

private:
    bool m_loadFailed = false;
};

// The program's learner table.
LearnerTable& Learners();
