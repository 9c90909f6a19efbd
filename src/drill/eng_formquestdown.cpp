#include "drill/eng_formquestdown.h"

#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/pictures.h"
#include "drill/drilldialogs.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QShortcut>

TFormQuestDown::TFormQuestDown(QWidget* parent)
    : TDrillWindow(605, 507, 120, parent), m_seed(FreshSeed()) {
    setObjectName(QStringLiteral("FormQuestDown"));
    setWindowTitle(QStringLiteral("Послетекстовые вопросы"));
    QLabel* title = MakeLabel(windowTitle(), QRect(3, 3, 599, 26), QStringLiteral("LabelTitle"));
    title->setAlignment(Qt::AlignCenter);
    title->setAutoFillBackground(true);
    QPalette tp = title->palette();
    tp.setColor(QPalette::Window, QColor(121, 184, 228));
    tp.setColor(QPalette::WindowText, QColor(255, 255, 255));
    title->setPalette(tp);
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSize(11);
    title->setFont(tf);

    MakeLabel(QStringLiteral("Выберите правильный вариант"), QRect(20, 36, 400, 20));
    MemoQuest = MakeMemo(QStringLiteral("MemoQuest"), QRect(20, 58, 565, 84));
    QFont qf = MemoQuest->font();
    qf.setBold(true);
    qf.setPointSize(12);
    MemoQuest->setFont(qf);

    for (int i = 0; i < QuestOptionsMax; ++i) {
        const QString n = QString::number(i + 1);
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("PanelQ") + n);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setGeometry(20, 150 + i * 62, 565, 58);
        auto* mark = new TChBxImgTransD1Zv(panel);
        mark->setObjectName(QStringLiteral("RadioButton") + n);
        mark->setPictures(Pictures::Check());
        mark->setCaption(n); // the key that picks the row
        mark->setGeometry(6, 4, 40, 50);
        auto* memo = new QPlainTextEdit(panel);
        memo->setObjectName(QStringLiteral("Memo") + n);
        memo->setReadOnly(true);
        memo->setFocusPolicy(Qt::NoFocus);
        memo->setFrameShape(QFrame::NoFrame);
        memo->setGeometry(50, 3, 510, 52);
        memo->viewport()->installEventFilter(this);
        memo->viewport()->setCursor(Qt::PointingHandCursor);
        PanelQ[i] = panel;
        RadioButton[i] = mark;
        Memo[i] = memo;
        auto* key = new QShortcut(QKeySequence(Qt::Key_1 + i), this);
        connect(key, &QShortcut::activated, this, [this, i] { PickRow(i + 1); });
    }
    connect(RadioButton[0], &TChBxImgTransD1Zv::clicked, this, &TFormQuestDown::RadioButton1Click);
    connect(RadioButton[1], &TChBxImgTransD1Zv::clicked, this, &TFormQuestDown::RadioButton2Click);
    connect(RadioButton[2], &TChBxImgTransD1Zv::clicked, this, &TFormQuestDown::RadioButton3Click);
    connect(RadioButton[3], &TChBxImgTransD1Zv::clicked, this, &TFormQuestDown::RadioButton4Click);

    BitBtn1 = MakeCaptionedButton(this, QStringLiteral("BitBtn1"), QStringLiteral("ok"),
                                  QStringLiteral("OK"), GlyphAt::Left);
    BitBtn1->setGeometry(20, 420, 100, 48);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    BtnImgTransD1Zv1 =
        MakeCaptionedButton(this, QStringLiteral("BtnImgTransD1Zv1"), QStringLiteral("confirm"),
                            QStringLiteral("Подтверждение"));
    BtnImgTransD1Zv2 = MakeCaptionedButton(this, QStringLiteral("BtnImgTransD1Zv2"),
                                           QStringLiteral("help"), QStringLiteral("Помощь"));
    BtnImgTransD1Zv3 = MakeCaptionedButton(this, QStringLiteral("BtnImgTransD1Zv3"),
                                           QStringLiteral("exit"), QStringLiteral("Выход"));
    int x = 126;
    for (TBtnImgTransD1Zv* b : {BtnImgTransD1Zv1, BtnImgTransD1Zv2, BtnImgTransD1Zv3}) {
        b->parentWidget()->setGeometry(x, 410, 100, b->parentWidget()->sizeHint().height());
        x += 92;
    }
    LabelSelect = MakeCounter(QStringLiteral("LabelSelect"), QStringLiteral("Осталось"),
                              QPoint(410, 424), 66);
    LabelCount =
        MakeCounter(QStringLiteral("LabelCount"), QStringLiteral("Всего"), QPoint(476, 424), 54);
    LabelError =
        MakeCounter(QStringLiteral("LabelError"), QStringLiteral("Ошибок"), QPoint(530, 424), 60);

    connect(BitBtn1, &QAbstractButton::clicked, this, &TFormQuestDown::BitBtn1Click);
    connect(BtnImgTransD1Zv1, &TBtnImgTransD1Zv::clicked, this, &TFormQuestDown::BitBtn1Click);
    connect(BtnImgTransD1Zv2, &TBtnImgTransD1Zv::clicked, this, &TFormQuestDown::BitBtn3Click);
    connect(BtnImgTransD1Zv3, &TBtnImgTransD1Zv::clicked, this,
            &TFormQuestDown::BtnImgTransD1Zv3Click);
}

void TFormQuestDown::SetFiles(const QString& questions, const QString& answers,
                              const QString& timing, const QString& sound) {
    m_questions = questions;
    m_answers = answers;
    m_timing = timing;
    m_sound = sound;
}

bool TFormQuestDown::Load() {
    TQuestData d = ReadQuestDownFiles(m_questions, m_answers, m_timing);
    m_entries = d.Entries;
    m_run = std::make_unique<QuestDownRun>(m_entries, m_seed);
    if (!d.Status.ok() || m_run->Count() == 0) ShowReadError(QString::fromUtf8(ReadErrorDamaged));
    return m_run->Count() > 0;
}

void TFormQuestDown::Start() {
    m_run = std::make_unique<QuestDownRun>(m_entries, m_seed);
    m_run->Start();
    SelectNext();
}

// Shows the question the run has drawn.
void TFormQuestDown::SelectNext() {
    if (!m_run || m_run->Current() == 0) return;
    const int rows = m_run->RowCount();
    for (int p = 1; p <= QuestOptionsMax; ++p) {
        PanelQ[p - 1]->setVisible(p <= rows);
        Memo[p - 1]->setPlainText(p <= rows ? m_run->RowText(p) : QString());
    }
    SyncMarks();
    MemoQuest->setPlainText(m_run->CurrentEntry().Quest);
    ShowCounters();
    BitBtn1->setFocus();
}

void TFormQuestDown::ShowCounters() {
    LabelSelect->setText(QString::number(m_run->Remaining()));
    LabelCount->setText(QString::number(m_run->Count()));
    LabelError->setText(QString::number(m_run->ErrorCount()));
}

void TFormQuestDown::SyncMarks(int except) {
    for (int p = 1; p <= QuestOptionsMax; ++p)
        if (p != except) RadioButton[p - 1]->setChecked(m_run->Marked(p));
}

void TFormQuestDown::RadioButtonClick(int row) {
    if (!m_run || m_run->Current() == 0) return;
    // The clicked mark toggles itself after this handler; the others are cleared here.
    m_run->ClickMark(row);
    SyncMarks(row);
}

void TFormQuestDown::PickRow(int row) {
    if (!m_run || m_run->Current() == 0 || row > m_run->RowCount()) return;
    m_run->PickRow(row);
    SyncMarks();
}

bool TFormQuestDown::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease) {
        for (int p = 1; p <= QuestOptionsMax; ++p)
            if (o == Memo[p - 1]->viewport()) PickRow(p);
    }
    return TDrillWindow::eventFilter(o, e);
}

void TFormQuestDown::BitBtn1Click() {
    Guarded([&] {
        if (!m_run || m_run->Current() == 0) return;
        const QuestDownRun::Result r = m_run->Check();
        if (r.verdict == QuestDownRun::Verdict::TryAgain) {
            RunTryAgainDialog();
            return;
        }
        if (r.verdict == QuestDownRun::Verdict::Wrong) RunWrongAnswerDialog(r.rightAnswer);
        ShowCounters();
        if (r.finished)
            done(Completed);
        else
            SelectNext();
    });
}

void TFormQuestDown::BitBtn3Click() {
    ShowHelpKeyword(QStringLiteral("QuestEnd"));
}

void TFormQuestDown::BtnImgTransD1Zv3Click() {
    done(Abandoned);
}

int RunQuestDown(int cx, int cy, const QString& questions, const QString& answers,
                 const QString& timing, const QString& sound, int* questionCount, int* errorCount) {
    if (questionCount) *questionCount = 0;
    if (errorCount) *errorCount = 0;
    TFormQuestDown w;
    w.PlaceAround(cx, cy);
    w.SetFiles(questions, answers, timing, sound);
    if (!w.Load()) return 2;
    w.Start();
    const int r = w.exec();
    if (questionCount) *questionCount = w.Run()->Count();
    if (errorCount) *errorCount = w.Run()->ErrorCount();
    if (r == TDrillWindow::Completed) return 0;
    return r == TDrillWindow::Ignored ? 1 : 2;
}
