#pragma once
// The picture buttons of the learner dialogs: a picture with its caption
// below it, in the dialog's button strip. One place builds them so every
// dialog looks the same.
#include <QString>

class QAbstractButton;
class QWidget;
class TPictureDialog;

enum class PicKind { Ok, Cancel, NewName, DeleteName, Help, Browse, Play, Print, Key, Exit };

QAbstractButton* NewPicButton(QWidget* parent, const QString& objectName, const QString& caption,
                              PicKind kind);
// Makes the button the one Enter presses.
void SetDefaultButton(QAbstractButton* b);
// Puts the buttons into the dialog's strip, left to right, with white
// captions, and shows the strip.
void AddToButtonStrip(TPictureDialog* dlg, const QList<QAbstractButton*>& buttons);

class QLineEdit;
// Password entry shown as "*", one per character typed.
void UseStarEcho(QLineEdit* edit);
