// Vocabulary and question files (kinds 1, 2, 3, 6, 7), read by the drill's own readers.
#include "check/lessoncheck.h"
#include "check/registry.h"

#include "base/textfile.h"
#include "drill/lexicfiles.h"
#include "drill/questfiles.h"

namespace {

using namespace check;

struct Names {
    QString Main, Second, Sound, Timing;
};

Names resolved(Course& course, const TCourseItem& it) {
    auto r = [&](const QString& s) { return s.isEmpty() ? QString() : course.Resolve(s); };
    return {r(it.DataFile1), r(it.DataFile2), r(it.DataFile3), r(it.DataFile4)};
}

// A reader's status as a finding at the failed file and line.
bool reportStatus(const LessonReadStatus& st, const Names& n, Findings& findings) {
    if (st.ok()) return true;
    QString file;
    switch (st.Failed) {
    case LessonFile::Questions:
        file = n.Main;
        break;
    case LessonFile::Translations:
        file = n.Second;
        break;
    case LessonFile::Answers:
        file = n.Second;
        break;
    case LessonFile::Timing:
        file = n.Timing;
        break;
    case LessonFile::None:
        break;
    }
    QString msg = st.Error;
    const QString pre1 = QStringLiteral("%1, line %2: ").arg(file).arg(st.Line);
    const QString pre2 = file + QStringLiteral(": ");
    if (msg.startsWith(pre1))
        msg = msg.mid(pre1.size());
    else if (msg.startsWith(pre2))
        msg = msg.mid(pre2.size());
    findings.Add(Course::Shown(file), st.Line, msg);
    return false;
}

void sameCount(const QString& file, int expected, const QString& of, Findings& findings) {
    const int n = LinesIn(file);
    if (n >= 0 && n != expected)
        findings.Add(
            Course::Shown(file), 0,
            QStringLiteral("%1 lines; %2 has %3").arg(n).arg(Course::Shown(of)).arg(expected));
}

void emptyLines(const QString& file, Findings& findings) {
    const QList<QByteArray> lines = ReadFileLines(file);
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].isEmpty())
            findings.Add(Course::Shown(file), i + 1, QStringLiteral("empty line"));
}

void ranges(const Names& n, const QList<TTimingEntry>& t, Findings& findings) {
    QString error;
    const auto len = WaveLengthMs(n.Sound, error);
    if (!len) {
        findings.Add(Course::Shown(n.Sound), 0, QStringLiteral("not a sound file: %1").arg(error));
        return;
    }
    CheckRanges(Course::Shown(n.Timing), t, *len, findings);
}

template <typename E> QList<TTimingEntry> rangesOf(const QList<E>& entries) {
    QList<TTimingEntry> t;
    for (const E& e : entries)
        t.append(TTimingEntry{e.StartPos, e.EndPos});
    return t;
}

void checkLexic(Course& course, const ItemRef& ref, Findings& findings) {
    const TCourseItem& it = ref.Item;
    if (it.ExerciseKind != ekLexicDemo && it.ExerciseKind != ekLexic) return;
    const bool timed = !it.DataFile4.isEmpty();
    if (!RequireFiles(course, ref, {1, 2}, findings)) return;
    if (timed && !RequireFiles(course, ref, {3, 4}, findings)) return;
    const Names n = resolved(course, it);
    if (!course.FirstTime("lexic:" + n.Main + "|" + n.Second + "|" + n.Timing + "|" + n.Sound))
        return;
    const TLexicData d = ReadLexicFiles(n.Main, n.Second, timed ? n.Timing : QString());
    if (!reportStatus(d.Status, n, findings)) return;
    if (d.Entries.isEmpty()) findings.Add(Course::Shown(n.Main), 0, QStringLiteral("no entries"));
    emptyLines(n.Main, findings);
    emptyLines(n.Second, findings);
    sameCount(n.Second, int(d.Entries.size()), n.Main, findings);
    if (timed) {
        sameCount(n.Timing, int(d.Entries.size()), n.Main, findings);
        ranges(n, rangesOf(d.Entries), findings);
    }
}

// Line of the b-th "#" line (1-based) of an answers file, 0 when there is none.
int blockLine(const QList<QByteArray>& lines, int b) {
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith('#') && --b == 0) return i + 1;
    return 0;
}

void checkQuest(Course& course, const ItemRef& ref, Findings& findings) {
    const TCourseItem& it = ref.Item;
    if (it.ExerciseKind != ekQuestDown && it.ExerciseKind != ekQuestDemo) return;
    const bool timed = !it.DataFile4.isEmpty();
    const bool down = it.ExerciseKind == ekQuestDown;
    if (!RequireFiles(course, ref,
                      down ? std::initializer_list<int>{1, 2} : std::initializer_list<int>{1},
                      findings))
        return;
    if (timed && !RequireFiles(course, ref, {3, 4}, findings)) return;
    const Names n = resolved(course, it);
    const QString key = down ? "quest:" + n.Main + "|" + n.Second : "demo:" + n.Main;
    if (!course.FirstTime(key + "|" + n.Timing + "|" + n.Sound)) return;
    const TQuestData d = down ? ReadQuestDownFiles(n.Main, n.Second, timed ? n.Timing : QString())
                              : ReadQuestDemoFiles(n.Main, timed ? n.Timing : QString());
    if (!reportStatus(d.Status, n, findings)) return;
    if (d.Entries.isEmpty()) findings.Add(Course::Shown(n.Main), 0, QStringLiteral("no questions"));
    emptyLines(n.Main, findings);
    if (down) {
        const QList<QByteArray> ans = ReadFileLines(n.Second);
        for (int q = 0; q < d.Entries.size(); ++q) {
            const int line = blockLine(ans, q + 1);
            if (line == 0)
                findings.Add(
                    Course::Shown(n.Main), q + 1,
                    QStringLiteral("question %1 has no block in the answers file").arg(q + 1));
            else if (d.Entries[q].AnswerCount < 2)
                findings.Add(Course::Shown(n.Second), line,
                             QStringLiteral("question %1 has %2 option(s); it needs 2 to 4")
                                 .arg(q + 1)
                                 .arg(d.Entries[q].AnswerCount));
        }
    }
    if (timed) {
        sameCount(n.Timing, int(d.Entries.size()), n.Main, findings);
        ranges(n, rangesOf(d.Entries), findings);
    }
}

void checkTrFl(Course& course, const ItemRef& ref, Findings& findings) {
    const TCourseItem& it = ref.Item;
    if (it.ExerciseKind != ekQuestTrFl) return;
    if (!RequireFiles(course, ref, {1, 2, 3, 4}, findings)) return;
    const Names n = resolved(course, it);
    if (!course.FirstTime("trfl:" + n.Main + "|" + n.Second + "|" + n.Timing + "|" + n.Sound))
        return;
    const TTrFlData d = ReadTrFlFiles(n.Main, n.Second, n.Timing);
    if (!reportStatus(d.Status, n, findings)) return;
    if (d.Entries.isEmpty()) findings.Add(Course::Shown(n.Main), 0, QStringLiteral("no questions"));
    const QList<QByteArray> lines = ReadFileLines(n.Main);
    for (int i = 0; i < lines.size(); ++i) {
        const qsizetype tab = lines[i].indexOf('\t');
        if (tab <= 0)
            findings.Add(Course::Shown(n.Main), i + 1,
                         QStringLiteral("expected the question, a TAB and the answer flag"));
    }
    sameCount(n.Timing, int(d.Entries.size()), n.Main, findings);
    ranges(n, rangesOf(d.Entries), findings);
}

const Registrar r1(ItemCheck{"lexic", &checkLexic});
const Registrar r2(ItemCheck{"quest", &checkQuest});
const Registrar r3(ItemCheck{"trfl", &checkTrFl});

} // namespace
