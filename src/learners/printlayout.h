#pragma once
// The printed report of one learner as a list of drawing operations in
// printer pixels: texts (top-left corner of the character cell, cell
// height), straight rules and page breaks. No painting here; the renderer
// (printreport.h) puts the operations on a page.
#include "course/course.h"
#include "course/progress.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

struct PrintOp {
    enum Kind { Text, Rule, NewPage };
    Kind kind = Text;
    int x = 0, y = 0;   // text: top-left of the cell; rule: one end
    int x2 = 0, y2 = 0; // rule: the other end
    int height = 0;     // text: character cell height
    int right = 0;      // text: the edge it must not pass (its column), 0 for none
    QString text;
};

// One course item with its progress, as the printout needs it.
struct PrintItem {
    int kind = 0;
    QString caption;
    bool done = false;
    int score = 0;
};

struct ReportPrintData {
    QString userName;
    char mode = 'D';
    QString dateText;       // PrintDateText of the moment of printing
    QList<PrintItem> items; // items 1..count in order
    bool onlyDone = false;  // "Печать только выполненых"
};

// Items 1..progress count (and no further than the course table goes).
QList<PrintItem> PrintItemsOf(const CourseTable& course, const ProgressTable& progress);

// " 05, марта , 2024,   Время:  09:07 ": the month's full name in the
// language of `locale`.
QString PrintDateText(const QDateTime& when, const QLocale& locale);

// The operations of the whole report for a printable page of pw x ph pixels.
QList<PrintOp> LayoutReportPrint(int pw, int ph, const ReportPrintData& data);
