#pragma once
// Fixtures shared by the text tests: silent waves, pictures, child lookup,
// the message recorder and the event-loop settle.
#include "controls/ui_hooks.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

// A silent 8 kHz mono wave file of `ms` milliseconds.
void WriteWave(const QString& path, int ms);
qint64 WaveMs(const QString& path);
void WritePicture(const QString& path, QColor c);
void Settle();

template <typename T> T* Child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no child %s", name);
    return c;
}

// Records the program's messages as "text|title|flags".
struct Messages {
    QStringList got;
    XMessageHandler old;
    Messages();
    ~Messages();
};
