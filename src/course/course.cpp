#include "course/course.h"

#include "base/cp1251.h"
#include "base/numconv.h"
#include "base/progresswindow.h"
#include "base/textfile.h"

#include <array>

namespace {
std::array<CourseTable, 4>& tables() {
    static std::array<CourseTable, 4> t{CourseTable(1), CourseTable(1), CourseTable(1), CourseTable(1)};
    return t;
}

int modeIndex(char mode) { return ValidMode(mode) ? mode - 'A' : -1; }

const char* const kFieldNames[] = {"",         "Caption",   "IsChild",   "RefIndex",
                                   "InfoKind", "InfoFile",  "ExerciseKind", "DataFile1",
                                   "DataFile2", "DataFile3", "DataFile4", "DataFile5"};

// Splits a line field by field, the way the structure files are defined.
class FieldCutter {
public:
    explicit FieldCutter(QByteArrayView line) : m_rest(line) {}
    // Fields 1 to 6: the text before the first TAB; with no TAB left the
    // text is empty and nothing is removed.
    QByteArrayView required() {
        qsizetype tab = m_rest.indexOf('\t');
        if (tab < 0) return {};
        QByteArrayView f = m_rest.first(tab);
        m_rest = m_rest.sliced(tab + 1);
        return f;
    }
    // File fields: the same rule (an immediate TAB gives an empty field).
    QByteArrayView optional() { return required(); }
    QByteArrayView rest() {
        QByteArrayView r = m_rest;
        m_rest = {};
        return r;
    }

private:
    QByteArrayView m_rest;
};

QString text255(QByteArrayView b) { return DecodeCp1251(b.first(qMin<qsizetype>(b.size(), 255))); }
} // namespace

CourseFormatError::CourseFormatError(const QString& f, int l, const QString& fld, const QString& why)
    : VError(QStringLiteral("%1, line %2, field %3: %4").arg(f).arg(l).arg(fld, why)), file(f),
      field(fld), line(l) {}

bool KeepsRecording(int kind) { return kind == 4 || (kind >= 12 && kind <= 15); }

bool ValidMode(char mode) { return mode >= 'A' && mode <= 'D'; }

QString CourseFileName(char mode) { return QStringLiteral("InitReg%1.txt").arg(QChar(mode)); }

TCourseItem ParseCourseLine(const QByteArray& line, const QString& fileName, int lineNo) {
    FieldCutter cut(line);
    TCourseItem it;
    auto fail = [&](int field, const QString& why) -> CourseFormatError {
        return CourseFormatError(fileName, lineNo,
                                 QStringLiteral("%1 (%2)").arg(field).arg(kFieldNames[field]), why);
    };
    auto toInt = [&](int field, QByteArrayView text) {
        auto v = TryStrToInt(text);
        if (!v) throw fail(field, ConvertError(DecodeCp1251(text)).text());
        return *v;
    };
    auto toByte = [&](int field, QByteArrayView text) {
        qint32 v = toInt(field, text);
        if (v < 0 || v > 255)
            throw fail(field, QStringLiteral("%1 is outside 0..255").arg(v));
        return quint8(v);
    };
    it.Caption = text255(cut.required());
    it.IsChild = cut.required() != QByteArrayView("0");
    it.RefIndex = toInt(3, cut.required());
    it.InfoKind = toByte(4, cut.required());
    it.InfoFile = text255(cut.optional());
    it.ExerciseKind = toByte(6, cut.required());
    it.DataFile1 = text255(cut.optional());
    it.DataFile2 = text255(cut.optional());
    it.DataFile3 = text255(cut.optional());
    it.DataFile4 = text255(cut.optional());
    it.DataFile5 = text255(cut.rest());
    return it;
}

CourseTable ReadCourseFile(const QString& fileName) {
    QByteArray data;
    try {
        data = ReadWholeFile(fileName);
    } catch (const FileError& e) {
        throw FileError(e.code(), fileName);
    }
    const int count = CountLines(data);
    CourseTable t;
    t.reserve(count + 1);
    t.append(TCourseItem{});
    LineReader r(data);
    QByteArray line;
    while (r.next(line)) {
        TCourseItem it = ParseCourseLine(line, fileName, r.lineNumber());
        if (it.RefIndex < 0 || it.RefIndex > count)
            throw CourseFormatError(fileName, r.lineNumber(), QStringLiteral("3 (RefIndex)"),
                                    QStringLiteral("item %1 does not exist").arg(it.RefIndex));
        t.append(std::move(it));
    }
    return t;
}

void LoadCourseTables() {
    std::array<CourseTable, 4> fresh;
    for (int m = 0; m < 4; ++m) fresh[m] = ReadCourseFile(CourseFileName(char('A' + m)));
    tables() = std::move(fresh); // all four or none
}

int CourseItemCount(char mode) {
    int m = modeIndex(mode);
    return m < 0 ? 0 : int(tables()[m].size()) - 1;
}

const TCourseItem& CourseItem(char mode, int i) {
    static const TCourseItem empty;
    int m = modeIndex(mode);
    if (m < 0 || i < 1 || i >= tables()[m].size()) return empty;
    return tables()[m][i];
}

const CourseTable& CourseTableOf(char mode) {
    static const CourseTable empty(1);
    int m = modeIndex(mode);
    return m < 0 ? empty : tables()[m];
}

void SetCourseTables(const CourseTable t[4]) {
    for (int m = 0; m < 4; ++m) tables()[m] = t[m].isEmpty() ? CourseTable(1) : t[m];
}
