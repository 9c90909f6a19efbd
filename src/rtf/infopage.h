#pragma once
// The information pane of the main window: rich-text or plain-text pages
// and pictures below the data root.
#include "base/errors.h"

#include <QFont>
#include <QImage>
#include <QString>

class QTextDocument;

// The pane's own font, for text that names no font or size.
QFont InfoPaneFont();

// Empties the document and loads the page: a file beginning with "{\rtf" is
// read as rich text, anything else as Windows-1251 plain text. Throws
// FileError when the file cannot be read.
void LoadInfoPage(QTextDocument* doc, const QString& fileName);

// A picture page has data that is no picture Qt can read.
class PictureError : public VError {
public:
    explicit PictureError(const QString& fileName)
        : VError(QStringLiteral("Рисунок \"%1\" поврежден или имеет неизвестный формат.")
                     .arg(fileName)) {}
};

// A picture page (BMP or JPEG; other formats Qt reads are taken as well). Throws FileError when the
// file cannot be read and PictureError when its content is no readable picture.
QImage LoadInfoPicture(const QString& fileName);
