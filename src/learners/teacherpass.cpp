#include "learners/teacherpass.h"

#include "base/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QVariant>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {
const QString kValueName = QStringLiteral("Pass");

// Reading creates the key path as writing does, so a teacher command leaves
// the key in place even when no password was ever set.
void EnsureKey(QSettings& s) {
#ifdef Q_OS_WIN
    if (s.format() == QSettings::NativeFormat) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Korvana\\Ostlind", 0, nullptr, 0,
                            KEY_READ | KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS)
            RegCloseKey(key);
        return;
    }
#endif
    const QString file = s.fileName();
    if (file.isEmpty() || QFileInfo::exists(file)) return;
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly)) f.close();
}
} // namespace

QString TeacherPasswordStore() {
    QSettings s(QStringLiteral("Korvana"), QStringLiteral("Ostlind"));
    return s.fileName();
}

QString ReadTeacherPassword() {
    QSettings s(QStringLiteral("Korvana"), QStringLiteral("Ostlind"));
    EnsureKey(s);
    const QVariant v = s.value(kValueName);
    if (!v.isValid()) return {};
    if (v.typeId() != QMetaType::QString)
        throw VError(QStringLiteral("Invalid data type for '%1'").arg(kValueName));
    return v.toString();
}

void WriteTeacherPassword(const QString& pass) {
    QSettings s(QStringLiteral("Korvana"), QStringLiteral("Ostlind"));
    EnsureKey(s);
    s.setValue(kValueName, pass);
    s.sync();
    if (s.status() != QSettings::NoError)
        throw VError(QStringLiteral("Failed to set data for '%1'").arg(kValueName));
}
