#pragma once
// Shared by the fuzz targets. Inputs go to files in one temporary directory,
// always by absolute path: the current directory must stay where it is,
// libFuzzer names its corpus and artifacts relative to it.
//
// Targets that read several files take them from one input, cut at the
// separator "|||" (part 1, part 2, ...). A part the input lacks is a missing
// file, so the readers' "file not there" paths get exercised too.
#include <cstdint>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace fuzz {

inline const QTemporaryDir& Dir() {
    static QTemporaryDir dir;
    return dir;
}

inline QString PathOf(const QString& name) {
    return Dir().filePath(name);
}

// Writes the file, or removes it when `bytes` is null (a missing part).
inline QString Put(const QString& name, const QByteArray& bytes) {
    const QString path = PathOf(name);
    QFile::remove(path);
    if (bytes.isNull()) return path;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
    if (f.write(bytes) != bytes.size()) __builtin_trap();
    return path;
}

inline QByteArray Bytes(const uint8_t* data, size_t size) {
    // Never null, even when empty: an empty input is an empty file.
    return size ? QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)) : QByteArray("");
}

// Up to `count` parts; the missing ones are null byte arrays.
inline QList<QByteArray> Parts(const uint8_t* data, size_t size, int count) {
    const QByteArray all = Bytes(data, size);
    QList<QByteArray> out;
    qsizetype from = 0;
    while (out.size() < count - 1) {
        const qsizetype at = all.indexOf("|||", from);
        if (at < 0) break;
        out.append(all.mid(from, at - from));
        if (out.last().isNull()) out.last() = QByteArray("");
        from = at + 3;
    }
    QByteArray rest = all.mid(from);
    if (rest.isNull()) rest = QByteArray("");
    out.append(rest);
    while (out.size() < count)
        out.append(QByteArray());
    return out;
}

} // namespace fuzz
