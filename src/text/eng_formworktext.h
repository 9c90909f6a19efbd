#pragma once
// The text work window: the lesson plays while its sintagms are highlighted
// in the text and the translation; play all, from a sintagm, one sintagm,
// a marked range in a loop, comments, pictures and the learner's own
// recording. The rules live in TWorkTextRun; the window builds the
// controls, forwards clicks and draws.
#include "text/worktextrun.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QSlider;
class TBtnImgTransD1Zv;
class TChBxImgTransD1Zv;
class TSpeedControl;
class TTextSintagm;

class TFormWorkText : public QDialog, public TWorkTextView {
    Q_OBJECT
public:
    TFormWorkText(const TLessonFiles& files, const QString& learnerRecording,
                  const QString& dataRoot, QWidget* parent = nullptr);
    ~TFormWorkText() override;

    // Places the window in the area the caller gives it.
    void Place(int left, int top, int width, int height);
    TWorkTextRun& Run() { return *m_run; }

    // TWorkTextView
    void ApplyControls(const TWorkTextControls& c) override;
    void ShowCurrent(int line) override;
    void ShowMark(const TMarkState& m) override;
    void SetViewSpeed(int k) override;
    void Follow(int line, bool text, bool trans) override;
    void ShowComments(const QStringList& lines) override;
    bool ShowPicture(const QString& nativePath) override;
    void PlaybackEnded() override;

public Q_SLOTS:
    void BitBtnPlayAllClick();
    void BitBtnSelectNextClick();
    void BitBtnSelectStringClick();
    void BitBtnStopClick();
    void BtnImgTransD1Zv1Click(); // loop
    void BtnImgTransD1Zv2Click(); // mark
    void BtnImgComentClick();
    void BitBtn1Click(); // help
    void BitBtn5Click(); // exit
    void CheckBoxTextClick();
    void CheckBoxTransClick();
    void CheckBoxTransUserClick();
    void TrackBarTextChange(int value);
    void Label9Click();
    void SintagmClick(int line);
    void SpeedChange(int percent);

protected:
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormShow();
    void SpaceKey(const QKeyEvent* e);
    void buildControls();
    void arrange();
    void setImage(QLabel* label, const QPixmap& pm);

    TWorkTextRun* m_run = nullptr;
    int m_viewSpeed = kIdleViewSpeed; // the run's scroll pace at full speed
    bool m_shownOnce = false;

    QWidget* PanelText = nullptr;
    QWidget* PanelTrans = nullptr;
    QWidget* Panel7 = nullptr;
    TTextSintagm* TextSintagmText = nullptr;
    TTextSintagm* TextSintagmTrans = nullptr;
    QLabel* ImageStatic = nullptr;
    QLabel* ImageChange = nullptr;
    QPixmap m_staticPicture, m_changePicture;
    QSlider* TrackBarText = nullptr;
    TChBxImgTransD1Zv* CheckBoxText = nullptr;
    TChBxImgTransD1Zv* CheckBoxTrans = nullptr;
    TChBxImgTransD1Zv* CheckBoxTransUser = nullptr;
    TBtnImgTransD1Zv* BitBtnPlayAll = nullptr;
    TBtnImgTransD1Zv* BitBtnSelectNext = nullptr;
    TBtnImgTransD1Zv* BitBtnSelectString = nullptr;
    TBtnImgTransD1Zv* BitBtnStop = nullptr;
    TBtnImgTransD1Zv* BtnImgTransD1Zv1 = nullptr;
    TBtnImgTransD1Zv* BtnImgTransD1Zv2 = nullptr;
    TBtnImgTransD1Zv* BtnImgComent = nullptr;
    TBtnImgTransD1Zv* BitBtn1 = nullptr;
    TBtnImgTransD1Zv* BitBtn5 = nullptr;
    QLabel* LabelSelect = nullptr;
    TSpeedControl* Speed = nullptr;
    QFrame* PanelComent = nullptr;
    QLabel* Label9 = nullptr;
    QPlainTextEdit* MemoComent = nullptr;
};

// Opens the text work window in the area (left, top, width, height), runs it
// modally and returns 0.
int RunWorkText(int left, int top, int width, int height, const TLessonFiles& files,
                const QString& learnerRecording, const QString& dataRoot);
