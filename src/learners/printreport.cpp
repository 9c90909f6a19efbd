#include "learners/printreport.h"

#include "controls/ui_hooks.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <cmath>

namespace {

// Arial with a character cell (ascent + descent) of `height` device pixels.
QFont cellFont(int height, QPaintDevice* device) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(100);
    const qreal cell = QFontMetricsF(f, device).height();
    f.setPixelSize(qMax(1, int(std::lround(height * 100.0 / (cell > 0 ? cell : 100.0)))));
    return f;
}

void showPrintError() {
    XMessage(QStringLiteral("Ошибка печати"), QStringLiteral("Ошибка"), MB_ICONSTOP);
}

bool choosePrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dlg(&printer, parent);
    dlg.setWindowTitle(QStringLiteral("Печать"));
    return dlg.exec() == QDialog::Accepted;
}

} // namespace

bool RenderReportPrint(QPainter& painter, QPagedPaintDevice& device, const QList<PrintOp>& ops) {
    QPen pen(Qt::black);
    pen.setWidth(qMax(1, int(std::lround(device.height() / 1500.0))));
    painter.setPen(pen);
    int fontHeight = -1;
    for (const PrintOp& op : ops) {
        switch (op.kind) {
        case PrintOp::NewPage:
            if (!device.newPage()) return false;
            break;
        case PrintOp::Rule:
            painter.drawLine(op.x, op.y, op.x2, op.y2);
            break;
        case PrintOp::Text: {
            if (op.height != fontHeight) {
                painter.setFont(cellFont(op.height, &device));
                fontHeight = op.height;
            }
            const QFontMetrics fm(painter.font(), &device);
            QString s = op.text;
            int width = fm.horizontalAdvance(s) + 1;
            if (op.right > 0) {
                width = qMax(0, op.right - op.x);
                s = fm.elidedText(s, Qt::ElideRight, width);
            }
            painter.drawText(QRect(op.x, op.y, width, qMax(op.height, fm.height())),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                             s);
            break;
        }
        }
    }
    return true;
}

bool PrintReportOn(QPagedPaintDevice& device, const ReportPrintData& data) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const bool ok = RenderReportPrint(painter, device,
                                      LayoutReportPrint(device.width(), device.height(), data));
    return painter.end() && ok;
}

ReportPrintHooks DefaultReportPrintHooks() {
    const QString pdf = qEnvironmentVariable("VANTREL_REPORT_PDF");
    if (!pdf.isEmpty()) {
        ReportPrintHooks h;
        h.Choose = [pdf](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pdf);
            return true;
        };
        return h;
    }
    return {choosePrinter};
}

ReportPrintHooks& ReportPrinting() {
    static ReportPrintHooks hooks = DefaultReportPrintHooks();
    return hooks;
}

bool PrintReport(const ReportPrintData& data, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Отчет - ") + data.userName);
    const ReportPrintHooks& hooks = ReportPrinting();
    if (hooks.Choose && !hooks.Choose(printer, parent)) return false;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    bool ok = PrintReportOn(printer, data);
    // A PDF engine that could not write its file may still say yes.
    if (ok && toFile) ok = QFileInfo(printer.outputFileName()).size() > 0;
    if (!ok) showPrintError();
    return ok;
}
