#pragma once
// The learner dialogs' button strip (its buttons come from
// MakeCaptionedButton with GlyphAt::Top) and their password fields.
#include <QList>

class QAbstractButton;
class QWidget;
class TPictureDialog;

// Makes the button the one Enter presses.
void SetDefaultButton(QAbstractButton* b);
// Puts the buttons into the dialog's strip, left to right, with white
// captions, and shows the strip.
void AddToButtonStrip(TPictureDialog* dlg, const QList<QAbstractButton*>& buttons);

class QLineEdit;
// Password entry shown as "*", one per character typed.
void UseStarEcho(QLineEdit* edit);
