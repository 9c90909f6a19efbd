#include "drill/drilllogic.h"

#include <QDateTime>
#include <QRandomGenerator>

quint32 FreshSeed() {
    return QRandomGenerator::system()->generate() ^ quint32(QDateTime::currentMSecsSinceEpoch());
}

int Drawer::Below(int n) {
    std::uniform_int_distribution<int> d(0, n - 1);
    return d(m_gen);
}

// ---- vocabulary drill

LexicDrill::LexicDrill(QList<TLexicEntry> entries, quint32 seed)
    : m_entries(std::move(entries)), m_draw(seed) {
    for (TLexicEntry& e : m_entries)
        e.Done = false;
}

void LexicDrill::SetInitialData() {
    m_rightCount = 0;
    m_errorCount = 0;
    m_missed = false;
    for (TLexicEntry& e : m_entries)
        e.Done = false;
    SelectNextLexic();
}

void LexicDrill::SelectNextLexic() {
    // The entry just failed may come again at once: it is not done.
    m_current = m_draw.OpenIndex(m_entries) + 1;
    m_missed = false;
}

LexicDrill::Result LexicDrill::Confirm(const QString& picked) {
    if (m_current == 0) return {Verdict::Finished, {}};
    TLexicEntry& e = m_entries[m_current - 1];
    Result res{Verdict::Right, e.Translation};
    if (picked == e.Translation) {
        e.Done = true;
        ++m_rightCount;
        if (Finished()) {
            m_current = 0;
            res.verdict = Verdict::Finished;
        } else {
            SelectNextLexic();
        }
    } else if (!m_missed) {
        m_missed = true;
        res.verdict = Verdict::TryAgain;
    } else {
        res.verdict = Verdict::Wrong;
        ++m_errorCount;
        SelectNextLexic();
    }
    return res;
}

QStringList LexicDrill::Translations() const {
    QStringList out;
    for (const TLexicEntry& e : m_entries)
        out.append(e.Translation);
    return out;
}

// ---- multiple choice

QuestDownRun::QuestDownRun(QList<TQuestEntry> entries, quint32 seed)
    : m_entries(std::move(entries)), m_draw(seed) {
    for (TQuestEntry& e : m_entries) {
        e.AnswerCount = qBound(0, e.AnswerCount, QuestOptionsMax);
        // A question without options cannot be answered: it is left out.
        e.Done = e.AnswerCount == 0;
        if (!e.Done) ++m_count;
    }
}

void QuestDownRun::Start() {
    m_remaining = m_count;
    m_errorCount = 0;
    SelectNext();
}

void QuestDownRun::SelectNext() {
    m_current = m_draw.OpenIndex(m_entries) + 1;
    m_missed = false;
    m_rightRow = 0;
    for (int p = 0; p < QuestOptionsMax; ++p) {
        m_marks[p] = p == 0;
        m_rowOption[p] = 0;
    }
    if (m_current == 0) return;
    const int n = CurrentEntry().AnswerCount;
    // Rows 1..n get the options 1..n in random order.
    QList<int> left;
    for (int o = 1; o <= n; ++o)
        left.append(o);
    for (int p = 0; p < n; ++p) {
        const int pick = m_draw.Below(int(left.size()));
        m_rowOption[p] = left.takeAt(pick);
        if (m_rowOption[p] == 1) m_rightRow = p + 1;
    }
}

void QuestDownRun::ClickMark(int row) {
    if (row < 1 || row > RowCount()) return;
    for (int p = 1; p <= QuestOptionsMax; ++p)
        if (p != row) m_marks[p - 1] = false;
    m_marks[row - 1] = !m_marks[row - 1];
}

void QuestDownRun::PickRow(int row) {
    if (row < 1 || row > RowCount()) return;
    for (int p = 1; p <= QuestOptionsMax; ++p)
        m_marks[p - 1] = p == row;
}

QuestDownRun::Result QuestDownRun::Check() {
    if (m_current == 0) return {Verdict::Right, true, {}};
    TQuestEntry& e = m_entries[m_current - 1];
    Result res{Verdict::Right, false, e.Answers[0]};
    if (!m_marks[m_rightRow - 1]) {
        if (!m_missed && e.AnswerCount > 2) {
            m_missed = true;
            res.verdict = Verdict::TryAgain;
            return res;
        }
        res.verdict = Verdict::Wrong;
        ++m_errorCount;
    }
    m_missed = false;
    --m_remaining;
    e.Done = true;
    if (m_remaining > 0)
        SelectNext();
    else {
        m_current = 0;
        res.finished = true;
    }
    return res;
}

// ---- true/false

TrFlRun::TrFlRun(QList<TTrFlEntry> entries, quint32 seed)
    : m_entries(std::move(entries)), m_draw(seed) {
    for (TTrFlEntry& e : m_entries)
        e.Done = e.AnsweredRight = false;
}

void TrFlRun::Start() {
    m_remaining = Count();
    m_errorCount = 0;
    SelectNext();
}

void TrFlRun::SelectNext() {
    m_current = m_draw.OpenIndex(m_entries) + 1;
}

void TrFlRun::Skip() {
    if (m_current != 0) SelectNext();
}

bool TrFlRun::Judge() {
    if (m_current == 0) return true;
    TTrFlEntry& e = m_entries[m_current - 1];
    e.AnsweredRight = m_yes == e.YesIsRight;
    e.Done = true;
    if (!e.AnsweredRight) ++m_errorCount;
    if (--m_remaining > 0) {
        SelectNext();
        return false;
    }
    m_current = 0;
    return true;
}

QList<TrFlResultRow> TrFlResults(const QList<TTrFlEntry>& entries) {
    QList<TrFlResultRow> out;
    const QString yes = QStringLiteral("Да"), no = QStringLiteral("Нет");
    for (const TTrFlEntry& e : entries)
        out.append({e.Quest, e.YesIsRight ? yes : no, e.AnsweredRight ? yes : no, e.AnsweredRight});
    return out;
}

// ---- presentation

bool Pager::Next() {
    if (m_current >= m_count) return false;
    ++m_current;
    return true;
}
