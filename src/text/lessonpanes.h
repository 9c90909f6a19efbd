#pragma once
// The two white panes (text, translation) with their stand-in pictures that
// both text windows show side by side.
#include <QList>
#include <QPixmap>
#include <QString>

class QLabel;
class QVBoxLayout;
class QWidget;
class TChBxImgTransD1Zv;

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

struct LessonCheck {
    QString Name, Caption;
};
// The column of option boxes below the panes, made on `parent` in the order
// given. `inverted`: an option is on while its box is clear.
QVBoxLayout* MakeCheckColumn(QWidget* parent, const QList<LessonCheck>& checks, bool inverted,
                             QList<TChBxImgTransD1Zv*>& boxes);
