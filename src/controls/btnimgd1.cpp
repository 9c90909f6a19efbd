#include "controls/btnimgd1.h"

#include "controls/focusring.h"
#include "controls/ui_hooks.h"
#include "controls/pictures.h"

#include <QDialog>
#include <QPainter>
#include <QShortcut>
#include <QVariant>

TBtnImgD1Zv::TBtnImgD1Zv(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::ButtonText, QColor(255, 255, 255));
    setPalette(pal);
    resize(100, 35);
    connect(this, &QPushButton::clicked, this, &TBtnImgD1Zv::onClicked);
}

void TBtnImgD1Zv::setGlyph(const QPixmap& pm) {
    m_glyph = pm;
    updateGeometry();
    update();
}

void TBtnImgD1Zv::setGlyphDown(const QPixmap& pm) {
    m_glyphDown = pm;
    update();
}

void TBtnImgD1Zv::setLayout(ButtonLayout l) {
    m_layout = l;
    update();
}

void TBtnImgD1Zv::setMargin(int m) {
    m_margin = m;
    update();
}

void TBtnImgD1Zv::setSpacing(int s) {
    m_spacing = s;
    updateGeometry();
    update();
}

void TBtnImgD1Zv::setCaption(const QString& s) {
    setText(s);
    updateGeometry();
}

void TBtnImgD1Zv::setKind(ButtonKind k) {
    m_kind = k;
    switch (k) {
    case bkOK:
        m_modalResult = mrOk;
        setDefault(true);
        break;
    case bkYes:
        m_modalResult = mrYes;
        setDefault(true);
        break;
    case bkCancel:
        m_modalResult = mrCancel;
        setCancel(true);
        break;
    case bkNo:
        m_modalResult = mrNo;
        setCancel(true);
        break;
    case bkAbort:
        m_modalResult = mrAbort;
        break;
    case bkRetry:
        m_modalResult = mrRetry;
        break;
    case bkIgnore:
        m_modalResult = mrIgnore;
        break;
    case bkAll:
        m_modalResult = 8;
        break;
    default:
        break;
    }
}

void TBtnImgD1Zv::setCancel(bool on) {
    m_cancel = on;
    if (on && !m_escape) {
        m_escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        m_escape->setContext(Qt::WindowShortcut);
        connect(m_escape, &QShortcut::activated, this, [this] {
            if (isEnabled() && isVisible()) click();
        });
    }
    if (m_escape) m_escape->setEnabled(on);
}

void TBtnImgD1Zv::onClicked() {
    QWidget* win = window();
    if (m_kind == bkHelp) {
        const QVariant kw = win->property("helpKeyword");
        if (kw.isValid() && !kw.toString().isEmpty())
            ShowHelpKeyword(kw.toString());
        else
            ShowHelpTopic(win->property("helpContext").toInt());
        return;
    }
    if (m_kind == bkClose) {
        win->close();
        return;
    }
    if (m_modalResult != mrNone)
        if (auto* dlg = qobject_cast<QDialog*>(win)) dlg->done(m_modalResult);
}

void TBtnImgD1Zv::layoutParts(QRect& glyphRect, QRect& textRect) const {
    const QSize g = PictureSize(m_glyph);
    const QFontMetrics fm(font());
    const QSize t =
        text().isEmpty() ? QSize(0, 0) : QSize(fm.horizontalAdvance(text()), fm.height());
    const int gap = (g.isEmpty() || t.isEmpty()) ? 0 : m_spacing;
    const QRect r = rect();
    const bool horizontal = m_layout == blGlyphLeft || m_layout == blGlyphRight;
    const int total = horizontal ? g.width() + gap + t.width() : g.height() + gap + t.height();
    const int extent = horizontal ? r.width() : r.height();
    int start = m_margin < 0 ? (extent - total) / 2 : m_margin;
    if (m_layout == blGlyphRight || m_layout == blGlyphBottom)
        start = m_margin < 0 ? start : extent - m_margin - total;
    if (horizontal) {
        const int gy = (r.height() - g.height()) / 2, ty = (r.height() - t.height()) / 2;
        if (m_layout == blGlyphLeft) {
            glyphRect = QRect(QPoint(start, gy), g);
            textRect = QRect(QPoint(start + g.width() + gap, ty), t);
        } else {
            textRect = QRect(QPoint(start, ty), t);
            glyphRect = QRect(QPoint(start + t.width() + gap, gy), g);
        }
    } else {
        const int gx = (r.width() - g.width()) / 2, tx = (r.width() - t.width()) / 2;
        if (m_layout == blGlyphTop) {
            glyphRect = QRect(QPoint(gx, start), g);
            textRect = QRect(QPoint(tx, start + g.height() + gap), t);
        } else {
            textRect = QRect(QPoint(tx, start), t);
            glyphRect = QRect(QPoint(gx, start + t.height() + gap), g);
        }
    }
}

QSize TBtnImgD1Zv::sizeHint() const {
    const QSize g = PictureSize(m_glyph);
    const QFontMetrics fm(font());
    const QSize t =
        text().isEmpty() ? QSize(0, 0) : QSize(fm.horizontalAdvance(text()), fm.height());
    const int gap = (g.isEmpty() || t.isEmpty()) ? 0 : m_spacing;
    QSize s;
    if (m_layout == blGlyphLeft || m_layout == blGlyphRight)
        s = QSize(g.width() + gap + t.width(), qMax(g.height(), t.height()));
    else
        s = QSize(qMax(g.width(), t.width()), g.height() + gap + t.height());
    return s.expandedTo(QSize(100, 35)) + QSize(8, 0);
}

namespace {
QPixmap greyed(const QPixmap& pm) {
    QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int v = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(v, v, v, qAlpha(line[x]) * 2 / 3);
        }
    }
    QPixmap out = QPixmap::fromImage(img);
    out.setDevicePixelRatio(pm.devicePixelRatio());
    return out;
}
} // namespace

void TBtnImgD1Zv::paintEvent(QPaintEvent*) {
    QRect gr, tr;
    layoutParts(gr, tr);
    QPainter p(this);
    const QPixmap& pic = (isDown() && !m_glyphDown.isNull()) ? m_glyphDown : m_glyph;
    if (!pic.isNull()) p.drawPixmap(gr.topLeft(), isEnabled() ? pic : greyed(pic));
    // No frame: the focus shows as the controls' ring around picture and caption.
    if (hasFocus()) DrawFocusRing(p, gr.united(tr).adjusted(-4, -3, 4, 3) & rect(), FocusShape::Box);
    if (text().isEmpty()) return;
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(tr, Qt::AlignLeft | Qt::AlignVCenter, text());
    } else {
        p.setPen(QColor(255, 255, 255));
        p.drawText(tr.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, text());
        p.setPen(QColor(128, 128, 128));
        p.drawText(tr, Qt::AlignLeft | Qt::AlignVCenter, text());
    }
}
