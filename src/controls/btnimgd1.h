#pragma once
// Focusable picture push button without a frame: a picture and a caption,
// the pressed picture while held down. Clicking gives its window the
// button's modal result like any dialog button.
#include "controls/modalresult.h"

#include <QPixmap>
#include <QPushButton>

class QShortcut;

class TBtnImgD1Zv : public QPushButton {
    Q_OBJECT
public:
    enum ButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    enum ButtonKind {
        bkCustom,
        bkOK,
        bkCancel,
        bkHelp,
        bkYes,
        bkNo,
        bkClose,
        bkAbort,
        bkRetry,
        bkIgnore,
        bkAll
    };

    explicit TBtnImgD1Zv(QWidget* parent = nullptr);

    QPixmap Glyph() const { return m_glyph; }
    QPixmap GlyphDown() const { return m_glyphDown; }
    void setGlyph(const QPixmap& pm);
    void setGlyphDown(const QPixmap& pm);

    ButtonLayout Layout() const { return m_layout; }
    void setLayout(ButtonLayout l);
    int Margin() const { return m_margin; }
    void setMargin(int m); // -1: picture and caption centred together
    int Spacing() const { return m_spacing; }
    void setSpacing(int s);
    int NumGlyphs() const { return m_numGlyphs; }
    void setNumGlyphs(int n) { m_numGlyphs = n; }

    // Kinds OK, Cancel, Yes, No, Abort, Retry, Ignore, All set the matching
    // modal result; OK and Yes make the button the default, Cancel and No the
    // cancel button; Help opens the window's help, Close closes the window.
    ButtonKind Kind() const { return m_kind; }
    void setKind(ButtonKind k);
    int ModalResult() const { return m_modalResult; }
    void setModalResult(int mr) { m_modalResult = mr; }
    bool Cancel() const { return m_cancel; }
    void setCancel(bool on); // Esc in the window clicks it
    QString Caption() const { return text(); }
    void setCaption(const QString& s);

    // Where the picture and the caption's top-left corner go in a button of
    // the given size (the same whether pressed or not).
    void layoutParts(QRect& glyphRect, QRect& textRect) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private Q_SLOTS:
    void onClicked();

private:
    QPixmap m_glyph, m_glyphDown;
    ButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    int m_numGlyphs = 1;
    ButtonKind m_kind = bkCustom;
    int m_modalResult = mrNone;
    bool m_cancel = false;
    QShortcut* m_escape = nullptr;
};
