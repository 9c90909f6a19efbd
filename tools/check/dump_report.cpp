// --dump report USERS_FILE INDEX: the report lines of one learner of a
// learner list, from the learner's progress file and the structure file of
// the learner's work mode in the current directory.
#include "check/registry.h"

#include "base/errors.h"
#include "base/numconv.h"
#include "learners/learnerprogress.h"
#include "learners/learnertable.h"
#include "learners/reportline.h"

#include <QJsonArray>

namespace {

int dumpReport(const QStringList& args, QJsonObject& out, QString& usage) {
    const std::optional<qint32> n = args.size() == 2 ? TryStrToInt(args[1]) : std::nullopt;
    if (!n || *n < 0) {
        usage = QStringLiteral("a learner list file and a learner index from 0");
        return 64;
    }
    const int index = *n;
    QJsonArray lines;
    QString error;
    try {
        LearnerTable users;
        users.Load(args[0]);
        if (index > users.LastUser())
            throw VError(QStringLiteral("No learner %1 in %2").arg(index).arg(args[0]));
        const TUserRec& u = users.Users[index];
        if (!ValidMode(u.Mode))
            throw VError(QStringLiteral("Learner %1 has no valid work mode").arg(index));
        const CourseTable course = ReadCourseFile(CourseFileName(u.Mode));
        ProgressTable t;
        ReadLearnerProgress(u.ReportFile, int(course.size()) - 1, t);
        for (int i = 1; i <= t.Count; ++i)
            if (auto line = ReportLine(course[i], t[i])) lines.append(*line);
    } catch (const VError& e) {
        error = e.text();
    }
    out.insert("lines", lines);
    if (!error.isEmpty()) {
        out.insert("error", error);
        return 2;
    }
    return 0;
}

const check::Registrar reg(check::DumpKind{"report", "report USERS_FILE INDEX", &dumpReport});

} // namespace
