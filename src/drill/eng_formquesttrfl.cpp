#include "drill/eng_formquesttrfl.h"

#include "controls/guard.h"
#include "drill/eng_formquestend.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

TFormQuestTrFl::TFormQuestTrFl(QWidget* parent)
    : TDrillWindow(553, 197, 0, parent), m_seed(FreshSeed()) {
    setObjectName(QStringLiteral("FormQuestTrFl"));
    MakeLabel(QStringLiteral("Ответе на вопрос"), QRect(12, 6, 360, 20), QStringLiteral("Label1"));
    MemoQuest = MakeMemo(QStringLiteral("MemoQuest"), QRect(12, 26, 360, 74));

    GroupBox1 = new QGroupBox(QStringLiteral("Варианты ответов"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(12, 104, 360, 48);
    auto* gl = new QHBoxLayout(GroupBox1);
    gl->setContentsMargins(12, 2, 12, 4);
    RadioButtonYes = new QRadioButton(QStringLiteral("Да"), GroupBox1);
    RadioButtonYes->setObjectName(QStringLiteral("RadioButtonYes"));
    RadioButtonNo = new QRadioButton(QStringLiteral("Нет"), GroupBox1);
    RadioButtonNo->setObjectName(QStringLiteral("RadioButtonNo"));
    RadioButtonYes->setChecked(true);
    gl->addWidget(RadioButtonYes);
    gl->addWidget(RadioButtonNo);
    gl->addStretch();

    auto* info = new QGroupBox(QStringLiteral("Информация"), this);
    info->setObjectName(QStringLiteral("PanelInfo"));
    info->setGeometry(384, 6, 157, 98);
    auto* il = new QGridLayout(info);
    const QString captions[3] = {QStringLiteral("Осталось:"), QStringLiteral("Всего:"),
                                 QStringLiteral("Ошибок:")};
    const QString names[3] = {QStringLiteral("LabelSelect"), QStringLiteral("LabelCount"),
                              QStringLiteral("LabelError")};
    QLabel* numbers[3];
    for (int i = 0; i < 3; ++i) {
        auto* cap = new QLabel(captions[i], info);
        numbers[i] = new QLabel(QStringLiteral("0"), info);
        numbers[i]->setObjectName(names[i]);
        numbers[i]->setTextFormat(Qt::PlainText);
        numbers[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = numbers[i]->font();
        f.setBold(true);
        numbers[i]->setFont(f);
        il->addWidget(cap, i, 0);
        il->addWidget(numbers[i], i, 1);
    }
    LabelSelect = numbers[0];
    LabelCount = numbers[1];
    LabelError = numbers[2];

    auto button = [this](const QString& name, const QString& text, int x, int w) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(x, 160, w, 28);
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button(QStringLiteral("BitBtn1"), QStringLiteral("OK"), 12, 96);
    BitBtnNext = button(QStringLiteral("BitBtnNext"), QStringLiteral("Пропустить"), 114, 124);
    BitBtnPlay = button(QStringLiteral("BitBtnPlay"), QStringLiteral("Проиграть"), 244, 128);
    BitBtn3 = button(QStringLiteral("BitBtn3"), QStringLiteral("Cancel"), 384, 76);
    BitBtn4 = button(QStringLiteral("BitBtn4"), QStringLiteral("&Close"), 465, 76);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);

    UsePlayButton(BitBtnPlay);
    // Under the counters, beside the play command's row.
    Speed = UseSpeedControl(QRect(402, 110, 120, 40), false);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormQuestTrFl::BitBtn1Click);
    connect(BitBtnNext, &QPushButton::clicked, this, &TFormQuestTrFl::BitBtnNextClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormQuestTrFl::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TFormQuestTrFl::BitBtn4Click);
    setTabOrder(RadioButtonYes, BitBtn1);
    setTabOrder(BitBtn1, BitBtnNext);
    setTabOrder(BitBtnNext, BitBtnPlay);
    setTabOrder(BitBtnPlay, BitBtn3);
    setTabOrder(BitBtn3, BitBtn4);
}

void TFormQuestTrFl::SetFiles(const QString& questions, const QString& answers,
                              const QString& timing, const QString& sound) {
    m_questions = questions;
    m_answers = answers;
    m_timing = timing;
    m_sound = sound;
    // Without a timing file the questions have no recordings to play.
    ShowPlay(!timing.isEmpty());
}

bool TFormQuestTrFl::Load() {
    TTrFlData d = ReadTrFlFiles(m_questions, m_answers, m_timing);
    if (!d.Status.ok() || d.Entries.isEmpty()) ShowReadError(QString::fromUtf8(ReadErrorDamaged));
    m_entries = d.Entries;
    return !m_entries.isEmpty();
}

void TFormQuestTrFl::Start() {
    m_run = std::make_unique<TrFlRun>(m_entries, m_seed);
    m_run->Start();
    ShowCurrent();
}

void TFormQuestTrFl::SelectNext() {
    if (!m_run) return;
    m_run->Skip();
    ShowCurrent();
}

void TFormQuestTrFl::ShowCurrent() {
    if (!m_run || m_run->Current() == 0) return;
    const TTrFlEntry& e = m_run->CurrentEntry();
    MemoQuest->setPlainText(e.Quest);
    LabelSelect->setText(QString::number(m_run->Remaining()));
    LabelCount->setText(QString::number(m_run->Count()));
    LabelError->setText(QString::number(m_run->ErrorCount()));
    m_playback->SetEntry(e.StartPos, e.EndPos);
}

void TFormQuestTrFl::BitBtn1Click() {
    Guarded([&] {
        if (!m_run || m_run->Current() == 0) return;
        m_run->SetYesChosen(RadioButtonYes->isChecked());
        if (m_run->Judge()) {
            LabelSelect->setText(QString::number(m_run->Remaining()));
            LabelError->setText(QString::number(m_run->ErrorCount()));
            done(Completed);
        } else {
            ShowCurrent();
        }
    });
}

void TFormQuestTrFl::BitBtnNextClick() {
    SelectNext();
}

void TFormQuestTrFl::BitBtn3Click() {
    done(Ignored);
}

void TFormQuestTrFl::BitBtn4Click() {
    done(Abandoned);
}

int RunQuestTrFl(int cx, int cy, const QString& questions, const QString& answers,
                 const QString& timing, const QString& sound) {
    TFormQuestTrFl w;
    w.PlaceAround(cx, cy);
    w.SetFiles(questions, answers, timing, sound);
    if (!w.Load()) return 2;
    w.Start();
    switch (w.exec()) {
    case TDrillWindow::Completed: {
        TFormQuestEnd end;
        end.Fill(w.Run()->Entries(), w.Run()->ErrorCount());
        end.CentreOnDesktop();
        end.exec();
        return 0;
    }
    case TDrillWindow::Ignored:
        return 1;
    default:
        return 2;
    }
}
