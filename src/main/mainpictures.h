#pragma once
// Pictures of the main window: tool bar buttons and the three tree node
// images (0 section or lesson, 1 exercise to do, 2 exercise done).
#include <QIcon>
#include <QString>

// `name` is one of "new-user", "select-user", "teacher", "run", "report",
// "exit".
QIcon ToolPicture(const QString& name);
QIcon NodePicture(int image);
