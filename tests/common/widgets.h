#pragma once
// Window-test helpers: named child lookup, the event-loop settle and the
// optional screenshot.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QtTest>
#include <QWidget>

namespace testui {

// The named child of `w`; fails the test run when it is missing, since every
// later check would only crash on a null pointer.
template <typename T = QWidget> T* Child(const QObject* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c) qFatal("no child %s", qPrintable(name));
    return c;
}

// Runs what the last events posted, and what that posted in turn.
inline void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Saves a picture for a person to look at, only when VANTREL_SHOTS names a
// folder; tests never depend on it.
inline void Shot(const QImage& img, const QString& name) {
    const QString dir = qEnvironmentVariable("VANTREL_SHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    img.save(dir + "/" + name + ".png");
}
inline void Shot(QWidget* w, const QString& name) {
    if (!qEnvironmentVariableIsEmpty("VANTREL_SHOTS")) Shot(w->grab().toImage(), name);
}

} // namespace testui
