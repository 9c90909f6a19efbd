#include "text/worktextrules.h"

#include <cmath>

QRect WorkTextPlacement(int left, int top, int width, int height, int w0, int h0, int panel) {
    const double rx = double(width) / w0, ry = double(height) / h0;
    int w, h, dx = 0, dy = 0;
    if (ry < rx) {
        h = int(std::lround(h0 * ry));
        w = int(std::lround((h - panel) * 2.0 * 260 / 280));
        dx = (width - w) / 2;
    } else {
        w = int(std::lround(w0 * rx));
        h = int(std::lround(w * 280.0 / 520)) + panel;
        if (h > height) {
            // Tall enough for the panes only at a smaller width.
            h = height;
            w = int(std::lround((h - panel) * 2.0 * 260 / 280));
            dx = (width - w) / 2;
        } else {
            dy = (height - h) / 2;
        }
    }
    return QRect(left + dx, top + dy, w, h);
}

int TextPaneWidth(int paneHeight) {
    return int(std::lround(paneHeight * 260.0 / 280));
}

TTimingEntry TimingAt(const QList<TTimingEntry>& t, int i) {
    return i >= 1 && i < t.size() ? t[i] : TTimingEntry{};
}

qint32 StartFrom(const QList<TTimingEntry>& t, int i) {
    const TTimingEntry e = TimingAt(t, i);
    if (e.StartPos != 0 || e.EndPos != 0) return e.StartPos;
    return TimingAt(t, i + 1).StartPos;
}

qint32 LoopEnd(const QList<TTimingEntry>& t, int rangeEnd) {
    const TTimingEntry e = TimingAt(t, rangeEnd);
    return e.EndPos != 0 ? e.EndPos : TimingAt(t, rangeEnd + 1).EndPos;
}

void MarkStep(TMarkState& m, int current, const QList<TTimingEntry>& t) {
    if (m.Marking) {
        m.Marking = false;
        m.End = current;
        // A title or other line without a start ends the range on the line before.
        if (TimingAt(t, current).StartPos == 0 && current != 0) m.End = current - 1;
        if (m.Begin > current) {
            m.End = m.Begin;
            m.Begin = current;
        }
    } else {
        m.Marking = true;
        m.Begin = m.End = current;
    }
}

int AdvanceCurrent(int current, int n, const QList<TTimingEntry>& t, qint64 position) {
    if (current >= n) return current;
    if (TimingAt(t, current).EndPos == 0) ++current;
    if (current < n && position > TimingAt(t, current).EndPos) ++current;
    return qMin(current, n);
}
