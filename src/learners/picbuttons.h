#pragma once
// The picture buttons of the learner dialogs: a picture with its caption
// below it. One place builds them so every dialog looks the same.
#include <QString>

class QAbstractButton;
class QWidget;

enum class PicKind { Ok, Cancel, NewName, DeleteName, Help, Browse };

QAbstractButton* NewPicButton(QWidget* parent, const QString& objectName, const QString& caption,
                              PicKind kind);
// Makes the button the one Enter presses.
void SetDefaultButton(QAbstractButton* b);
