#pragma once
// Rich-text (RTF) information pages read into a QTextDocument.
//
// The reader keeps what a page of the course uses: paragraphs with their
// alignment, indents and spacing; bold, italic, underline, strike-out, font,
// size and colours; characters of the fonts' code pages and \u escapes;
// PNG and JPEG pictures. Everything else is skipped. Any input is safe: a
// broken or truncated page shows what could be read.
#include <QByteArray>

class QTextDocument;

// Empties the document and fills it from the bytes of an RTF page.
void LoadRtfInto(QTextDocument* doc, const QByteArray& bytes);

// Groups nested deeper than this are skipped with everything inside them.
constexpr int kRtfMaxGroupDepth = 200;
