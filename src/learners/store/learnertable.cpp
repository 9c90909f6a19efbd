#include "learners/learnertable.h"

#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"

#include <QFileInfo>

void LearnerTable::Load(const QString& fileName) {
    Users.clear();
    m_loadFailed = false;
    if (!QFileInfo::exists(NativePath(fileName))) return;
    QByteArray data;
    try {
        data = ReadWholeFile(fileName);
    } catch (...) {
        m_loadFailed = true;
        throw;
    }
    const qsizetype n = data.size() / kUserRecSize;
    Users.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        Users.append(DecodeUserRec(data.mid(i * kUserRecSize, kUserRecSize)));
}

QByteArray LearnerTable::Encode() const {
    QByteArray out;
    out.reserve(Users.size() * kUserRecSize);
    for (const TUserRec& r : Users)
        out += StoredBytes(r);
    return out;
}

void LearnerTable::Save(const QString& fileName) const {
    if (m_loadFailed)
        throw VError(QStringLiteral("The learner list %1 could not be read; it is left as it is.")
                         .arg(fileName));
    WriteFileAtomic(fileName, Encode());
}

int LearnerTable::indexOfName(const QString& name) const {
    for (int i = 0; i < Users.size(); ++i)
        if (Users[i].UserName == name) return i;
    return -1;
}

int LearnerTable::indexOfReportFile(const QString& reportFile) const {
    for (int i = 0; i < Users.size(); ++i)
        if (Users[i].ReportFile == reportFile) return i;
    return -1;
}

LearnerTable& Learners() {
    static LearnerTable t;
    return t;
}
