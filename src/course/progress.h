#pragma once
// The progress store: one 264-byte TProgressRec per course item behind a
// header record carrying the signature, in the learner's .rep file.
#include <QByteArray>
#include <QList>
#include <QString>

struct TProgressRec {
    quint8 Done = 0;
    qint32 Score = 0;
    QString RecordFile; // at most 255 characters
};

constexpr int kProgressRecSize = 264;
extern const char kProgressSignature[]; // "Korvanisto Pelmartonica 1.0"

// A progress table: records 1..Count (slot 0 unused). `Complete` is false
// when a read failed part way; such a table is never written over a file.
struct ProgressTable {
    QList<TProgressRec> Recs{TProgressRec{}};
    int Count = 0;
    bool Complete = true;
    // Whole records the file held after its header when it was read; -1 for
    // a table that was not read. Fewer than Count: the course grew since.
    int RecordsInFile = -1;

    TProgressRec& operator[](int k) { return Recs[k]; }
    const TProgressRec& operator[](int k) const { return Recs[k]; }
};

QByteArray EncodeProgressRec(const TProgressRec& r);
TProgressRec DecodeProgressRec(const QByteArray& bytes); // 264 bytes
QByteArray ProgressHeader();
// The bytes WriteProgress writes for a table.
QByteArray EncodeProgressFile(const ProgressTable& t);
// True when the first 264 bytes hold the signature at offset 8.
bool HasProgressSignature(const QByteArray& first264);

// Reads records 1..CourseItemCount(mode) of the file into `t`. A file with
// fewer records (the course got new items) gives what it has; the items it
// lacks start blank, not done. On a failure (no file, shorter than its
// header, unreadable) `t` is marked incomplete and FileError is thrown.
void ReadProgress(const QString& fileName, char mode, ProgressTable& t);
// Reads `count` records (for tools that know the count themselves).
void ReadProgressCount(const QString& fileName, int count, ProgressTable& t);
// Writes header and records 1..Count atomically. Refuses an incomplete table
// (throws VError) so a failed read never overwrites a learner's file.
void WriteProgress(const QString& fileName, const ProgressTable& t);
// A fresh table with one blank record per line of the mode's course file,
// counted again from the current directory.
ProgressTable NewProgress(char mode);

// The current learner's table (owned by the program state).
ProgressTable& CurrentProgress();
