#pragma once
// The listening and translation practice: the lesson plays once, the text
// and the translation may follow it with the current sintagm highlighted,
// and the learner's voice is recorded at the same time. With the wait the
// learner holds the lesson after a sintagm, speaks, and goes on.
#include "text/transnotextrules.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class TBtnImgTransD1Zv;
class TChBxImgTransD1Zv;
class TPrgssBarZv;

// A pane's drawing surface: shows the picture the window drew last.
class TListenPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TListenPaintBox(QWidget* parent = nullptr);
    // `now`: repaint at once (not from inside a paint of the box).
    void setImage(const QPixmap& pm, bool now);
    const QPixmap& image() const { return m_image; }

Q_SIGNALS:
    void needsPaint();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap m_image;
};

class TFormTransNoText : public QDialog, public TListenView {
    Q_OBJECT
public:
    explicit TFormTransNoText(const TListenParams& params, QWidget* parent = nullptr);
    ~TFormTransNoText() override;

    void Place(int left, int top, int width, int height);
    TTransNoTextRun& Run() { return *m_run; }

    // TListenView
    void ApplyControls(const TListenControls& c) override;
    void DrawPane(int pane) override;
    void ShowPicture(int k) override;

public Q_SLOTS:
    void BitBtnPlayClick();
    void BitBtnPauseClick();
    void BitBtnStopClick();
    void BtnImgWaitClick();
    void BitBtn1Click(); // help
    void BitBtnCloseClick();
    void TimerPosTimer();
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormShow();
    void buildControls();
    void arrange();
    void layoutPanes();
    bool spaceWaits() const;
    void renderPane(int pane, bool now);
    void setImage(QLabel* label, const QPixmap& pm);

    TTransNoTextRun* m_run = nullptr;
    bool m_shownOnce = false;
    int m_laidWidth = -1;
    QFont m_textFont, m_transFont;

    QWidget* PanelText = nullptr;
    QWidget* PanelTrans = nullptr;
    QWidget* PanelNavF = nullptr;
    QWidget* PanelNav = nullptr;
    TListenPaintBox* PaintBoxText = nullptr;
    TListenPaintBox* PaintBoxTrans = nullptr;
    QLabel* ImageStatic = nullptr;
    QLabel* ImageChange = nullptr;
    QPixmap m_staticPicture, m_changePicture;
    TPrgssBarZv* ProgressBarRec = nullptr;
    TBtnImgTransD1Zv* BitBtnPlay = nullptr;
    TBtnImgTransD1Zv* BitBtnPause = nullptr;
    TBtnImgTransD1Zv* BitBtnStop = nullptr;
    TBtnImgTransD1Zv* BtnImgWait = nullptr;
    TBtnImgTransD1Zv* BitBtn1 = nullptr;
    TBtnImgTransD1Zv* BitBtnClose = nullptr;
    QLabel* LabelPlay = nullptr;
    QLabel* LabelPause = nullptr;
    QLabel* LabelWait = nullptr;
    QLabel* LabelRecSign = nullptr;
    TChBxImgTransD1Zv* CheckBoxText = nullptr;
    TChBxImgTransD1Zv* CheckBoxTrans = nullptr;
};

// Opens the practice window in the area (left, top, width, height) and runs
// it modally. Returns 0, or 2 when a recording was asked for and no take of
// the learner's voice was saved (nothing to store as the learner's recording).
int RunTransNoText(int left, int top, int width, int height, const TListenParams& params);
