// --dump lexic EXPR TRANS [TIMING]: the entries of a vocabulary exercise as
// the drill reads them.
#include "check/registry.h"

#include "drill/lexicfiles.h"

#include <QJsonArray>

namespace {

int dumpLexic(const QStringList& args, QJsonObject& out, QString& usage) {
    if (args.size() < 2 || args.size() > 3) {
        usage =
            QStringLiteral("an expressions file, a translations file and an optional timing file");
        return 64;
    }
    const TLexicData d = ReadLexicFiles(args[0], args[1], args.value(2));
    QJsonArray entries;
    for (const TLexicEntry& e : d.Entries) {
        QJsonObject o;
        o.insert("Expression", e.Expression);
        o.insert("Translation", e.Translation);
        o.insert("StartPos", e.StartPos);
        o.insert("EndPos", e.EndPos);
        entries.append(o);
    }
    out.insert("count", int(entries.size()));
    out.insert("entries", entries);
    if (!d.Status.ok()) {
        out.insert("error", d.Status.Error);
        return 2;
    }
    return 0;
}

const check::Registrar reg(check::DumpKind{"lexic", "lexic EXPR TRANS [TIMING]", &dumpLexic});

} // namespace
