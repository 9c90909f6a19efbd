#pragma once
// Lesson fixtures of the text tests; the rest comes from tests/common.
#include "common/messages.h"
#include "common/testenv.h"
#include "common/wave.h"
#include "common/widgets.h"

#include <QColor>
#include <QObject>
#include <QString>

qint64 WaveMs(const QString& path);
// A solid picture of the size the lesson pictures have.
void WritePicture(const QString& path, QColor c);
// The text work lesson, lines 1..8: title, two sintagms, "#", two sintagms,
// a heading, a sintagm; pictures, comments on lines 3 and 5, a 7 s recording.
void WriteWorkTextLesson(const testenv::CourseDir& dir, bool withTiming);

// Base of the tests whose lessons play on the virtual audio back end: a private
// home, and the virtual clocks reset before each test.
class VirtualAudioTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
};
