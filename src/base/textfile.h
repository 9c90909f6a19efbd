#pragma once
// Reading and writing the course's single-byte text files.
// Lines end with CR LF; a bare LF also ends a line, and so does a CR that
// ends the data; a last line without an end still counts; a line break after
// the last line adds no line.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Whole content of a file; throws FileError when it cannot be opened or read.
QByteArray ReadWholeFile(const QString& path);

// Walks the lines of a byte buffer without copying it.
class LineReader {
public:
    explicit LineReader(QByteArray data) : m_data(std::move(data)) {}
    static LineReader FromFile(const QString& path) { return LineReader(ReadWholeFile(path)); }

    // Next line without its end; false at the end of the data.
    bool next(QByteArray& line);
    bool atEnd() const { return m_pos >= m_data.size(); }
    // Number of lines handed out so far (the number of the last line read).
    int lineNumber() const { return m_line; }

private:
    QByteArray m_data;
    qsizetype m_pos = 0;
    int m_line = 0;
};

int CountLines(const QByteArray& data);
int CountFileLines(const QString& path);

// Every line of a file, raw bytes.
QList<QByteArray> SplitLines(const QByteArray& data);
QList<QByteArray> ReadFileLines(const QString& path);
// Every line of a file, decoded from Windows-1251.
QStringList ReadTextLines(const QString& path);

// Replaces a file atomically: the old file stays until the new content is
// complete on disk. Throws FileError.
void WriteFileAtomic(const QString& path, const QByteArray& bytes);
// Lines encoded to Windows-1251, each ended with CR LF.
QByteArray JoinLinesCrLf(const QStringList& lines);
