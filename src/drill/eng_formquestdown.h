#pragma once
// Multiple-choice questions on a lesson text: random order, each asked once,
// options shuffled into up to four rows, one second try from three options.
#include "drill/drilllogic.h"
#include "drill/drillwindow.h"

#include <memory>

class QFrame;
class TBtnImgD1Zv;
class TBtnImgTransD1Zv;
class TChBxImgTransD1Zv;

class TFormQuestDown : public TDrillWindow {
    Q_OBJECT
public:
    explicit TFormQuestDown(QWidget* parent = nullptr);

    void SetFiles(const QString& questions, const QString& answers, const QString& timing,
                  const QString& sound);
    // Reads the lesson files; false when no question can be asked.
    bool Load();
    void SetSeed(quint32 seed) { m_seed = seed; }
    void Start(); // first question, counters shown
    const QuestDownRun* Run() const { return m_run.get(); }

public Q_SLOTS:
    void SelectNext();
    void BitBtn1Click();
    void RadioButton1Click() { RadioButtonClick(1); }
    void RadioButton2Click() { RadioButtonClick(2); }
    void RadioButton3Click() { RadioButtonClick(3); }
    void RadioButton4Click() { RadioButtonClick(4); }
    void BitBtn3Click();
    void BtnImgTransD1Zv3Click();

protected:
    void ExitCommand() override { BtnImgTransD1Zv3Click(); }
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void RadioButtonClick(int row);
    void PickRow(int row);
    void SyncMarks(int except = 0);
    void ShowCounters();

    QString m_questions, m_answers, m_timing;
    QList<TQuestEntry> m_entries;
    std::unique_ptr<QuestDownRun> m_run;
    quint32 m_seed;

    QPlainTextEdit* MemoQuest;
    QFrame* PanelQ[QuestOptionsMax];
    TChBxImgTransD1Zv* RadioButton[QuestOptionsMax];
    QPlainTextEdit* Memo[QuestOptionsMax];
    TBtnImgD1Zv* BitBtn1;
    TBtnImgTransD1Zv* BtnImgTransD1Zv1;
    TBtnImgTransD1Zv* BtnImgTransD1Zv2;
    TBtnImgTransD1Zv* BtnImgTransD1Zv3;
    QLabel* LabelSelect;
    QLabel* LabelCount;
    QLabel* LabelError;
};

// 0 completed, 2 abandoned (also when no question can be asked), 1 ignored.
// After the window ran, *questionCount is the number of questions a full run
// asks (questions without options are left out) and *errorCount the number
// answered wrong; both are 0 when no window ran.
int RunQuestDown(int cx, int cy, const QString& questions, const QString& answers,
                 const QString& timing, const QString& sound, int* questionCount = nullptr,
                 int* errorCount = nullptr);
