// The text lesson files: text, translation, timing, picture schedule,
// comments and the learner timing, cut from one input. Whatever fails, the
// arrays keep their promised sizes; and a learner timing file the writer
// makes for the text read here always reads back with one line per line.
// fuzz-libs: vantrel_text
#include "base/errors.h"
#include "fuzzsupport.h"
#include "text/lessonfiles.h"

namespace {

void CheckLesson(const QList<QByteArray>& p) {
    const QString text = fuzz::Put(QStringLiteral("L.txt"), p[0]);
    const QString trans = fuzz::Put(QStringLiteral("L.tra"), p[1]);
    const QString timing = fuzz::Put(QStringLiteral("L.tim"), p[2]);
    const QString pictures = fuzz::Put(QStringLiteral("L.pic"), p[3]);
    fuzz::Put(QStringLiteral("L.apc"), p[4]);
    fuzz::Put(QStringLiteral("R.txt"), p[5]);
    const TLessonData d =
        ReadWorkTextLesson(text, trans, timing, pictures, fuzz::PathOf(QStringLiteral("R.wav")));
    if (d.N != d.Text.size() || d.Timing.size() != d.N + 1 || d.LearnerTiming.size() != d.N + 1)
        __builtin_trap();
    if (d.Pictures.size() != d.M + 1 || d.M < 0) __builtin_trap();
    if (d.Trans.size() > d.N) __builtin_trap();
    if (d.Error.failed() != !d.ok() || (d.ok() && !d.Error.describe().isEmpty())) __builtin_trap();
    if (!d.ok() && (d.Error.Line < 0 || d.Error.describe().isEmpty())) __builtin_trap();
    // A text that could not be read leaves nothing to work with.
    if (p[0].isNull() && (d.N != 0 || d.ok())) __builtin_trap();
    for (qint32 t : {qint32(-1), qint32(0), qint32(1), qint32(1000), qint32(0x7fffffff)}) {
        const int k = FindPicture(d.Pictures, t);
        if (k < 0 || k > d.M) __builtin_trap();
    }
    for (const TCommentLine& c : d.Comments)
        if (!HasComment(d.Comments, c.SintagmNo)) __builtin_trap();
}

void CheckWriter(const QByteArray& textBytes, const QByteArray& steps) {
    if (textBytes.isNull()) return;
    TLessonReadError err;
    const QString text = fuzz::Put(QStringLiteral("W.txt"), textBytes);
    const QStringList lines = ReadLessonLines(text, -1, err);
    if (err.failed()) return;
    const QString out = fuzz::PathOf(QStringLiteral("W.out"));
    QFile::remove(out);
    {
        TLearnerTimingWriter w(out, lines);
        w.Begin();
        qint64 pos = 0;
        for (char c : steps) {
            pos += quint8(c);
            w.SintagmEnd(pos);
            if (w.LinesWritten() > lines.size()) __builtin_trap();
        }
        w.Finish(pos + 1);
        if (!w.Finished() || w.OpenLine() != 0 || w.LinesWritten() != lines.size())
            __builtin_trap();
    }
    TLessonReadError back;
    const QList<TTimingEntry> t = ReadTimingFile(out, int(lines.size()), back);
    if (back.failed() || t.size() != lines.size() + 1) __builtin_trap();
    qint64 last = 0;
    for (int i = 1; i <= lines.size(); ++i) {
        if (t[i].EndPos == 0 && t[i].StartPos == 0) continue; // silent line
        if (t[i].StartPos < last || t[i].EndPos < t[i].StartPos) __builtin_trap();
        last = t[i].EndPos;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> p = fuzz::Parts(data, size, 7);
    try {
        CheckLesson(p);
        // Two single-line parsers, on every line of their files.
        for (const QByteArray& line : p[3].split('\n')) {
            try {
                ParsePictureLine(line);
            } catch (const VError&) {
            }
            try {
                ParseCommentLine(line);
            } catch (const VError&) {
            }
        }
        CheckWriter(p[0], p[6].left(4096));
    } catch (const VError&) {
        __builtin_trap(); // the readers report through their error record
    }
    return 0;
}
