#include "text/lessonfiles.h"

#include "base/cp1251.h"
#include "base/errors.h"
#include "base/numconv.h"
#include "base/paths.h"
#include "base/textfile.h"

namespace {

void fail(TLessonReadError& err, const QString& file, int line, const QString& reason) {
    if (err.failed()) return; // the first failure is the one that stopped the reading
    err.File = file;
    err.Line = line;
    err.Reason = reason;
}

bool readAll(const QString& name, QByteArray& data, TLessonReadError& err) {
    try {
        data = ReadWholeFile(name);
        return true;
    } catch (const VError& e) {
        fail(err, name, 0, e.text());
        return false;
    }
}

QString tooLong() {
    return QStringLiteral("More lines than the lesson text");
}

} // namespace

QString TLessonReadError::describe() const {
    if (!failed()) return {};
    if (Line > 0) return QStringLiteral("%1, line %2: %3").arg(File).arg(Line).arg(Reason);
    return QStringLiteral("%1: %2").arg(File, Reason);
}

QStringList ReadLessonLines(const QString& storedName, int maxLines, TLessonReadError& err) {
    QStringList out;
    QByteArray data;
    if (!readAll(storedName, data, err)) return out;
    LineReader r(data);
    QByteArray line;
    while (r.next(line)) {
        if (maxLines >= 0 && out.size() >= maxLines) {
            fail(err, storedName, r.lineNumber(), tooLong());
            break;
        }
        out.append(DecodeCp1251(line));
    }
    return out;
}

QList<TTimingEntry> ReadTimingFile(const QString& storedName, int n, TLessonReadError& err,
                                   bool ignoreBeyondN) {
    QList<TTimingEntry> out(qMax(0, n) + 1);
    QByteArray data;
    if (!readAll(storedName, data, err)) return out;
    LineReader r(data);
    QByteArray line;
    while (r.next(line)) {
        const int i = r.lineNumber();
        if (i > n) {
            if (!ignoreBeyondN) fail(err, storedName, i, tooLong());
            break;
        }
        try {
            out[i] = ParseTimingLine(line, true);
        } catch (const VError& e) {
            fail(err, storedName, i, e.text());
            break;
        }
    }
    return out;
}

TPictureEntry ParsePictureLine(const QByteArray& line) {
    if (line.isEmpty()) throw VError(QStringLiteral("Empty line"));
    TPictureEntry e;
    if (line[0] == '#') return e;
    const qsizetype tab1 = line.indexOf('\t');
    const qsizetype tab2 = tab1 < 0 ? -1 : line.indexOf('\t', tab1 + 1);
    // Without a second TAB the "to" field would run to the end and the name
    // be empty; the field is then no number.
    if (tab2 < 0) throw ConvertError(QString());
    const TTimingEntry range = ParseTimingLine(line.left(tab2), false);
    e.FromPos = range.StartPos;
    e.ToPos = range.EndPos;
    e.PictureFile = DecodeCp1251(QByteArrayView(line).sliced(tab2 + 1));
    return e;
}

QList<TPictureEntry> ReadPictureSchedule(const QString& storedName, TLessonReadError& err) {
    QByteArray data;
    if (!readAll(storedName, data, err)) return QList<TPictureEntry>(1);
    QList<TPictureEntry> out(CountLines(data) + 1);
    LineReader r(data);
    QByteArray line;
    while (r.next(line)) {
        const int i = r.lineNumber();
        try {
            out[i] = ParsePictureLine(line);
        } catch (const VError& e) {
            fail(err, storedName, i, e.text());
            break;
        }
    }
    return out;
}

TCommentLine ParseCommentLine(const QByteArray& line) {
    if (line.isEmpty()) throw VError(QStringLiteral("Empty line"));
    TCommentLine c;
    c.SintagmNo = StrToInt(QByteArrayView(line).first(qMin<qsizetype>(3, line.size())));
    if (line.size() > 3) c.Text = DecodeCp1251(QByteArrayView(line).sliced(3));
    return c;
}

QList<TCommentLine> ReadComments(const QString& storedName, TLessonReadError& err) {
    QList<TCommentLine> out;
    if (!FileExists(storedName)) return out;
    QByteArray data;
    if (!readAll(storedName, data, err)) return out;
    LineReader r(data);
    QByteArray line;
    while (r.next(line)) {
        try {
            out.append(ParseCommentLine(line));
        } catch (const VError& e) {
            fail(err, storedName, r.lineNumber(), e.text());
            break;
        }
    }
    return out;
}

int FindPicture(const QList<TPictureEntry>& entries, qint32 t) {
    for (int k = 1; k < entries.size(); ++k)
        if (entries[k].FromPos < t && t <= entries[k].ToPos) return k;
    return 0;
}

bool HasComment(const QList<TCommentLine>& comments, int sintagmNo) {
    for (const TCommentLine& c : comments)
        if (c.SintagmNo == sintagmNo) return true;
    return false;
}

QString CommentFileName(const QString& lessonTextFile) {
    return ReplaceLast3(lessonTextFile, QStringLiteral("apc"));
}

QString LearnerTimingFileName(const QString& recordingFile) {
    return ReplaceLast3(recordingFile, QStringLiteral("txt"));
}

TLessonData ReadWorkTextLesson(const QString& textFile, const QString& transFile,
                               const QString& timingFile, const QString& pictureFile,
                               const QString& learnerRecording) {
    TLessonData d;
    TLessonReadError& err = d.Error;
    d.Text = ReadLessonLines(textFile, -1, err);
    d.N = int(d.Text.size());
    d.Timing = QList<TTimingEntry>(d.N + 1);
    d.LearnerTiming = QList<TTimingEntry>(d.N + 1);
    d.Pictures = QList<TPictureEntry>(1);
    if (err.failed()) return d;
    d.Trans = ReadLessonLines(transFile, d.N, err);
    if (err.failed()) return d;
    d.Timing = ReadTimingFile(timingFile, d.N, err);
    if (err.failed()) return d;
    if (!learnerRecording.isEmpty()) {
        const QString name = LearnerTimingFileName(learnerRecording);
        if (FileExists(name)) {
            TLessonReadError own;
            QList<TTimingEntry> t = ReadTimingFile(name, d.N, own, true);
            if (own.failed()) {
                // Reported, but the lesson itself is fine: play the learner's
                // recording with the lesson's positions.
                err = own;
            } else {
                d.LearnerTiming = t;
                d.LearnerTimingLoaded = true;
            }
        }
    }
    TLessonReadError rest;
    d.Pictures = ReadPictureSchedule(pictureFile, rest);
    d.M = int(d.Pictures.size()) - 1;
    if (!rest.failed()) d.Comments = ReadComments(CommentFileName(textFile), rest);
    if (rest.failed() && !err.failed()) err = rest;
    return d;
}

// ---------------------------------------------------------------------------

TLearnerTimingWriter::TLearnerTimingWriter(const QString& storedName, const QStringList& lessonText)
    : m_file(std::make_unique<QSaveFile>(NativePath(storedName))), m_name(storedName),
      m_text(lessonText) {
    if (!m_file->open(QIODevice::WriteOnly)) {
        const bool denied = m_file->error() == QFileDevice::PermissionsError;
        m_file.reset();
        throw FileError(denied ? ErrAccessDenied : ErrFileNotFound, storedName);
    }
}

TLearnerTimingWriter::~TLearnerTimingWriter() {
    Abort();
}

bool TLearnerTimingWriter::isSilentLine(int lineNo) const {
    const QString& s = m_text[lineNo - 1];
    return !s.isEmpty() && s[0] == QLatin1Char('#');
}

void TLearnerTimingWriter::put(const QByteArray& bytes) {
    if (m_file) m_file->write(bytes);
}

// Writes "#\t#" for every silent line that follows the last written one.
void TLearnerTimingWriter::silentRun() {
    while (m_written < m_text.size() && isSilentLine(m_written + 1)) {
        put("#\t#\r\n");
        ++m_written;
    }
}

void TLearnerTimingWriter::Begin() {
    if (m_begun || m_done) return;
    m_begun = true;
    if (m_text.isEmpty()) return;
    put("#\t#\r\n"); // the title line
    m_written = 1;
    silentRun();
    if (m_written < m_text.size()) {
        put("0\t");
        m_open = m_written + 1;
    }
}

void TLearnerTimingWriter::SintagmEnd(qint64 learnerPos) {
    if (!m_begun || m_done || m_open == 0) return;
    put(QByteArray::number(learnerPos) + "\r\n");
    m_written = m_open;
    m_open = 0;
    silentRun();
    if (m_written < m_text.size()) {
        put(QByteArray::number(learnerPos) + "\t");
        m_open = m_written + 1;
    }
}

void TLearnerTimingWriter::Finish(qint64 learnerPos) {
    if (m_done || !m_file) return;
    Begin();
    if (m_open != 0) {
        put(QByteArray::number(learnerPos) + "\r\n");
        m_written = m_open;
        m_open = 0;
    }
    // Lines the run never reached have no sound in the learner's recording.
    while (m_written < m_text.size()) {
        put("#\t#\r\n");
        ++m_written;
    }
    m_done = true;
    const bool ok = m_file->flush() && m_file->commit();
    const QFileDevice::FileError code = m_file->error();
    m_file.reset();
    if (!ok)
        throw FileError(code == QFileDevice::ResourceError ? ErrDiskFull : ErrAccessDenied, m_name);
}

void TLearnerTimingWriter::Abort() {
    if (m_file) {
        m_file->cancelWriting();
        m_file.reset();
    }
    m_done = true;
}
