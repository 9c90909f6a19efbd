// Text lesson files (kinds 4, 5, 8, 11-15): lesson text, translation, timing,
// picture schedule and comment file, and the pictures they name. The files go
// through the text windows' own readers, so what a window accepts is what the
// checker accepts.
#include "check/lessoncheck.h"
#include "check/registry.h"

#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "text/lessonfiles.h"

#include <QImageReader>
#include <QSet>

namespace {

using namespace check;

void report(const TLessonReadError& err, Findings& findings) {
    findings.Add(Course::Shown(err.File), err.Line, err.Reason);
}

// A reader stops at the first bad line, as a window must; an author wants to
// hear of every bad line. From the line the reader stopped at, the lines go
// one by one through the reader's own line parser: `take(i, bytes)` parses
// line i and throws VError for a bad one. Bad lines land in `bad`. False when
// the file could not be read at all (reported).
template <typename Take>
bool readOn(const TLessonReadError& err, Take take, QSet<int>& bad, Findings& findings) {
    if (!err.failed()) return true;
    if (err.Line == 0) {
        report(err, findings);
        return false;
    }
    QList<QByteArray> lines;
    try {
        lines = ReadFileLines(err.File);
    } catch (const VError& e) { // gone since the reader read it
        findings.Add(Course::Shown(err.File), 0, e.text());
        return false;
    }
    for (int i = err.Line; i <= lines.size(); ++i) {
        try {
            take(i, lines[i - 1]);
        } catch (const VError& e) {
            findings.Add(Course::Shown(err.File), i, e.text());
            bad.insert(i);
        }
    }
    return true;
}

// A number that is not one: the reader's reason with the form the line should have.
template <typename Parse> auto withForm(Parse parse, const char* form) {
    return [parse, form](const QByteArray& line) {
        try {
            return parse(line);
        } catch (const ConvertError& e) {
            throw VError(QStringLiteral("%1 (%2)").arg(QLatin1String(form), e.text()));
        }
    };
}

bool readablePicture(const QString& name) {
    return FileExists(name) && QImageReader(NativePath(name)).canRead();
}

// Pictures of "#@" lines: the text view looks for N, "r"N and "g"N in the
// current directory, the course directory.
void checkIllustration(const QString& file, int line, const QString& name, Findings& findings) {
    QStringList missing;
    for (const char* prefix : {"", "r", "g"}) {
        const QString pic = QLatin1String(prefix) + name;
        if (!readablePicture(pic)) missing.append(pic);
    }
    if (!missing.isEmpty())
        findings.Add(
            file, line,
            QStringLiteral("picture(s) not found or not readable: %1").arg(missing.join(", ")));
}

bool isSintagm(const QString& line) {
    return !line.startsWith(QLatin1Char('#'));
}

void checkTextLines(const QString& shown, const QStringList& t, Findings& findings) {
    for (int i = 0; i < t.size(); ++i) {
        const QString& l = t[i];
        if (l.isEmpty())
            findings.Add(shown, i + 1, QStringLiteral("empty line"));
        else if (l.startsWith(QLatin1String("#@")))
            checkIllustration(shown, i + 1, l.mid(2), findings);
        else if (isSintagm(l) && (l.startsWith(' ') || l.endsWith(' ') ||
                                  l.contains(QLatin1String("  ")) || l.contains('\t')))
            findings.Add(shown, i + 1,
                         QStringLiteral("the words of a sintagm are separated by single blanks"));
    }
    if (t[0].size() < 2 || isSintagm(t[0]) || t[0][1] == '@')
        findings.Add(shown, 1, QStringLiteral("line 1 must be a \"#\" title line"));
}

void checkTranslation(const QString& trans, const QStringList& t, Findings& findings) {
    TLessonReadError err;
    const QStringList tr = ReadLessonLines(trans, -1, err);
    if (err.failed()) return report(err, findings);
    const QString shown = Course::Shown(trans);
    const int n = int(t.size());
    if (!tr.isEmpty() && tr.size() != n)
        findings.Add(shown, 0,
                     QStringLiteral("%1 lines; the lesson text has %2").arg(tr.size()).arg(n));
    for (int i = 0; i < tr.size(); ++i) {
        const QString& l = tr[i];
        if (l.isEmpty()) {
            findings.Add(shown, i + 1, QStringLiteral("empty line"));
            continue;
        }
        if (i >= n || t[i].isEmpty()) continue;
        const auto ill = QLatin1String("#@");
        if (isSintagm(l) != isSintagm(t[i]) || (l == "#") != (t[i] == "#") ||
            l.startsWith(ill) != t[i].startsWith(ill))
            findings.Add(
                shown, i + 1,
                QStringLiteral("the line is not of the same kind as line %1 of the lesson text")
                    .arg(i + 1));
        else if (l.startsWith(ill) && l != t[i])
            checkIllustration(shown, i + 1, l.mid(2), findings);
    }
}

void checkTiming(const QString& timing, const QString& sound, const QStringList& t,
                 Findings& findings) {
    const int n = int(t.size());
    const int lines = LinesIn(timing);
    const QString shown = Course::Shown(timing);
    if (lines >= 0 && lines != n)
        findings.Add(shown, 0,
                     QStringLiteral("%1 lines; the lesson text has %2").arg(lines).arg(n));
    // Read as far as the file goes: a longer file is the finding above, not a
    // stop of the reading.
    TLessonReadError err;
    QList<TTimingEntry> entries = ReadTimingFile(timing, qMax(n, lines), err);
    QSet<int> bad;
    const auto parse = withForm([](const QByteArray& l) { return ParseTimingLine(l, true); },
                                "expected start, TAB, end, or \"#\\t#\"");
    const auto take = [&](int i, const QByteArray& l) { entries[i] = parse(l); };
    if (!readOn(err, take, bad, findings)) return;
    for (int i = 1; i <= qMin(n, lines); ++i) {
        const TTimingEntry& e = entries[i];
        if (bad.contains(i) || t[i - 1].isEmpty()) continue;
        if (!isSintagm(t[i - 1]) && (e.StartPos != 0 || e.EndPos != 0))
            findings.Add(
                shown, i,
                QStringLiteral("line %1 of the lesson text has no sound; expected \"#\\t#\"")
                    .arg(i));
        else if (isSintagm(t[i - 1]) && e.EndPos == 0)
            findings.Add(shown, i,
                         QStringLiteral("sintagm %1 has no range in the recording").arg(i));
    }
    QString error;
    const auto len = WaveLengthMs(sound, error);
    if (!len)
        findings.Add(Course::Shown(sound), 0, QStringLiteral("not a sound file: %1").arg(error));
    else
        CheckRanges(shown, entries.mid(1, qMax(0, lines)), *len, findings);
}

// "from TAB to TAB picture", pictures below the data root.
void checkPictures(const Course& course, const QString& pics, Findings& findings) {
    TLessonReadError err;
    QList<TPictureEntry> entries = ReadPictureSchedule(pics, err);
    QSet<int> bad;
    const auto parse = withForm(&ParsePictureLine, "expected from, TAB, to, TAB, picture file");
    const auto take = [&](int i, const QByteArray& l) { entries[i] = parse(l); };
    if (!readOn(err, take, bad, findings)) return;
    const QString shown = Course::Shown(pics);
    if (entries.size() == 1)
        findings.Add(shown, 0, QStringLiteral("the picture schedule is empty"));
    for (int i = 1; i < entries.size(); ++i) {
        const TPictureEntry& e = entries[i];
        if (bad.contains(i) || (e.PictureFile.isEmpty() && e.FromPos == 0 && e.ToPos == 0))
            continue; // a "#" line
        if (e.FromPos >= e.ToPos)
            findings.Add(shown, i,
                         QStringLiteral("from %1 is not below to %2").arg(e.FromPos).arg(e.ToPos));
        const QString pic = course.DataRoot + e.PictureFile;
        if (!readablePicture(pic))
            findings.Add(
                shown, i,
                QStringLiteral("picture %1 not found or not readable").arg(Course::Shown(pic)));
    }
}

// The lesson text's name ending in "apc"; optional.
void checkComments(const QString& text, int n, Findings& findings) {
    const QString apc = CommentFileName(text);
    TLessonReadError err;
    QList<TCommentLine> cs = ReadComments(apc, err); // comment k on line k + 1
    QSet<int> bad;
    const auto parse =
        withForm(&ParseCommentLine, "expected a line number in the first three characters");
    const auto take = [&](int, const QByteArray& l) {
        cs.append(TCommentLine{}); // a bad line keeps its slot
        cs.last() = parse(l);
    };
    if (!readOn(err, take, bad, findings)) return;
    for (int i = 1; i <= cs.size(); ++i) {
        const int no = cs[i - 1].SintagmNo;
        if (!bad.contains(i) && (no < 1 || no > n))
            findings.Add(
                Course::Shown(apc), i,
                QStringLiteral("comment for line %1; the lesson text has %2 lines").arg(no).arg(n));
    }
}

void checkLessonText(Course& course, const ItemRef& ref, Findings& findings) {
    const TCourseItem& it = ref.Item;
    if (!IsTextKind(it.ExerciseKind)) return;
    if (!RequireFiles(course, ref, {1, 2, 3, 4, 5}, findings)) return;
    const QString text = course.Resolve(it.DataFile1), trans = course.Resolve(it.DataFile2),
                  sound = course.Resolve(it.DataFile3), timing = course.Resolve(it.DataFile4),
                  pics = course.Resolve(it.DataFile5);
    if (!course.FirstTime("text:" + text + "|" + trans + "|" + sound + "|" + timing + "|" + pics))
        return;

    TLessonReadError err;
    const QStringList t = ReadLessonLines(text, -1, err);
    if (err.failed()) return report(err, findings);
    if (t.isEmpty())
        return findings.Add(Course::Shown(text), 0, QStringLiteral("the lesson text is empty"));
    checkTextLines(Course::Shown(text), t, findings);
    checkTranslation(trans, t, findings);
    checkTiming(timing, sound, t, findings);
    checkPictures(course, pics, findings);
    checkComments(text, int(t.size()), findings);
}

const Registrar reg(ItemCheck{"text", &checkLessonText});

} // namespace
