// Progress files of any length and content, read for a course of a size
// taken from the first byte.
#include "base/errors.h"
#include "course/progress.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    if (size < 1) return 0;
    const int count = data[0];
    QFile f(dir.filePath(QStringLiteral("p.rep")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char*>(data + 1), qint64(size - 1));
    f.close();
    ProgressTable t;
    try {
        ReadProgressCount(dir.filePath(QStringLiteral("p.rep")), count, t);
        // A complete table writes back and reads back the same.
        WriteProgress(dir.filePath(QStringLiteral("q.rep")), t);
        ProgressTable u;
        ReadProgressCount(dir.filePath(QStringLiteral("q.rep")), count, u);
        for (int k = 1; k <= count; ++k)
            if (u[k].Done != t[k].Done || u[k].Score != t[k].Score || u[k].RecordFile != t[k].RecordFile)
                __builtin_trap();
    } catch (const VError&) {
        if (t.Complete) __builtin_trap();
    }
    return 0;
}
