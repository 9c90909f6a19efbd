// Text lesson files (kinds 4, 5, 8, 11-15): lesson text, translation, timing,
// picture schedule and comment file, and the pictures they name.
#include "check/lessoncheck.h"
#include "check/registry.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/numconv.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "base/timingline.h"

#include <QImageReader>

namespace {

using namespace check;

bool isTextKind(int k) {
    return k == 4 || k == 5 || k == 8 || (k >= 11 && k <= 15);
}

// Pictures of "#@" lines: the text view looks for N, "r"N and "g"N in the
// current directory, the course directory.
void checkIllustration(const QString& file, int line, const QByteArray& name, Findings& findings) {
    QStringList missing;
    for (const char* prefix : {"", "r", "g"}) {
        const QString pic = QString::fromLatin1(prefix) + DecodeCp1251(name);
        if (!FileExists(pic) || !QImageReader(NativePath(pic)).canRead()) missing.append(pic);
    }
    if (!missing.isEmpty())
        findings.Add(
            file, line,
            QStringLiteral("picture(s) not found or not readable: %1").arg(missing.join(", ")));
}

QList<QByteArray> readLines(const QString& path, Findings& findings) {
    try {
        return ReadFileLines(path);
    } catch (const VError& e) {
        findings.Add(Course::Shown(path), 0, e.text());
        return {};
    }
}

void checkLessonText(Course& course, const ItemRef& ref, Findings& findings) {
    const TCourseItem& it = ref.Item;
    if (!isTextKind(it.ExerciseKind)) return;
    if (!RequireFiles(course, ref, {1, 2, 3, 4, 5}, findings)) return;
    const QString text = course.Resolve(it.DataFile1), trans = course.Resolve(it.DataFile2),
                  sound = course.Resolve(it.DataFile3), timing = course.Resolve(it.DataFile4),
                  pics = course.Resolve(it.DataFile5);
    if (!course.FirstTime("text:" + text + "|" + trans + "|" + sound + "|" + timing + "|" + pics))
        return;
    const QString shownText = Course::Shown(text), shownTrans = Course::Shown(trans),
                  shownTiming = Course::Shown(timing);

    const QList<QByteArray> t = readLines(text, findings);
    const int n = int(t.size());
    if (n == 0) {
        findings.Add(shownText, 0, QStringLiteral("the lesson text is empty"));
        return;
    }
    for (int i = 0; i < n; ++i) {
        const QByteArray& l = t[i];
        if (l.isEmpty()) {
            findings.Add(shownText, i + 1, QStringLiteral("empty line"));
        } else if (l.startsWith("#@")) {
            checkIllustration(shownText, i + 1, l.mid(2), findings);
        } else if (!l.startsWith('#')) {
            if (l.startsWith(' ') || l.endsWith(' ') || l.contains("  ") || l.contains('\t'))
                findings.Add(
                    shownText, i + 1,
                    QStringLiteral("the words of a sintagm are separated by single blanks"));
        }
    }
    if (t[0].size() < 2 || t[0][0] != '#' || t[0][1] == '@')
        findings.Add(shownText, 1, QStringLiteral("line 1 must be a \"#\" title line"));

    const QList<QByteArray> tr = readLines(trans, findings);
    if (!tr.isEmpty() && tr.size() != n)
        findings.Add(shownTrans, 0,
                     QStringLiteral("%1 lines; the lesson text has %2").arg(tr.size()).arg(n));
    for (int i = 0; i < tr.size(); ++i) {
        if (tr[i].isEmpty()) {
            findings.Add(shownTrans, i + 1, QStringLiteral("empty line"));
            continue;
        }
        if (i >= n || t[i].isEmpty()) continue;
        if (tr[i].startsWith('#') != t[i].startsWith('#') || (tr[i] == "#") != (t[i] == "#") ||
            (tr[i].startsWith("#@") != t[i].startsWith("#@")))
            findings.Add(
                shownTrans, i + 1,
                QStringLiteral("the line is not of the same kind as line %1 of the lesson text")
                    .arg(i + 1));
        else if (tr[i].startsWith("#@") && tr[i] != t[i])
            checkIllustration(shownTrans, i + 1, tr[i].mid(2), findings);
    }

    QList<TTimingEntry> ranges;
    const QList<QByteArray> tm = readLines(timing, findings);
    if (!tm.isEmpty() && tm.size() != n)
        findings.Add(shownTiming, 0,
                     QStringLiteral("%1 lines; the lesson text has %2").arg(tm.size()).arg(n));
    for (int i = 0; i < tm.size(); ++i) {
        std::optional<TTimingEntry> parsed;
        try {
            parsed = ParseTimingLine(tm[i], true);
        } catch (const VError& err) {
            findings.Add(shownTiming, i + 1, err.text());
        }
        // A line that does not parse is reported once, not again as a range.
        ranges.append(parsed.value_or(TTimingEntry{}));
        if (!parsed) continue;
        const TTimingEntry e = *parsed;
        if (i >= n || t[i].isEmpty() || tm[i].isEmpty()) continue;
        if (t[i].startsWith('#') && (tm[i][0] != '#'))
            findings.Add(
                shownTiming, i + 1,
                QStringLiteral("line %1 of the lesson text has no sound; expected \"#\\t#\"")
                    .arg(i + 1));
        else if (!t[i].startsWith('#') && e.EndPos == 0)
            findings.Add(shownTiming, i + 1,
                         QStringLiteral("sintagm %1 has no range in the recording").arg(i + 1));
    }
    QString error;
    const auto len = WaveLengthMs(sound, error);
    if (!len)
        findings.Add(Course::Shown(sound), 0, QStringLiteral("not a sound file: %1").arg(error));
    else
        CheckRanges(shownTiming, ranges, *len, findings);

    // Picture schedule: "from TAB to TAB picture", pictures below the data root.
    const QList<QByteArray> ps = readLines(pics, findings);
    if (ps.isEmpty() && FileExists(pics))
        findings.Add(Course::Shown(pics), 0, QStringLiteral("the picture schedule is empty"));
    for (int i = 0; i < ps.size(); ++i) {
        const QByteArray& l = ps[i];
        const QString shown = Course::Shown(pics);
        if (l.isEmpty()) {
            findings.Add(shown, i + 1, QStringLiteral("empty line"));
            continue;
        }
        if (l[0] == '#') continue;
        const qsizetype t1 = l.indexOf('\t');
        const qsizetype t2 = t1 < 0 ? -1 : l.indexOf('\t', t1 + 1);
        const auto from = t1 < 0 ? std::nullopt : TryStrToInt(QByteArrayView(l).first(t1));
        const auto to =
            t2 < 0 ? std::nullopt : TryStrToInt(QByteArrayView(l).sliced(t1 + 1, t2 - t1 - 1));
        if (!from || !to) {
            findings.Add(shown, i + 1, QStringLiteral("expected from, TAB, to, TAB, picture file"));
            continue;
        }
        if (*from >= *to)
            findings.Add(shown, i + 1,
                         QStringLiteral("from %1 is not below to %2").arg(*from).arg(*to));
        const QString pic = course.DataRoot + DecodeCp1251(l.mid(t2 + 1));
        if (!FileExists(pic) || !QImageReader(NativePath(pic)).canRead())
            findings.Add(
                shown, i + 1,
                QStringLiteral("picture %1 not found or not readable").arg(Course::Shown(pic)));
    }

    // Comment file: the lesson text's name ending in "apc"; optional.
    const QString apc = ReplaceLast3(text, QStringLiteral("apc"));
    if (!FileExists(apc)) return;
    const QList<QByteArray> cs = readLines(apc, findings);
    for (int i = 0; i < cs.size(); ++i) {
        const QString shown = Course::Shown(apc);
        if (cs[i].isEmpty()) {
            findings.Add(shown, i + 1, QStringLiteral("empty line"));
            continue;
        }
        const auto no = TryStrToInt(QByteArrayView(cs[i]).first(qMin<qsizetype>(3, cs[i].size())));
        if (!no)
            findings.Add(shown, i + 1,
                         QStringLiteral("the first three characters are not a line number"));
        else if (*no < 1 || *no > n)
            findings.Add(shown, i + 1,
                         QStringLiteral("comment for line %1; the lesson text has %2 lines")
                             .arg(*no)
                             .arg(n));
    }
}

const Registrar reg(ItemCheck{"text", &checkLessonText});

} // namespace
