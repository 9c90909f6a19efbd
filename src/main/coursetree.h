#pragma once
// The course tree of the main window, built from a work mode's table.
#include <QList>

class QTreeWidget;
class QTreeWidgetItem;

// Clears the tree and adds one node per item of the mode's table; the root
// is selected afterwards. The node of item i is at display position i - 1.
void FillCourseTree(QTreeWidget* tree, char mode);
// The nodes as the tree lists them from top to bottom when everything is
// expanded: the node at position p belongs to item p + 1.
QList<QTreeWidgetItem*> NodesInDisplayOrder(QTreeWidget* tree);
// Item number of a node (display position + 1), 0 for none.
int ItemNumberOf(QTreeWidget* tree, QTreeWidgetItem* node);
