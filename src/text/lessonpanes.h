#pragma once
// The two white panes (text, translation) with their stand-in pictures that
// both text windows show side by side.
#include <QPixmap>

class QLabel;
class QWidget;

struct LessonPanes {
    QWidget* Text = nullptr;
    QWidget* Trans = nullptr;
    QLabel* ImageStatic = nullptr; // over the text pane while the text is hidden
    QLabel* ImageChange = nullptr; // the schedule's pictures in the translation pane
};

// Makes PanelText, PanelTrans, ImageStatic and ImageChange on `owner`.
LessonPanes MakeLessonPanes(QWidget* owner);
// The calm picture shown in place of the hidden text.
QPixmap StaticLessonPicture();
