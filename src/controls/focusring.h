#pragma once
// The keyboard focus ring of the picture controls: a dark blue line with a
// light line inside it, so it reads on the light windows and on the dark
// faces of the pictures alike. Its widths are in logical pixels, so at 200 %
// it is twice as thick as at 100 %.
#include <QRectF>

class QPainter;

enum class FocusShape { Round, Box };

// Draws the ring just inside `r` (the control's own rectangle, usually).
void DrawFocusRing(QPainter& p, const QRectF& r, FocusShape shape);
