#include "base/timingline.h"

#include "base/errors.h"
#include "base/numconv.h"

TTimingEntry ParseTimingLine(const QByteArray& line, bool hashIsSilent) {
    if (line.isEmpty()) throw VError(QStringLiteral("Empty line"));
    TTimingEntry e;
    if (hashIsSilent && line[0] == '#') return e;
    qsizetype tab = line.indexOf('\t');
    if (tab < 0) {
        // No TAB: the start field is empty, which is no number.
        throw ConvertError(QString());
    }
    e.StartPos = StrToInt(QByteArrayView(line).first(tab));
    e.EndPos = StrToInt(QByteArrayView(line).sliced(tab + 1));
    return e;
}
