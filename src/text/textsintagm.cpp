#include "text/textsintagm.h"

#include "base/paths.h"
#include "controls/accessiblecontrols.h"
#include "text/textsintagmaccessible.h"

#include <cmath>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace {

QFont arial10() {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(10);
    return f;
}

quint8 styleOf(const QFont& f) {
    quint8 s = 0;
    if (f.bold()) s |= fsBold;
    if (f.italic()) s |= fsItalic;
    if (f.underline()) s |= fsUnderline;
    if (f.strikeOut()) s |= fsStrikeOut;
    return s;
}

} // namespace

float TTextSintagm::Metrics::advance(QChar c) {
    const char16_t u = c.unicode();
    if (u < adv.size()) {
        if (!known[u]) {
            adv[u] = float(QFontMetricsF(font).horizontalAdvance(c));
            known[u] = true;
        }
        return adv[u];
    }
    auto it = other.find(u);
    if (it != other.end()) return *it;
    float a = float(QFontMetricsF(font).horizontalAdvance(c));
    other.insert(u, a);
    return a;
}

double TTextSintagm::Metrics::width(QStringView s) {
    double w = 0;
    for (QChar c : s)
        w += advance(c);
    return w;
}

TTextSintagm::TTextSintagm(QWidget* parent) : QWidget(parent) {
    m_font = arial10();
    m_fontSel = arial10();
    m_fontSel.setUnderline(true);
    m_fontMult = arial10();
    resize(150, 200);
    m_core.setSize(150, 200);
    m_core.setPictureLoader([this](const QString& n) { return loadPicture(n); });
    m_core.setPictureHeight([this](int i) { return pictureHeight(i); });
    m_core.setPicturesCleared([this] {
        m_pics.clear();
        m_picsSel.clear();
        m_picsMult.clear();
    });
    remeasure();
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &TTextSintagm::Tick);
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallSintagmAccessibility();
}

TTextSintagm::~TTextSintagm() = default;

TTextSintagm::Metrics& TTextSintagm::metricsFor(quint8 style) {
    auto& m = m_metrics[style & 15];
    if (!m) {
        m = std::make_unique<Metrics>();
        m->font = m_font;
        m->font.setBold(style & fsBold);
        m->font.setItalic(style & fsItalic);
        m->font.setUnderline(style & fsUnderline);
        m->font.setStrikeOut(style & fsStrikeOut);
        // Widths add up character by character, so drawing matches measuring.
        m->font.setKerning(false);
    }
    return *m;
}

void TTextSintagm::remeasure() {
    for (auto& m : m_metrics)
        m.reset();
    m_font.setKerning(false);
    const quint8 plain = styleOf(m_font);
    const int h = QFontInfo(m_font).pixelSize();
    m_core.setMeasure(
        [this, plain](QStringView s) { return int(std::lround(metricsFor(plain).width(s))); },
        h > 0 ? h : 13);
    m_core.setFontLook({plain, m_colorFont.rgb()});
    m_core.setSelLook({styleOf(m_fontSel), m_colorSel.rgb()});
    m_core.setMultLook({styleOf(m_fontMult), m_colorMult.rgb()});
}

QStringList& TTextSintagm::Text() {
    return m_core.TextRef();
}

void TTextSintagm::setText(const QStringList& lines) {
    m_core.setText(lines);
}

void TTextSintagm::setTextFont(const QFont& f) {
    m_font = f;
    remeasure();
    Paint();
}

void TTextSintagm::setFontSelSintagm(const QFont& f) {
    m_fontSel = f;
    m_core.setSelLook({styleOf(f), m_colorSel.rgb()});
    Paint();
}

void TTextSintagm::setFontSelMultSint(const QFont& f) {
    m_fontMult = f;
    m_core.setMultLook({styleOf(f), m_colorMult.rgb()});
    Paint();
}

void TTextSintagm::setFontColor(const QColor& c) {
    m_colorFont = c;
    m_core.setFontLook({styleOf(m_font), c.rgb()});
    Paint();
}

void TTextSintagm::setFontSelSintagmColor(const QColor& c) {
    m_colorSel = c;
    m_core.setSelLook({styleOf(m_fontSel), c.rgb()});
    Paint();
}

void TTextSintagm::setFontSelMultSintColor(const QColor& c) {
    m_colorMult = c;
    m_core.setMultLook({styleOf(m_fontMult), c.rgb()});
    Paint();
}

void TTextSintagm::setPosition(int v) {
    if (m_core.setPosition(v)) Paint();
}

void TTextSintagm::setHeightIntervString(TIntevalString v) {
    if (m_core.setHeightIntervString(v)) Paint();
}

void TTextSintagm::setPosScreen(int v) {
    if (m_core.setPosScreen(v)) Paint();
}

void TTextSintagm::setFlagSelMultSint(bool on) {
    if (m_core.setFlagSelMultSint(on)) Paint();
}

void TTextSintagm::setNBegin(int v) {
    if (m_core.setNBegin(v)) Paint();
}

void TTextSintagm::setNEnd(int v) {
    if (m_core.setNEnd(v)) Paint();
}

void TTextSintagm::setOnTimer(bool on) {
    m_onTimer = on;
    if (on)
        m_timer.start();
    else
        m_timer.stop();
}

void TTextSintagm::setDirFileAdd(const QString& dir) {
    m_dirFileAdd = dir;
    m_core.invalidateLayout();
}

void TTextSintagm::SetMargins(int left, int top, int right, int bottom) {
    m_core.setMargins(left, top, right, bottom);
    Paint();
}

bool TTextSintagm::loadPicture(const QString& name) {
    const QString dir = m_dirFileAdd.isEmpty() ? QString() : m_dirFileAdd + QLatin1Char('\\');
    QPixmap normal, sel, mult;
    if (!normal.load(NativePath(dir + name)) || !sel.load(NativePath(dir + "r" + name)) ||
        !mult.load(NativePath(dir + "g" + name)))
        return false;
    m_pics.append(normal);
    m_picsSel.append(sel);
    m_picsMult.append(mult);
    return true;
}

int TTextSintagm::pictureHeight(int idx) const {
    return idx >= 0 && idx < m_picsSel.size() ? m_picsSel[idx].height() : 0;
}

void TTextSintagm::Tick() {
    if (m_core.Tick()) drawFrame();
}

void TTextSintagm::Paint() {
    m_core.Prepare();
    drawFrame();
    announceCurrent();
}

QString TTextSintagm::CurrentSintagmText() const {
    const QStringList& t = m_core.Text();
    const int i = m_core.Position();
    return i >= 0 && i < t.size() ? SintagmSpokenText(t[i]) : QString();
}

void TTextSintagm::announceCurrent() {
    const QString now = CurrentSintagmText();
    if (now == m_spoken) return;
    m_spoken = now;
    NotifyAccessibleEvent(this, QAccessible::DescriptionChanged);
}

// Draws into the off-screen picture, then copies it to the screen at once.
void TTextSintagm::drawFrame() {
    ++m_paints;
    renderBuffer();
    m_fresh = true;
    if (isVisible()) repaint();
    m_fresh = false;
}

void TTextSintagm::renderBuffer() {
    const qreal dpr = devicePixelRatioF();
    const QSize px(qCeil(width() * dpr), qCeil(height() * dpr));
    if (m_buffer.size() != px) m_buffer = QImage(px, QImage::Format_RGB32);
    m_buffer.setDevicePixelRatio(dpr);
    QPainter bp(&m_buffer);
    render(bp);
}

void TTextSintagm::resizeEvent(QResizeEvent*) {
    m_core.setSize(width(), height());
    m_rowCache.clear();
    if (isEnabled()) Q_EMIT OnResize();
}

void TTextSintagm::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    m_core.Prepare();
    const QPoint p = e->position().toPoint();
    const int line = m_core.LineAt(p.x(), p.y());
    if (line >= 0) Q_EMIT LineClicked(line);
}

void TTextSintagm::paintEvent(QPaintEvent*) {
    if (!m_fresh) {
        // An expose from the system: the picture may be stale.
        m_core.Prepare();
        renderBuffer();
    }
    QPainter p(this);
    p.drawImage(0, 0, m_buffer);
    if (!m_fresh) announceCurrent(); // a text loaded through Text() shows here first
}

void TTextSintagm::drawRow(QPainter& p, const TSintagmRow& row, int y) {
    const int len = int(row.RowText.size());
    if (len == 0 || row.Attrs.size() < len + 1) return;
    double x = m_core.TextLeft();
    int k = 1;
    while (k <= len) {
        const TCharAttr& a = row.Attrs[k];
        int e = k + 1;
        while (e <= len && row.Attrs[e].Style == a.Style && row.Attrs[e].Color == a.Color)
            ++e;
        const QStringView run = QStringView(row.RowText).sliced(k - 1, e - k);
        Metrics& m = metricsFor(a.Style);
        p.setFont(m.font);
        p.setPen(QColor::fromRgb(a.Color));
        p.drawText(QPointF(x, y + QFontMetricsF(m.font).ascent()), run.toString());
        x += m.width(run);
        k = e;
    }
}

void TTextSintagm::render(QPainter& p) {
    p.fillRect(rect(), Qt::white);
    const TSintagmLayout& l = m_core.Layout();
    if (!isVisible() || m_core.Text().isEmpty() || l.Rows.isEmpty()) return;
    const TTextLook sel = m_core.looks().Sel, mult = m_core.looks().Mult;
    // Pictures first: a tall one lies under the text of the rows after it.
    for (int r = 0; r <= l.LastRow; ++r) {
        const int idx = PictureRowIndex(l.Rows[r].RowText);
        if (idx < 0 || idx >= m_pics.size()) continue;
        const TSintagmRow& row = l.Rows[r];
        const TTextLook look = row.Attrs.size() > 1 ? row.Attrs[1].look() : TTextLook{};
        const QPixmap& pm = look == sel    ? m_picsSel[idx]
                            : look == mult ? m_picsMult[idx]
                                           : m_pics[idx];
        const int y = m_core.RowY(r);
        if (y >= height() || y + pm.height() <= 0) continue;
        p.drawPixmap(width() / 2 - pm.width() / 2, y, pm);
    }
    // Only rows whose top lies inside the text area are drawn; find them
    // directly instead of walking a long text.
    const int top = m_core.TextTop(), bottom = m_core.TextBottom();
    const double pitch = m_core.CharHeight() * IntervalFactor(m_core.HeightIntervString());
    const double off = std::lround(m_core.ScrollOffset());
    int r0 = 0, r1 = l.LastRow;
    if (pitch > 0) {
        r0 = qMax(0, int(std::floor((-off) / pitch)) - 1);
        r1 = qMin(l.LastRow, int(std::ceil((bottom - top - off) / pitch)) + 1);
    }
    // Rows are kept drawn while their looks stay, so a scroll step only copies
    // them. Not when rows overlap (tight pitch) or a picture lies under them.
    QSet<int> dirty;
    if (m_core.TakeDirtyRows(dirty))
        m_rowCache.clear();
    else
        for (int r : dirty)
            m_rowCache.remove(r);
    const int rowH = QFontMetrics(m_font).height();
    const bool cache = m_pics.isEmpty() && m_core.Pitch() >= rowH;
    if (!cache) m_rowCache.clear();
    const qreal dpr = m_buffer.devicePixelRatio();
    for (int r = r0; r <= r1; ++r) {
        const int y = m_core.RowY(r);
        if (y < top || y > bottom) continue;
        if (PictureRowIndex(l.Rows[r].RowText) >= 0) continue;
        if (!cache) {
            drawRow(p, l.Rows[r], y);
            continue;
        }
        auto it = m_rowCache.find(r);
        if (it == m_rowCache.end()) {
            QImage img(QSize(width(), rowH) * dpr, QImage::Format_RGB32);
            img.setDevicePixelRatio(dpr);
            img.fill(Qt::white);
            QPainter rp(&img);
            drawRow(rp, l.Rows[r], 0);
            rp.end();
            it = m_rowCache.insert(r, img);
        }
        p.drawImage(0, y, *it);
    }
}
