#pragma once
// Question presentation: the questions on a lesson text one after another,
// in file order, before the learner listens to the text.
#include "drill/drilllogic.h"
#include "drill/drillwindow.h"

class TBtnImgD1Zv;
class TBtnImgTransD1Zv;

class TFormQuestDemo : public TDrillWindow {
    Q_OBJECT
public:
    explicit TFormQuestDemo(QWidget* parent = nullptr);

    void SetFiles(const QString& questions, const QString& answers, const QString& timing,
                  const QString& sound);
    bool Load(); // false when there is no question to show
    const Pager& Paging() const { return m_pager; }
    const QList<TQuestEntry>& Entries() const { return m_entries; }

public Q_SLOTS:
    void SelectNext();
    void BitBtn1Click();
    void BitBtn2Click();
    void BtnImgTransD1Zv2Click();

protected:
    void ExitCommand() override { BtnImgTransD1Zv2Click(); }

private:
    QString m_questions, m_timing;
    QList<TQuestEntry> m_entries;
    Pager m_pager{0};

    QPlainTextEdit* MemoQuest;
    TBtnImgD1Zv* BitBtn1;
    TBtnImgTransD1Zv* BitBtn2;
    TBtnImgTransD1Zv* BtnImgTransD1Zv2;
    QLabel* LabelSelect;
    QLabel* LabelCount;
};

// 0 completed, 2 abandoned (also when there is no question), 1 ignored.
int RunQuestDemo(int cx, int cy, const QString& questions, const QString& answers,
                 const QString& timing, const QString& sound);
