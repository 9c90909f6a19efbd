// The information pane's reader on a 1 MB page, beside Qt's own HTML
// import of the same content (the figure to compare with).
#include "rtf/rtfreader.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <QTextDocument>

namespace {
struct Page {
    QByteArray rtf;
    QString html;
};

// Paragraphs of English and Russian with bold, italic and coloured runs,
// about 1 MB of RTF.
const Page& page() {
    static const Page p = [] {
        Page pg;
        pg.rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}"
                 "{\\f1\\froman\\fcharset0 Times New Roman;}}{\\colortbl;\\red200\\green0\\blue0;}"
                 "\\pard\\qc\\b\\fs32 Lesson\\b0\\fs24\\par\\pard\\qj\\fi360 ";
        pg.html = "<html><body><p align=\"center\"><b><span style=\"font-size:16pt\">Lesson"
                  "</span></b></p>";
        // "Пример текста урока" in Windows-1251 for the RTF, as text for the HTML.
        const QByteArray ruHex = "\\'cf\\'f0\\'e8\\'ec\\'e5\\'f0 \\'f2\\'e5\\'ea\\'f1\\'f2\\'e0 "
                                 "\\'f3\\'f0\\'ee\\'ea\\'e0";
        const QString ru = QStringLiteral("Пример текста урока");
        int n = 0;
        while (pg.rtf.size() < 1024 * 1024) {
            pg.rtf += "The interview goes on with {\\b bold words}, {\\i a phrase in italics} and "
                      "{\\cf1 a coloured remark}; ";
            pg.rtf += ruHex;
            pg.rtf += " \\u1082?\\u1086?\\u1085?\\u1077?\\u1094?.";
            pg.html +=
                "<p align=\"justify\" style=\"text-indent:24px\">The interview goes on with "
                "<b>bold words</b>, <i>a phrase in italics</i> and <span style=\"color:#c80000\">"
                "a coloured remark</span>; " +
                ru + " конец.";
            if (++n % 3 == 0) {
                pg.rtf += "\\par\n";
                pg.html += "</p>";
            } else {
                pg.html += "</p>";
                pg.rtf += "\\par ";
            }
        }
        pg.rtf += "}";
        pg.html += "</body></html>";
        return pg;
    }();
    return p;
}

void BM_RtfPage(benchmark::State& state) {
    const Page& p = page();
    for (auto _ : state) {
        QTextDocument doc;
        LoadRtfInto(&doc, p.rtf);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * p.rtf.size());
    state.counters["rtf_bytes"] = double(p.rtf.size());
    state.SetLabel("figure=RTF reader on a 1 MB page (baseline: QTextDocument::setHtml of the "
                   "same page) ; baseline=BM_HtmlSamePage ; goal=faster than baseline");
}

void BM_HtmlSamePage(benchmark::State& state) {
    const Page& p = page();
    for (auto _ : state) {
        QTextDocument doc;
        doc.setHtml(p.html);
        benchmark::DoNotOptimize(doc.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * p.html.size() * 2);
}

BENCHMARK(BM_RtfPage)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_HtmlSamePage)->Unit(benchmark::kMillisecond)->MinTime(2.0);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
