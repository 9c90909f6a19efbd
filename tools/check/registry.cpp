#include "check/registry.h"

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
