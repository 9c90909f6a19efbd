#include "learners/reportline.h"

namespace {
const QString kIndent = QStringLiteral(" ") + QStringLiteral("      ");
const QString kDone = QStringLiteral("Выполнено");
const QString kNotDone = QStringLiteral("Не выполнено");
} // namespace

std::optional<QString> ReportLine(const TCourseItem& item, const TProgressRec& rec) {
    const QString head = kIndent + item.Caption + QStringLiteral(" - ");
    const bool done = rec.Done != 0;
    switch (item.ExerciseKind) {
    case ekNone:
        return QStringLiteral("   ") + QStringLiteral("Раздел: ") + item.Caption;
    case ekLexicDemo:
    case ekLexic:
    case ekQuestDemo:
    case ekTransRecord:
    case ekWorkText:
    case ekTransListen:
    case ekTrans110:
    case ekTrans140:
    case ekTrans150:
    case ekTrans160:
    case ekTrans170:
        return head + (done ? kDone : kNotDone);
    case ekQuestDown:
        if (!done) return head + kNotDone;
        return head + kDone + QStringLiteral(", ") + QStringLiteral("Ошибок - ") +
               QString::number(rec.Score) + QStringLiteral("%");
    case ekQuestTrFl:
        if (!done) return head + kNotDone;
        return head + kDone + QStringLiteral(", ") + QStringLiteral("Оценка - ") +
               QString::number(rec.Score);
    default:
        return std::nullopt;
    }
}

QString NotDoneLine(const TCourseItem& item) {
    return kIndent + item.Caption + QStringLiteral(" - ") + kNotDone;
}
