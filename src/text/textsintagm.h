#pragma once
// TTextSintagm: a lesson text shown as rows of sintagms, with the current
// sintagm and a marked range highlighted, pictures inside the text and a
// smooth scroll that brings the current sintagm to a fixed height.
// Layout and scrolling live in TSintagmCore; this class measures, paints
// and forwards the properties.
#include "text/sintagmcore.h"

#include <array>
#include <memory>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

class TTextSintagm : public QWidget {
    Q_OBJECT
public:
    explicit TTextSintagm(QWidget* parent = nullptr);
    ~TTextSintagm() override;

    // Reading through this reference rebuilds the rows at the next paint.
    QStringList& Text();
    const QStringList& TextConst() const { return m_core.Text(); }
    void setText(const QStringList& lines);

    QFont Font() const { return m_font; }
    void setTextFont(const QFont& f);
    QFont FontSelSintagm() const { return m_fontSel; }
    void setFontSelSintagm(const QFont& f);
    QFont FontSelMultSint() const { return m_fontMult; }
    void setFontSelMultSint(const QFont& f);
    // Colours travel with the fonts, as the highlights are style plus colour.
    QColor FontColor() const { return m_colorFont; }
    void setFontColor(const QColor& c);
    QColor FontSelSintagmColor() const { return m_colorSel; }
    void setFontSelSintagmColor(const QColor& c);
    QColor FontSelMultSintColor() const { return m_colorMult; }
    void setFontSelMultSintColor(const QColor& c);

    int Position() const { return m_core.Position(); }
    void setPosition(int v);
    TIntevalString HeightIntervString() const { return m_core.HeightIntervString(); }
    void setHeightIntervString(TIntevalString v);
    int PosScreen() const { return m_core.PosScreen(); }
    void setPosScreen(int v);
    int k_Speed() const { return m_core.k_Speed(); }
    void setK_Speed(int v) { m_core.setK_Speed(v); }
    bool FlagSelMultSint() const { return m_core.FlagSelMultSint(); }
    void setFlagSelMultSint(bool on);
    int NBegin() const { return m_core.NBegin(); }
    void setNBegin(int v);
    int NEnd() const { return m_core.NEnd(); }
    void setNEnd(int v);
    bool OnTimer() const { return m_onTimer; }
    void setOnTimer(bool on);
    QString DirFileAdd() const { return m_dirFileAdd; }
    void setDirFileAdd(const QString& dir);
    bool SinDown() const { return m_core.SinDown(); }
    void setSinDown(bool on) { m_core.setSinDown(on); }

    void SetMargins(int left, int top, int right, int bottom);

    // The current sintagm as a screen reader says it (accessible value and
    // description; a change is announced when the view paints).
    QString CurrentSintagmText() const;

    // One scroll step towards the current sintagm's place.
    void Tick();
    // Lays out when needed and draws at once.
    void Paint();

    const TSintagmCore& core() const { return m_core; }
    int CurrentTop() const { return m_core.CurrentTop(); }
    bool Scrolling() const { return m_core.Scrolling(); }
    // Number of paints so far (tests check that ignored writes draw nothing).
    int PaintCount() const { return m_paints; }
    // The off-screen picture of the last paint.
    const QImage& Frame() const { return m_buffer; }
    QSize sizeHint() const override { return {150, 200}; }

Q_SIGNALS:
    void OnResize();
    // The learner clicked on line `line` (0-based).
    void LineClicked(int line);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    struct Metrics {
        QFont font;
        std::array<float, 0x500> adv{}; // Latin and Cyrillic, filled lazily
        std::array<bool, 0x500> known{};
        QHash<char16_t, float> other;
        float advance(QChar c);
        double width(QStringView s);
    };
    Metrics& metricsFor(quint8 style);
    void remeasure();
    void render(QPainter& p);
    void renderBuffer();
    void drawFrame();
    void drawRow(QPainter& p, const TSintagmRow& row, int y);
    bool loadPicture(const QString& name);
    void announceCurrent();
    int pictureHeight(int idx) const;

    TSintagmCore m_core;
    QFont m_font, m_fontSel, m_fontMult;
    QColor m_colorFont{0, 0, 0}, m_colorSel{255, 0, 0}, m_colorMult{0, 0, 255};
    std::array<std::unique_ptr<Metrics>, 16> m_metrics;
    QList<QPixmap> m_pics, m_picsSel, m_picsMult;
    QString m_dirFileAdd;
    bool m_onTimer = false;
    QTimer m_timer;
    QImage m_buffer;
    QHash<int, QImage> m_rowCache; // drawn text rows, while their looks stay
    int m_paints = 0;
    bool m_fresh = false; // the picture was just drawn by Paint
    QString m_spoken;     // the current sintagm as last announced
};
