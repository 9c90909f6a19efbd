// --dump questdown QUEST ANSWERS [TIMING]: multiple-choice questions with
// their answer options as the questions window reads them.
#include "check/registry.h"

#include "drill/questfiles.h"

#include <QJsonArray>

namespace {

int dumpQuestDown(const QStringList& args, QJsonObject& out, QString& usage) {
    if (args.size() < 2 || args.size() > 3) {
        usage = QStringLiteral("a questions file, an answers file and an optional timing file");
        return 64;
    }
    const TQuestData d = ReadQuestDownFiles(args[0], args[1], args.value(2));
    QJsonArray questions;
    for (const TQuestEntry& e : d.Entries) {
        QJsonObject o;
        o.insert("Quest", e.Quest);
        o.insert("AnswerCount", e.AnswerCount);
        QJsonArray answers;
        for (int k = 0; k < e.AnswerCount && k < QuestOptionsMax; ++k)
            answers.append(e.Answers[k]);
        o.insert("Answers", answers);
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

const check::Registrar reg(check::DumpKind{"questdown", "questdown QUEST ANSWERS [TIMING]",
                                           &dumpQuestDown});

} // namespace
