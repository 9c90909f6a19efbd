#pragma once
// What vantrel-check is made of. Every dump kind and every check lives in a
// source file of its own and registers itself with a static registrar:
//
//   static const check::Registrar reg(check::DumpKind{"course", "course FILE", &DumpCourse});
//
// The driver (main.cpp) finds them here.
#include "course/course.h"

#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace check {

// The findings of one run, printed as "FILE:LINE: message" (line 0 names the
// file as a whole). The same finding is kept once.
class Findings {
public:
    void Add(const QString& file, int line, const QString& message);
    const QStringList& Lines() const { return m_lines; }
    bool Empty() const { return m_lines.isEmpty(); }

private:
    QStringList m_lines;
    QSet<QString> m_seen;
};

// The course being checked; the course directory is the current directory.
class Course {
public:
    QString DataRoot = QStringLiteral("DemoData\\");
    // Tables of the modes A..D as read; Loaded[m] is false when the file did not load.
    CourseTable Tables[4];
    bool Loaded[4] = {false, false, false, false};

    // The launcher's rule: a name that exists (file or directory) is kept,
    // otherwise the data root goes in front of it.
    QString Resolve(const QString& stored) const;
    // Information pages always lie below the data root.
    QString InfoPath(const QString& stored) const { return DataRoot + stored; }
    // A stored name as the findings show it: native separators.
    static QString Shown(const QString& stored);
    // True the first time a key is asked for: a file that several items (or
    // several modes) name is checked once.
    bool FirstTime(const QString& key);

private:
    QSet<QString> m_done;
};

// One course item as the checks see it.
struct ItemRef {
    char Mode;
    int Index; // 1-based item number = line of the structure file
    const TCourseItem& Item;
    QString StructureFile; // InitRegX.txt
};

using CourseCheckFn = void (*)(Course&, Findings&);
using ItemCheckFn = void (*)(Course&, const ItemRef&, Findings&);
// Fills `out` with what was read; on a reader failure sets out["error"] and
// returns 2. A wrong command line: message in `usage`, returns 64.
using DumpFn = int (*)(const QStringList& args, QJsonObject& out, QString& usage);

// Checks of the course as a whole (run once, after the structure files were read).
struct CourseCheck {
    const char* Name;
    CourseCheckFn Run;
    int Order = 50; // lower runs first
};
// Checks run for every item of every mode.
struct ItemCheck {
    const char* Name;
    ItemCheckFn Run;
    int Order = 50;
};
struct DumpKind {
    const char* Kind;
    const char* Usage; // e.g. "course FILE"
    DumpFn Run;
};
// A mode of its own, chosen by an option: "vantrel-check OPTION ARGS...".
// Returns the exit status (64 for a wrong command line).
using CommandFn = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);
struct Command {
    const char* Option; // e.g. "--audio"
    const char* Usage;  // e.g. "--audio [COURSE_DIR]"
    CommandFn Run;
    const char* Help = ""; // one line for --help
};

void Register(const CourseCheck& c);
void Register(const ItemCheck& c);
void Register(const DumpKind& d);
void Register(const Command& c);
QList<CourseCheck> CourseChecks(); // sorted by Order, then Name
QList<ItemCheck> ItemChecks();
QList<DumpKind> DumpKinds(); // sorted by Kind
QList<Command> Commands();   // sorted by Option

// Reads the four structure files of the course in the current directory
// into `course`, reporting the ones that do not load.
void LoadStructure(Course& course, Findings& findings);
// Exercise kinds whose data files are a text lesson (text, translation,
// sound, timing, pictures).
bool IsTextKind(int kind);

struct Registrar {
    template <typename T> explicit Registrar(const T& t) { Register(t); }
};

char ModeLetter(int m);

} // namespace check
