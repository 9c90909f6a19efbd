#pragma once
// Readers of the lesson vocabulary files: an expressions file (one English
// expression a line), a translations file (line i translates line i) and an
// optional timing file ("start TAB end" per entry). A read error stops the
// reading at that point; what was read before it is kept.
#include <QList>
#include <QString>

struct TLexicEntry {
    QString Expression;
    QString Translation; // empty when the translations file is shorter
    bool Done = false;
    qint32 StartPos = 0;
    qint32 EndPos = 0;
};

struct TLexicDemoEntry {
    QString Expression;
    QString Translation;
    qint32 StartPos = 0;
    qint32 EndPos = 0;
};

// Which of the lesson files stopped a reading.
enum class LessonFile { None, Questions, Expressions = Questions, Translations, Answers, Timing };

// Outcome of reading one exercise's files.
struct LessonReadStatus {
    LessonFile Failed = LessonFile::None;
    // The file could not be opened or read at all (as opposed to a bad line).
    bool Unreadable = false;
    int Line = 0;  // line of the failed file, 1-based; 0 when the file as a whole failed
    QString Error; // what went wrong, for logs and the checker; empty when all was read

    bool ok() const { return Failed == LessonFile::None; }
    void Set(LessonFile f, int line, const QString& fileName, const QString& what);
};

// Entries in file order (entry 1 is Entries[0]).
struct TLexicData {
    QList<TLexicEntry> Entries;
    LessonReadStatus Status;
};

// True when a recording range can be played: a real range, not "no sound".
inline bool HasRange(qint32 startPos, qint32 endPos) {
    return endPos > 0 && endPos > startPos;
}

// The stored names may use "\" separators. An empty timing name means the
// vocabulary has no recordings. Lines beyond the number of expressions are
// not looked at.
TLexicData ReadLexicFiles(const QString& expressions, const QString& translations,
                          const QString& timing);
QList<TLexicDemoEntry> ToDemoEntries(const QList<TLexicEntry>& entries);
