#pragma once
// The files an exercise works on, as its course item names them.
#include "course/course.h"

#include <QString>

struct TLessonFiles {
    QString Text;        // lesson text, expressions or questions
    QString Translation; // translations or answers
    QString Sound;       // the lesson's wave recording
    QString Timing;      // positions of the entries in the recording
    QString Pictures;    // picture schedule of a text lesson

    static TLessonFiles Of(const TCourseItem& it) {
        return {it.DataFile1, it.DataFile2, it.DataFile3, it.DataFile4, it.DataFile5};
    }
};
