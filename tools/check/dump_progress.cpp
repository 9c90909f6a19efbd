// --dump progress FILE MODE: the records of a progress file, as many as the
// work mode's structure file in the current directory has items.
#include "check/registry.h"

#include "base/errors.h"
#include "base/paths.h"
#include "course/progress.h"

#include <QFileInfo>

#include <QJsonArray>

namespace {

int dumpProgress(const QStringList& args, QJsonObject& out, QString& usage) {
    if (args.size() != 2 || args[1].size() != 1 || !ValidMode(args[1][0].toLatin1())) {
        usage = QStringLiteral("a progress file and a work mode A..D");
        return 64;
    }
    const char mode = args[1][0].toLatin1();
    ProgressTable t;
    QString error;
    try {
        CourseTable tables[4];
        tables[mode - 'A'] = ReadCourseFile(CourseFileName(mode));
        SetCourseTables(tables);
        ReadProgress(args[0], mode, t);
    } catch (const VError& e) {
        error = e.text();
    }
    QJsonArray recs;
    // A failed read keeps the records before the end of the file; the slots
    // after them were never filled.
    int have = t.Count;
    if (!error.isEmpty()) {
        const qint64 size = QFileInfo(NativePath(args[0])).size();
        have = int(qBound<qint64>(0, size / kProgressRecSize - 1, qint64(t.Count)));
    }
    for (int k = 1; k <= have && k < t.Recs.size(); ++k) {
        QJsonObject o;
        o.insert("Done", int(t[k].Done));
        o.insert("Score", t[k].Score);
        o.insert("RecordFile", t[k].RecordFile);
        recs.append(o);
    }
    out.insert("count", int(recs.size()));
    // Fewer than count: the items after them were added to the course later.
    if (t.RecordsInFile >= 0) out.insert("recordsInFile", t.RecordsInFile);
    out.insert("records", recs);
    if (!error.isEmpty()) {
        out.insert("error", error);
        return 2;
    }
    return 0;
}

const check::Registrar reg(check::DumpKind{"progress", "progress FILE MODE", &dumpProgress});

} // namespace
