#pragma once
// The text work window: the lesson plays while its sintagms are highlighted
// in the text and the translation; play all, from a sintagm, one sintagm,
// a marked range in a loop, comments, pictures and the learner's own
// recording.
#include "text/lessonfiles.h"
#include "text/worktextrules.h"

#include <QDialog>
#include <QTimer>

class AudioDevice;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QSlider;
class TBtnImgTransD1Zv;
class TChBxImgTransD1Zv;
class TTextSintagm;

class TFormWorkText : public QDialog {
    Q_OBJECT
public:
    explicit TFormWorkText(QWidget* parent = nullptr);
    ~TFormWorkText() override;

    void SetInitialData(const QString& soundFile, const QString& learnerRecording,
                        const QString& textFile, const QString& transFile,
                        const QString& timingFile, const QString& pictureFile,
                        const QString& dataRoot);
    // Places the window in the area the caller gives it.
    void Place(int left, int top, int width, int height);

    // State, for the owner and for tests.
    int Current() const { return m_current; }
    int N() const { return m_data.N; }
    bool Playing() const { return m_playing; }
    bool Looping() const { return m_looping; }
    bool DeviceOpen() const { return m_deviceOpen; }
    bool Marking() const { return m_mark.Marking; }
    int RangeBegin() const { return m_mark.Begin; }
    int RangeEnd() const { return m_mark.End; }
    int ShownPicture() const { return m_shownPicture; }
    bool TextShown() const { return m_textShown; }
    bool TransShown() const { return m_transShown; }
    QString SelectedRecording() const { return m_selected; }
    const TLessonData& Lesson() const { return m_data; }
    AudioDevice* MediaPlayerText() const { return m_player; }

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
    void TimerPosTimer();
    void MediaPlayerTextNotify(int value);
    void Label9Click();
    void SintagmClick(int line);

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
    const QList<TTimingEntry>& activeTimings() const;
    bool openDevice();
    void closeDevice();
    void startPlay(qint64 start, qint64 end);
    void setIdle(bool idle);
    void setSpeed(int k);
    void showSchedulePicture(int k);
    void setImage(QLabel* label, const QPixmap& pm);

    // Names given by the launcher.
    QString m_soundFile, m_learnerRecording, m_textFile, m_transFile, m_timingFile, m_pictureFile,
        m_dataRoot;
    QString m_selected;
    TLessonData m_data;
    int m_current = 1;
    int m_shownPicture = 0;
    bool m_textShown = false, m_transShown = false;
    bool m_playing = false, m_looping = false, m_deviceOpen = false;
    bool m_shownOnce = false;
    TMarkState m_mark;

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
    QFrame* PanelComent = nullptr;
    QLabel* Label9 = nullptr;
    QPlainTextEdit* MemoComent = nullptr;
    AudioDevice* m_player = nullptr;
    QTimer TimerPos;
};

// Opens the text work window in the area (left, top, width, height), runs it
// modally and returns 0. `unused` is accepted for the launcher's call.
int RunWorkText(int left, int top, int width, int height, const QString& soundFile,
                const QString& learnerRecording, const QString& textFile, const QString& transFile,
                const QString& timingFile, const QString& pictureFile, int unused,
                const QString& dataRoot);
