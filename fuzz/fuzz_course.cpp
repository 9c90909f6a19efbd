// Course structure files: any bytes either load or fail with an error.
#include "base/errors.h"
#include "course/course.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile f(dir.filePath(QStringLiteral("InitRegD.txt")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(bytes);
    f.close();
    try {
        CourseTable t = ReadCourseFile(dir.filePath(QStringLiteral("InitRegD.txt")));
        for (int i = 1; i < t.size(); ++i)
            if (t[i].RefIndex < 0 || t[i].RefIndex >= t.size() || t[i].Caption.size() > 255) __builtin_trap();
    } catch (const VError&) {
    }
    return 0;
}
