#include "main/infopage.h"

#include "base/paths.h"
#include "rtf/infopage.h"

#include <QTextDocument>

void LoadInfoPageFile(QTextDocument* doc, const QString& storedName) {
    LoadInfoPage(doc, NativePath(storedName));
}

QPixmap LoadInfoPictureFile(const QString& storedName) {
    return QPixmap::fromImage(LoadInfoPicture(NativePath(storedName)));
}
