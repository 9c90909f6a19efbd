#pragma once
// Single-byte code pages met in rich-text pages: the page named by a font's
// character set decides how its \'hh bytes read.
#include <QByteArrayView>
#include <QString>

// Windows code page of a font character set (\fcharset); `ansiCp` stands in
// for the default set (1) and for sets we do not know.
int CodePageOfCharset(int charset, int ansiCp);

// Decodes bytes of the code page. 1250, 1251 and 1252 are exact tables,
// 65001 is UTF-8; other pages go through Qt's converters when it has them
// and fall back to Latin-1, so no byte is ever lost.
QString DecodeCodePage(QByteArrayView bytes, int codePage);
