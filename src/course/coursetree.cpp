#include "course/course.h"

CourseTreeShape CourseTreeOf(const CourseTable& table) {
    CourseTreeShape s;
    const int count = std::max<int>(0, int(table.size()) - 1);
    s.Parent.fill(0, count + 1);
    s.Children.resize(count + 1);
    for (int i = 1; i <= count; ++i) {
        const TCourseItem& it = table[i];
        const int r = it.RefIndex;
        const bool linked = i > 1 && r > 0 && r < i;
        const int parent = linked ? (it.IsChild ? r : s.Parent[r]) : 0;
        s.Parent[i] = parent;
        (parent == 0 ? s.TopLevel : s.Children[parent]).append(i);
    }
    // Depth first without recursion: a long chain of children must not
    // exhaust the stack.
    QList<int> stack;
    for (int k = int(s.TopLevel.size()) - 1; k >= 0; --k)
        stack.append(s.TopLevel[k]);
    while (!stack.isEmpty()) {
        const int i = stack.takeLast();
        s.DisplayOrder.append(i);
        const QList<int>& c = s.Children[i];
        for (int k = int(c.size()) - 1; k >= 0; --k)
            stack.append(c[k]);
    }
    return s;
}
