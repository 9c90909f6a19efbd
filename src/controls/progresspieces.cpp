#include "controls/progresspieces.h"

#include <QtGlobal>

int FilledSteps(int room, int min, int max, int position) {
    if (room <= 0) return 0;
    const qint64 span = qint64(max) - min;
    qint64 k = 1;
    if (span >= 1) k = qint64(room) * (qint64(position) - min) / span;
    return int(qBound(qint64(0), k, qint64(room)));
}

QList<PiecePlacement> LayoutBarPieces(QSize control, const BarPieceSizes& s, int min, int max,
                                      int position) {
    QList<PiecePlacement> out;
    for (QSize z : {s.beginLine, s.midleLine, s.endLine, s.beginScroll, s.midleScroll, s.endScroll})
        if (z.width() <= 0) return out;
    const int w = control.width();
    const int half = control.height() / 2;
    auto y = [half](QSize piece) { return half - piece.height() / 2; };

    const int tracks = w / s.midleLine.width();
    for (int i = 0; i < tracks; ++i)
        out.append({BarPiece::MidleLine, i * s.midleLine.width(), y(s.midleLine)});
    out.append({BarPiece::BeginLine, 0, y(s.beginLine)});
    out.append({BarPiece::EndLine, w - s.endLine.width(), y(s.endLine)});

    const int room = (w - s.endScroll.width() - s.beginScroll.width()) / s.midleScroll.width();
    const int k = FilledSteps(room, min, max, position);
    const int x0 = s.beginScroll.width();
    for (int j = 0; j <= k; ++j)
        out.append({BarPiece::MidleScroll, x0 + j * s.midleScroll.width(), y(s.midleScroll)});
    out.append({BarPiece::BeginScroll, 0, y(s.beginScroll)});
    out.append({BarPiece::EndScroll, x0 + k * s.midleScroll.width(), y(s.endScroll)});
    return out;
}
