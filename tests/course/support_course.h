#pragma once
// Course structure files for the course tests.
#include "common/testenv.h"
#include "course/course.h"

// A course of `items` lines: a root and exercises below it.
inline QByteArray CourseOf(int items) {
    QByteArray d = "Root\t1\t0\t0\t\t0\t\r\n";
    for (int i = 2; i <= items; ++i)
        d += "E\t1\t1\t0\t\t1\t\r\n";
    return d;
}

// Writes InitRegD.txt as `d` and the other three as `other` (or `d`), then loads them.
inline void LoadCourses(const testenv::CourseDir& dir, const QByteArray& d,
                        const QByteArray& other = {}) {
    for (char m : {'A', 'B', 'C'})
        testenv::WriteBytes(dir.file(CourseFileName(m)), other.isEmpty() ? d : other);
    testenv::WriteBytes(dir.file(CourseFileName('D')), d);
    LoadCourseTables();
}
