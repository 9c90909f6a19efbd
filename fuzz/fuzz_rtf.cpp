// RTF pages: any bytes fill a document without throwing, the same bytes
// always give the same text, and the filled document lays out.
// fuzz-libs: vantrel_rtf
#include "rtf/rtfreader.h"

#include <cstdint>
#include <cstdlib>
#include <QAbstractTextDocumentLayout>
#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Fonts and pictures need a GUI application; no screen is wanted.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        QTextDocument doc;
        doc.setPlainText(QStringLiteral("left from before"));
        LoadRtfInto(&doc, bytes);
        const QString first = doc.toPlainText();
        LoadRtfInto(&doc, bytes);
        if (doc.toPlainText() != first) __builtin_trap();
        doc.setTextWidth(400);
        const QSizeF s = doc.documentLayout()->documentSize();
        if (!(s.width() >= 0 && s.height() >= 0)) __builtin_trap();
    } catch (...) {
        __builtin_trap(); // a broken page shows what could be read, it never throws
    }
    return 0;
}
