#pragma once
// Decisions of the text work window that need no widgets: where the window
// goes, which stretch of the recording each play command takes, and the
// marked range.
#include "base/timingline.h"

#include <QList>
#include <QRect>

// Design client size of the window and the height of its bottom panel.
constexpr int kWorkTextW0 = 825, kWorkTextH0 = 369, kWorkTextPanel7 = 116;

// Window rectangle inside the area (L, T, W, H). The window keeps the
// proportion of two picture panes (260 x 280 each) over the bottom panel and
// never grows beyond the area.
QRect WorkTextPlacement(int left, int top, int width, int height, int w0 = kWorkTextW0,
                        int h0 = kWorkTextH0, int panel = kWorkTextPanel7);
// Width of the text pane for a pane height.
int TextPaneWidth(int paneHeight);

// Entry i of a timing array, an empty entry when i is outside it.
TTimingEntry TimingAt(const QList<TTimingEntry>& t, int i);

// Start of "from the fragment" and of the loop: the sintagm's own start, or
// the next line's when the line has no sound at all.
qint32 StartFrom(const QList<TTimingEntry>& t, int i);
// End of the loop: the range end's own end, or the next line's when it has none.
qint32 LoopEnd(const QList<TTimingEntry>& t, int rangeEnd);

struct TMarkState {
    bool Marking = false;
    int Begin = 0, End = 0;
};
// One press of the mark button on sintagm `current` (lesson timings `t`).
void MarkStep(TMarkState& m, int current, const QList<TTimingEntry>& t);

// The timer's move of the current sintagm while playing: past a silent line,
// then past the end of the sintagm the position has left behind.
int AdvanceCurrent(int current, int n, const QList<TTimingEntry>& t, qint64 position);
