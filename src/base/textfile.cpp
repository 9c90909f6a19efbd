#include "base/textfile.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace {
[[noreturn]] void throwFor(const QFileDevice& f, const QString& path, bool writing) {
    int err = errno;
    switch (f.error()) {
    case QFileDevice::OpenError:
        if (!writing && !QFileInfo::exists(NativePath(path))) throw FileError(ErrFileNotFound, path);
        if (err == 0) err = EACCES;
        throw FileError::FromErrno(err, path);
    case QFileDevice::PermissionsError: throw FileError(ErrAccessDenied, path);
    case QFileDevice::ResourceError:
        throw FileError(err == EMFILE || err == ENFILE ? ErrTooManyOpenFiles : ErrDiskFull, path);
    default:
        if (writing && (err == ENOSPC || err == EFBIG)) throw FileError(ErrDiskFull, path);
        throw FileError::FromErrno(err ? err : EIO, path);
    }
}
} // namespace

QByteArray ReadWholeFile(const QString& path) {
    const QString native = NativePath(path);
    QFileInfo info(native);
    if (path.isEmpty()) throw FileError(ErrFileNotFound, path);
    if (info.isDir()) throw FileError(ErrAccessDenied, path);
    QFile f(native);
    errno = 0;
    if (!f.open(QIODevice::ReadOnly)) throwFor(f, path, false);
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) throwFor(f, path, false);
    return data;
}

bool LineReader::next(QByteArray& line) {
    if (m_pos >= m_data.size()) return false;
    qsizetype end = m_data.indexOf('\n', m_pos);
    qsizetype stop = end < 0 ? m_data.size() : end;
    qsizetype len = stop - m_pos;
    // CR before LF belongs to the line end; so does a lone CR that ends the
    // file (a line end cut in half by an editor or a transfer).
    if (len > 0 && m_data[stop - 1] == '\r') --len;
    line = m_data.mid(m_pos, len);
    m_pos = end < 0 ? m_data.size() : end + 1;
    ++m_line;
    return true;
}

int CountLines(const QByteArray& data) {
    if (data.isEmpty()) return 0;
    int n = int(data.count('\n'));
    if (!data.endsWith('\n')) ++n;
    return n;
}

int CountFileLines(const QString& path) { return CountLines(ReadWholeFile(path)); }

QList<QByteArray> SplitLines(const QByteArray& data) {
    QList<QByteArray> out;
    out.reserve(CountLines(data));
    LineReader r(data);
    QByteArray line;
    while (r.next(line)) out.append(line);
    return out;
}

QList<QByteArray> ReadFileLines(const QString& path) { return SplitLines(ReadWholeFile(path)); }

QStringList ReadTextLines(const QString& path) {
    QStringList out;
    for (const QByteArray& l : ReadFileLines(path)) out.append(DecodeCp1251(l));
    return out;
}

void WriteFileAtomic(const QString& path, const QByteArray& bytes) {
    const QString native = NativePath(path);
    QSaveFile f(native);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly)) {
        int err = errno;
        QFileInfo dir(QFileInfo(native).absolutePath());
        if (!dir.exists()) throw FileError(ErrInvalidFilename, path);
        if (QFileInfo(native).isDir()) throw FileError(ErrAccessDenied, path);
        throw FileError::FromErrno(err ? err : EACCES, path);
    }
    // flush() here: QSaveFile's commit() does not notice a buffered write
    // that fails only when flushed (a full disk) and would rename a short
    // file over the good one.
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        int err = errno;
        f.cancelWriting();
        throw FileError::FromErrno(err ? err : ENOSPC, path);
    }
    if (!f.commit()) {
        int err = errno;
        throw FileError::FromErrno(err ? err : EIO, path);
    }
}

QByteArray JoinLinesCrLf(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) {
        out += EncodeCp1251(l);
        out += "\r\n";
    }
    return out;
}
