#include "drill/questfiles.h"

#include "base/cp1251.h"
#include "drill/lessonread.h"

using namespace lessonread;

namespace {

QString Cut(const QByteArray& bytes) {
    return DecodeCp1251(bytes).left(QuestTextMax);
}

// Questions file lines into Quest; false when the file cannot be read.
bool ReadQuestLines(const QString& name, TQuestData& out) {
    QByteArray data;
    if (!ReadAll(name, LessonFile::Questions, data, out.Status)) return false;
    LineReader r(data);
    out.Entries.reserve(CountLines(data));
    QByteArray line;
    while (r.next(line)) {
        TQuestEntry e;
        e.Quest = Cut(line);
        out.Entries.append(e);
    }
    return true;
}

template <typename List>
bool ReadRanges(const QString& timing, List& entries, LessonReadStatus& st) {
    return ReadTiming(timing, int(entries.size()), st, [&](int i, TTimingEntry t) {
        entries[i].StartPos = t.StartPos;
        entries[i].EndPos = t.EndPos;
    });
}

bool ReadAnswerBlocks(const QString& name, TQuestData& out) {
    QByteArray data;
    if (!ReadAll(name, LessonFile::Answers, data, out.Status)) return false;
    const int n = int(out.Entries.size());
    LineReader r(data);
    QByteArray line;
    int block = 0; // 0: the lines before the first "#", which belong to no question
    int k = 0;
    auto close = [&] {
        if (block >= 1 && block <= n) out.Entries[block - 1].AnswerCount = k;
    };
    while (r.next(line)) {
        if (line.startsWith('#')) {
            close();
            if (++block > n) return true; // no question for the blocks that follow
            k = 0;
            continue;
        }
        if (line.isEmpty()) {
            close();
            out.Status.Set(LessonFile::Answers, r.lineNumber(), name, QStringLiteral("Empty line"));
            return false;
        }
        if (k == QuestOptionsMax) {
            close();
            out.Status.Set(LessonFile::Answers, r.lineNumber(), name,
                           block == 0 ? QStringLiteral("More than 4 lines before the first block")
                                      : QStringLiteral("More than 4 answer options"));
            return false;
        }
        if (block >= 1) out.Entries[block - 1].Answers[k] = Cut(line);
        ++k;
    }
    close();
    return true;
}

} // namespace

TQuestData ReadQuestDownFiles(const QString& questions, const QString& answers,
                              const QString& timing) {
    TQuestData out;
    if (!ReadQuestLines(questions, out)) return out;
    if (!ReadAnswerBlocks(answers, out)) return out;
    if (!timing.isEmpty()) ReadRanges(timing, out.Entries, out.Status);
    return out;
}

TQuestData ReadQuestDemoFiles(const QString& questions, const QString& timing) {
    TQuestData out;
    if (!ReadQuestLines(questions, out)) return out;
    if (!timing.isEmpty()) ReadRanges(timing, out.Entries, out.Status);
    return out;
}

TTrFlData ReadTrFlFiles(const QString& questions, const QString& answers, const QString& timing) {
    TTrFlData out;
    QByteArray data;
    if (!ReadAll(questions, LessonFile::Questions, data, out.Status)) return out;
    {
        LineReader r(data);
        out.Entries.reserve(CountLines(data));
        QByteArray line;
        while (r.next(line)) {
            const qsizetype tab = line.indexOf('\t');
            if (tab < 0 || tab + 1 >= line.size()) {
                out.Status.Set(LessonFile::Questions, r.lineNumber(), questions,
                               tab < 0 ? QStringLiteral("No TAB before the answer flag")
                                       : QStringLiteral("No answer flag after the TAB"));
                return out;
            }
            TTrFlEntry e;
            e.Quest = Cut(line.left(tab));
            e.YesIsRight = line[tab + 1] == '0';
            out.Entries.append(e);
        }
    }
    if (!ReadAll(answers, LessonFile::Answers, data, out.Status)) return out;
    if (!timing.isEmpty()) ReadRanges(timing, out.Entries, out.Status);
    return out;
}
