// --dump timing FILE, --dump pictures FILE, --dump comments FILE: the text
// lesson files as the text windows read them.
#include "check/registry.h"

#include "base/paths.h"
#include "base/textfile.h"
#include "text/lessonfiles.h"

#include <QJsonArray>

namespace {

// Entries read before a failure: up to the line before the failing one.
int readCount(const TLessonReadError& err, int lines) {
    if (!err.failed()) return lines;
    return err.Line > 0 ? qMin(lines, err.Line - 1) : 0;
}

int finish(QJsonObject& out, const char* key, const QJsonArray& a, const TLessonReadError& err) {
    out.insert("count", int(a.size()));
    out.insert(QLatin1String(key), a);
    if (err.failed()) {
        out.insert("error", err.Reason);
        return 2;
    }
    return 0;
}

int oneFile(const QStringList& args, QString& usage) {
    if (args.size() != 1) {
        usage = QStringLiteral("one file");
        return 64;
    }
    return 0;
}

int lineCount(const QString& file, TLessonReadError& err) {
    try {
        return CountFileLines(NativePath(file));
    } catch (const VError& e) {
        err.File = file;
        err.Reason = e.text();
        return 0;
    }
}

int dumpTiming(const QStringList& args, QJsonObject& out, QString& usage) {
    if (int r = oneFile(args, usage)) return r;
    TLessonReadError err;
    const int n = lineCount(args[0], err);
    QList<TTimingEntry> t;
    if (!err.failed()) t = ReadTimingFile(args[0], n, err);
    QJsonArray a;
    const int upto = readCount(err, n);
    for (int i = 1; i <= upto && i < t.size(); ++i)
        a.append(QJsonObject{{"StartPos", t[i].StartPos}, {"EndPos", t[i].EndPos}});
    return finish(out, "entries", a, err);
}

int dumpPictures(const QStringList& args, QJsonObject& out, QString& usage) {
    if (int r = oneFile(args, usage)) return r;
    TLessonReadError err;
    const QList<TPictureEntry> p = ReadPictureSchedule(args[0], err);
    QJsonArray a;
    const int upto = readCount(err, int(p.size()) - 1);
    for (int i = 1; i <= upto && i < p.size(); ++i)
        a.append(QJsonObject{
            {"FromPos", p[i].FromPos}, {"ToPos", p[i].ToPos}, {"PictureFile", p[i].PictureFile}});
    return finish(out, "entries", a, err);
}

int dumpComments(const QStringList& args, QJsonObject& out, QString& usage) {
    if (int r = oneFile(args, usage)) return r;
    TLessonReadError err;
    if (!FileExists(args[0])) {
        err.File = args[0];
        err.Reason = QStringLiteral("File not found");
    }
    QList<TCommentLine> c;
    if (!err.failed()) c = ReadComments(args[0], err);
    QJsonArray a;
    for (const TCommentLine& l : c) a.append(QJsonObject{{"SintagmNo", l.SintagmNo}, {"Text", l.Text}});
    return finish(out, "comments", a, err);
}

const check::Registrar regTiming(check::DumpKind{"timing", "timing FILE", &dumpTiming});
const check::Registrar regPictures(check::DumpKind{"pictures", "pictures FILE", &dumpPictures});
const check::Registrar regComments(check::DumpKind{"comments", "comments FILE", &dumpComments});

} // namespace
