// Multiple-choice files (questions | answers | timing): option counts stay
// within 0..4, texts within their length, and the presentation reading of
// the same questions gives the same questions.
// fuzz-libs: vantrel_drill
#include "base/textfile.h"
#include "drill/questfiles.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> p = fuzz::Parts(data, size, 3);
    const QString quest = fuzz::Put(QStringLiteral("L.qst"), p[0]);
    const QString answers = fuzz::Put(QStringLiteral("L.ans"), p[1]);
    const QString timing = fuzz::Put(QStringLiteral("Lq.tim"), p[2]);
    try {
        const TQuestData d = ReadQuestDownFiles(quest, answers, timing);
        const TQuestData demo = ReadQuestDemoFiles(quest, timing);
        const qsizetype lines = p[0].isNull() ? 0 : CountLines(p[0]);
        if (d.Entries.size() != lines || demo.Entries.size() != lines) __builtin_trap();
        if (d.Status.ok() != d.Status.Error.isEmpty() || d.Status.Line < 0) __builtin_trap();
        if (d.Status.Failed == LessonFile::Translations) __builtin_trap();
        for (qsizetype i = 0; i < lines; ++i) {
            const TQuestEntry& e = d.Entries[i];
            if (e.AnswerCount < 0 || e.AnswerCount > QuestOptionsMax) __builtin_trap();
            if (e.Quest.size() > QuestTextMax || e.Quest != demo.Entries[i].Quest) __builtin_trap();
            for (int k = 0; k < QuestOptionsMax; ++k) {
                if (e.Answers[k].size() > QuestTextMax) __builtin_trap();
                // Slots beyond the count stay empty; those within it never are.
                if ((k >= e.AnswerCount) != e.Answers[k].isEmpty()) __builtin_trap();
            }
            // The ranges do not depend on the answers file when it was read.
            if (d.Status.ok() && demo.Status.ok() &&
                (e.StartPos != demo.Entries[i].StartPos || e.EndPos != demo.Entries[i].EndPos))
                __builtin_trap();
        }
    } catch (...) {
        __builtin_trap(); // the readers report through their status
    }
    return 0;
}
