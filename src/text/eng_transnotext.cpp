#include "text/eng_transnotext.h"
#include "text/lessonpanes.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/prgssbarzv.h"

#include <cmath>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace {

const QColor kWindowBlue(121, 184, 228);
const QColor kSintagmRed(255, 0, 0);

QFont paneFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(20);
    return f;
}

// The picture over a hidden text: a calm page in the window's colours.
QString clockText(qint64 ms) {
    const qint64 s = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

TListenPaintBox::TListenPaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TListenPaintBox::setImage(const QPixmap& pm, bool now) {
    m_image = pm;
    if (now) repaint();
}

void TListenPaintBox::paintEvent(QPaintEvent*) {
    Q_EMIT needsPaint();
    QPainter p(this);
    if (m_image.isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawPixmap(0, 0, m_image);
}

// ---------------------------------------------------------------------------

TFormTransNoText::TFormTransNoText(const TListenParams& params, QWidget* parent)
    : QDialog(parent), m_textFont(paneFont()), m_transFont(paneFont()) {
    setObjectName(QStringLiteral("FormTransNoText"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    resize(kListenW0, kListenH0);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowBlue);
    setPalette(pal);
    setAutoFillBackground(true);
    m_run = new TTransNoTextRun(params, this, this);
    buildControls();

    // Opening state: nothing runs, the panes show their pictures.
    PaintBoxText->hide();
    PaintBoxTrans->hide();
    CheckBoxText->setChecked(false);
    CheckBoxTrans->setChecked(false);
    ApplyControls(m_run->Controls());
}

TFormTransNoText::~TFormTransNoText() = default;

void TFormTransNoText::buildControls() {
    const LessonPanes panes = MakeLessonPanes(this);
    PanelText = panes.Text;
    PanelTrans = panes.Trans;
    ImageStatic = panes.ImageStatic;
    ImageChange = panes.ImageChange;
    m_staticPicture = StaticLessonPicture();
    PaintBoxText = new TListenPaintBox(PanelText);
    PaintBoxText->setObjectName(QStringLiteral("PaintBoxText"));
    PaintBoxTrans = new TListenPaintBox(PanelTrans);
    PaintBoxTrans->setObjectName(QStringLiteral("PaintBoxTrans"));
    // A paint box uncovered while playing is drawn afresh before it is shown.
    connect(PaintBoxText, &TListenPaintBox::needsPaint, this, [this] {
        if (m_run->Playing() && m_run->Controls().TextShown) renderPane(0, false);
    });
    connect(PaintBoxTrans, &TListenPaintBox::needsPaint, this, [this] {
        if (m_run->Playing() && m_run->Controls().TransShown) renderPane(1, false);
    });

    PanelNavF = new QWidget(this);
    PanelNavF->setObjectName(QStringLiteral("PanelNavF"));
    auto* v = new QVBoxLayout(PanelNavF);
    v->setContentsMargins(10, 2, 10, 0);
    v->setSpacing(0);
    ProgressBarRec = new TPrgssBarZv(PanelNavF);
    ProgressBarRec->setObjectName(QStringLiteral("ProgressBarRec"));
    ProgressBarRec->setAccessibleName(QStringLiteral("Ход урока"));
    ProgressBarRec->setPictures(Pictures::Bar());
    ProgressBarRec->setFixedHeight(14);
    ProgressBarRec->setMin(0);
    ProgressBarRec->setMax(0);
    ProgressBarRec->setPosition(0);
    // The recording sign sits at the end of the bar, clear of the buttons
    // below however narrow the window is.
    auto* barRow = new QHBoxLayout;
    barRow->setContentsMargins(0, 0, 0, 0);
    barRow->setSpacing(8);
    barRow->addWidget(ProgressBarRec, 1, Qt::AlignVCenter);
    v->addLayout(barRow);

    PanelNav = new QWidget(PanelNavF);
    PanelNav->setObjectName(QStringLiteral("PanelNav"));
    v->addWidget(PanelNav, 1);
    auto* row = new QHBoxLayout(PanelNav);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);

    // Recording must never go unnoticed: a red sign with the time recorded.
    LabelRecSign = new QLabel(PanelNavF);
    LabelRecSign->setObjectName(QStringLiteral("LabelRecSign"));
    LabelRecSign->setTextFormat(Qt::PlainText);
    QPalette rp = LabelRecSign->palette();
    rp.setColor(QPalette::WindowText, QColor(190, 0, 0));
    LabelRecSign->setPalette(rp);
    QFont rf = LabelRecSign->font();
    rf.setBold(true);
    LabelRecSign->setFont(rf);
    LabelRecSign->setMinimumWidth(
        QFontMetrics(rf).horizontalAdvance(QStringLiteral("● Запись 00:00:00")));
    LabelRecSign->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QSizePolicy keep = LabelRecSign->sizePolicy();
    keep.setRetainSizeWhenHidden(true); // the bar does not jump when recording starts
    LabelRecSign->setSizePolicy(keep);
    LabelRecSign->hide();
    barRow->addWidget(LabelRecSign);
    row->addStretch(1);

    auto button = [&](const QString& name, const QString& icon, const QString& caption,
                      QLabel** label = nullptr, const QString& labelName = QString()) {
        TBtnImgTransD1Zv* b = MakeCaptionedButton(PanelNav, name, icon, caption, label, labelName);
        b->parentWidget()->setMinimumWidth(84);
        row->addWidget(b->parentWidget());
        return b;
    };
    const bool rec = m_run->RecordingAsked();
    BitBtnPlay = button(QStringLiteral("BitBtnPlay"), rec ? "record" : "play",
                        QStringLiteral("Переводить"), &LabelPlay, QStringLiteral("LabelPlay"));
    BitBtnPause = button(QStringLiteral("BitBtnPause"), "pause", QStringLiteral("Пауза"),
                         &LabelPause, QStringLiteral("LabelPause"));
    BtnImgWait = button(QStringLiteral("BtnImgWait"), "next", QStringLiteral("Подождать"),
                        &LabelWait, QStringLiteral("LabelWait"));
    BitBtnStop = button(QStringLiteral("BitBtnStop"), "stop", QStringLiteral("Стоп"));
    BitBtn1 = button(QStringLiteral("BitBtn1"), "help", QStringLiteral("Помощь"));
    BitBtnClose = button(QStringLiteral("BitBtnClose"), "exit", QStringLiteral("Выход"));

    QList<TChBxImgTransD1Zv*> boxes;
    QVBoxLayout* checks =
        MakeCheckColumn(PanelNav,
                        {{QStringLiteral("CheckBoxText"), QStringLiteral("Показывать текст")},
                         {QStringLiteral("CheckBoxTrans"), QStringLiteral("Показывать перевод")}},
                        false, boxes);
    CheckBoxText = boxes[0];
    CheckBoxTrans = boxes[1];
    // Made after the buttons, so that Tab from the window (where the focus
    // waits during a take) comes to the buttons first; shown before them.
    row->insertLayout(0, checks);

    connect(BitBtnPlay, &TBtnImgTransD1Zv::clicked, this, &TFormTransNoText::BitBtnPlayClick);
    connect(BitBtnPause, &TBtnImgTransD1Zv::clicked, this, &TFormTransNoText::BitBtnPauseClick);
    connect(BitBtnStop, &TBtnImgTransD1Zv::clicked, this, &TFormTransNoText::BitBtnStopClick);
    connect(BtnImgWait, &TBtnImgTransD1Zv::clicked, this, &TFormTransNoText::BtnImgWaitClick);
    connect(BitBtn1, &TBtnImgTransD1Zv::clicked, this, &TFormTransNoText::BitBtn1Click);
    connect(BitBtnClose, &TBtnImgTransD1Zv::clicked, this, &TFormTransNoText::BitBtnCloseClick);
    // Ctrl+P starts the run, wherever the focus is.
    ClickOnKey(BitBtnPlay, QKeySequence(Qt::CTRL | Qt::Key_P));

    QWidget* prev = BitBtnPlay;
    for (QWidget* w : {static_cast<QWidget*>(BitBtnPause), static_cast<QWidget*>(BtnImgWait),
                       static_cast<QWidget*>(BitBtnStop), static_cast<QWidget*>(BitBtn1),
                       static_cast<QWidget*>(BitBtnClose), static_cast<QWidget*>(CheckBoxText),
                       static_cast<QWidget*>(CheckBoxTrans)}) {
        setTabOrder(prev, w);
        prev = w;
    }
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

void TFormTransNoText::Place(int left, int top, int width, int height) {
    setGeometry(ListenPlacement(left, top, width, height));
}

void TFormTransNoText::arrange() {
    const int paneH = qMax(0, height() - kListenPanelNavF);
    const int textW = qMin(width(), int(std::lround(paneH * 260.0 / 280)));
    PanelText->setGeometry(0, 0, textW, paneH);
    // A narrow strip of the window's blue keeps the two white panes apart.
    const int gap = width() - textW > 2 ? 2 : 0;
    PanelTrans->setGeometry(textW + gap, 0, width() - textW - gap, paneH);
    PanelNavF->setGeometry(0, paneH, width(), kListenPanelNavF);
    const QSize box = ListenPaintBoxSize(paneH);
    const int top = (paneH - box.height()) / 2;
    PaintBoxText->setGeometry((textW - box.width()) / 2, top, box.width(), box.height());
    PaintBoxTrans->setGeometry((PanelTrans->width() - box.width()) / 2, top, box.width(),
                               box.height());
    ImageStatic->setGeometry(PanelText->rect().adjusted(6, 6, -6, -6));
    ImageChange->setGeometry(PanelTrans->rect().adjusted(6, 6, -6, -6));
    setImage(ImageStatic, m_staticPicture);
    setImage(ImageChange, m_changePicture);
    m_run->SetPaneHeight(box.height());
}

void TFormTransNoText::setImage(QLabel* label, const QPixmap& pm) {
    if (pm.isNull() || label->width() <= 0 || label->height() <= 0) {
        label->setPixmap(pm);
        return;
    }
    const qreal dpr = label->devicePixelRatioF();
    QPixmap scaled = pm.scaled(label->size() * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(dpr);
    label->setPixmap(scaled);
}

void TFormTransNoText::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    arrange();
    if (m_shownOnce && PaintBoxText->width() != m_laidWidth) layoutPanes();
}

void TFormTransNoText::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_shownOnce) {
        m_shownOnce = true;
        Guarded([this] { FormShow(); });
    }
}

void TFormTransNoText::FormShow() {
    arrange();
    SetHelpContext(this, m_run->Params().HelpContext);
    InstallF1Help(this);
    if (!m_run->Load())
        XMessage(QStringLiteral("Ошибка чтения файла.\rПовреждены текстовые файлы"),
                 QStringLiteral("Ошибка чтения файла"), MB_ICONSTOP);
    layoutPanes();
    ShowPicture(1);
    BitBtnPlay->setFocus();
}

void TFormTransNoText::layoutPanes() {
    const int avail = PaintBoxText->width() - 20;
    const QFontMetrics tm(m_textFont), rm(m_transFont);
    m_run->SetLayouts(
        LayoutListenPane(m_run->Lesson().Text, avail,
                         [&tm](QStringView s) { return tm.horizontalAdvance(s.toString()); }),
        LayoutListenPane(m_run->Lesson().Trans, avail,
                         [&rm](QStringView s) { return rm.horizontalAdvance(s.toString()); }));
    m_laidWidth = PaintBoxText->width();
}

void TFormTransNoText::ApplyControls(const TListenControls& c) {
    // A focused button that is about to be disabled would pass the focus on
    // to the next one ("Стоп" among them), where a later Space or Enter
    // would press it unasked. The window keeps the focus instead.
    if (QWidget* f = focusWidget()) {
        const bool disabling =
            (f == BitBtnPlay && !c.PlayEnabled) || (f == BitBtnPause && !c.PauseEnabled) ||
            (f == BitBtnStop && !c.StopEnabled) || (f == BitBtnClose && !c.CloseEnabled) ||
            (f == BtnImgWait && !c.WaitEnabled);
        if (disabling) setFocus(Qt::OtherFocusReason);
    }
    if (LabelPlay->text() != c.LabelPlay) LabelPlay->setText(c.LabelPlay);
    BitBtnPlay->setEnabled(c.PlayEnabled);
    BitBtnPause->setEnabled(c.PauseEnabled);
    BitBtnStop->setEnabled(c.StopEnabled);
    BitBtnClose->setEnabled(c.CloseEnabled);
    BtnImgWait->setEnabled(c.WaitEnabled);
    LabelWait->setEnabled(c.WaitEnabled);
    if (LabelPause->text() != c.LabelPause) LabelPause->setText(c.LabelPause);
    if (LabelWait->text() != c.LabelWait) LabelWait->setText(c.LabelWait);
    if (CheckBoxText->markEnabled() != c.TextCheckEnabled)
        CheckBoxText->setMarkEnabled(c.TextCheckEnabled);
    if (CheckBoxTrans->markEnabled() != c.TransCheckEnabled)
        CheckBoxTrans->setMarkEnabled(c.TransCheckEnabled);
    if (PaintBoxText->isVisibleTo(PanelText) != c.TextShown) {
        if (c.TextShown) renderPane(0, false);
        PaintBoxText->setVisible(c.TextShown);
    }
    ImageStatic->setVisible(!c.TextShown);
    if (PaintBoxTrans->isVisibleTo(PanelTrans) != c.TransShown) {
        if (c.TransShown) renderPane(1, false);
        PaintBoxTrans->setVisible(c.TransShown);
    }
    ImageChange->setVisible(!c.TransShown);
    LabelRecSign->setVisible(c.RecordingSign);
    if (c.RecordingSign) {
        const QString t = QStringLiteral("● Запись ") + clockText(c.RecordedMs);
        if (LabelRecSign->text() != t) LabelRecSign->setText(t);
    }
    if (ProgressBarRec->Max() != c.ProgressMax) ProgressBarRec->setMax(c.ProgressMax);
    ProgressBarRec->setPosition(c.ProgressPos);
}

void TFormTransNoText::renderPane(int pane, bool now) {
    TListenPaintBox* box = pane == 0 ? PaintBoxText : PaintBoxTrans;
    const TListenPane& p = m_run->Pane(pane);
    const QFont& font = pane == 0 ? m_textFont : m_transFont;
    QFont sel = font;
    sel.setUnderline(true);
    const qreal dpr = box->devicePixelRatioF();
    QPixmap img(box->size() * dpr);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::white);
    QPainter g(&img);
    const QFontMetrics fm(font), sm(sel);
    const int cur = m_run->Current();
    const TSintagmSpan span =
        cur >= 1 && cur < p.Layout.Spans.size() ? p.Layout.Spans[cur] : TSintagmSpan{};
    for (int r = 1; r <= p.Layout.RowCount && r < p.Layout.Rows.size(); ++r) {
        const int y = kListenRowPitch * r - p.Scroll;
        if (y + kListenRowPitch + fm.descent() < 0 || y > box->height()) continue;
        const QString& text = p.Layout.Rows[r];
        if (text.isEmpty()) continue;
        const int base = y + fm.ascent();
        int from = 0, to = 0;
        if (!HighlightColumns(span, r, int(text.size()), from, to)) {
            g.setFont(font);
            g.setPen(Qt::black);
            g.drawText(10, base, text);
            continue;
        }
        const QString before = text.left(from - 1), mid = text.mid(from - 1, to - from + 1),
                      after = text.mid(to);
        int x = 10;
        g.setFont(font);
        g.setPen(Qt::black);
        g.drawText(x, base, before);
        x += fm.horizontalAdvance(before);
        g.setFont(sel);
        g.setPen(kSintagmRed);
        g.drawText(x, base, mid);
        x += sm.horizontalAdvance(mid);
        g.setFont(font);
        g.setPen(Qt::black);
        g.drawText(x, base, after);
    }
    g.end();
    box->setImage(img, now);
}

void TFormTransNoText::DrawPane(int pane) {
    renderPane(pane, true);
}

void TFormTransNoText::ShowPicture(int k) {
    const TLessonData& d = m_run->Lesson();
    if (k < 1 || k > d.M || k >= d.Pictures.size()) return;
    QPixmap pm;
    if (!pm.load(NativePath(m_run->Params().DataRoot + d.Pictures[k].PictureFile))) return;
    m_changePicture = pm;
    setImage(ImageChange, m_changePicture);
}

void TFormTransNoText::BitBtnPlayClick() {
    // A take starts with the focus on no button: only a button the learner
    // moves to during the take gets Space or Enter.
    setFocus(Qt::OtherFocusReason);
    Guarded([this] {
        m_run->Play(CheckBoxText->Checked() && m_run->Params().TextAllowed,
                    CheckBoxTrans->Checked() && m_run->Params().TranslationAllowed);
    });
    // A take that could not start leaves the play button ready.
    if (BitBtnPlay->isEnabled()) BitBtnPlay->setFocus(Qt::OtherFocusReason);
}

void TFormTransNoText::BitBtnPauseClick() {
    Guarded([this] { m_run->Pause(); });
}

void TFormTransNoText::BitBtnStopClick() {
    // The focus does not go to the play button: a second key press would
    // start a new take over the one just saved.
    Guarded([this] { m_run->Stop(); });
}

void TFormTransNoText::BtnImgWaitClick() {
    Guarded([this] { m_run->Wait(); });
}

void TFormTransNoText::BitBtn1Click() {
    Guarded([this] { ShowHelpTopic(m_run->Params().HelpContext); });
}

void TFormTransNoText::BitBtnCloseClick() {
    reject();
}

void TFormTransNoText::TimerPosTimer() {
    Guarded([this] { m_run->Step(); });
}

void TFormTransNoText::reject() {
    // Closing in the middle of a run ends it as Stop does: the take and its
    // timing file are kept.
    Guarded([this] { m_run->CloseRequested(); });
    QDialog::reject();
}

bool TFormTransNoText::spaceWaits() const {
    return m_run->Playing() && BtnImgWait->isEnabled();
}

void TFormTransNoText::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && spaceWaits()) {
        if (!e->isAutoRepeat()) BtnImgWaitClick();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TFormTransNoText::eventFilter(QObject* o, QEvent* e) {
    // Space is the wait key while the wait can be used, except on a button
    // the learner has moved the focus to: that button gets it.
    if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space &&
        spaceWaits()) {
        auto* button = qobject_cast<TBtnImgTransD1Zv*>(o);
        if (button && button->isEnabled()) return false;
        if (!static_cast<QKeyEvent*>(e)->isAutoRepeat()) BtnImgWaitClick();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

int RunTransNoText(int left, int top, int width, int height, const TListenParams& params) {
    TTransNoTextRun::RemoveStaleRecordings();
    TFormTransNoText form(params);
    form.Place(left, top, width, height);
    form.exec();
    return form.Run().Finish();
}
