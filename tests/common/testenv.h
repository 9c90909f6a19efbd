#pragma once
// Shared test helpers: a private HOME/XDG tree per test process (so no test
// touches the real user's settings), a temporary course directory made
// current, and the modal-dialog helper.
#include "base/errors.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace testenv {

// A copy of a folder with everything below it (the demo course for a test).
inline void CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + src.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(dst);
        else
            QFile::copy(src, dst);
    }
}

// Call first in main() / initTestCase(): points HOME, XDG_CONFIG_HOME and
// XDG_DATA_HOME at a fresh temporary directory for this process.
inline QTemporaryDir& PrivateHome() {
    static QTemporaryDir home;
    static bool done = false;
    if (!done) {
        done = true;
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
        QDir().mkpath(home.path() + "/config");
        QDir().mkpath(home.path() + "/data");
    }
    return home;
}

// Writes bytes to dir/name, creating folders on the way.
inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// Lines joined with CR LF (each line ended), bytes as given (Windows-1251 by caller).
inline QByteArray CrLf(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// The error of type E that `f` throws; empty when it throws none.
template <typename E, typename F> std::optional<E> Thrown(F f) {
    try {
        f();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}

// The code of the file error `f` throws; 0 when it throws none.
template <typename F> int FileErrorCode(F f) {
    const auto e = Thrown<FileError>(f);
    return e ? e->code() : 0;
}

// A temporary directory made the current directory while it lives.
class CourseDir {
public:
    CourseDir() : m_old(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~CourseDir() { QDir::setCurrent(m_old); }
    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.path() + "/" + name; }

private:
    QTemporaryDir m_dir;
    QString m_old;
};

// Runs `action` on the next modal widget that becomes active (polling every
// 20 ms, up to `timeoutMs`). Use before the call that opens the dialog.
inline void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        QWidget* w = QApplication::activeModalWidget();
        *elapsed += 20;
        if (w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(w);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

} // namespace testenv
