#pragma once
// Error types of the program. Every user-facing entry point runs inside the
// guard (guard.h), which catches these and shows their text.
#include <QString>
#include <exception>
#include <string>

class VError : public std::exception {
public:
    explicit VError(QString text) : m_text(std::move(text)), m_utf8(m_text.toStdString()) {}
    const QString& text() const { return m_text; }
    const char* what() const noexcept override { return m_utf8.c_str(); }

private:
    QString m_text;
    std::string m_utf8;
};

// File errors carry the classic I/O error codes: 2 file not found,
// 3 invalid filename, 4 too many open files, 5 access denied,
// 100 read beyond end of file, 101 disk full, anything else "I/O error N".
class FileError : public VError {
public:
    explicit FileError(int code, QString fileName = {});
    int code() const { return m_code; }
    const QString& fileName() const { return m_file; }

    static QString TextOf(int code);
    // Maps an errno value of the operating system to the code above.
    static int CodeFromErrno(int err);
    static FileError FromErrno(int err, const QString& fileName = {});

private:
    int m_code;
    QString m_file;
};

enum FileErrorCode {
    ErrFileNotFound = 2,
    ErrInvalidFilename = 3,
    ErrTooManyOpenFiles = 4,
    ErrAccessDenied = 5,
    ErrReadBeyondEnd = 100,
    ErrDiskFull = 101,
    ErrAlreadyExists = 183,
};

// A text that should have been a number.
class ConvertError : public VError {
public:
    explicit ConvertError(const QString& value)
        : VError(QStringLiteral("'%1' is not a valid integer value").arg(value)) {}
};
