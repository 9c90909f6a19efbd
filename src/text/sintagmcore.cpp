#include "text/sintagmcore.h"

#include <cmath>

TSintagmCore::TSintagmCore() {
    m_looks.Font = {0, qRgb(0, 0, 0)};
    m_looks.Sel = {fsUnderline, qRgb(255, 0, 0)};
    m_looks.Mult = {0, qRgb(0, 0, 255)};
    m_looks.Position = m_position;
    m_width = [](QStringView s) { return int(s.size()) * 7; };
}

void TSintagmCore::setMeasure(TextWidthFn width, int charHeight) {
    m_width = std::move(width);
    m_charHeight = charHeight;
    m_needsLayout = true;
}

QStringList& TSintagmCore::TextRef() {
    m_needsLayout = true;
    return m_text;
}

void TSintagmCore::setText(const QStringList& t) {
    m_text = t;
    m_needsLayout = true;
}

void TSintagmCore::markSpan(int j) {
    int first, last;
    SpanRows(m_layout, j, first, last);
    for (int r = first; r <= last; ++r)
        m_dirty.insert(r);
}

// Rows carrying a highlight now; called before and after a change of it.
void TSintagmCore::markHighlights() {
    if (m_needsLayout) return;
    markSpan(m_looks.Position);
    if (m_looks.FlagSelMultSint)
        for (int j = qMax(0, m_looks.NBegin); j <= m_looks.NEnd && j < m_layout.LinesLaid; ++j)
            markSpan(j);
}

bool TSintagmCore::setPosition(int v) {
    if (!inRange(v) || v == m_position) return false;
    markHighlights();
    m_position = v;
    m_looks.Position = v;
    m_needsLooks = true;
    return true;
}

bool TSintagmCore::setPosScreen(int v) {
    m_posScreen = v < 0 ? 0 : (v > 100 ? 100 : v);
    return true;
}

bool TSintagmCore::setHeightIntervString(TIntevalString v) {
    m_interval = v;
    m_allDirty = true;
    return true;
}

bool TSintagmCore::setFlagSelMultSint(bool on) {
    markHighlights();
    m_looks.FlagSelMultSint = on;
    m_needsLooks = true;
    return true;
}

bool TSintagmCore::setNBegin(int v) {
    if (!inRange(v)) return false;
    markHighlights();
    if (v > m_looks.NEnd) {
        m_looks.NBegin = m_looks.NEnd != 0 ? m_looks.NEnd : v;
        m_looks.NEnd = v;
    } else {
        m_looks.NBegin = v;
    }
    m_needsLooks = true;
    return true;
}

bool TSintagmCore::setNEnd(int v) {
    if (!inRange(v)) return false;
    markHighlights();
    if (v < m_looks.NBegin) {
        m_looks.NEnd = m_looks.NBegin;
        m_looks.NBegin = v;
    } else {
        m_looks.NEnd = v;
    }
    m_needsLooks = true;
    return true;
}

void TSintagmCore::setFontLook(TTextLook l) {
    m_looks.Font = l;
    m_needsLayout = true;
}

void TSintagmCore::setSelLook(TTextLook l) {
    m_looks.Sel = l;
    m_needsLayout = true;
}

void TSintagmCore::setMultLook(TTextLook l) {
    m_looks.Mult = l;
    m_needsLayout = true;
}

void TSintagmCore::setMargins(int left, int top, int right, int bottom) {
    if (left != m_left || right != m_right) m_needsLayout = true;
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    m_allDirty = true;
}

void TSintagmCore::setSize(int w, int h) {
    if (w == m_w && h == m_h) return;
    m_w = w;
    m_h = h;
    m_needsLayout = true;
}

int TSintagmCore::Pitch() const {
    return int(std::lround(m_charHeight * IntervalFactor(m_interval)));
}

int TSintagmCore::RowY(int r) const {
    return ::RowY(m_top, m_charHeight, IntervalFactor(m_interval), r, m_offset);
}

void TSintagmCore::Prepare() {
    if (m_needsLayout) {
        if (m_clearPictures) m_clearPictures();
        m_layout = LayoutSintagms(m_text, AvailWidth(), m_width, m_load);
        ApplyLooks(m_layout, m_looks);
        m_needsLayout = m_needsLooks = false;
        m_allDirty = true;
        m_dirty.clear();
    } else if (m_needsLooks) {
        ApplyLooks(m_layout, m_looks);
        m_needsLooks = false;
        markHighlights();
    }
    if (!m_text.isEmpty()) {
        int row = 0;
        if (m_position >= 0 && m_position < m_layout.LinesLaid)
            row = m_layout.Spans[m_position].FirstRow;
        else if (m_position >= m_layout.LinesLaid && m_position < m_text.size())
            row = m_layout.LastRow; // after a picture that stopped the layout
        m_currentTop = RowY(row);
    }
}

bool TSintagmCore::Tick() {
    if (needsLayout()) Prepare();
    int h = 0;
    if (m_sinDown && inRange(m_position) && m_position < m_layout.LinesLaid) {
        const QString& s = m_text[m_position];
        const TSintagmSpan& sp = m_layout.Spans[m_position];
        if (s.size() <= 1) {
            h = Pitch();
        } else if (s[1] == QLatin1Char('@')) {
            const int idx = PictureRowIndex(m_layout.Rows.value(sp.FirstRow).RowText);
            h = idx >= 0 && m_picHeight ? m_picHeight(idx) : 0;
        } else {
            h = int(std::lround(m_charHeight * IntervalFactor(m_interval) *
                                (sp.LastRow - sp.FirstRow)));
        }
    }
    const int anchor = m_h * m_posScreen / 100;
    // The first row goes to anchor - h, so that with SinDown the last row
    // of the sintagm lands on the anchor line.
    const int d = m_currentTop - (anchor - h);
    if (d != 0) m_offset += ScrollDelta(d, m_kSpeed, m_h);
    m_scrolling = anchor - h != m_currentTop;
    if (m_scrolling || needsLayout()) {
        Prepare();
        return true;
    }
    return false;
}

bool TSintagmCore::TakeDirtyRows(QSet<int>& rows) {
    const bool all = m_allDirty;
    rows = std::move(m_dirty);
    m_dirty.clear();
    m_allDirty = false;
    return all;
}

int TSintagmCore::LineAt(int x, int y) const {
    if (m_text.isEmpty() || m_needsLayout) return -1;
    const int pitch = qMax(1, Pitch());
    int row = -1;
    for (int r = 1; r <= m_layout.LastRow; ++r) {
        const int top = RowY(r);
        if (y >= top && y < top + pitch) {
            row = r;
            break;
        }
    }
    if (row < 0) return -1;
    const QString& t = m_layout.Rows[row].RowText;
    // Column under x: the first character whose right edge lies beyond it.
    int col = 0;
    const int rx = x - m_left;
    for (int k = 1; k <= t.size(); ++k) {
        if (m_width(QStringView(t).first(k)) > rx) {
            col = k;
            break;
        }
    }
    if (col == 0) return -1;
    for (int j = 0; j < m_layout.LinesLaid; ++j) {
        const TSintagmSpan& sp = m_layout.Spans[j];
        if (row < sp.FirstRow || row > sp.LastRow) continue;
        if (row == sp.FirstRow && col < sp.FirstCol) continue;
        if (row == sp.LastRow && col > sp.LastCol) continue;
        return j;
    }
    return -1;
}
