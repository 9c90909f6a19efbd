#include "base/errors.h"

#include <cerrno>

FileError::FileError(int code, QString fileName)
    : VError(TextOf(code)), m_code(code), m_file(std::move(fileName)) {}

QString FileError::TextOf(int code) {
    switch (code) {
    case ErrFileNotFound: return QStringLiteral("File not found");
    case ErrInvalidFilename: return QStringLiteral("Invalid filename");
    case ErrTooManyOpenFiles: return QStringLiteral("Too many open files");
    case ErrAccessDenied: return QStringLiteral("File access denied");
    case ErrReadBeyondEnd: return QStringLiteral("Read beyond end of file");
    case ErrDiskFull: return QStringLiteral("Disk full");
    default: return QStringLiteral("I/O error %1").arg(code);
    }
}

int FileError::CodeFromErrno(int err) {
    switch (err) {
    case ENOENT: return ErrFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP: return ErrInvalidFilename;
    case EMFILE:
    case ENFILE: return ErrTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EBUSY:
    case ETXTBSY: return ErrAccessDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG: return ErrDiskFull;
    case EEXIST: return ErrAlreadyExists;
    case ENOTEMPTY: return 145;
    case EIO: return 1117;
    default: return err > 0 ? err : 1117;
    }
}

FileError FileError::FromErrno(int err, const QString& fileName) {
    return FileError(CodeFromErrno(err), fileName);
}
