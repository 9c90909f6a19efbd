#include "base/numconv.h"

#include "base/cp1251.h"
#include "base/errors.h"

std::optional<qint32> TryStrToInt(QByteArrayView s) {
    qsizetype i = 0, n = s.size();
    while (i < n && s[i] == ' ') ++i;
    bool neg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
    if (i >= n) return std::nullopt;
    qint64 v = 0;
    for (; i < n; ++i) {
        char c = s[i];
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (neg) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return qint32(v);
}

std::optional<qint32> TryStrToInt(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 127) return std::nullopt;
    return TryStrToInt(QByteArrayView(text.toLatin1()));
}

qint32 StrToInt(QByteArrayView text) {
    if (auto v = TryStrToInt(text)) return *v;
    throw ConvertError(DecodeCp1251(text));
}

qint32 StrToInt(const QString& text) {
    if (auto v = TryStrToInt(text)) return *v;
    throw ConvertError(text);
}
