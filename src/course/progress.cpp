#include "course/progress.h"

#include "base/binrec.h"
#include "base/errors.h"
#include "base/textfile.h"
#include "course/course.h"

#include <limits>

const char kProgressSignature[] = "Korvanisto Pelmartonica 1.0";

QByteArray EncodeProgressRec(const TProgressRec& r) {
    QByteArray b(kProgressRecSize, '\0');
    b[0] = char(r.Done);
    PutInt32LE(b, 4, r.Score);
    PutStrField(b, 8, 255, r.RecordFile);
    return b;
}

TProgressRec DecodeProgressRec(const QByteArray& b) {
    TProgressRec r;
    r.Done = quint8(b[0]);
    r.Score = GetInt32LE(b, 4);
    r.RecordFile = GetStrField(b, 8, 255);
    return r;
}

QByteArray ProgressHeader() {
    QByteArray b(kProgressRecSize, '\0');
    PutStrField(b, 8, 255, QByteArray(kProgressSignature));
    return b;
}

bool HasProgressSignature(const QByteArray& first264) {
    if (first264.size() < 36) return false;
    const QByteArray sig(kProgressSignature);
    return quint8(first264[8]) == sig.size() && first264.mid(9, sig.size()) == sig;
}

QByteArray EncodeProgressFile(const ProgressTable& t) {
    QByteArray out;
    out.reserve(kProgressRecSize * (t.Count + 1));
    out += ProgressHeader();
    for (int k = 1; k <= t.Count; ++k) out += EncodeProgressRec(t.Recs.value(k));
    return out;
}

void ReadProgressCount(const QString& fileName, int count, ProgressTable& t) {
    t.Count = count;
    t.Recs = QList<TProgressRec>(count + 1);
    t.Complete = false;
    t.RecordsInFile = -1;
    QByteArray data = ReadWholeFile(fileName);
    if (data.size() < kProgressRecSize) throw FileError(ErrReadBeyondEnd, fileName);
    const qsizetype have = data.size() / kProgressRecSize - 1; // records after the header
    const int read = int(qMin<qsizetype>(count, have));
    for (int k = 1; k <= read; ++k)
        t.Recs[k] = DecodeProgressRec(data.mid(qsizetype(k) * kProgressRecSize, kProgressRecSize));
    t.RecordsInFile = int(qMin<qsizetype>(have, std::numeric_limits<int>::max()));
    t.Complete = true;
}

void ReadProgress(const QString& fileName, char mode, ProgressTable& t) {
    ReadProgressCount(fileName, CourseItemCount(mode), t);
}

void WriteProgress(const QString& fileName, const ProgressTable& t) {
    if (!t.Complete)
        throw VError(QStringLiteral("The progress of this learner was not read completely; "
                                    "the file %1 is left as it is.")
                         .arg(fileName));
    WriteFileAtomic(fileName, EncodeProgressFile(t));
}

ProgressTable NewProgress(char mode) {
    ProgressTable t;
    t.Count = CountFileLines(CourseFileName(mode));
    t.Recs = QList<TProgressRec>(t.Count + 1);
    return t;
}

ProgressTable& CurrentProgress() {
    static ProgressTable t;
    return t;
}
