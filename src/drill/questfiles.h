#pragma once
// Readers of the question files: multiple-choice questions with their answer
// blocks, the question presentation and the true/false questions. A read
// error stops the reading there; what was read before it is kept.
#include "drill/lexicfiles.h"

#include <QList>
#include <QString>

constexpr int QuestTextMax = 255; // characters kept of a question or an option
constexpr int QuestOptionsMax = 4;

struct TQuestEntry {
    QString Quest;
    QString Answers[QuestOptionsMax]; // option 1 (Answers[0]) is the right one
    qint32 AnswerCount = 0;
    bool Done = false;
    qint32 StartPos = 0;
    qint32 EndPos = 0;
};

struct TTrFlEntry {
    QString Quest;
    bool YesIsRight = false;
    bool Done = false;
    bool AnsweredRight = false;
    qint32 StartPos = 0;
    qint32 EndPos = 0;
};

struct TQuestData {
    QList<TQuestEntry> Entries; // question 1 is Entries[0]
    LessonReadStatus Status;
};

struct TTrFlData {
    QList<TTrFlEntry> Entries;
    LessonReadStatus Status;
};

// Answers file: a line starting with "#" opens the block of the next
// question; the lines after it are its options, the first one right. At most
// four lines may stand before the first "#" (they are dropped), at most four
// options in a block, and no line may be empty. Blocks beyond the last
// question are not read.
TQuestData ReadQuestDownFiles(const QString& questions, const QString& answers,
                              const QString& timing);
// Questions and, when named, their ranges; the answers file is not used.
TQuestData ReadQuestDemoFiles(const QString& questions, const QString& timing);
// Lines "question TAB flag": flag "0" means the right answer is "Да", any
// other character "Нет". The answers file must be readable but is not used.
// An empty timing name means the questions have no recordings.
TTrFlData ReadTrFlFiles(const QString& questions, const QString& answers, const QString& timing);
