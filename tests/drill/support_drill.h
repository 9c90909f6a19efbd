#pragma once
// Lesson-file bytes for the drill tests.
#include "base/cp1251.h"
#include "controls/ui_hooks.h"

#include <QByteArray>
#include <QList>

inline QByteArray W(const QString& s) {
    return EncodeCp1251(s);
}
// Lines joined by `eol`; `lastEnd` says whether the last line is ended too.
inline QByteArray Join(const QList<QByteArray>& lines, const QByteArray& eol = "\r\n",
                       bool lastEnd = true) {
    QByteArray out;
    for (int i = 0; i < lines.size(); ++i)
        out += lines[i] + (i + 1 < lines.size() || lastEnd ? eol : QByteArray());
    return out;
}
