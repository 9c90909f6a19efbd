#pragma once
// What happens next in the vocabulary and question exercises, without any
// window: drawing entries, judging picks, counting errors. One random
// generator per run, seeded once (tests pass a fixed seed).
#include "drill/questfiles.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <random>

// A seed from the clock and the system's entropy source.
quint32 FreshSeed();

// Uniform draw of one not-done index among `done`; -1 when all are done.
class Drawer {
public:
    explicit Drawer(quint32 seed) : m_gen(seed) {}
    int Below(int n); // uniform in 0..n-1, n >= 1
    template <typename List> int OpenIndex(const List& entries) {
        QList<int> open;
        for (int i = 0; i < int(entries.size()); ++i)
            if (!entries[i].Done) open.append(i);
        return open.isEmpty() ? -1 : open[Below(int(open.size()))];
    }

private:
    std::mt19937 m_gen;
};

// Vocabulary drill: one expression at a time in random order; the learner
// picks its translation from the list of all translations.
class LexicDrill {
public:
    enum class Verdict { Right, Finished, TryAgain, Wrong };
    struct Result {
        Verdict verdict;
        QString rightAnswer; // the translation of the entry that was judged
    };

    LexicDrill(QList<TLexicEntry> entries, quint32 seed);

    // Counters to zero and the first entry drawn.
    void SetInitialData();
    // Judges the text of the picked list line against the entry on show.
    Result Confirm(const QString& picked);

    int Count() const { return int(m_entries.size()); }
    int Current() const { return m_current; } // 1-based, 0 before the start or after the end
    const TLexicEntry& CurrentEntry() const { return m_entries[m_current - 1]; }
    const TLexicEntry& Entry(int n) const { return m_entries[n - 1]; }
    int RightCount() const { return m_rightCount; }
    int ErrorCount() const { return m_errorCount; }
    int Remaining() const { return Count() - m_rightCount; }
    bool Missed() const { return m_missed; }
    bool Finished() const { return m_rightCount >= Count(); }
    // Translations of all entries in file order, duplicates included.
    QStringList Translations() const;

private:
    void SelectNextLexic();

    QList<TLexicEntry> m_entries;
    Drawer m_draw;
    int m_current = 0;
    int m_rightCount = 0;
    int m_errorCount = 0;
    bool m_missed = false;
};

// Multiple-choice questions. Questions without options are never asked and
// do not count: Count() is the number of questions asked in a full run.
class QuestDownRun {
public:
    enum class Verdict { Right, TryAgain, Wrong };
    struct Result {
        Verdict verdict;
        bool finished;
        QString rightAnswer; // option 1 of the judged question
    };

    QuestDownRun(QList<TQuestEntry> entries, quint32 seed);

    void Start(); // Remaining = Count(), ErrorCount = 0, first question drawn
    // A click on the mark of row 1..4: the other marks clear, this one toggles.
    void ClickMark(int row);
    // Marks exactly this row (keyboard pick).
    void PickRow(int row);
    Result Check();

    int Count() const { return m_count; }
    int Remaining() const { return m_remaining; }
    int ErrorCount() const { return m_errorCount; }
    bool Missed() const { return m_missed; }
    int Current() const { return m_current; } // 1-based file number of the question on show
    const TQuestEntry& CurrentEntry() const { return m_entries[m_current - 1]; }
    int RowCount() const { return CurrentEntry().AnswerCount; }
    int RightRow() const { return m_rightRow; } // 1..4
    QString RowText(int row) const { return CurrentEntry().Answers[m_rowOption[row - 1] - 1]; }
    int RowOption(int row) const { return m_rowOption[row - 1]; }
    bool Marked(int row) const { return m_marks[row - 1]; }

private:
    void SelectNext();

    QList<TQuestEntry> m_entries;
    Drawer m_draw;
    int m_count = 0;
    int m_current = 0;
    int m_rightRow = 0;
    int m_remaining = 0;
    int m_errorCount = 0;
    bool m_missed = false;
    int m_rowOption[QuestOptionsMax] = {};
    bool m_marks[QuestOptionsMax] = {};
};

// True/false questions: random order, each answered once, skip allowed.
class TrFlRun {
public:
    TrFlRun(QList<TTrFlEntry> entries, quint32 seed);

    void Start(); // Remaining = N, ErrorCount = 0, first question drawn
    void Skip();  // another open question (possibly the same one)
    // Judges the current choice; true when the run is complete.
    bool Judge();
    void SetYesChosen(bool yes) { m_yes = yes; }
    bool YesChosen() const { return m_yes; }

    int Count() const { return int(m_entries.size()); }
    int Remaining() const { return m_remaining; }
    int ErrorCount() const { return m_errorCount; }
    int Current() const { return m_current; }
    const TTrFlEntry& CurrentEntry() const { return m_entries[m_current - 1]; }
    const QList<TTrFlEntry>& Entries() const { return m_entries; }

private:
    void SelectNext();

    QList<TTrFlEntry> m_entries;
    Drawer m_draw;
    int m_current = 0;
    int m_remaining = 0;
    int m_errorCount = 0;
    bool m_yes = true; // "Да" at the start; kept between questions
};

// Paging of a presentation: entry 1 to N in order, no way back.
class Pager {
public:
    explicit Pager(int count) : m_count(count) {}
    void Start() { m_current = m_count > 0 ? 1 : 0; }
    // Next entry; false when the last one was on show (the run is complete).
    bool Next();
    int Current() const { return m_current; }
    int Count() const { return m_count; }
    int Remaining() const { return m_count - m_current; }

private:
    int m_count;
    int m_current = 0;
};

// One row of the true/false results: question, right answer, whether the
// learner's answer was right.
struct TrFlResultRow {
    QString Quest;
    QString Answer;
    QString Yours;
    bool Right;
};
QList<TrFlResultRow> TrFlResults(const QList<TTrFlEntry>& entries);
