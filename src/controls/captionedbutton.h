#pragma once
// The one place that makes captioned picture buttons, so every window's
// commands look alike. Two looks:
// - a round picture button with its caption label below it; both live in a
//   small box widget (the button's parent) that the caller lays out;
// - a picture push button with the caption on its face.
#include "controls/btnimgd1.h" // callers keep the push look as a QAbstractButton

#include <QString>

class QAbstractButton;
class QKeySequence;
class QLabel;
class QShortcut;
class QWidget;
class TBtnImgTransD1Zv;

// `name` is the button's objectName, `iconName` one of Pictures::ButtonNames().
// The label gets `labelName` (or "Label" + name when empty); it greys with
// the button and a click on it clicks the button. The box is named name + "Box".
TBtnImgTransD1Zv* MakeCaptionedButton(QWidget* parent, const QString& name, const QString& iconName,
                                      const QString& caption, QLabel** labelOut = nullptr,
                                      const QString& labelName = QString());

// Where a push button's picture sits against its caption: Left in the
// exercise windows, Top in the dialogs' button strips (those buttons are
// never auto-default and get a little room beside their content).
enum class GlyphAt { Left, Top };

// The push-button look; `iconName` as above.
TBtnImgD1Zv* MakeCaptionedButton(QWidget* parent, const QString& name, const QString& iconName,
                                 const QString& caption, GlyphAt glyph);

// Links an existing label to a button the same way (greying, click forwarding).
void LinkCaption(TBtnImgTransD1Zv* button, QLabel* label);

// The caption label of a button made by MakeCaptionedButton, or null.
QLabel* CaptionOf(TBtnImgTransD1Zv* button);

// A window's main command on a key: pressed anywhere in the button's window
// while that window is active, `key` clicks the button, as long as the
// button shows and is enabled (a hidden or greyed button leaves the key to
// the focused control). The key is told in the button's tooltip, which
// readers give as its description. The shortcut belongs to the button.
QShortcut* ClickOnKey(QAbstractButton* button, const QKeySequence& key);
QShortcut* ClickOnKey(TBtnImgTransD1Zv* button, const QKeySequence& key);
