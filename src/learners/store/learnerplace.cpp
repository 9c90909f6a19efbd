#include "learners/learnerplace.h"

#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString reportRoot() {
    return QDir::current().filePath(QStringLiteral("Report"));
}

bool plainName(const QString& s) {
    return !s.isEmpty() && s != QLatin1String(".") && s != QLatin1String("..") &&
           !s.contains(QLatin1Char(':'));
}

// Six letters: the part QTemporaryFileName puts after "<name>.".
const QString kTempTail = QStringLiteral("\\.[A-Za-z]{6}$");

int removeOld(const QString& dir, const QRegularExpression& pattern, const QDateTime& olderThan) {
    int removed = 0;
    const QFileInfoList files =
        QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& f : files) {
        if (!pattern.match(f.fileName()).hasMatch() || f.lastModified() >= olderThan) continue;
        if (QFile::remove(f.absoluteFilePath())) ++removed;
    }
    return removed;
}

} // namespace

QString LearnerPathHere(const QString& stored) {
    if (stored.isEmpty()) return {};
    const QString report = reportRoot();
    if (IsInsideDir(stored, report)) return stored;
    static const QRegularExpression sep(QStringLiteral("[\\\\/]"));
    const QStringList parts = stored.split(sep);
    if (parts.size() < 3) return {};
    const QString& root = parts[parts.size() - 3];
    const QString& folder = parts[parts.size() - 2];
    const QString& file = parts.last();
    if (root.compare(QLatin1String("Report"), Qt::CaseInsensitive) != 0 || !plainName(folder))
        return {};
    if (!file.isEmpty() && !plainName(file)) return {};
    const QString here =
        QDir::toNativeSeparators(report + QLatin1Char('/') + folder + QLatin1Char('/') + file);
    // A link below this course's Report/ could still lead out of it.
    return IsInsideDir(here, report) ? here : QString();
}

QString LearnerRecordingHere(const QString& stored) {
    const QString here = LearnerPathHere(stored);
    return here.isEmpty() ? stored : here;
}

LearnerPlace LearnerPlaceOf(const TUserRec& u) {
    if (u.Mode < 'A' || u.Mode > 'D')
        throw VError(QStringLiteral("У пользователя %1 неверный режим работы: допустимы только "
                                    "режимы A, B, C и D. Его файлы не будут ни прочитаны, ни "
                                    "изменены.")
                         .arg(u.UserName));
    LearnerPlace p;
    p.ReportFile = LearnerPathHere(u.ReportFile);
    if (p.ReportFile.isEmpty()) throw FileError(ErrInvalidFilename, u.ReportFile);
    p.ReportDir = LearnerPathHere(u.ReportDir);
    if (p.ReportDir.isEmpty()) throw FileError(ErrInvalidFilename, u.ReportDir);
    return p;
}

QString OpenLearnerProgress(const QString& reportFile, char mode, const QString& userName,
                            ProgressTable& t) {
    ReadProgress(reportFile, mode, t);
    if (t.RecordsInFile >= t.Count) return {};
    // The course grew: the records the file has are kept, and so is the
    // file itself, before the next write makes it longer.
    const QString backup = reportFile + QStringLiteral(".bak");
    try {
        // A link of that name is replaced, never written through.
        if (QFileInfo(NativePath(backup)).isSymLink()) QFile::remove(NativePath(backup));
        WriteFileAtomic(backup, ReadWholeFile(reportFile));
    } catch (...) {
        t.Complete = false;
        throw;
    }
    return QStringLiteral("В курс добавлены новые упражнения. В отчете пользователя %1 они "
                          "отмечены как невыполненные, прежние результаты сохранены. Копия "
                          "прежнего файла отчета: %2.")
        .arg(userName, QFileInfo(NativePath(backup)).fileName());
}

int RemoveStrayTemporaries(const QString& courseDir, const QDateTime& olderThan) {
    static const QRegularExpression own(
        QStringLiteral("^(Users\\.eng|AnonSnd\\.wav|AnonSnd\\.txt)") + kTempTail);
    static const QRegularExpression learner(QStringLiteral("^.+\\.(rep|rep\\.bak|wav|txt)") +
                                                kTempTail,
                                            QRegularExpression::CaseInsensitiveOption);
    int removed = removeOld(courseDir, own, olderThan);
    const QFileInfoList folders =
        QDir(QDir(courseDir).filePath(QStringLiteral("Report")))
            .entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& d : folders)
        removed += removeOld(d.absoluteFilePath(), learner, olderThan);
    return removed;
}
