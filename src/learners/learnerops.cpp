#include "learners/learnerops.h"

#include "base/binrec.h"
#include "base/cp1251.h"
#include "base/errors.h"
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/progress.h"
#include "learners/learnerlocks.h"
#include "learners/learnerplace.h"

#include <cerrno>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

QString ReportRootPath() {
    return QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator() +
           QStringLiteral("Report");
}

QString ReportPathFor(const QString& name) {
    const QChar sep = QDir::separator();
    return ReportRootPath() + sep + name + sep + name + QStringLiteral(".rep");
}

namespace {
const QString kListUnreadable =
    QStringLiteral("Не удалось прочитать список пользователей (файл Users.eng). Пока он не "
                   "прочитан, новые имена не добавляются и имена не удаляются.");

bool storable(const QString& path) {
    return IsCp1251Encodable(path) && path.size() <= kPathMax;
}
} // namespace

QString StorableReportPath(const QString& reportPath) {
    if (storable(reportPath)) return reportPath;
    const QString rel = QDir::current().relativeFilePath(QDir::cleanPath(NativePath(reportPath)));
    const QStringList parts = rel.split(QLatin1Char('/'));
    if (parts.size() != 3 || parts[0] != QLatin1String("Report") || parts[1].isEmpty() ||
        parts[1] == QLatin1String("..") || parts[2].isEmpty())
        return reportPath;
    return parts.join(QLatin1Char('\\'));
}

bool LearnerListChangeable(const LearnerTable& table) {
    if (!table.loadFailed()) return true;
    XMessage(kListUnreadable, QStringLiteral("Ошибка"), MB_ICONWARNING);
    return false;
}

QByteArray ReadFirstBytes(const QString& path, int n) {
    const QString native = NativePath(path);
    if (QFileInfo(native).isDir()) throw FileError(ErrAccessDenied, path);
    QFile f(native);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly)) {
        if (!QFileInfo::exists(native)) throw FileError(ErrFileNotFound, path);
        throw FileError::FromErrno(errno ? errno : EACCES, path);
    }
    QByteArray b = f.read(n);
    if (f.error() != QFileDevice::NoError) throw FileError::FromErrno(errno ? errno : EIO, path);
    if (b.size() < n) throw FileError(ErrReadBeyondEnd, path);
    return b;
}

QString CheckNewUser(const LearnerTable& table, const NewUserInput& in) {
    const QString& name = in.Name;
    if (table.indexOfName(name) >= 0) return QStringLiteral("Такое имя уже есть.");
    if (name.contains(QLatin1Char('.')))
        return QStringLiteral("Имя пользователя не может содержать точку.");
    if (name.contains(QLatin1Char('/')))
        return QStringLiteral("Имя пользователя не может содержать \"/\".");
    if (name.contains(QLatin1Char('\\')))
        return QStringLiteral("Имя пользователя не может содержать \"\\\".");
    if (name.contains(QLatin1Char(':')))
        return QStringLiteral("Имя пользователя не может содержать \":\".");
    if (name.isEmpty()) return QStringLiteral("Не введено имя пользователя");
    if (name.size() > kUserNameMax)
        return QStringLiteral("Имя пользователя не может превышать 30 символов");
    if (in.Password != in.Password2) return QStringLiteral("Не подтвержден пароль");
    if (in.Password.size() > kPasswordMax)
        return QStringLiteral("Длина пароля не может превышать 10 символов");
    // Stored as '?' such a password could never be typed again.
    if (!IsCp1251Encodable(in.Password))
        return QStringLiteral("Пароль содержит символы, которые нельзя сохранить");
    const QString stored = StorableReportPath(in.ReportPath);
    if (table.indexOfReportFile(in.ReportPath) >= 0 || table.indexOfReportFile(stored) >= 0)
        return QStringLiteral("Этот файл используется другим пользователем");
    if (in.ReportPath.isEmpty()) return QStringLiteral("Не введено имя файла отчета");
    // A path the record cannot hold would be stored cut or garbled, and the
    // learner's progress would be looked for in the wrong place later.
    if (!IsCp1251Encodable(stored))
        return QStringLiteral("Путь к файлу отчета содержит символы, которые нельзя сохранить");
    if (stored.size() > kPathMax) return QStringLiteral("Путь к файлу отчета длиннее 255 символов");
    if (FileExists(in.ReportPath) || QFileInfo(NativePath(in.ReportPath)).isDir()) {
        if (!HasProgressSignature(ReadFirstBytes(in.ReportPath, kProgressRecSize)))
            return QStringLiteral("Файл не является файлом отчета для данного приложения");
    }
    return {};
}

namespace {
QString canonicalDir(const QString& stored);

// A learner's folder left by a program stopped while it made the learner:
// below Report\, named by no learner on the list, not being made or used by
// a running program, and holding nothing but progress files, lock files and
// unfinished writes. Removed so that it does not block the name for ever.
bool removeLeftoverDir(const QString& dir) {
    if (!IsLearnerDirOf(dir, QDir::currentPath()) || LearnerInUseElsewhere(dir)) return false;
    const QString own = canonicalDir(dir);
    QDir d(own);
    const QFileInfoList entries = d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                  QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries)
        if (e.isDir() || !(e.fileName().endsWith(QStringLiteral(".rep"), Qt::CaseInsensitive) ||
                           e.fileName().contains(QStringLiteral(".lock")) ||
                           e.fileName().contains(QStringLiteral(".rep."), Qt::CaseInsensitive)))
            return false;
    bool listed = false;
    try {
        LearnerTable disk;
        UpdateLearnerList(disk, [&](LearnerTable& t) {
            for (const TUserRec& r : t.Users)
                if (canonicalDir(LearnerPathHere(r.ReportDir)) == own) listed = true;
            return false;
        });
    } catch (...) {
        return false; // the list cannot tell: leave the folder alone
    }
    if (listed) return false;
    for (const QFileInfo& e : entries)
        QFile::remove(e.absoluteFilePath());
    return QDir().rmdir(own);
}
} // namespace

void CreateLearnerDir(const QString& reportPath) {
    const QString dir = DirPartWithSep(reportPath);
    if (dir.isEmpty()) throw FileError(ErrInvalidFilename, reportPath);
    const QString native = QDir::cleanPath(NativePath(dir));
    if (QFileInfo::exists(native) && !removeLeftoverDir(dir)) throw FileError(ErrAlreadyExists, dir);
    if (!QFileInfo(native).dir().exists()) throw FileError(ErrInvalidFilename, dir);
    if (!QDir().mkdir(native)) throw FileError(ErrAccessDenied, dir);
}

void CommitLearners(LearnerTable& table, const std::function<bool(LearnerTable&)>& change) {
    if (table.loadFailed()) throw VError(kListUnreadable);
    // Other programs may have added or removed learners before ours: the
    // current learner is found again by name.
    AppState& app = App();
    const QString current = app.CurrentUser >= 0 && app.CurrentUser < table.count()
                                ? table.Users[app.CurrentUser].UserName
                                : QString();
    UpdateLearnerList(table, change);
    if (!current.isEmpty()) app.CurrentUser = table.indexOfName(current);
}

void SaveLearnerList(LearnerTable& table) {
    CommitLearners(table, [](LearnerTable&) { return true; });
}

void RefreshLearnerList(LearnerTable& table) {
    if (!table.loadFailed()) CommitLearners(table, [](LearnerTable&) { return false; });
}

int RegisterLearner(LearnerTable& table, const NewUserInput& in) {
    if (table.loadFailed()) throw VError(kListUnreadable);
    TUserRec r = AnonymousUser();
    r.UserName = CutToCapacity(in.Name, kUserNameMax);
    r.Password = CutToCapacity(in.Password, kPasswordMax);
    r.ReportFile = StorableReportPath(in.ReportPath);
    r.ReportDir = DirPartWithSep(r.ReportFile);
    r.Mode = in.Mode;
    bool written = false;
    // Held while the learner is made, so that no other program takes the
    // new folder for a leftover one.
    QLockFile making(LearnerLockFile(LearnerPathHere(r.ReportDir)));
    if (IsLearnerDirOf(LearnerPathHere(r.ReportDir), QDir::currentPath())) TryLearnerLock(making);
    try {
        // A table of its own: the current learner's progress stays as it is.
        // Written before the list names the learner, so a listed learner
        // always has its progress file, whatever stops the program.
        const ProgressTable blank = NewProgress(in.Mode);
        WriteProgress(r.ReportFile, blank);
        written = true;
        CommitLearners(table, [&](LearnerTable& disk) {
            // Another program may have made a learner of this name meanwhile.
            if (disk.indexOfName(r.UserName) >= 0)
                throw VError(QStringLiteral("Такое имя уже есть."));
            disk.Users.append(r);
            return true;
        });
    } catch (...) {
        // The directory made for it would block the name next time; the
        // lock file inside it goes first.
        making.unlock();
        if (IsLearnerDirOf(r.ReportDir, QDir::currentPath())) {
            if (written) QFile::remove(NativePath(r.ReportFile));
            QDir().rmdir(NativePath(r.ReportDir));
        }
        throw;
    }
    App().UserUnchanged = false;
    return table.indexOfName(r.UserName);
}

ProgressTable ChangeLearnerMode(LearnerTable& table, QString name,
                                const QString& progressFile, char mode,
                                const ProgressTable& current) {
    const ProgressTable fresh = NewProgress(mode);
    WriteProgress(progressFile, fresh);
    try {
        CommitLearners(table, [&](LearnerTable& disk) {
            const int at = disk.indexOfName(name);
            if (at < 0) return false;
            disk.Users[at].Mode = mode;
            return true;
        });
    } catch (...) {
        if (current.Complete) WriteProgress(progressFile, current);
        throw;
    }
    return fresh;
}

QString LearnerBusyText(const QString& name) {
    return QStringLiteral("%1 сейчас занимается с курсом в другой программе. Выберите другое имя "
                          "или подождите, пока занятие там не закончится.")
        .arg(name);
}

bool NameCharAccepted(char16_t code) {
    return code == 8 || (code >= 31 && code <= 127);
}

QString FilterNameText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 31 && c.unicode() <= 127) out += c;
    return out;
}

namespace {
QString canonicalDir(const QString& stored) {
    if (stored.isEmpty()) return {};
    QFileInfo fi(NativePath(stored));
    if (!fi.isDir()) return {};
    return fi.canonicalFilePath();
}
} // namespace

bool IsLearnerDirOf(const QString& reportDir, const QString& courseDir) {
    const QString dir = canonicalDir(reportDir);
    const QString root = canonicalDir(QDir(courseDir).filePath(QStringLiteral("Report")));
    if (dir.isEmpty() || root.isEmpty()) return false;
    return QFileInfo(dir).absolutePath() == root;
}

bool RemoveLearnerDir(const QString& reportDir, const QString& courseDir) {
    if (!IsLearnerDirOf(reportDir, courseDir)) return false;
    const QString path = canonicalDir(reportDir);
    QDir dir(path);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& e : entries) {
        // A link is removed itself, never followed.
        if (e.isSymLink() || !e.isDir())
            QFile::remove(e.absoluteFilePath());
        else
            dir.rmdir(e.fileName());
    }
    QDir().rmdir(path);
    return true;
}

DeleteOutcome DeleteLearner(LearnerTable& table, int index, const QString& typed,
                            const QString& courseDir) {
    if (!LearnerListChangeable(table)) return DeleteOutcome::ListUnreadable;
    if (table.isEmpty()) {
        XMessage(QStringLiteral("Удалять больше нечего"), QString(), MB_ICONINFORMATION);
        return DeleteOutcome::NothingToDelete;
    }
    if (index < 0 || index > table.LastUser()) return DeleteOutcome::NoSelection;
    const TUserRec& r = table.Users[index];
    if (typed != r.Password) {
        XMessage(QStringLiteral("Неправильный пароль"), QStringLiteral("Внимание"), MB_ICONWARNING);
        return DeleteOutcome::WrongPassword;
    }
    const QString name = r.UserName;
    const QString dir = LearnerPathHere(r.ReportDir);
    // Held from here until the folder is gone, so that no program takes the
    // learner on meanwhile.
    QLockFile deleting(LearnerLockFile(dir));
    // Only a learner folder of this course takes a lock file.
    if (IsLearnerDirOf(dir, courseDir) && !LearnerHeldHere(dir) &&
        TryLearnerLock(deleting) == FolderLock::Busy) {
        XMessage(LearnerBusyText(name), QStringLiteral("Внимание"), MB_ICONWARNING);
        return DeleteOutcome::InUse;
    }
    AppState& app = App();
    const bool current = index == app.CurrentUser;
    CommitLearners(table, [&](LearnerTable& disk) {
        const int at = disk.indexOfName(name);
        if (at < 0) return false; // another program removed it already
        disk.Users.removeAt(at);
        return true;
    });
    if (current) {
        ReleaseLearner();
        app.CurrentUser = -1;
        app.UserUnchanged = false;
    }
    // Another learner naming the same directory keeps it.
    const QString own = canonicalDir(dir);
    bool shared = false;
    for (int i = 0; i < table.count() && !own.isEmpty(); ++i)
        if (canonicalDir(LearnerPathHere(table.Users[i].ReportDir)) == own) shared = true;
    // The learner is off the list: nobody takes it on from now.
    deleting.unlock();
    if (!shared) RemoveLearnerDir(dir, courseDir);
    return DeleteOutcome::Deleted;
}
