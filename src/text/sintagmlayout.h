#pragma once
// Layout and scroll arithmetic of the sintagm view, kept apart from painting:
// everything here works over a text-measuring callback, so it runs (and is
// tested) without a window.
#include <functional>
#include <QList>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QStringView>

enum TFontStyleBits : quint8 { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Style and colour of a character: what the highlights change.
struct TTextLook {
    quint8 Style = 0;
    QRgb Color = 0xff000000;
    bool operator==(const TTextLook&) const = default;
};

struct TCharAttr {
    QChar Ch;
    quint8 Style = 0;
    QRgb Color = 0xff000000;
    TTextLook look() const { return {Style, Color}; }
};

struct TSintagmRow {
    QString RowText;
    QList<TCharAttr> Attrs; // 1..length of RowText; slot 0 holds nothing
};

struct TSintagmSpan {
    int FirstRow = 0, FirstCol = 0, LastRow = 0, LastCol = 0;
    bool operator==(const TSintagmSpan&) const = default;
};

enum TIntevalString { is0_75, is1_00, is1_25, is1_50, is1_75, is2_00 };
double IntervalFactor(TIntevalString v);

using TextWidthFn = std::function<int(QStringView)>;
// Loads the three variants of a "#@" picture; false when one cannot be loaded.
using PictureLoadFn = std::function<bool(const QString& name)>;

struct TSintagmLayout {
    QList<TSintagmRow> Rows; // 0..LastRow (row 0 is always empty)
    int LastRow = 0;
    QList<TSintagmSpan> Spans; // one per text line
    int LinesLaid = 0;         // lines laid out; fewer than the text when a picture failed
    int Pictures = 0;          // "#@" pictures loaded
};

// What a screen reader says for one line of a lesson text: a "#" heading
// without its mark, nothing for a "#@" picture, any other line as it is.
QString SintagmSpokenText(const QString& line);

// Rows and spans of `text` for a text area `availWidth` pixels wide.
// Characters get no attributes yet (see ApplyLooks).
TSintagmLayout LayoutSintagms(const QStringList& text, int availWidth, const TextWidthFn& width,
                              const PictureLoadFn& loadPicture);

struct TLooks {
    TTextLook Font;
    TTextLook Sel;  // the current sintagm
    TTextLook Mult; // the marked range
    bool FlagSelMultSint = false;
    int NBegin = 0, NEnd = 0;
    int Position = 0;
};

// Attributes of every row: the plain look, then the marked range, then the
// current sintagm, which wins.
void ApplyLooks(TSintagmLayout& l, const TLooks& looks);
// Sets the look of every character of span j (nothing for an unknown j).
void SetSpanLook(TSintagmLayout& l, int j, TTextLook look);
// The rows that span j touches, first..last (empty range when none).
void SpanRows(const TSintagmLayout& l, int j, int& first, int& last);

// Vertical position of row r: text top + round(H * r * f) + round(offset).
int RowY(int textTop, int charHeight, double factor, int row, double scrollOffset);

// One scroll step for a distance d (pixels, signed): the amount to add to the
// scroll offset. The step grows exponentially with the distance and never
// overshoots.
double ScrollDelta(int d, int kSpeed, int height);

// The "@n" number of a picture row, -1 for a text row.
int PictureRowIndex(const QString& rowText);
