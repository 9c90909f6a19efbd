#pragma once
// Lesson fixtures of the text tests; the rest comes from tests/common.
#include "common/messages.h"
#include "common/wave.h"
#include "common/widgets.h"

#include <QColor>
#include <QString>

qint64 WaveMs(const QString& path);
// A solid picture of the size the lesson pictures have.
void WritePicture(const QString& path, QColor c);
