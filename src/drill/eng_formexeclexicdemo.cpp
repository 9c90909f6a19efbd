#include "drill/eng_formexeclexicdemo.h"

#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"

#include <QLabel>
#include <QLineEdit>

namespace {
QLineEdit* MakeField(QWidget* parent, const QString& name, QRect geometry, bool bold) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setGeometry(geometry);
    QFont f = e->font();
    f.setPointSize(12);
    f.setBold(bold);
    e->setFont(f);
    return e;
}
} // namespace

TFormExecLexicDemo::TFormExecLexicDemo(QWidget* parent) : TDrillWindow(550, 246, 80, parent) {
    setObjectName(QStringLiteral("FormExecLexicDemo"));
    MakeLabel(QStringLiteral("Исходное выражение"), QRect(20, 12, 380, 20));
    EditText = MakeField(this, QStringLiteral("EditText"), QRect(20, 32, 390, 30), true);
    MakeLabel(QStringLiteral("Перевод"), QRect(20, 72, 380, 20));
    EditTranslate = MakeField(this, QStringLiteral("EditTranslate"), QRect(20, 92, 390, 30), false);

    BitBtnPlay = MakeCaptionedButton(this, QStringLiteral("BitBtnPlay"), QStringLiteral("play"),
                                     QStringLiteral("Проиграть"), GlyphAt::Left);
    BitBtnPlay->setGeometry(420, 28, 114, 40);
    BitBtnPlay->setAutoDefault(false);

    BitBtn1 = MakeCaptionedButton(this, QStringLiteral("BitBtn1"), QStringLiteral("next"),
                                  QStringLiteral("Далее"), GlyphAt::Left);
    BitBtn1->setLayout(TBtnImgD1Zv::blGlyphTop);
    BitBtn1->setGeometry(20, 146, 90, 66);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);

    BitBtn2 = MakeCaptionedButton(this, QStringLiteral("BitBtn2"), QStringLiteral("help"),
                                  QStringLiteral("Помощь"));
    ImageButton3 = MakeCaptionedButton(this, QStringLiteral("ImageButton3"), QStringLiteral("exit"),
                                       QStringLiteral("Выход"));
    BitBtn2->parentWidget()->setGeometry(120, 150, 90,
                                         BitBtn2->parentWidget()->sizeHint().height());
    ImageButton3->parentWidget()->setGeometry(214, 150, 90,
                                              ImageButton3->parentWidget()->sizeHint().height());
    LabelSelect = MakeCounter(QStringLiteral("LabelSelect"), QStringLiteral("Осталось:"),
                              QPoint(360, 166), 80);
    LabelCount =
        MakeCounter(QStringLiteral("LabelCount"), QStringLiteral("Всего:"), QPoint(446, 166), 80);

    UsePlayButton(BitBtnPlay);
    Speed = UseSpeedControl(QRect(417, 72, 120, 66));
    connect(BitBtn1, &QAbstractButton::clicked, this, &TFormExecLexicDemo::BitBtn1Click);
    connect(BitBtn2, &TBtnImgTransD1Zv::clicked, this, &TFormExecLexicDemo::BitBtn2Click);
    connect(ImageButton3, &TBtnImgTransD1Zv::clicked, this, &TFormExecLexicDemo::ImageButton3Click);
}

void TFormExecLexicDemo::SetFiles(const QString& expressions, const QString& translations,
                                  const QString& timing, const QString& sound) {
    m_expressions = expressions;
    m_translations = translations;
    m_timing = timing;
    m_sound = sound;
    ShowPlay(!timing.isEmpty());
}

bool TFormExecLexicDemo::Load() {
    TLexicData d = ReadLexicFiles(m_expressions, m_translations, m_timing);
    if (!d.Status.ok() || d.Entries.isEmpty()) ShowReadError(QString::fromUtf8(ReadErrorTextFiles));
    m_entries = ToDemoEntries(d.Entries);
    m_pager = Pager(int(m_entries.size()));
    return !m_entries.isEmpty();
}

void TFormExecLexicDemo::SetInitialData() {
    m_pager.Start();
    ShowCurrent();
    BitBtn1->setFocus();
}

void TFormExecLexicDemo::ShowCurrent() {
    if (m_pager.Current() == 0) return;
    const TLexicDemoEntry& e = m_entries[m_pager.Current() - 1];
    EditText->setText(e.Expression);
    EditText->setCursorPosition(0);
    EditTranslate->setText(e.Translation);
    EditTranslate->setCursorPosition(0);
    LabelSelect->setText(QString::number(m_pager.Remaining()));
    LabelCount->setText(QString::number(m_pager.Count()));
    m_playback->SetEntry(e.StartPos, e.EndPos);
}

void TFormExecLexicDemo::BitBtn1Click() {
    if (m_pager.Next())
        ShowCurrent();
    else
        done(Completed);
}

void TFormExecLexicDemo::BitBtn2Click() {
    ShowHelpKeyword(QStringLiteral("LexicDemo"));
}

void TFormExecLexicDemo::ImageButton3Click() {
    done(Abandoned);
}

int RunLexicDemo(int cx, int cy, const QString& expressions, const QString& translations,
                 const QString& timing, const QString& sound) {
    TFormExecLexicDemo w;
    w.PlaceAround(cx, cy);
    w.SetFiles(expressions, translations, timing, sound);
    if (!w.Load()) return 1;
    w.SetInitialData();
    return w.exec() == TDrillWindow::Completed ? 0 : 1;
}
