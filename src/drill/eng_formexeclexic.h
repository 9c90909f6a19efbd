#pragma once
// Vocabulary drill: one expression at a time in random order; the learner
// picks its translation from the list of all the lesson's translations.
#include "drill/drilllogic.h"
#include "drill/drillwindow.h"

#include <memory>

class QLineEdit;
class TTwoColumnList;
class TBtnImgD1Zv;
class TBtnImgTransD1Zv;

class TFormExecLexic : public TDrillWindow {
    Q_OBJECT
public:
    explicit TFormExecLexic(QWidget* parent = nullptr);

    void SetFiles(const QString& expressions, const QString& translations, const QString& timing,
                  const QString& sound);
    // Reads the lesson files; false when there is nothing the drill can run on.
    bool Load();
    void SetSeed(quint32 seed) { m_seed = seed; }
    const LexicDrill* Drill() const { return m_drill.get(); }

public Q_SLOTS:
    void SetInitialData();
    void BitBtnNextClick();
    void BitBtn1Click();
    void ImageButton3Click();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;
    void ExitCommand() override { ImageButton3Click(); }

private:
    void ShowCurrent();
    void ShowCounters();

    QString m_expressions, m_translations, m_timing;
    QList<TLexicEntry> m_entries;
    std::unique_ptr<LexicDrill> m_drill;
    quint32 m_seed;
    bool m_started = false;

    TBtnImgD1Zv* BitBtnPlay;
    TSpeedControl* Speed = nullptr;
    QLineEdit* EditText;
    TTwoColumnList* ListBoxTrans;
    TBtnImgD1Zv* BitBtnNext;
    TBtnImgTransD1Zv* ImageButton1;
    TBtnImgTransD1Zv* ImageButton2;
    TBtnImgTransD1Zv* ImageButton3;
    QLabel* LabelSelect;
    QLabel* LabelCount;
    QLabel* LabelError;
};

// Runs the drill centred on (cx, cy); 0 completed, 2 abandoned, 1 ignored.
// A run without a usable expressions or translations file shows the read
// error and returns 2 without opening the window.
int RunLexic(int cx, int cy, const QString& expressions, const QString& translations,
             const QString& timing, const QString& sound);
