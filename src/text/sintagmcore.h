#pragma once
// The state of a sintagm view without its window: text, properties, layout,
// current top and scroll offset. The view (textsintagm.h) owns one and paints
// what it says; tests drive it directly with a fake measurer.
#include "text/sintagmlayout.h"

#include <QSet>

class TSintagmCore {
public:
    TSintagmCore();

    // Text measuring with the view's plain font; charHeight is H of the row pitch.
    void setMeasure(TextWidthFn width, int charHeight);
    // Loads a "#@" picture's three variants (name without directory).
    void setPictureLoader(PictureLoadFn load) { m_load = std::move(load); }
    // Height of the current-sintagm variant of picture i, for SinDown.
    void setPictureHeight(std::function<int(int)> h) { m_picHeight = std::move(h); }
    // Called before each relayout: the pictures of the old layout are dropped.
    void setPicturesCleared(std::function<void()> f) { m_clearPictures = std::move(f); }

    // Read access that may change the list: the rows must be rebuilt.
    QStringList& TextRef();
    const QStringList& Text() const { return m_text; }
    void setText(const QStringList& t);

    // Each setter returns true when the view has to repaint.
    int Position() const { return m_position; }
    bool setPosition(int v);
    int PosScreen() const { return m_posScreen; }
    bool setPosScreen(int v);
    TIntevalString HeightIntervString() const { return m_interval; }
    bool setHeightIntervString(TIntevalString v);
    int k_Speed() const { return m_kSpeed; }
    void setK_Speed(int v) { m_kSpeed = v; }
    bool FlagSelMultSint() const { return m_looks.FlagSelMultSint; }
    bool setFlagSelMultSint(bool on);
    int NBegin() const { return m_looks.NBegin; }
    bool setNBegin(int v);
    int NEnd() const { return m_looks.NEnd; }
    bool setNEnd(int v);
    bool SinDown() const { return m_sinDown; }
    void setSinDown(bool on) { m_sinDown = on; }

    void setFontLook(TTextLook l);
    void setSelLook(TTextLook l);
    void setMultLook(TTextLook l);
    const TLooks& looks() const { return m_looks; }

    void setMargins(int left, int top, int right, int bottom);
    int marginLeft() const { return m_left; }
    int marginTop() const { return m_top; }
    int marginRight() const { return m_right; }
    int marginBottom() const { return m_bottom; }
    void setSize(int w, int h);
    int width() const { return m_w; }
    int height() const { return m_h; }

    // Rows must be rebuilt (text, size, fonts); highlights must be redone.
    void invalidateLayout() { m_needsLayout = true; }
    bool needsLayout() const { return m_needsLayout || m_needsLooks; }

    // What Paint does before drawing: layout when needed, then current top.
    void Prepare();
    // One scroll step; true when the view must repaint (Prepare already ran).
    bool Tick();

    int CurrentTop() const { return m_currentTop; }
    double ScrollOffset() const { return m_offset; }
    bool Scrolling() const { return m_scrolling; }
    int Pitch() const; // one row pitch, round(H * f)
    int CharHeight() const { return m_charHeight; }
    int RowY(int r) const;
    int TextTop() const { return m_top; }
    int TextBottom() const { return m_h - m_bottom; }
    int TextLeft() const { return m_left; }
    int AvailWidth() const { return m_w - (m_left + m_right); }
    const TSintagmLayout& Layout() const { return m_layout; }
    // Rows whose attributes changed since the last call (all after a relayout).
    bool TakeDirtyRows(QSet<int>& rows);
    // The line shown at (x, y), -1 for none.
    int LineAt(int x, int y) const;

private:
    bool inRange(int v) const { return !m_text.isEmpty() && v >= 0 && v < m_text.size(); }
    void markSpan(int j);
    void markHighlights();

    QStringList m_text;
    TextWidthFn m_width;
    PictureLoadFn m_load;
    std::function<int(int)> m_picHeight;
    std::function<void()> m_clearPictures;
    int m_charHeight = 13;
    int m_position = 1;
    int m_posScreen = 40;
    TIntevalString m_interval = is1_00;
    int m_kSpeed = 50000;
    bool m_sinDown = false;
    TLooks m_looks;
    int m_left = 20, m_top = 20, m_right = 20, m_bottom = 20;
    int m_w = 150, m_h = 200;
    bool m_needsLayout = true;
    bool m_needsLooks = false;
    bool m_scrolling = false;
    double m_offset = 0;
    int m_currentTop = 0;
    TSintagmLayout m_layout;
    QSet<int> m_dirty;
    bool m_allDirty = true;
};
