#include "learners/learnerlocks.h"

#include "base/errors.h"
#include "base/paths.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <memory>

namespace {

// Users.eng is held for milliseconds; a lock older than this is left by a
// program on another machine that died while writing.
constexpr int kListStaleMs = 30000;

QString sameFolder(const QString& reportDir) {
    const QFileInfo fi(NativePath(reportDir));
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : c;
}

struct HeldLearner {
    QString folder;
    std::unique_ptr<QLockFile> lock;
};

HeldLearner& held() {
    static HeldLearner h;
    return h;
}

std::unique_ptr<QLockFile> learnerLock(const QString& reportDir) {
    return std::make_unique<QLockFile>(LearnerLockFile(reportDir));
}

// A lock file is written right after it is made; one still without a
// readable owner after this long was cut short.
constexpr int kUnreadableLockMs = 5000;

} // namespace

QString LearnerLockFile(const QString& reportDir) {
    return QDir(NativePath(reportDir)).filePath(QStringLiteral("learner.lock"));
}

void UpdateLearnerList(LearnerTable& table, const std::function<bool(LearnerTable&)>& change,
                       const QString& fileName, int waitMs) {
    QLockFile lock(NativePath(fileName) + QStringLiteral(".lock"));
    lock.setStaleLockTime(kListStaleMs);
    // Tried often and briefly: QLockFile's own wait doubles its pauses up
    // to seconds, and a classroom writing now and then would starve it.
    QDeadlineTimer until(waitMs);
    bool locked = lock.tryLock(0);
    while (!locked && lock.error() == QLockFile::LockFailedError && !until.hasExpired()) {
        QThread::msleep(5 + QRandomGenerator::global()->bounded(20));
        locked = lock.tryLock(0);
    }
    if (!locked) {
        if (lock.error() == QLockFile::LockFailedError)
            throw VError(QStringLiteral("Список учеников (файл %1) сейчас записывает другая "
                                        "программа. Попробуйте ещё раз.")
                             .arg(fileName));
        // No lock can be made beside the file (read-only folder): the
        // write below then fails and says why.
    }
    LearnerTable disk;
    disk.Load(fileName);
    if (!change(disk)) {
        table = disk;
        return;
    }
    disk.Save(fileName);
    table = disk;
}

FolderLock TryLearnerLock(QLockFile& lock) {
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) return FolderLock::Taken;
    if (lock.error() != QLockFile::LockFailedError) return FolderLock::NoLock;
    qint64 pid = 0;
    QString host, app;
    const QFileInfo fi(lock.fileName());
    if (!lock.getLockInfo(&pid, &host, &app) && fi.exists() &&
        fi.lastModified().msecsTo(QDateTime::currentDateTime()) > kUnreadableLockMs) {
        lock.removeStaleLockFile();
        if (lock.tryLock(0)) return FolderLock::Taken;
    }
    return lock.error() == QLockFile::LockFailedError ? FolderLock::Busy : FolderLock::NoLock;
}

bool TakeLearner(const QString& reportDir) {
    HeldLearner& h = held();
    const QString folder = sameFolder(reportDir);
    if (h.lock && h.folder == folder) return true;
    auto lock = learnerLock(reportDir);
    const FolderLock got = TryLearnerLock(*lock);
    if (got == FolderLock::Busy) return false;
    h.lock.reset(); // the learner left
    h.folder = folder;
    if (got == FolderLock::Taken) h.lock = std::move(lock);
    return true;
}

void ReleaseLearner() {
    held().lock.reset();
    held().folder.clear();
}

bool LearnerHeldHere(const QString& reportDir) {
    const HeldLearner& h = held();
    return !h.folder.isEmpty() && h.folder == sameFolder(reportDir);
}

bool LearnerInUseElsewhere(const QString& reportDir) {
    if (LearnerHeldHere(reportDir)) return false;
    if (!QFileInfo(NativePath(reportDir)).isDir()) return false;
    QLockFile lock(LearnerLockFile(reportDir)); // let go again when it goes
    return TryLearnerLock(lock) == FolderLock::Busy;
}
