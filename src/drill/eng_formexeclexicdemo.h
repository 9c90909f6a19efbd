#pragma once
// Vocabulary presentation: the lesson's expressions in file order, each with
// its translation and, when there is a timing file, its recording.
#include "drill/drilllogic.h"
#include "drill/drillwindow.h"

class QLineEdit;
class TBtnImgD1Zv;
class TBtnImgTransD1Zv;

class TFormExecLexicDemo : public TDrillWindow {
    Q_OBJECT
public:
    explicit TFormExecLexicDemo(QWidget* parent = nullptr);

    void SetFiles(const QString& expressions, const QString& translations, const QString& timing,
                  const QString& sound);
    // Reads the lesson files; false when there is no entry to show.
    bool Load();
    const Pager& Paging() const { return m_pager; }

public Q_SLOTS:
    void SetInitialData();
    void BitBtn1Click();
    void BitBtn2Click();
    void ImageButton3Click();

protected:
    void ExitCommand() override { ImageButton3Click(); }

private:
    void ShowCurrent();

    QString m_expressions, m_translations, m_timing;
    QList<TLexicDemoEntry> m_entries;
    Pager m_pager{0};

    TBtnImgD1Zv* BitBtnPlay;
    TSpeedControl* Speed = nullptr;
    QLineEdit* EditText;
    QLineEdit* EditTranslate;
    TBtnImgD1Zv* BitBtn1;
    TBtnImgTransD1Zv* BitBtn2;
    TBtnImgTransD1Zv* ImageButton3;
    QLabel* LabelSelect;
    QLabel* LabelCount;
};

// 0 completed, 1 abandoned (also when there is nothing to show).
int RunLexicDemo(int cx, int cy, const QString& expressions, const QString& translations,
                 const QString& timing, const QString& sound);
