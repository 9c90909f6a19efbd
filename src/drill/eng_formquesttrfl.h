#pragma once
// True/false questions: answered "Да" or "Нет" in random order, each once,
// with the results window at the end.
#include "drill/drilllogic.h"
#include "drill/drillwindow.h"

#include <memory>

class QGroupBox;
class QPushButton;
class QRadioButton;

class TFormQuestTrFl : public TDrillWindow {
    Q_OBJECT
public:
    explicit TFormQuestTrFl(QWidget* parent = nullptr);

    void SetFiles(const QString& questions, const QString& answers, const QString& timing,
                  const QString& sound);
    bool Load(); // false when there is no question
    void SetSeed(quint32 seed) { m_seed = seed; }
    void Start();
    const TrFlRun* Run() const { return m_run.get(); }

public Q_SLOTS:
    void SelectNext();
    void BitBtn1Click();
    void BitBtnNextClick();
    void BitBtn3Click();
    void BitBtn4Click();

protected:
    // Esc is "Cancel".
    void ExitCommand() override { BitBtn3Click(); }

private:
    void ShowCurrent();

    QString m_questions, m_answers, m_timing;
    QList<TTrFlEntry> m_entries;
    std::unique_ptr<TrFlRun> m_run;
    quint32 m_seed;

    QPlainTextEdit* MemoQuest;
    QGroupBox* GroupBox1;
    QRadioButton* RadioButtonYes;
    QRadioButton* RadioButtonNo;
    QPushButton* BitBtn1;
    QPushButton* BitBtnNext;
    QPushButton* BitBtnPlay;
    TSpeedControl* Speed = nullptr;
    QPushButton* BitBtn3;
    QPushButton* BitBtn4;
    QLabel* LabelSelect;
    QLabel* LabelCount;
    QLabel* LabelError;
};

// 0 completed (after the results window), 1 "Cancel" or Esc, 2 "&Close" or
// no question to ask.
int RunQuestTrFl(int cx, int cy, const QString& questions, const QString& answers,
                 const QString& timing, const QString& sound);
