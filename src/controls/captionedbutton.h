#pragma once
// A round picture button with its caption label below it, the way most
// windows show their commands. Both live in a small box widget (the
// button's parent) that the caller puts into its layout.
#include <QString>

class QLabel;
class QWidget;
class TBtnImgTransD1Zv;

// `name` is the button's objectName, `iconName` one of Pictures::ButtonNames().
// The label gets `labelName` (or "Label" + name when empty); it greys with
// the button and a click on it clicks the button. The box is named name + "Box".
TBtnImgTransD1Zv* MakeCaptionedButton(QWidget* parent, const QString& name, const QString& iconName,
                                      const QString& caption, QLabel** labelOut = nullptr,
                                      const QString& labelName = QString());

// Links an existing label to a button the same way (greying, click forwarding).
void LinkCaption(TBtnImgTransD1Zv* button, QLabel* label);

// The caption label of a button made by MakeCaptionedButton, or null.
QLabel* CaptionOf(TBtnImgTransD1Zv* button);
