#include "base/paths.h"

#include <QDir>
#include <QFileInfo>

QString NativePath(const QString& stored) {
#ifdef Q_OS_WIN
    return stored;
#else
    QString s = stored;
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return s;
#endif
}

bool PathExists(const QString& stored) {
    return !stored.isEmpty() && QFileInfo::exists(NativePath(stored));
}

bool FileExists(const QString& stored) {
    if (stored.isEmpty()) return false;
    QFileInfo fi(NativePath(stored));
    return fi.exists() && !fi.isDir();
}

QString ReplaceLast3(const QString& name, const QString& ext3) {
    return name.left(qMax<qsizetype>(0, name.size() - 3)) + ext3;
}

QString DirPartWithSep(const QString& stored) {
    qsizetype p = qMax(stored.lastIndexOf(QLatin1Char('\\')), stored.lastIndexOf(QLatin1Char('/')));
    return p < 0 ? QString() : stored.left(p + 1);
}

static QString canonicalOrClean(const QString& p) {
    QFileInfo fi(p);
    QString c = fi.canonicalFilePath();
    if (!c.isEmpty()) return c;
    // Not existing: resolve the parent that exists, then append the rest.
    QString abs = QDir::cleanPath(fi.absoluteFilePath());
    QString parent = QFileInfo(abs).absolutePath();
    QString cp = QFileInfo(parent).canonicalFilePath();
    if (!cp.isEmpty()) return QDir::cleanPath(cp + QLatin1Char('/') + QFileInfo(abs).fileName());
    return abs;
}

bool IsInsideDir(const QString& path, const QString& dir) {
    if (path.isEmpty() || dir.isEmpty()) return false;
    QString p = canonicalOrClean(NativePath(path));
    QString d = canonicalOrClean(NativePath(dir));
    if (d.isEmpty() || p == d) return false;
    if (!d.endsWith(QLatin1Char('/'))) d += QLatin1Char('/');
    return p.startsWith(d);
}
