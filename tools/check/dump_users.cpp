// --dump users FILE: the learner records of a learner list (Users.eng).
#include "check/registry.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "learners/learnertable.h"

#include <QJsonArray>

namespace {

int dumpUsers(const QStringList& args, QJsonObject& out, QString& usage) {
    if (args.size() != 1) {
        usage = QStringLiteral("a learner list file");
        return 64;
    }
    LearnerTable t;
    QString error;
    try {
        t.Load(args[0]);
    } catch (const VError& e) {
        error = e.text();
    }
    QJsonArray users;
    for (const TUserRec& r : t.Users) {
        QJsonObject o;
        o.insert("UserName", r.UserName);
        o.insert("Mode", DecodeCp1251(QByteArrayView(&r.Mode, 1)));
        o.insert("Password", r.Password);
        o.insert("ReportDir", r.ReportDir);
        o.insert("ReportFile", r.ReportFile);
        users.append(o);
    }
    out.insert("count", int(users.size()));
    out.insert("users", users);
    if (!error.isEmpty()) {
        out.insert("error", error);
        return 2;
    }
    return 0;
}

const check::Registrar reg(check::DumpKind{"users", "users FILE", &dumpUsers});

} // namespace
