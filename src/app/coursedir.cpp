#include "app/coursedir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {
bool holdsCourse(const QString& dir) { return QFileInfo(dir + QStringLiteral("/InitRegD.txt")).isFile(); }
} // namespace

bool CopyTree(const QString& from, const QString& to) {
    const QString tmp = to + QStringLiteral(".part");
    QDir(tmp).removeRecursively();
    if (!QDir().mkpath(tmp)) return false;
    QDir src(from);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    bool ok = true;
    while (ok && it.hasNext()) {
        const QString path = it.next();
        const QString target = tmp + QLatin1Char('/') + src.relativeFilePath(path);
        const QFileInfo fi = it.fileInfo();
        if (fi.isDir()) ok = QDir().mkpath(target);
        else ok = QDir().mkpath(QFileInfo(target).absolutePath()) && QFile::copy(path, target);
    }
    if (ok) {
        QDir(to).removeRecursively();
        ok = QDir().rename(tmp, to);
    }
    if (!ok) QDir(tmp).removeRecursively();
    return ok;
}

CourseDirChoice ChooseCourseDir(const QString& option, const QString& exeDir,
                                const QString& userDataDir) {
    CourseDirChoice c;
    auto pick = [&](const QString& d, const QString& what) {
        if (QFileInfo(d).isDir()) {
            c.dir = QFileInfo(d).absoluteFilePath();
            return true;
        }
        c.error = QStringLiteral("%1 %2 is not a directory").arg(what, d);
        return false;
    };
    if (!option.isEmpty()) {
        pick(option, QStringLiteral("The course directory"));
        return c;
    }
    const QString env = qEnvironmentVariable("VANTREL_COURSE_DIR");
    if (!env.isEmpty()) {
        pick(env, QStringLiteral("VANTREL_COURSE_DIR"));
        return c;
    }
    const QString beside = QDir::cleanPath(exeDir + QStringLiteral("/../course"));
    if (holdsCourse(beside)) {
        c.dir = beside;
        return c;
    }
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/vantrel/course"));
    const QString mine = QDir::cleanPath(userDataDir + QStringLiteral("/course"));
    if (holdsCourse(mine)) {
        c.dir = mine;
        return c;
    }
    if (!holdsCourse(installed)) {
        c.error = QStringLiteral("No course found: neither %1 nor %2 holds InitRegD.txt")
                      .arg(beside, installed);
        return c;
    }
    if (!CopyTree(installed, mine)) {
        c.error = QStringLiteral("The course could not be copied to %1").arg(mine);
        return c;
    }
    QDir().mkpath(mine + QStringLiteral("/Report"));
    c.dir = mine;
    c.copied = true;
    return c;
}
