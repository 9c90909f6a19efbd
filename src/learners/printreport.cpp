#include "learners/printreport.h"

#include "base/ui_hooks.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrintPreviewDialog>

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

// The preview's own print command would ask for the printer once more; the
// printer is already chosen, so it just confirms.
bool previewPages(QPrinter& printer, QWidget* parent, const std::function<void(QPrinter*)>& draw) {
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg,
                     [&draw](QPrinter* p) { draw(p); });
    const QString printText = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* a : dlg.findChildren<QAction*>()) {
        if (a->text() != printText) continue;
        QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
        QObject::connect(a, &QAction::triggered, &dlg, &QDialog::accept);
    }
    dlg.resize(900, 700);
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
    return {choosePrinter, previewPages};
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
    if (hooks.Preview) {
        // The preview draws on a stand-in device; an error there is only a
        // blank preview page, the real job below reports its own.
        const auto draw = [&data](QPrinter* p) {
            QPainter painter(p);
            RenderReportPrint(painter, *p, LayoutReportPrint(p->width(), p->height(), data));
        };
        if (!hooks.Preview(printer, parent, draw)) return false;
    }
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    bool ok = PrintReportOn(printer, data);
    // A PDF engine that could not write its file may still say yes.
    if (ok && toFile) ok = QFileInfo(printer.outputFileName()).size() > 0;
    if (!ok) showPrintError();
    return ok;
}
