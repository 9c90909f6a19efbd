#include "learners/learnerprogress.h"

#include "base/errors.h"
#include "base/paths.h"
#include "learners/learnerplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

void ReadLearnerProgress(const QString& fileName, int count, ProgressTable& t) {
    t = ProgressTable{};
    count = qMax(0, count);
    if (fileName.isEmpty()) throw FileError(ErrFileNotFound, fileName);
    // A damaged learner list may name any file; only the course's own
    // learner folders are read.
    const QString here = LearnerPathHere(fileName);
    if (here.isEmpty())
        throw FileError(QFileInfo::exists(NativePath(fileName)) ? ErrInvalidFilename
                                                                : ErrFileNotFound,
                        fileName);
    const QString native = NativePath(here);
    const QFileInfo info(native);
    if (!info.exists()) throw FileError(ErrFileNotFound, fileName);
    // A directory, pipe or device is not a progress file (and a pipe could
    // keep the console waiting forever).
    if (!info.isFile()) throw FileError(ErrAccessDenied, fileName);
    QFile f(native);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly)) {
        const int err = errno;
        throw err ? FileError::FromErrno(err, fileName) : FileError(ErrAccessDenied, fileName);
    }
    const qint64 want = qint64(count + 1) * kProgressRecSize;
    const QByteArray data = f.read(want);
    if (f.error() != QFileDevice::NoError)
        throw FileError::FromErrno(errno ? errno : EIO, fileName);
    if (data.size() < kProgressRecSize) throw FileError(ErrReadBeyondEnd, fileName);
    ProgressTable out;
    out.Count = count;
    out.Recs = QList<TProgressRec>(count + 1);
    // Items a grown course added after the file was written are not done.
    out.RecordsInFile = int(data.size() / kProgressRecSize - 1);
    for (int k = 1; k <= qMin(count, out.RecordsInFile); ++k)
        out.Recs[k] =
            DecodeProgressRec(data.mid(qsizetype(k) * kProgressRecSize, kProgressRecSize));
    t = out;
}

ProgressTable CopyProgress(const ProgressTable& from, int count) {
    ProgressTable t;
    t.Count = qMax(0, count);
    t.Recs = QList<TProgressRec>(t.Count + 1);
    const int have = qMin(t.Count, qMin(from.Count, int(from.Recs.size()) - 1));
    for (int k = 1; k <= have; ++k)
        t.Recs[k] = from.Recs[k];
    return t;
}
