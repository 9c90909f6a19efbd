#pragma once
// Putting the printed report on paper: the renderer draws the layout's
// operations on any paged device (a printer, a PDF file), and PrintReport
// runs the whole job: choose the printer, print.
#include "learners/printlayout.h"

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

// Draws `ops` with `painter`, already begun on `device`. Fonts are "Arial"
// sized so that their character cell has the operation's height. False when
// the device refused a new page.
bool RenderReportPrint(QPainter& painter, QPagedPaintDevice& device, const QList<PrintOp>& ops);

// Lays the report out for the device's printable area and draws it on a
// device no painter is active on. False when the job could not start or
// a page could not be added.
bool PrintReportOn(QPagedPaintDevice& device, const ReportPrintData& data);

// The interactive step of printing, replaceable for tests.
struct ReportPrintHooks {
    // Lets the teacher choose the printer or a PDF file; false: cancelled.
    std::function<bool(QPrinter& printer, QWidget* parent)> Choose;
};
// The print dialog; the job follows it at once. When the environment
// variable VANTREL_REPORT_PDF names a file, the report goes to that PDF file
// without the dialog (unattended runs, the end-to-end test).
ReportPrintHooks DefaultReportPrintHooks();
// The hooks the console uses (the defaults until replaced).
ReportPrintHooks& ReportPrinting();

// Choose, print. A job that cannot start or a PDF file that cannot
// be written shows "Ошибка печати". Returns true when the report was printed.
bool PrintReport(const ReportPrintData& data, QWidget* parent);
