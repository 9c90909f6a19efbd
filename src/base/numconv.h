#pragma once
// Numbers in the course's files: optional leading blanks, optional sign,
// decimal digits, nothing after them, inside the signed 32-bit range.
#include <QByteArrayView>
#include <QString>
#include <optional>

std::optional<qint32> TryStrToInt(QByteArrayView text);
std::optional<qint32> TryStrToInt(const QString& text);
// Throws ConvertError naming the text.
qint32 StrToInt(QByteArrayView text);
qint32 StrToInt(const QString& text);
