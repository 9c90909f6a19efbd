#pragma once
// Readers of the text lesson files (lesson text, translation, timing,
// picture schedule, comments, learner timing) and the writer of the learner
// timing file. Every reader keeps what it read before a failure: the result
// holds the data plus the failure, so a window can open with what it has.
#include "base/timingline.h"

#include <memory>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringList>

struct TPictureEntry {
    qint32 FromPos = 0;  // exclusive lower bound, ms
    qint32 ToPos = 0;    // inclusive upper bound, ms
    QString PictureFile; // relative to the data root
};

struct TCommentLine {
    int SintagmNo = 0;
    QString Text;
};

// Where a read stopped. Empty when everything was read.
struct TLessonReadError {
    QString File;
    int Line = 0; // 0: the file as a whole
    QString Reason;
    bool failed() const { return !Reason.isEmpty(); }
    QString describe() const;
};

// Everything the text work window reads. Arrays indexed by line number keep
// slot 0 unused and always have N + 1 (or M + 1) slots, whatever failed.
struct TLessonData {
    QStringList Text;
    QStringList Trans;
    int N = 0;
    QList<TTimingEntry> Timing;        // 1..N
    QList<TTimingEntry> LearnerTiming; // 1..N, valid when LearnerTimingLoaded
    bool LearnerTimingLoaded = false;
    QList<TPictureEntry> Pictures; // 1..M
    int M = 0;
    QList<TCommentLine> Comments;
    TLessonReadError Error;
    bool ok() const { return !Error.failed(); }
};

// Lines of a lesson text or translation file, decoded from Windows-1251.
// `maxLines` >= 0 rejects a longer file (what came before is kept).
QStringList ReadLessonLines(const QString& storedName, int maxLines, TLessonReadError& err);

// A timing file into entries 1..n (slot 0 and lines the file lacks stay 0).
// More lines than n is an error, unless `ignoreBeyondN`: a learner timing
// file written while the text ends with a "#" line has one line more.
QList<TTimingEntry> ReadTimingFile(const QString& storedName, int n, TLessonReadError& err,
                                   bool ignoreBeyondN = false);

// A picture schedule: entries 1..M, M = its line count; "#" lines stay empty.
QList<TPictureEntry> ReadPictureSchedule(const QString& storedName, TLessonReadError& err);
TPictureEntry ParsePictureLine(const QByteArray& line); // throws VError

// The comment file; a missing file gives no comments and no error.
QList<TCommentLine> ReadComments(const QString& storedName, TLessonReadError& err);
TCommentLine ParseCommentLine(const QByteArray& line); // throws VError

// The first entry 1..M with FromPos < t <= ToPos, 0 when none applies.
int FindPicture(const QList<TPictureEntry>& entries, qint32 t);

bool HasComment(const QList<TCommentLine>& comments, int sintagmNo);

QString CommentFileName(const QString& lessonTextFile);      // L1.txt -> L1.apc
QString LearnerTimingFileName(const QString& recordingFile); // Ann3.wav -> Ann3.txt

// Reads a lesson as the text work window needs it, in the order text,
// translation, timing, learner timing, picture schedule, comments. A failure
// stops the reading; a damaged learner timing file only leaves the learner
// timing unloaded (the lesson positions are used instead) and is reported.
TLessonData ReadWorkTextLesson(const QString& textFile, const QString& transFile,
                               const QString& timingFile, const QString& pictureFile,
                               const QString& learnerRecording);

// Writes the learner timing file while the learner records: one line per
// lesson text line, so the file always has exactly N lines. Content goes to
// a temporary file that replaces the old one only at Finish(); a run that
// never finishes leaves the earlier file in place.
class TLearnerTimingWriter {
public:
    // Throws FileError when the temporary file cannot be made.
    TLearnerTimingWriter(const QString& storedName, const QStringList& lessonText);
    ~TLearnerTimingWriter();
    TLearnerTimingWriter(const TLearnerTimingWriter&) = delete;
    TLearnerTimingWriter& operator=(const TLearnerTimingWriter&) = delete;

    // Line 1 (the title) and the silent lines after it; opens the first
    // sintagm at position 0.
    void Begin();
    // The lesson passed the end of the open sintagm; `learnerPos` is the
    // learner recording's position. Closes that line, writes the silent
    // lines that follow and opens the next sintagm there.
    void SintagmEnd(qint64 learnerPos);
    // Closes the open line at `learnerPos`, fills the lines never reached
    // as silent and replaces the file. Throws FileError.
    void Finish(qint64 learnerPos);
    // Drops the new content; the earlier file stays.
    void Abort();

    int OpenLine() const { return m_open; } // 0: no line open
    int LinesWritten() const { return m_written; }
    bool Finished() const { return m_done; }

private:
    void put(const QByteArray& bytes);
    void silentRun();
    bool isSilentLine(int lineNo) const;

    std::unique_ptr<QSaveFile> m_file;
    QString m_name;
    QStringList m_text;
    int m_open = 0;
    int m_written = 0;
    bool m_begun = false;
    bool m_done = false;
};
