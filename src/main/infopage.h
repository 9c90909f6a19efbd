#pragma once
// Information pages of the course tree: a rich-text (RTF) or plain-text
// page, or a picture (BMP, JPEG). Names are in their stored form.
#include <QPixmap>
#include <QString>

class QTextDocument;

// Empties `doc` and fills it from the page; FileError when it cannot be read.
void LoadInfoPageFile(QTextDocument* doc, const QString& storedName);
// The picture; FileError when the file is missing or no picture.
QPixmap LoadInfoPictureFile(const QString& storedName);
