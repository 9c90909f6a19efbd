#include "main/coursetree.h"

#include "base/progresswindow.h"
#include "course/course.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

void FillCourseTree(QTreeWidget* tree, char mode) {
    const CourseTable& t = CourseTableOf(mode);
    const CourseTreeShape shape = CourseTreeOf(t);
    const int count = int(t.size()) - 1;
    auto progress = MakeProgressWindow();
    progress->start(count);
    // Lock drawing only when nobody above has locked it already; otherwise
    // the tree would stay locked after the owner unlocks.
    const bool lock = tree->updatesEnabled();
    if (lock) tree->setUpdatesEnabled(false);
    tree->clear();
    QList<QTreeWidgetItem*> nodes(count + 1, nullptr);
    QList<QTreeWidgetItem*> topLevel;
    for (int i = 1; i <= count; ++i) {
        if (i % 256 == 0 || i == count) progress->setPosition(i);
        auto* node = new QTreeWidgetItem(QStringList{t[i].Caption});
        if (const int p = shape.Parent[i])
            nodes[p]->addChild(node);
        else
            topLevel.append(node);
        nodes[i] = node;
    }
    tree->addTopLevelItems(topLevel);
    tree->expandAll();
    if (lock) tree->setUpdatesEnabled(true);
    progress->finish();
    if (tree->topLevelItemCount() > 0) tree->setCurrentItem(tree->topLevelItem(0));
}

QList<QTreeWidgetItem*> NodesInDisplayOrder(QTreeWidget* tree) {
    QList<QTreeWidgetItem*> out;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        out.append(*it);
    return out;
}

int ItemNumberOf(QTreeWidget* tree, QTreeWidgetItem* node) {
    if (!node) return 0;
    int p = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++p)
        if (*it == node) return p + 1;
    return 0;
}
