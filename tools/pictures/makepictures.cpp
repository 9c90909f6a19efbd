// Draws the picture set of the controls (buttons, check marks, progress bar
// pieces, message icons, tree node images) at 1x and 2x. Only vector shapes,
// no fonts, so the output is the same on every machine.
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QString g_out;

using Draw = std::function<void(QPainter&)>;

// Renders at logical size w x h for both scales; `draw` paints in logical units.
void save(const QString& name, int w, int h, const Draw& draw) {
    for (int s = 1; s <= 2; ++s) {
        QImage img(w * s, h * s, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(s, s);
            draw(p);
        }
        const QString file = g_out + "/" + name + (s == 2 ? "@2x" : "") + ".png";
        if (!img.save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            std::exit(1);
        }
    }
}

QPen strokePen(const QColor& c, qreal w) {
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// --- button glyphs, drawn in a 40 x 40 box in colour `fg` over face `face`
struct Glyph {
    QColor fg, face;
    bool enabled;
};

void person(QPainter& p, const Glyph& g, qreal cx, qreal top) {
    p.setPen(Qt::NoPen);
    p.setBrush(g.fg);
    p.drawEllipse(QPointF(cx, top + 4.5), 4.5, 4.5);
    QPainterPath body;
    body.moveTo(cx - 8, top + 19);
    body.cubicTo(cx - 8, top + 11, cx + 8, top + 11, cx + 8, top + 19);
    body.closeSubpath();
    p.drawPath(body);
}

const std::map<QString, std::function<void(QPainter&, const Glyph&)>>& glyphs() {
    static const std::map<QString, std::function<void(QPainter&, const Glyph&)>> m = {
        {"play",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 1.5));
             p.setBrush(g.fg);
             p.drawPolygon(QPolygonF({{16, 12.5}, {28.5, 20}, {16, 27.5}}));
         }},
        {"stop",
         [](QPainter& p, const Glyph& g) {
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawRoundedRect(QRectF(13.5, 13.5, 13, 13), 2, 2);
         }},
        {"pause",
         [](QPainter& p, const Glyph& g) {
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawRoundedRect(QRectF(13.5, 12.5, 5, 15), 1.5, 1.5);
             p.drawRoundedRect(QRectF(21.5, 12.5, 5, 15), 1.5, 1.5);
         }},
        {"loop",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3));
             p.setBrush(Qt::NoBrush);
             QRectF r(12, 12, 16, 16);
             QPainterPath arc;
             arc.arcMoveTo(r, 90);
             arc.arcTo(r, 90, 270);
             p.drawPath(arc);
             p.setPen(strokePen(g.fg, 1));
             p.setBrush(g.fg);
             p.drawPolygon(QPolygonF({{23.5, 20}, {32.5, 20}, {28, 14}}));
         }},
        {"mark",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 2.5));
             p.drawLine(QPointF(14, 11), QPointF(14, 29.5));
             p.setPen(strokePen(g.fg, 1.5));
             p.setBrush(g.fg);
             p.drawPolygon(QPolygonF({{14.5, 11.5}, {28, 15.5}, {14.5, 20.5}}));
         }},
        {"comment",
         [](QPainter& p, const Glyph& g) {
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawRoundedRect(QRectF(10, 11, 20, 14), 4, 4);
             p.drawPolygon(QPolygonF({{14, 24}, {14, 30.5}, {21, 24}}));
             p.setPen(strokePen(g.face, 1.8));
             p.drawLine(QPointF(14, 16), QPointF(26, 16));
             p.drawLine(QPointF(14, 20), QPointF(22, 20));
         }},
        {"help",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3.3));
             p.setBrush(Qt::NoBrush);
             QRectF r(15, 10, 10, 10);
             QPainterPath q;
             q.arcMoveTo(r, 170);
             q.arcTo(r, 170, -260);
             q.lineTo(20, 23);
             p.drawPath(q);
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawEllipse(QPointF(20, 28.5), 2.1, 2.1);
         }},
        {"exit",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 2.4));
             p.setBrush(Qt::NoBrush);
             p.drawPolyline(
                 QPolygonF({{20, 13}, {20, 11}, {12, 11}, {12, 29}, {20, 29}, {20, 27}}));
             p.setPen(strokePen(g.fg, 3));
             p.drawLine(QPointF(17, 20), QPointF(29, 20));
             p.drawPolyline(QPolygonF({{25, 15.5}, {29.5, 20}, {25, 24.5}}));
         }},
        {"close",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3.5));
             p.drawLine(QPointF(14, 14), QPointF(26, 26));
             p.drawLine(QPointF(26, 14), QPointF(14, 26));
         }},
        {"cancel",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3.5));
             p.drawLine(QPointF(14, 14), QPointF(26, 26));
             p.drawLine(QPointF(26, 14), QPointF(14, 26));
         }},
        {"ok",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3.8));
             p.setBrush(Qt::NoBrush);
             p.drawPolyline(QPolygonF({{13, 20.5}, {18, 25.5}, {27.5, 14}}));
         }},
        {"next",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3.3));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(12, 20), QPointF(27, 20));
             p.drawPolyline(QPolygonF({{21, 13.5}, {27.5, 20}, {21, 26.5}}));
         }},
        {"back",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 3.3));
             p.setBrush(Qt::NoBrush);
             p.drawLine(QPointF(28, 20), QPointF(13, 20));
             p.drawPolyline(QPolygonF({{19, 13.5}, {12.5, 20}, {19, 26.5}}));
         }},
        {"run",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 1.2));
             p.setBrush(g.fg);
             p.drawPolygon(QPolygonF(
                 {{11, 16.5}, {20, 16.5}, {20, 11}, {30, 20}, {20, 29}, {20, 23.5}, {11, 23.5}}));
         }},
        {"report",
         [](QPainter& p, const Glyph& g) {
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawRoundedRect(QRectF(12.5, 9.5, 15, 21), 2, 2);
             p.setPen(strokePen(g.face, 1.8));
             for (qreal y : {15.0, 19.0, 23.0})
                 p.drawLine(QPointF(16, y), QPointF(24, y));
         }},
        {"confirm",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 2.2));
             p.setBrush(Qt::NoBrush);
             p.drawRoundedRect(QRectF(11.5, 11.5, 17, 17), 3, 3);
             p.setPen(strokePen(g.fg, 3));
             p.drawPolyline(QPolygonF({{15, 20}, {18.5, 23.5}, {25, 16}}));
         }},
        {"new-user",
         [](QPainter& p, const Glyph& g) {
             person(p, g, 17.5, 11);
             p.setPen(strokePen(g.fg, 2.5));
             p.drawLine(QPointF(28, 10.5), QPointF(28, 18.5));
             p.drawLine(QPointF(24, 14.5), QPointF(32, 14.5));
         }},
        {"select-user",
         [](QPainter& p, const Glyph& g) {
             person(p, g, 17.5, 11);
             p.setPen(strokePen(g.fg, 2.5));
             p.setBrush(Qt::NoBrush);
             p.drawPolyline(QPolygonF({{24.5, 15}, {27, 17.5}, {32, 11.5}}));
         }},
        {"delete-user",
         [](QPainter& p, const Glyph& g) {
             person(p, g, 17.5, 11);
             p.setPen(strokePen(g.fg, 2.5));
             p.drawLine(QPointF(24, 14.5), QPointF(32, 14.5));
         }},
        {"teacher",
         [](QPainter& p, const Glyph& g) {
             person(p, g, 20, 13);
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawPolygon(QPolygonF({{20, 7}, {30, 11}, {20, 15}, {10, 11}}));
             p.setPen(strokePen(g.fg, 1.5));
             p.drawLine(QPointF(28, 12), QPointF(28, 17));
         }},
        {"record",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 2));
             p.setBrush(g.enabled ? QColor(215, 60, 60) : g.fg);
             p.drawEllipse(QPointF(20, 20), 7, 7);
         }},
        {"print",
         [](QPainter& p, const Glyph& g) {
             p.setPen(Qt::NoPen);
             p.setBrush(g.fg);
             p.drawRect(QRectF(14.5, 10.5, 11, 5));
             p.drawRoundedRect(QRectF(10.5, 16.5, 19, 9), 2, 2);
             p.setPen(strokePen(g.face, 1.2));
             p.setBrush(g.fg);
             p.drawRect(QRectF(14.5, 22, 11, 7.5));
         }},
        {"key",
         [](QPainter& p, const Glyph& g) {
             p.setPen(strokePen(g.fg, 2.6));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(15, 20), 4.5, 4.5);
             p.drawLine(QPointF(19.5, 20), QPointF(30, 20));
             p.drawLine(QPointF(26.5, 20), QPointF(26.5, 24));
             p.drawLine(QPointF(30, 20), QPointF(30, 23));
         }},
    };
    return m;
}

struct Face {
    const char* suffix;
    QColor top, bottom, ring, fg;
    QPointF shift;
};

void buttons() {
    const Face faces[] = {
        {"",
         QColor(74, 146, 214),
         QColor(33, 96, 168),
         QColor(255, 255, 255),
         QColor(255, 255, 255),
         {0, 0}},
        {"-over",
         QColor(110, 178, 238),
         QColor(52, 128, 200),
         QColor(255, 255, 255),
         QColor(255, 255, 255),
         {0, 0}},
        {"-down",
         QColor(28, 82, 148),
         QColor(54, 118, 186),
         QColor(225, 238, 250),
         QColor(235, 244, 252),
         {0.8, 0.8}},
        {"-dis",
         QColor(196, 208, 220),
         QColor(168, 182, 198),
         QColor(236, 241, 246),
         QColor(238, 242, 246),
         {0, 0}},
    };
    for (const auto& [name, glyph] : glyphs()) {
        for (const Face& f : faces) {
            save("btn-" + name + f.suffix, 40, 40, [&](QPainter& p) {
                QLinearGradient grad(0, 2, 0, 38);
                grad.setColorAt(0, f.top);
                grad.setColorAt(1, f.bottom);
                p.setPen(QPen(f.ring, 2));
                p.setBrush(grad);
                p.drawEllipse(QPointF(20, 20), 18, 18);
                p.translate(f.shift);
                glyph(p, Glyph{f.fg, f.bottom, std::strcmp(f.suffix, "-dis") != 0});
            });
        }
    }
}

// 18 x 18 marks; pixel (1, 1) stays transparent.
void checks() {
    struct Mark {
        const char* name;
        bool on, enabled;
    };
    for (const Mark& m : {Mark{"check-on", true, true}, Mark{"check-off", false, true},
                          Mark{"check-on-dis", true, false}, Mark{"check-off-dis", false, false}}) {
        save(m.name, 18, 18, [&](QPainter& p) {
            const QColor border = m.enabled ? QColor(33, 96, 168) : QColor(150, 164, 180);
            const QColor fill = m.enabled ? QColor(255, 255, 255) : QColor(228, 233, 238);
            p.setPen(QPen(border, 1.5));
            p.setBrush(fill);
            p.drawRoundedRect(QRectF(2.75, 2.75, 12.5, 12.5), 2.5, 2.5);
            if (m.on) {
                p.setPen(strokePen(m.enabled ? QColor(30, 110, 200) : QColor(140, 152, 166), 2.4));
                p.setBrush(Qt::NoBrush);
                p.drawPolyline(QPolygonF({{5.5, 9}, {8, 11.7}, {12.8, 5.8}}));
            }
        });
    }
}

// Bar pieces, 7 x 14 each, cut from strips so that they join seamlessly.
void bar() {
    const int piece = 7, h = 14;
    const QColor border(52, 108, 168), track(250, 252, 255);
    // Square ends: the begin and end pieces are drawn over track middles, so
    // every piece is opaque and nothing behind them shows at the corners.
    auto trackCapsule = [&](QPainter& p, qreal width) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillRect(QRectF(0, 0, width, h), border);
        p.fillRect(QRectF(1, 1, width - 2, h - 2), track);
        p.setRenderHint(QPainter::Antialiasing, true);
    };
    auto cut = [&](const QString& name, int index, const Draw& strip) {
        save(name, piece, h, [&](QPainter& p) {
            p.translate(-index * piece, 0);
            strip(p);
        });
    };
    const Draw trackStrip = [&](QPainter& p) { trackCapsule(p, 3 * piece); };
    const Draw fillStrip = [&](QPainter& p) {
        trackCapsule(p, 3 * piece + 20); // the track goes on past the fill's end
        QLinearGradient grad(0, 2, 0, h - 2);
        grad.setColorAt(0, QColor(92, 164, 232));
        grad.setColorAt(1, QColor(34, 100, 176));
        p.setPen(Qt::NoPen);
        p.setBrush(grad);
        p.drawRoundedRect(QRectF(2, 2, 3 * piece - 4, h - 4), 1.5, 1.5);
    };
    cut("bar-begin-line", 0, trackStrip);
    cut("bar-midle-line", 1, trackStrip);
    cut("bar-end-line", 2, trackStrip);
    cut("bar-begin-scroll", 0, fillStrip);
    cut("bar-midle-scroll", 1, fillStrip);
    cut("bar-end-scroll", 2, fillStrip);
}

void cross(QPainter& p, QPointF c, qreal r, const QColor& col, qreal w) {
    p.setPen(strokePen(col, w));
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    p.drawLine(c + QPointF(r, -r), c + QPointF(-r, r));
}

void disc(QPainter& p, QPointF c, qreal r, const QColor& top, const QColor& bottom) {
    QLinearGradient grad(0, c.y() - r, 0, c.y() + r);
    grad.setColorAt(0, top);
    grad.setColorAt(1, bottom);
    p.setPen(QPen(QColor(255, 255, 255), 1.5));
    p.setBrush(grad);
    p.drawEllipse(c, r, r);
}

void messageIcons() {
    save("icon-error", 32, 32, [](QPainter& p) {
        disc(p, {16, 16}, 14.5, QColor(232, 92, 84), QColor(184, 38, 38));
        cross(p, {16, 16}, 5.5, QColor(255, 255, 255), 3.6);
    });
    save("icon-question", 32, 32, [](QPainter& p) {
        disc(p, {16, 16}, 14.5, QColor(84, 156, 224), QColor(30, 92, 166));
        p.setPen(strokePen(QColor(255, 255, 255), 3.4));
        p.setBrush(Qt::NoBrush);
        QRectF r(11, 6.5, 10, 10);
        QPainterPath q;
        q.arcMoveTo(r, 170);
        q.arcTo(r, 170, -260);
        q.lineTo(16, 19.5);
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(16, 25), 2.2, 2.2);
    });
    save("icon-warning", 32, 32, [](QPainter& p) {
        QPainterPath tri;
        tri.moveTo(16, 2.5);
        tri.lineTo(30, 28.5);
        tri.lineTo(2, 28.5);
        tri.closeSubpath();
        QLinearGradient grad(0, 2, 0, 29);
        grad.setColorAt(0, QColor(255, 214, 90));
        grad.setColorAt(1, QColor(232, 168, 24));
        p.setPen(QPen(QColor(150, 100, 10), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(grad);
        p.drawPath(tri);
        p.setPen(strokePen(QColor(60, 44, 10), 3.2));
        p.drawLine(QPointF(16, 11), QPointF(16, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 44, 10));
        p.drawEllipse(QPointF(16, 24), 2, 2);
    });
    save("icon-information", 32, 32, [](QPainter& p) {
        disc(p, {16, 16}, 14.5, QColor(84, 156, 224), QColor(30, 92, 166));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(16, 9.5), 2.3, 2.3);
        p.setPen(strokePen(QColor(255, 255, 255), 3.6));
        p.drawLine(QPointF(16, 14.5), QPointF(16, 24));
    });
}

void treeImages() {
    save("tree-section", 16, 16, [](QPainter& p) {
        p.setPen(QPen(QColor(30, 80, 140), 1));
        p.setBrush(QColor(70, 140, 210));
        QPainterPath folder;
        folder.moveTo(1.5, 3.5);
        folder.lineTo(6, 3.5);
        folder.lineTo(7.5, 5);
        folder.lineTo(14.5, 5);
        folder.lineTo(14.5, 13.5);
        folder.lineTo(1.5, 13.5);
        folder.closeSubpath();
        p.drawPath(folder);
        p.setPen(QPen(QColor(200, 228, 250), 1));
        p.drawLine(QPointF(2.5, 7), QPointF(13.5, 7));
    });
    save("tree-todo", 16, 16, [](QPainter& p) {
        p.setPen(QPen(QColor(52, 108, 168), 1.5));
        p.setBrush(QColor(255, 255, 255));
        p.drawEllipse(QPointF(8, 8), 5.5, 5.5);
    });
    save("tree-done", 16, 16, [](QPainter& p) {
        p.setPen(QPen(QColor(30, 120, 50), 1));
        p.setBrush(QColor(60, 170, 80));
        p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
        p.setPen(strokePen(QColor(255, 255, 255), 2));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({{4.8, 8.2}, {7, 10.5}, {11.2, 5.6}}));
    });
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makepictures OUTPUT_DIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    buttons();
    checks();
    bar();
    messageIcons();
    treeImages();
    return 0;
}
