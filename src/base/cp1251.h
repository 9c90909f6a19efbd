#pragma once
// Windows-1251, the single-byte code page of every text file of the course.
// The table is exact and total: each of the 256 bytes maps to one character
// and back (0x98, unassigned in the code page, maps to U+0098).
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

QString DecodeCp1251(QByteArrayView bytes);
// Characters with no byte in the code page become '?'.
QByteArray EncodeCp1251(QStringView text);
// True when every character of the text has a byte in the code page.
bool IsCp1251Encodable(QStringView text);
