#pragma once
// The course structure of the four work modes: one TCourseItem per line of
// InitRegA.txt .. InitRegD.txt, numbered from 1 in line order.
#include "base/errors.h"

#include <QList>
#include <QString>

struct TCourseItem {
    QString Caption;
    bool IsChild = false;
    qint32 RefIndex = 0;
    quint8 InfoKind = 0;
    QString InfoFile;
    quint8 ExerciseKind = 0;
    QString DataFile1, DataFile2, DataFile3, DataFile4, DataFile5;
};

enum TExerciseKind : quint8 {
    ekNone = 0,
    ekLexicDemo = 1,
    ekLexic = 2,
    ekQuestDemo = 3,
    ekTransRecord = 4,
    ekWorkText = 5,
    ekQuestDown = 6,
    ekQuestTrFl = 7,
    ekTransListen = 8,
    ekTrans110 = 11,
    ekTrans140 = 12,
    ekTrans150 = 13,
    ekTrans160 = 14,
    ekTrans170 = 15,
};

// Kinds 4, 12, 13, 14 and 15 keep the learner's own recording.
bool KeepsRecording(int kind);

// A table of one work mode; index 0 exists and is never used.
using CourseTable = QList<TCourseItem>;

// Which file of a work mode ('A'..'D').
QString CourseFileName(char mode);

// A line of a course structure file that does not load: names the file, the
// line and the field.
class CourseFormatError : public VError {
public:
    CourseFormatError(const QString& file, int line, const QString& field, const QString& why);
    QString file, field;
    int line;
};

// Parses one line of a course structure file. Throws CourseFormatError
// naming `fileName`, `lineNo` and the field. RefIndex is not range-checked here.
TCourseItem ParseCourseLine(const QByteArray& line, const QString& fileName = {}, int lineNo = 0);
// Reads a whole file into a table (1-based, slot 0 unused), all or nothing.
// Throws FileError or CourseFormatError.
CourseTable ReadCourseFile(const QString& fileName);

// The four tables of the run, read once at start from the current directory.
void LoadCourseTables();
int CourseItemCount(char mode);
const TCourseItem& CourseItem(char mode, int i);
const CourseTable& CourseTableOf(char mode);
// For tests and tools: replaces the tables as a whole.
void SetCourseTables(const CourseTable tables[4]);
bool ValidMode(char mode);

// Where each item of a table stands in the course tree: an item hangs below
// its RefIndex (IsChild) or beside it; a RefIndex of 0 or not naming an
// earlier item puts it at the top level. Children keep line order.
struct CourseTreeShape {
    QList<int> Parent;          // per item, 0 for the top level; index 0 unused
    QList<int> TopLevel;        // items at the top level, in line order
    QList<QList<int>> Children; // per item, its children in line order
    QList<int> DisplayOrder;    // items as the expanded tree lists them
};
CourseTreeShape CourseTreeOf(const CourseTable& table);
