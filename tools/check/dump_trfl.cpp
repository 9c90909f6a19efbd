// --dump trfl QUEST ANSWERS [TIMING]: true/false questions as their window
// reads them.
#include "check/registry.h"

#include "drill/questfiles.h"

#include <QJsonArray>

namespace {

int dumpTrFl(const QStringList& args, QJsonObject& out, QString& usage) {
    if (args.size() < 2 || args.size() > 3) {
        usage = QStringLiteral("a questions file, an answers file and an optional timing file");
        return 64;
    }
    const TTrFlData d = ReadTrFlFiles(args[0], args[1], args.value(2));
    QJsonArray questions;
    for (const TTrFlEntry& e : d.Entries) {
        QJsonObject o;
        o.insert("Quest", e.Quest);
        o.insert("YesIsRight", e.YesIsRight);
        o.insert("StartPos", e.StartPos);
        o.insert("EndPos", e.EndPos);
        questions.append(o);
    }
    out.insert("count", int(questions.size()));
    out.insert("questions", questions);
    if (!d.Status.ok()) {
        out.insert("error", d.Status.Error);
        return 2;
    }
    return 0;
}

const check::Registrar reg(check::DumpKind{"trfl", "trfl QUEST ANSWERS [TIMING]", &dumpTrFl});

} // namespace
