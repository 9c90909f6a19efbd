// vantrel-check --audio: every timing file against its recording. Aligning
// takes a second or so a lesson, so this is a mode of its own and not part
// of the plain check.
//   vantrel-check --audio [COURSE_DIR]          the text lessons of a course
//   vantrel-check --audio TEXT SOUND TIMING...   given lessons
// Findings as the plain check prints them; exit 0 none, 1 some, 2 the
// directory cannot be read, 64 a wrong command line.
#include "check/registry.h"

#include "align/audiocheck.h"
#include "base/errors.h"
#include "base/paths.h"
#include "text/lessonfiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

using namespace check;

void checkLesson(const QString& text, const QString& sound, const QString& timing,
                 Findings& findings) {
    TLessonReadError err;
    const QStringList lines = ReadLessonLines(text, -1, err);
    if (err.failed()) return findings.Add(Course::Shown(err.File), err.Line, err.Reason);
    const QList<TTimingEntry> entries = ReadTimingFile(timing, int(lines.size()), err);
    if (err.failed()) return findings.Add(Course::Shown(err.File), err.Line, err.Reason);
    TAlignParams params;
    TSound rec;
    try {
        rec = ReadSoundMono(sound, params.RateHz, &params.OriginalRate);
    } catch (const VError& e) {
        return findings.Add(Course::Shown(sound), 0, e.text());
    }
    TAlignment aligned;
    bool haveAligned = true;
    try {
        aligned = AlignLesson(lines, rec, params);
    } catch (const VError& e) {
        findings.Add(Course::Shown(text), 0, QStringLiteral("cannot align: %1").arg(e.text()));
        haveAligned = false;
    }
    for (const TAudioFinding& f :
         CheckTimingAudio(lines, entries, rec, haveAligned ? &aligned : nullptr))
        findings.Add(Course::Shown(timing), f.Line, f.Message);
}

void checkCourse(Course& course, Findings& findings) {
    for (int m = 0; m < 4; ++m) {
        if (!course.Loaded[m]) continue;
        for (int i = 1; i < course.Tables[m].size(); ++i) {
            const TCourseItem& it = course.Tables[m][i];
            if (!IsTextKind(it.ExerciseKind)) continue;
            const QString text = course.Resolve(it.DataFile1), sound = course.Resolve(it.DataFile3),
                          timing = course.Resolve(it.DataFile4);
            // Missing files are the plain check's findings.
            if (it.DataFile1.isEmpty() || it.DataFile3.isEmpty() || it.DataFile4.isEmpty() ||
                !FileExists(text) || !FileExists(sound) || !FileExists(timing))
                continue;
            if (!course.FirstTime("audio:" + text + "|" + sound + "|" + timing)) continue;
            checkLesson(text, sound, timing, findings);
        }
    }
}

int runAudio(const QStringList& args, QTextStream& out, QTextStream& err) {
    Findings findings;
    if (args.size() <= 1) {
        const QString dir = args.isEmpty() ? QStringLiteral(".") : args[0];
        const QFileInfo info(dir);
        if (!info.isDir() || !info.isReadable() || !QDir::setCurrent(dir)) {
            err << "vantrel-check: cannot read the directory " << dir << "\n";
            return 2;
        }
        Course course;
        LoadStructure(course, findings);
        checkCourse(course, findings);
    } else if (args.size() % 3 == 0) {
        for (int i = 0; i < args.size(); i += 3) {
            bool present = true;
            for (int k = 0; k < 3; ++k)
                if (!FileExists(args[i + k])) {
                    findings.Add(Course::Shown(args[i + k]), 0, QStringLiteral("File not found"));
                    present = false;
                }
            if (present) checkLesson(args[i], args[i + 1], args[i + 2], findings);
        }
    } else {
        err << "usage: vantrel-check --audio [COURSE_DIR | TEXT SOUND TIMING...]\n";
        return 64;
    }
    for (const QString& l : findings.Lines())
        out << l << "\n";
    return findings.Empty() ? 0 : 1;
}

const Registrar reg(Command{"--audio", "--audio [COURSE_DIR | TEXT SOUND TIMING...]", &runAudio,
                            "check timing files against their recordings: ranges that start or end "
                            "in loud speech, cover mostly silence, or disagree with vantrel-align by "
                            "more than 250 ms"});

} // namespace
