// bench-libs: vantrel_text
// Sintagm view: layout of a long lesson and one scroll step at full-HD size,
// each beside the plain Qt way of doing the same.
#include "text/textsintagm.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>

namespace {

QStringList Lesson(int n) {
    QStringList t{"#Title of the lesson"};
    for (int i = 1; i < n; ++i) {
        if (i % 40 == 0)
            t << "#";
        else
            t << QStringLiteral("and then we went down to the river number %1 to look").arg(i);
    }
    return t;
}

QFont Font16() {
    QFont f("Arial");
    f.setPixelSize(16);
    return f;
}

void BM_SintagmLayout5000(benchmark::State& st) {
    TTextSintagm v;
    v.resize(1920, 1080);
    v.setTextFont(Font16());
    const QStringList text = Lesson(5000);
    for (auto _ : st) {
        v.setText(text); // rows rebuilt at the next paint
        v.Paint();
    }
    st.SetLabel("figure=sintagm layout of a 5,000-line lesson (baseline: QTextDocument layout) ; "
                "baseline=BM_QTextDocumentLayout5000 ; goal=< 20 ms, faster than baseline");
}
BENCHMARK(BM_SintagmLayout5000)->Unit(benchmark::kMillisecond);

void BM_QTextDocumentLayout5000(benchmark::State& st) {
    const QString joined = Lesson(5000).join('\n');
    for (auto _ : st) {
        QTextDocument doc;
        doc.setDefaultFont(Font16());
        doc.setTextWidth(1880);
        doc.setPlainText(joined);
        benchmark::DoNotOptimize(doc.size());
    }
}
BENCHMARK(BM_QTextDocumentLayout5000)->Unit(benchmark::kMillisecond);

void BM_SintagmScrollStep(benchmark::State& st) {
    TTextSintagm v;
    v.resize(1920, 1080);
    v.setTextFont(Font16());
    v.setHeightIntervString(is1_25);
    v.setK_Speed(100000);
    v.setText(Lesson(5000));
    v.show();
    int pos = 10;
    v.setPosition(pos);
    for (auto _ : st) {
        v.Tick();
        if (!v.Scrolling()) v.setPosition(++pos % 4990 + 1);
    }
    st.SetLabel("figure=one scroll step (Tick + Paint) at 1920 x 1080 (baseline: QTextBrowser) ; "
                "baseline=BM_QTextBrowserScrollStep ; goal=< 2 ms, faster than baseline");
}
BENCHMARK(BM_SintagmScrollStep)->Unit(benchmark::kMicrosecond);

void BM_QTextBrowserScrollStep(benchmark::State& st) {
    QTextBrowser b;
    b.resize(1920, 1080);
    b.document()->setDefaultFont(Font16());
    b.setPlainText(Lesson(5000).join('\n'));
    b.show();
    QTextCharFormat plain, sel;
    sel.setForeground(Qt::red);
    sel.setFontUnderline(true);
    int line = 10;
    for (auto _ : st) {
        QTextBlock blk = b.document()->findBlockByNumber(line);
        QTextCursor c(blk);
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        c.setCharFormat(sel);
        b.setTextCursor(QTextCursor(blk));
        b.ensureCursorVisible();
        b.viewport()->repaint();
        c.setCharFormat(plain);
        line = line % 4990 + 1;
    }
}
BENCHMARK(BM_QTextBrowserScrollStep)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
