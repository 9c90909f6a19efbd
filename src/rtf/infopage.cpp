#include "rtf/infopage.h"

#include "base/cp1251.h"
#include "base/textfile.h"
#include "rtf/rtfreader.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>

QFont InfoPaneFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    return f;
}

void LoadInfoPage(QTextDocument* doc, const QString& fileName) {
    const QByteArray bytes = ReadWholeFile(fileName);
    doc->setDefaultFont(InfoPaneFont());
    if (bytes.startsWith("{\\rtf")) {
        LoadRtfInto(doc, bytes);
        return;
    }
    QString text = DecodeCp1251(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    doc->setPlainText(text);
    doc->setUndoRedoEnabled(undo);
}

QImage LoadInfoPicture(const QString& fileName) {
    QByteArray bytes = ReadWholeFile(fileName);
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    // The content decides, not the name: course pictures are BMP or JPEG
    // whatever their extension says.
    QImageReader reader(&buf);
    reader.setDecideFormatFromContent(true);
    const QImage img = reader.read();
    if (img.isNull()) throw PictureError(fileName);
    return img;
}
