#include "drill/eng_formquestdemo.h"

#include "controls/ui_hooks.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"

#include <QLabel>
#include <QPlainTextEdit>

TFormQuestDemo::TFormQuestDemo(QWidget* parent) : TDrillWindow(555, 251, 100, parent) {
    setObjectName(QStringLiteral("FormQuestDemo"));
    MemoQuest = MakeMemo(QStringLiteral("MemoQuest"), QRect(20, 18, 515, 120));
    QFont f = MemoQuest->font();
    f.setPointSize(12);
    MemoQuest->setFont(f);

    BitBtn1 = MakeCaptionedButton(this, QStringLiteral("BitBtn1"), QStringLiteral("next"),
                                  QStringLiteral("Далее"), GlyphAt::Left);
    BitBtn1->setLayout(TBtnImgD1Zv::blGlyphTop);
    BitBtn1->setGeometry(20, 150, 90, 66);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BitBtn2 = MakeCaptionedButton(this, QStringLiteral("BitBtn2"), QStringLiteral("help"),
                                  QStringLiteral("Помощь"));
    BtnImgTransD1Zv2 = MakeCaptionedButton(this, QStringLiteral("BtnImgTransD1Zv2"),
                                           QStringLiteral("exit"), QStringLiteral("Выход"));
    BitBtn2->parentWidget()->setGeometry(120, 154, 90,
                                         BitBtn2->parentWidget()->sizeHint().height());
    BtnImgTransD1Zv2->parentWidget()->setGeometry(
        214, 154, 90, BtnImgTransD1Zv2->parentWidget()->sizeHint().height());
    LabelSelect = MakeCounter(QStringLiteral("LabelSelect"), QStringLiteral("Осталось"),
                              QPoint(366, 170), 80);
    LabelCount =
        MakeCounter(QStringLiteral("LabelCount"), QStringLiteral("Всего"), QPoint(452, 170), 80);

    connect(BitBtn1, &QAbstractButton::clicked, this, &TFormQuestDemo::BitBtn1Click);
    connect(BitBtn2, &TBtnImgTransD1Zv::clicked, this, &TFormQuestDemo::BitBtn2Click);
    connect(BtnImgTransD1Zv2, &TBtnImgTransD1Zv::clicked, this,
            &TFormQuestDemo::BtnImgTransD1Zv2Click);
}

void TFormQuestDemo::SetFiles(const QString& questions, const QString&, const QString& timing,
                              const QString&) {
    // The answers and the recording are not used: this window asks and plays nothing.
    m_questions = questions;
    m_timing = timing;
}

bool TFormQuestDemo::Load() {
    TQuestData d = ReadQuestDemoFiles(m_questions, m_timing);
    if (!d.Status.ok() || d.Entries.isEmpty()) ShowReadError(QString::fromUtf8(ReadErrorDamaged));
    m_entries = d.Entries;
    m_pager = Pager(int(m_entries.size()));
    return !m_entries.isEmpty();
}

void TFormQuestDemo::SelectNext() {
    if (m_pager.Current() == 0)
        m_pager.Start();
    else
        m_pager.Next();
    if (m_pager.Current() == 0) return;
    MemoQuest->setPlainText(m_entries[m_pager.Current() - 1].Quest);
    LabelSelect->setText(QString::number(m_pager.Remaining()));
    LabelCount->setText(QString::number(m_pager.Count()));
}

void TFormQuestDemo::BitBtn1Click() {
    if (m_pager.Current() < m_pager.Count())
        SelectNext();
    else
        done(Completed);
}

void TFormQuestDemo::BitBtn2Click() {
    ShowHelpKeyword(QStringLiteral("QuestDemo"));
}

void TFormQuestDemo::BtnImgTransD1Zv2Click() {
    done(Abandoned);
}

int RunQuestDemo(int cx, int cy, const QString& questions, const QString& answers,
                 const QString& timing, const QString& sound) {
    TFormQuestDemo w;
    w.PlaceAround(cx, cy);
    w.SetFiles(questions, answers, timing, sound);
    if (!w.Load()) return 2;
    w.SelectNext();
    switch (w.exec()) {
    case TDrillWindow::Completed:
        return 0;
    case TDrillWindow::Ignored:
        return 1;
    default:
        return 2;
    }
}
