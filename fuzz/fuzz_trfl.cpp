// True/false files (questions | answers | timing): one entry per good line
// up to the first bad one, which is named by its line number.
// fuzz-libs: vantrel_drill
#include "base/textfile.h"
#include "drill/questfiles.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> p = fuzz::Parts(data, size, 3);
    const QString quest = fuzz::Put(QStringLiteral("L.tf"), p[0]);
    const QString answers = fuzz::Put(QStringLiteral("L.tfa"), p[1]);
    const QString timing = fuzz::Put(QStringLiteral("Ltf.tim"), p[2]);
    try {
        for (const QString& tim : {timing, QString()}) {
            const TTrFlData d = ReadTrFlFiles(quest, answers, tim);
            const LessonReadStatus& st = d.Status;
            const qsizetype lines = p[0].isNull() ? 0 : CountLines(p[0]);
            if (st.ok() != st.Error.isEmpty() || st.Line < 0) __builtin_trap();
            if (st.Failed == LessonFile::Questions && st.Line > 0) {
                // Everything before the bad line was kept, nothing after it.
                if (d.Entries.size() != st.Line - 1) __builtin_trap();
            } else if (!p[0].isNull() && d.Entries.size() != lines) {
                __builtin_trap();
            }
            if (tim.isEmpty() && st.Failed == LessonFile::Timing) __builtin_trap();
            for (const TTrFlEntry& e : d.Entries)
                if (e.Quest.size() > QuestTextMax || e.Done || e.AnsweredRight) __builtin_trap();
        }
    } catch (...) {
        __builtin_trap();
    }
    return 0;
}
