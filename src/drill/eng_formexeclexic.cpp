#include "drill/eng_formexeclexic.h"

#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/pictures.h"
#include "drill/drilldialogs.h"
#include "drill/twocolumnlist.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

TFormExecLexic::TFormExecLexic(QWidget* parent)
    : TDrillWindow(680, 471, 90, parent), m_seed(FreshSeed()) {
    setObjectName(QStringLiteral("FormExecLexic"));
    MakeLabel(QStringLiteral("Исходное выражение"), QRect(20, 14, 400, 20));
    EditText = new QLineEdit(this);
    EditText->setObjectName(QStringLiteral("EditText"));
    EditText->setReadOnly(true);
    EditText->setFocusPolicy(Qt::NoFocus);
    EditText->setGeometry(20, 36, 520, 32);
    QFont big = EditText->font();
    big.setPointSize(13);
    big.setBold(true);
    EditText->setFont(big);

    BitBtnPlay = MakeCaptionedButton(this, QStringLiteral("BitBtnPlay"), QStringLiteral("play"),
                                     QStringLiteral("Play"), GlyphAt::Left);
    BitBtnPlay->setGeometry(556, 28, 104, 48);
    BitBtnPlay->setAutoDefault(false);

    MakeLabel(QStringLiteral("Выберите правильный перевод"), QRect(20, 82, 400, 20));
    // Two columns in file order: the first top to bottom, then the second.
    ListBoxTrans = new TTwoColumnList(this);
    ListBoxTrans->setObjectName(QStringLiteral("ListBoxTrans"));
    ListBoxTrans->frame()->setObjectName(QStringLiteral("ListBoxTransFrame"));
    ListBoxTrans->placeFrame(QRect(20, 104, 520, 270));
    ListBoxTrans->setTextElideMode(Qt::ElideRight);
    // Space on the list plays the expression: the list has no use of its own for it.
    ListBoxTrans->installEventFilter(this);
    QFont lf = ListBoxTrans->font();
    lf.setPointSize(11);
    ListBoxTrans->setFont(lf);

    BitBtnNext = MakeCaptionedButton(this, QStringLiteral("BitBtnNext"), QStringLiteral("ok"),
                                     QStringLiteral("ОК"), GlyphAt::Left);
    BitBtnNext->setGeometry(556, 104, 104, 48);
    BitBtnNext->setDefault(true);
    BitBtnNext->setAutoDefault(true);

    ImageButton1 = MakeCaptionedButton(this, QStringLiteral("ImageButton1"),
                                       QStringLiteral("confirm"), QStringLiteral("Подтверждение"));
    ImageButton2 = MakeCaptionedButton(this, QStringLiteral("ImageButton2"), QStringLiteral("help"),
                                       QStringLiteral("Помощь"));
    ImageButton3 = MakeCaptionedButton(this, QStringLiteral("ImageButton3"), QStringLiteral("exit"),
                                       QStringLiteral("Выход"));
    int x = 20;
    for (TBtnImgTransD1Zv* b : {ImageButton1, ImageButton2, ImageButton3}) {
        QWidget* box = b->parentWidget();
        box->setGeometry(x, 386, 110, box->sizeHint().height());
        x += 116;
    }
    LabelSelect = MakeCounter(QStringLiteral("LabelSelect"), QStringLiteral("Осталось"),
                              QPoint(400, 396), 80);
    LabelCount =
        MakeCounter(QStringLiteral("LabelCount"), QStringLiteral("Всего"), QPoint(486, 396), 80);
    LabelError =
        MakeCounter(QStringLiteral("LabelError"), QStringLiteral("Ошибок"), QPoint(572, 396), 80);

    UsePlayButton(BitBtnPlay);
    connect(BitBtnNext, &QAbstractButton::clicked, this, &TFormExecLexic::BitBtnNextClick);
    connect(ListBoxTrans, &QListWidget::itemDoubleClicked, this, &TFormExecLexic::BitBtnNextClick);
    connect(ImageButton1, &TBtnImgTransD1Zv::clicked, this, &TFormExecLexic::BitBtnNextClick);
    connect(ImageButton2, &TBtnImgTransD1Zv::clicked, this, &TFormExecLexic::BitBtn1Click);
    connect(ImageButton3, &TBtnImgTransD1Zv::clicked, this, &TFormExecLexic::ImageButton3Click);
    setTabOrder(ListBoxTrans, BitBtnNext);
    setTabOrder(BitBtnNext, BitBtnPlay);
    // Under the OK button; after the play command in the Tab order.
    Speed = UseSpeedControl(QRect(548, 160, 120, 66));
}

void TFormExecLexic::SetFiles(const QString& expressions, const QString& translations,
                              const QString& timing, const QString& sound) {
    m_expressions = expressions;
    m_translations = translations;
    m_timing = timing;
    m_sound = sound;
    ShowPlay(!timing.isEmpty());
}

bool TFormExecLexic::Load() {
    TLexicData d = ReadLexicFiles(m_expressions, m_translations, m_timing);
    if (!d.Status.ok() || d.Entries.isEmpty()) ShowReadError(QString::fromUtf8(ReadErrorDamaged));
    m_entries = d.Entries;
    // Without entries or without any translation the drill has nothing to ask.
    const bool usable = !d.Entries.isEmpty() &&
                        !(d.Status.Failed == LessonFile::Translations && d.Status.Unreadable);
    if (!usable) return false;
    ListBoxTrans->clear();
    for (const TLexicEntry& e : m_entries) {
        auto* item = new QListWidgetItem(e.Translation, ListBoxTrans);
        item->setToolTip(e.Translation);
    }
    ListBoxTrans->arrange(ListBoxTrans->fontMetrics().height() + 8);
    return true;
}

void TFormExecLexic::showEvent(QShowEvent* e) {
    TDrillWindow::showEvent(e);
    if (!m_started) {
        m_started = true;
        SetInitialData();
    }
}

void TFormExecLexic::SetInitialData() {
    m_drill = std::make_unique<LexicDrill>(m_entries, m_seed);
    m_drill->SetInitialData();
    ShowCurrent();
    ShowCounters();
    ListBoxTrans->setFocus();
}

void TFormExecLexic::ShowCurrent() {
    if (!m_drill || m_drill->Current() == 0) return;
    const TLexicEntry& e = m_drill->CurrentEntry();
    EditText->setText(e.Expression);
    EditText->setCursorPosition(0);
    if (ListBoxTrans->count() > 0) {
        ListBoxTrans->setCurrentRow(0);
        ListBoxTrans->scrollToItem(ListBoxTrans->item(0));
    }
    m_playback->SetEntry(e.StartPos, e.EndPos);
}

void TFormExecLexic::ShowCounters() {
    if (!m_drill) return;
    LabelSelect->setText(QString::number(m_drill->Remaining()));
    LabelCount->setText(QString::number(m_drill->Count()));
    LabelError->setText(QString::number(m_drill->ErrorCount()));
}

void TFormExecLexic::BitBtnNextClick() {
    Guarded([&] {
        if (!m_drill || m_drill->Current() == 0) return;
        QListWidgetItem* item = ListBoxTrans->currentItem();
        if (!item || !item->isSelected()) return; // nothing picked yet
        const LexicDrill::Result r = m_drill->Confirm(item->text());
        switch (r.verdict) {
        case LexicDrill::Verdict::Finished:
            ShowCounters();
            done(Completed);
            return;
        case LexicDrill::Verdict::Right:
            ShowCurrent();
            ShowCounters();
            break;
        case LexicDrill::Verdict::TryAgain:
            RunTryAgainDialog();
            break;
        case LexicDrill::Verdict::Wrong:
            m_playback->Stop();
            RunWrongTranslationDialog(r.rightAnswer);
            ShowCurrent();
            ShowCounters();
            break;
        }
        ListBoxTrans->setFocus();
    });
}

bool TFormExecLexic::eventFilter(QObject* o, QEvent* e) {
    if (o == ListBoxTrans && e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Space && k->modifiers() == Qt::NoModifier) {
            if (!k->isAutoRepeat() && BitBtnPlay->isVisible() && BitBtnPlay->isEnabled())
                PlayEntry();
            return true;
        }
    }
    return TDrillWindow::eventFilter(o, e);
}

void TFormExecLexic::BitBtn1Click() {
    ShowHelpKeyword(QStringLiteral("Lexic"));
}

void TFormExecLexic::ImageButton3Click() {
    done(Abandoned);
}

int RunLexic(int cx, int cy, const QString& expressions, const QString& translations,
             const QString& timing, const QString& sound) {
    TFormExecLexic w;
    w.PlaceAround(cx, cy);
    w.SetFiles(expressions, translations, timing, sound);
    if (!w.Load()) return 2;
    switch (w.exec()) {
    case TDrillWindow::Completed:
        return 0;
    case TDrillWindow::Ignored:
        return 1;
    default:
        return 2;
    }
}
