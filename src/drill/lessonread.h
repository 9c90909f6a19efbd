#pragma once
// Helpers shared by the lesson file readers.
#include "base/errors.h"
#include "base/textfile.h"
#include "base/timingline.h"
#include "drill/lexicfiles.h"

namespace lessonread {

inline bool ReadAll(const QString& name, LessonFile role, QByteArray& data, LessonReadStatus& st) {
    try {
        data = ReadWholeFile(name);
        return true;
    } catch (const VError& e) {
        st.Set(role, 0, name, e.text());
        return false;
    }
}

// Reads ranges for entries 0..count-1 through `store`; returns false on a bad line.
template <typename Store>
bool ReadTiming(const QString& name, int count, LessonReadStatus& st, Store store) {
    QByteArray data;
    if (!ReadAll(name, LessonFile::Timing, data, st)) return false;
    LineReader r(data);
    QByteArray line;
    for (int i = 0; i < count && r.next(line); ++i) {
        try {
            store(i, ParseTimingLine(line, false));
        } catch (const VError& e) {
            st.Set(LessonFile::Timing, r.lineNumber(), name, e.text());
            return false;
        }
    }
    return true;
}

} // namespace lessonread
