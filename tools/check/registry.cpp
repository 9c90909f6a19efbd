#include "check/registry.h"

#include "base/errors.h"
#include "base/paths.h"

#include <algorithm>

namespace check {

namespace {
// Function-local statics: registrars of other files may run before anything here.
QList<CourseCheck>& courseChecks() {
    static QList<CourseCheck> l;
    return l;
}
QList<ItemCheck>& itemChecks() {
    static QList<ItemCheck> l;
    return l;
}
QList<DumpKind>& dumpKinds() {
    static QList<DumpKind> l;
    return l;
}
QList<Command>& commands() {
    static QList<Command> l;
    return l;
}
template <typename T> QList<T> sorted(QList<T> l) {
    std::stable_sort(l.begin(), l.end(), [](const T& a, const T& b) {
        if (a.Order != b.Order) return a.Order < b.Order;
        return qstrcmp(a.Name, b.Name) < 0;
    });
    return l;
}
} // namespace

void Findings::Add(const QString& file, int line, const QString& message) {
    const QString text = QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message);
    if (m_seen.contains(text)) return;
    m_seen.insert(text);
    m_lines.append(text);
}

QString Course::Resolve(const QString& stored) const {
    if (PathExists(stored)) return stored;
    return (DataRoot + stored).left(255);
}

QString Course::Shown(const QString& stored) {
    return NativePath(stored);
}

bool Course::FirstTime(const QString& key) {
    if (m_done.contains(key)) return false;
    m_done.insert(key);
    return true;
}

void Register(const CourseCheck& c) {
    courseChecks().append(c);
}
void Register(const ItemCheck& c) {
    itemChecks().append(c);
}
void Register(const DumpKind& d) {
    dumpKinds().append(d);
}
void Register(const Command& c) {
    commands().append(c);
}
QList<Command> Commands() {
    QList<Command> l = commands();
    std::stable_sort(l.begin(), l.end(), [](const Command& a, const Command& b) {
        return qstrcmp(a.Option, b.Option) < 0;
    });
    return l;
}

void LoadStructure(Course& course, Findings& findings) {
    for (int m = 0; m < 4; ++m) {
        const QString file = CourseFileName(ModeLetter(m));
        try {
            course.Tables[m] = ReadCourseFile(file);
            course.Loaded[m] = true;
        } catch (const CourseFormatError& e) {
            const QString prefix = QStringLiteral("%1, line %2, ").arg(e.file).arg(e.line);
            QString msg = e.text();
            if (msg.startsWith(prefix)) msg = msg.mid(prefix.size());
            findings.Add(file, e.line, msg);
        } catch (const VError& e) {
            findings.Add(file, 0, e.text());
        }
    }
}

bool IsTextKind(int k) {
    return k == 4 || k == 5 || k == 8 || (k >= 11 && k <= 15);
}

QList<CourseCheck> CourseChecks() {
    return sorted(courseChecks());
}
QList<ItemCheck> ItemChecks() {
    return sorted(itemChecks());
}
QList<DumpKind> DumpKinds() {
    QList<DumpKind> l = dumpKinds();
    std::stable_sort(l.begin(), l.end(), [](const DumpKind& a, const DumpKind& b) {
        return qstrcmp(a.Kind, b.Kind) < 0;
    });
    return l;
}

char ModeLetter(int m) {
    return char('A' + m);
}

} // namespace check
