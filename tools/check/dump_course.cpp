// --dump course FILE: the items of a course structure file.
#include "check/registry.h"

#include "base/errors.h"
#include "base/textfile.h"

#include <QJsonArray>

namespace {

QJsonObject itemJson(const TCourseItem& it) {
    QJsonObject o;
    o.insert("Caption", it.Caption);
    o.insert("IsChild", it.IsChild);
    o.insert("RefIndex", it.RefIndex);
    o.insert("InfoKind", int(it.InfoKind));
    o.insert("InfoFile", it.InfoFile);
    o.insert("ExerciseKind", int(it.ExerciseKind));
    o.insert("DataFile1", it.DataFile1);
    o.insert("DataFile2", it.DataFile2);
    o.insert("DataFile3", it.DataFile3);
    o.insert("DataFile4", it.DataFile4);
    o.insert("DataFile5", it.DataFile5);
    return o;
}

int dumpCourse(const QStringList& args, QJsonObject& out, QString& usage) {
    if (args.size() != 1) {
        usage = QStringLiteral("one course structure file");
        return 64;
    }
    QJsonArray items;
    try {
        const CourseTable t = ReadCourseFile(args[0]);
        for (int i = 1; i < t.size(); ++i)
            items.append(itemJson(t[i]));
        out.insert("count", int(t.size() - 1));
        out.insert("items", items);
        return 0;
    } catch (const VError& e) {
        // The reader is all or nothing; show the lines that do parse before the failure.
        try {
            LineReader r(ReadWholeFile(args[0]));
            QByteArray line;
            while (r.next(line))
                items.append(itemJson(ParseCourseLine(line, args[0], r.lineNumber())));
        } catch (const VError&) {
        }
        out.insert("count", int(items.size()));
        out.insert("items", items);
        out.insert("error", e.text());
        return 2;
    }
}

const check::Registrar reg(check::DumpKind{"course", "course FILE", &dumpCourse});

} // namespace
