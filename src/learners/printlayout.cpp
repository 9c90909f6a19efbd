#include "learners/printlayout.h"

#include <cmath>

namespace {

const QString kIndent = QStringLiteral(" ") + QStringLiteral("      ");
const QString kDone = QStringLiteral("Выполнено");
const QString kNotDone = QStringLiteral("Не выполнено");

int px(double v) {
    return int(std::lround(v));
}

class Layout {
public:
    Layout(int pw, int ph) : PW(pw), PH(ph) {}

    void text(double x, double y, double height, const QString& s, double right = 0) {
        PrintOp op;
        op.kind = PrintOp::Text;
        op.x = px(x);
        op.y = px(y);
        op.height = px(height);
        op.right = right > 0 ? px(right) : 0;
        op.text = s;
        ops << op;
    }
    void rule(double x1, double y1, double x2, double y2) {
        PrintOp op;
        op.kind = PrintOp::Rule;
        op.x = px(x1);
        op.y = px(y1);
        op.x2 = px(x2);
        op.y2 = px(y2);
        ops << op;
    }

    void header(const ReportPrintData& d) {
        text(PW / 5.0, PH / 19.0, PH / 30.0, QStringLiteral("Lumora"));
        text(PW / 20.0, 2.0 * PH / 22.0, PH / 50.0,
             QStringLiteral("Имя пользователя: ") + d.userName);
        text(PW / 20.0, 3.0 * PH / 25.0, PH / 50.0,
             QStringLiteral("Режим работы: ") + QChar::fromLatin1(d.mode) +
                 QStringLiteral(";   Дата: ") + d.dateText);
        text(PW / 5.0, 3.7 * PH / 25.0, PH / 50.0, QStringLiteral("Отчет."));
    }

    double Y(int n) const { return PH * double(n) / 60.0 + T; }

    void row(const PrintItem& it) {
        // The page is full after the previous row: break only now that
        // another row is really coming.
        if (breakPending) {
            closeAndNumber();
            PrintOp np;
            np.kind = PrintOp::NewPage;
            ops << np;
            ++page;
            T = -(PH * double(n) / 60.0);
            breakPending = false;
        }
        ++n;
        const double top = Y(n), bottom = Y(n + 1), ty = top + 10;
        const double body = PH / 80.0;
        switch (it.kind) {
        case 0:
            text(PW / 10.0, ty, body,
                 QStringLiteral("   ") + QStringLiteral("Раздел: ") + it.caption, X1 - gap);
            break;
        case 6:
            if (it.done) {
                text(D, ty, body, kIndent + it.caption, XE - gap);
                rule(XE, top, XE, bottom);
                text(XE + D, ty, body,
                     QStringLiteral("Ошибок - ") + QString::number(it.score) + QStringLiteral("%"),
                     XS - gap);
                rule(XS, top, XS, bottom);
                text(XS + D, ty, body, kDone + QStringLiteral(" "), X1 - gap);
                break;
            }
            [[fallthrough]];
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
        case 8:
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
            text(D, ty, body, kIndent + it.caption, XS - gap);
            rule(XS, top, XS, bottom);
            text(XS + D, ty, body, it.done ? kDone : kNotDone, X1 - gap);
            break;
        case 7:
            text(D, ty, body,
                 kIndent + it.caption + QStringLiteral(" - ") +
                     (it.done ? kDone + QStringLiteral(", ") + QStringLiteral("Оценка - ") +
                                    QString::number(it.score)
                              : kNotDone),
                 X1 - gap);
            break;
        default:
            break; // no text: the row stays an empty frame
        }
        rule(X0, top, X1, top);
        rule(X0, top, X0, bottom);
        rule(X1, top, X1, bottom);
        breakPending = PH * double(n + 3) / 60.0 + T > PH;
    }

    void closeAndNumber() {
        rule(X0, Y(n + 1), X1, Y(n + 1));
        text(PW / 2.0, PH - PH / 60.0, PH / 80.0, QString::number(page));
    }

    const double PW, PH;
    const double X0 = PW / 20.0, X1 = PW - PW / 20.0, XS = 2.0 * PW / 3.0, XE = 2.0 * PW / 5.0,
                 D = PW / 18.0;
    const double gap = PW / 100.0; // keeps a text off the rule that ends its column
    double T = 4.0 * PH / 25.0;
    int n = 0;
    int page = 1;
    bool breakPending = false;
    QList<PrintOp> ops;
};

} // namespace

QList<PrintItem> PrintItemsOf(const CourseTable& course, const ProgressTable& progress) {
    QList<PrintItem> out;
    const int last =
        std::min<int>(progress.Count, std::min<int>(progress.Recs.size(), course.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        PrintItem p;
        p.kind = course[i].ExerciseKind;
        p.caption = course[i].Caption;
        p.done = progress[i].Done != 0;
        p.score = progress[i].Score;
        out << p;
    }
    return out;
}

QString PrintDateText(const QDateTime& when, const QLocale& locale) {
    const QDate d = when.date();
    const QTime t = when.time();
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral(" ") + two(d.day()) + QStringLiteral(", ") +
           locale.monthName(d.month(), QLocale::LongFormat) + QStringLiteral(" , ") +
           QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')) + QStringLiteral(", ") +
           QStringLiteral("  Время: ") + QStringLiteral(" ") + two(t.hour()) + QStringLiteral(":") +
           two(t.minute()) + QStringLiteral(" ");
}

QList<PrintOp> LayoutReportPrint(int pw, int ph, const ReportPrintData& data) {
    Layout l(pw, ph);
    l.header(data);
    for (const PrintItem& it : data.items) {
        if (data.onlyDone && !it.done && it.kind != 0) continue;
        l.row(it);
    }
    l.closeAndNumber();
    return l.ops;
}
