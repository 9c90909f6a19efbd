// Vocabulary files (expressions | translations | timing): one entry per
// expression line whatever the other files hold, and a failure names the
// file and line that stopped the reading.
// fuzz-libs: vantrel_drill
#include "base/errors.h"
#include "base/textfile.h"
#include "drill/lexicfiles.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> p = fuzz::Parts(data, size, 3);
    const QString expr = fuzz::Put(QStringLiteral("L.lex"), p[0]);
    const QString trans = fuzz::Put(QStringLiteral("L.ltr"), p[1]);
    const QString timing = fuzz::Put(QStringLiteral("Llex.tim"), p[2]);
    try {
        for (const QString& tim : {timing, QString()}) {
            const TLexicData d = ReadLexicFiles(expr, trans, tim);
            const LessonReadStatus& st = d.Status;
            const qsizetype lines = p[0].isNull() ? 0 : CountLines(p[0]);
            if (d.Entries.size() != lines) __builtin_trap();
            if (st.ok() != st.Error.isEmpty() || st.Line < 0) __builtin_trap();
            if (!st.ok() && st.Unreadable != (st.Line == 0)) __builtin_trap();
            // Only a missing file can make a file as a whole fail here.
            if (st.Unreadable && !((st.Failed == LessonFile::Expressions && p[0].isNull()) ||
                                   (st.Failed == LessonFile::Translations && p[1].isNull()) ||
                                   (st.Failed == LessonFile::Timing && p[2].isNull())))
                __builtin_trap();
            if (tim.isEmpty() && st.Failed == LessonFile::Timing) __builtin_trap();
            if (st.Failed == LessonFile::Timing && st.Line > d.Entries.size()) __builtin_trap();
            if (ToDemoEntries(d.Entries).size() != d.Entries.size()) __builtin_trap();
        }
    } catch (...) {
        __builtin_trap(); // the readers report through their status
    }
    return 0;
}
