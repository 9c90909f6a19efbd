#include "main/infopage.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTextDocument>

void LoadInfoPageFile(QTextDocument* doc, const QString& storedName) {
    const QByteArray bytes = ReadWholeFile(NativePath(storedName));
    doc->clear();
    // Plain text until the rich-text reader is part of the build.
    doc->setPlainText(DecodeCp1251(bytes));
}

QPixmap LoadInfoPictureFile(const QString& storedName) {
    const QString path = NativePath(storedName);
    if (!QFileInfo(path).isFile()) throw FileError(ErrFileNotFound, storedName);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage img = reader.read();
    if (img.isNull())
        throw VError(QStringLiteral("Неизвестный формат рисунка: %1").arg(storedName));
    return QPixmap::fromImage(img);
}
