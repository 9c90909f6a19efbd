#pragma once
// Fixtures shared by the drill tests: lesson bytes, the message recorder,
// child lookup.
#include "base/cp1251.h"
#include "controls/ui_hooks.h"

#include <QLabel>
#include <QStringList>
#include <QWidget>

inline QByteArray W(const QString& s) {
    return EncodeCp1251(s);
}
// Lines joined by `eol`; `lastEnd` says whether the last line is ended too.
QByteArray Join(const QList<QByteArray>& lines, const QByteArray& eol = "\r\n",
                bool lastEnd = true);
// 16-bit mono PCM, 8000 Hz, silent, `ms` long.
QByteArray Wave(int ms);

// Records the program's messages instead of showing them.
struct Messages {
    QStringList texts, titles;
    QList<int> flags;
    XMessageHandler old;
    Messages();
    ~Messages();
};

template <typename T> T* Child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c) qWarning("no child %s", qPrintable(name));
    return c;
}
inline QString Text(QWidget* w, const char* label) {
    return Child<QLabel>(w, label)->text();
}
