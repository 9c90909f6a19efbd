#include "drill/lexicfiles.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/textfile.h"
#include "drill/lessonread.h"

void LessonReadStatus::Set(LessonFile f, int line, const QString& fileName, const QString& what) {
    Failed = f;
    Line = line;
    Unreadable = line == 0;
    Error = line > 0 ? QStringLiteral("%1, line %2: %3").arg(fileName).arg(line).arg(what)
                     : QStringLiteral("%1: %2").arg(fileName, what);
}

TLexicData ReadLexicFiles(const QString& expressions, const QString& translations,
                          const QString& timing) {
    using namespace lessonread;
    TLexicData out;
    QByteArray data;
    if (!ReadAll(expressions, LessonFile::Expressions, data, out.Status)) return out;
    {
        LineReader r(data);
        out.Entries.reserve(CountLines(data));
        QByteArray line;
        while (r.next(line)) {
            TLexicEntry e;
            e.Expression = DecodeCp1251(line);
            out.Entries.append(e);
        }
    }
    const int n = int(out.Entries.size());
    if (!ReadAll(translations, LessonFile::Translations, data, out.Status)) return out;
    {
        LineReader r(data);
        QByteArray line;
        for (int i = 0; i < n && r.next(line); ++i)
            out.Entries[i].Translation = DecodeCp1251(line);
    }
    if (timing.isEmpty()) return out;
    ReadTiming(timing, n, out.Status, [&](int i, TTimingEntry t) {
        out.Entries[i].StartPos = t.StartPos;
        out.Entries[i].EndPos = t.EndPos;
    });
    return out;
}

QList<TLexicDemoEntry> ToDemoEntries(const QList<TLexicEntry>& entries) {
    QList<TLexicDemoEntry> out;
    out.reserve(entries.size());
    for (const TLexicEntry& e : entries)
        out.append(TLexicDemoEntry{e.Expression, e.Translation, e.StartPos, e.EndPos});
    return out;
}
