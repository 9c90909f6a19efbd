#pragma once
// Where the six pieces of the picture progress bar go. Plain arithmetic, so
// it is tested without painting.
#include <QList>
#include <QSize>

enum class BarPiece { BeginLine, MidleLine, EndLine, BeginScroll, MidleScroll, EndScroll };

struct PiecePlacement {
    BarPiece piece;
    int x;
    int y;
};

struct BarPieceSizes {
    QSize beginLine, midleLine, endLine, beginScroll, midleScroll, endScroll;
};

// Number of middle pieces of the filled part: n * (position - min) / (max - min),
// or 1 when max - min < 1; kept within 0..n so the fill never leaves the track.
int FilledSteps(int room, int min, int max, int position);

// Placements in drawing order: the track (middles, begin, end), then the
// filled part (k + 1 middles, begin, end over the last middle). Empty when a
// piece has no width (nothing can be laid out).
QList<PiecePlacement> LayoutBarPieces(QSize control, const BarPieceSizes& sizes, int min, int max,
                                      int position);
