#include "text/eng_formworktext.h"
#include "text/lessonpanes.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/speedcontrol.h"
#include "media/audiodevice.h"
#include "media/playspeed.h"
#include "text/textsintagm.h"

#include <utility>

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSlider>
#include <QVBoxLayout>

namespace {

const QColor kWindowBlue(121, 184, 228);

QFont viewFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(16);
    return f;
}

void setupView(TTextSintagm* v) {
    v->setTextFont(viewFont());
    v->setFontColor(Qt::black);
    QFont sel = viewFont();
    sel.setUnderline(true);
    v->setFontSelSintagm(sel);
    v->setFontSelSintagmColor(QColor(255, 0, 0));
    v->setFontSelMultSint(viewFont());
    v->setFontSelMultSintColor(QColor(0, 0, 255));
    v->setHeightIntervString(is1_25);
    v->setPosScreen(33);
}
} // namespace

TFormWorkText::TFormWorkText(const TLessonFiles& files, const QString& learnerRecording,
                             const QString& dataRoot, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FormWorkText"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    resize(kWorkTextW0, kWorkTextH0);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowBlue);
    setPalette(pal);
    setAutoFillBackground(true);
    buildControls();
    m_run = new TWorkTextRun(files, learnerRecording, dataRoot, this, this);
    // One player for the lesson's and the learner's recording: the speed
    // chosen holds for both, and for every command.
    m_run->Player()->setSpeed(Speed->speed());
}

// The run goes first: its device's last word must not reach the controls.
TFormWorkText::~TFormWorkText() {
    delete m_run;
}

void TFormWorkText::buildControls() {
    const LessonPanes panes = MakeLessonPanes(this);
    PanelText = panes.Text;
    PanelTrans = panes.Trans;
    ImageStatic = panes.ImageStatic;
    ImageChange = panes.ImageChange;
    m_staticPicture = StaticLessonPicture();
    TextSintagmText = new TTextSintagm(PanelText);
    TextSintagmText->setObjectName(QStringLiteral("TextSintagmText"));
    TextSintagmText->setAccessibleName(QStringLiteral("Текст"));
    TextSintagmTrans = new TTextSintagm(PanelTrans);
    TextSintagmTrans->setObjectName(QStringLiteral("TextSintagmTrans"));
    TextSintagmTrans->setAccessibleName(QStringLiteral("Перевод"));
    setupView(TextSintagmText);
    setupView(TextSintagmTrans);
    connect(TextSintagmText, &TTextSintagm::LineClicked, this, &TFormWorkText::SintagmClick);
    connect(TextSintagmTrans, &TTextSintagm::LineClicked, this, &TFormWorkText::SintagmClick);

    Panel7 = new QWidget(this);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    auto* v = new QVBoxLayout(Panel7);
    v->setContentsMargins(10, 4, 10, 4);
    v->setSpacing(2);
    TrackBarText = new QSlider(Qt::Horizontal, Panel7);
    TrackBarText->setObjectName(QStringLiteral("TrackBarText"));
    TrackBarText->setTickPosition(QSlider::TicksBelow);
    TrackBarText->setPageStep(5);
    connect(TrackBarText, &QSlider::valueChanged, this, &TFormWorkText::TrackBarTextChange);
    // The speed sits at the slider's end in one slim row: the commands'
    // row below has no room left.
    auto* sliderRow = new QHBoxLayout;
    sliderRow->setSpacing(6);
    sliderRow->addWidget(TrackBarText, 1);
    auto* speedLabel = new QLabel(QStringLiteral("Скорость"), Panel7);
    speedLabel->setObjectName(QStringLiteral("LabelSpeed"));
    QPalette lp = speedLabel->palette();
    lp.setColor(QPalette::WindowText, QColor(16, 44, 84));
    speedLabel->setPalette(lp);
    Speed = new TSpeedControl(PlaySpeed::Steps(), PlaySpeed::Load(), Panel7);
    Speed->setObjectName(QStringLiteral("Speed"));
    Speed->setFixedSize(Speed->sizeHint().width() + 40, 24);
    Speed->bindKeys(this);
    connect(Speed, &TSpeedControl::speedChanged, this, &TFormWorkText::SpeedChange);
    sliderRow->addWidget(speedLabel);
    sliderRow->addWidget(Speed);
    v->addLayout(sliderRow);

    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    // Each option is on while its box is clear: the mark shown says "on".
    QList<TChBxImgTransD1Zv*> boxes;
    QVBoxLayout* checks = MakeCheckColumn(
        Panel7,
        {{QStringLiteral("CheckBoxText"), QStringLiteral("Показывать текст")},
         {QStringLiteral("CheckBoxTrans"), QStringLiteral("Показывать перевод")},
         {QStringLiteral("CheckBoxTransUser"), QStringLiteral("Перевод пользователя")}},
        true, boxes);
    CheckBoxText = boxes[0];
    CheckBoxTrans = boxes[1];
    CheckBoxTransUser = boxes[2];
    connect(CheckBoxText, &TChBxImgTransD1Zv::clicked, this, &TFormWorkText::CheckBoxTextClick);
    connect(CheckBoxTrans, &TChBxImgTransD1Zv::clicked, this, &TFormWorkText::CheckBoxTransClick);
    connect(CheckBoxTransUser, &TChBxImgTransD1Zv::clicked, this,
            &TFormWorkText::CheckBoxTransUserClick);
    row->addLayout(checks);
    row->addStretch(1);

    auto button = [&](const QString& name, const QString& icon, const QString& caption,
                      QLabel** label = nullptr, const QString& labelName = QString()) {
        TBtnImgTransD1Zv* b = MakeCaptionedButton(Panel7, name, icon, caption, label, labelName);
        row->addWidget(b->parentWidget());
        return b;
    };
    BitBtnPlayAll = button(QStringLiteral("BitBtnPlayAll"), "play", QStringLiteral("С начала"));
    BitBtnSelectNext =
        button(QStringLiteral("BitBtnSelectNext"), "next", QStringLiteral("С фрагмента"));
    BitBtnSelectString =
        button(QStringLiteral("BitBtnSelectString"), "run", QStringLiteral("Фрагмент"));
    BitBtnStop = button(QStringLiteral("BitBtnStop"), "stop", QStringLiteral("Стоп"));
    BtnImgTransD1Zv1 = button(QStringLiteral("BtnImgTransD1Zv1"), "loop", QStringLiteral("Цикл"));
    BtnImgTransD1Zv2 = button(QStringLiteral("BtnImgTransD1Zv2"), "mark", QStringLiteral("Начало"),
                              &LabelSelect, QStringLiteral("LabelSelect"));
    {
        // Room for the longer of its two captions: marking moves no button.
        QWidget* box = BtnImgTransD1Zv2->parentWidget();
        LabelSelect->setText(QStringLiteral("Окончание"));
        box->setMinimumWidth(box->sizeHint().width());
        LabelSelect->setText(QStringLiteral("Начало"));
    }
    BtnImgComent = button(QStringLiteral("BtnImgComent"), "comment", QStringLiteral("Комментарий"));
    BitBtn1 = button(QStringLiteral("BitBtn1"), "help", QStringLiteral("Помощь"));
    BitBtn5 = button(QStringLiteral("BitBtn5"), "exit", QStringLiteral("Выход"));
    connect(BitBtnPlayAll, &TBtnImgTransD1Zv::clicked, this, &TFormWorkText::BitBtnPlayAllClick);
    connect(BitBtnSelectNext, &TBtnImgTransD1Zv::clicked, this,
            &TFormWorkText::BitBtnSelectNextClick);
    connect(BitBtnSelectString, &TBtnImgTransD1Zv::clicked, this,
            &TFormWorkText::BitBtnSelectStringClick);
    connect(BitBtnStop, &TBtnImgTransD1Zv::clicked, this, &TFormWorkText::BitBtnStopClick);
    connect(BtnImgTransD1Zv1, &TBtnImgTransD1Zv::clicked, this,
            &TFormWorkText::BtnImgTransD1Zv1Click);
    connect(BtnImgTransD1Zv2, &TBtnImgTransD1Zv::clicked, this,
            &TFormWorkText::BtnImgTransD1Zv2Click);
    connect(BtnImgComent, &TBtnImgTransD1Zv::clicked, this, &TFormWorkText::BtnImgComentClick);
    connect(BitBtn1, &TBtnImgTransD1Zv::clicked, this, &TFormWorkText::BitBtn1Click);
    connect(BitBtn5, &TBtnImgTransD1Zv::clicked, this, &TFormWorkText::BitBtn5Click);
    // Ctrl+P plays the lesson from its start, wherever the focus is.
    ClickOnKey(BitBtnPlayAll, QKeySequence(Qt::CTRL | Qt::Key_P));
    v->addLayout(row);

    // The comment box, hidden until a comment is asked for.
    PanelComent = new QFrame(this);
    PanelComent->setObjectName(QStringLiteral("PanelComent"));
    PanelComent->setFrameShape(QFrame::Box);
    PanelComent->setAutoFillBackground(true);
    QPalette cp = PanelComent->palette();
    cp.setColor(QPalette::Window, QColor(250, 252, 255));
    PanelComent->setPalette(cp);
    PanelComent->resize(420, 220);
    auto* cv = new QVBoxLayout(PanelComent);
    cv->setContentsMargins(8, 6, 8, 8);
    auto* head = new QHBoxLayout;
    auto* title = new QLabel(QStringLiteral("Комментарий"), PanelComent);
    title->setObjectName(QStringLiteral("LabelComentTitle"));
    QFont tf = title->font();
    tf.setBold(true);
    title->setFont(tf);
    Label9 = new QLabel(QStringLiteral("✕"), PanelComent);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setCursor(Qt::PointingHandCursor);
    head->addWidget(title);
    head->addStretch(1);
    head->addWidget(Label9);
    cv->addLayout(head);
    MemoComent = new QPlainTextEdit(PanelComent);
    MemoComent->setObjectName(QStringLiteral("MemoComent"));
    MemoComent->setReadOnly(true);
    cv->addWidget(MemoComent);
    PanelComent->hide();

    // Tab order: slider, speed, then the commands from left to right.
    setTabOrder(TrackBarText, Speed);
    QWidget* prev = Speed;
    for (QWidget* w :
         {static_cast<QWidget*>(BitBtnPlayAll), static_cast<QWidget*>(BitBtnSelectNext),
          static_cast<QWidget*>(BitBtnSelectString), static_cast<QWidget*>(BitBtnStop),
          static_cast<QWidget*>(BtnImgTransD1Zv1), static_cast<QWidget*>(BtnImgTransD1Zv2),
          static_cast<QWidget*>(BtnImgComent), static_cast<QWidget*>(BitBtn1),
          static_cast<QWidget*>(BitBtn5)}) {
        setTabOrder(prev, w);
        prev = w;
    }
    // Space is the mark key wherever the focus is (see eventFilter).
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

void TFormWorkText::Place(int left, int top, int width, int height) {
    const QRect r = WorkTextPlacement(left, top, width, height);
    setGeometry(r);
}

void TFormWorkText::arrange() {
    const int paneH = qMax(0, height() - kWorkTextPanel7);
    const int textW = qMin(width(), TextPaneWidth(paneH));
    PanelText->setGeometry(0, 0, textW, paneH);
    // A thin strip of the window's colour parts the two panes.
    PanelTrans->setGeometry(textW + 2, 0, qMax(0, width() - textW - 2), paneH);
    Panel7->setGeometry(0, paneH, width(), kWorkTextPanel7);
    // A little white around the text, so that it does not touch the pane edges.
    const int pad = 8;
    for (QWidget* p : {PanelText, PanelTrans}) {
        const QRect inner = p->rect().adjusted(pad, pad, -pad, -pad);
        for (QObject* c : p->children())
            if (auto* w = qobject_cast<QWidget*>(c)) w->setGeometry(inner);
    }
    setImage(ImageStatic, m_staticPicture);
    setImage(ImageChange, m_changePicture);
    PanelComent->move(width() / 2 - PanelComent->width() / 2,
                      height() / 2 - PanelComent->height() / 2);
}

void TFormWorkText::setImage(QLabel* label, const QPixmap& pm) {
    if (pm.isNull() || label->width() <= 0 || label->height() <= 0) {
        label->setPixmap(pm);
        return;
    }
    const qreal dpr = label->devicePixelRatioF();
    QPixmap scaled = pm.scaled(label->size() * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(dpr);
    label->setPixmap(scaled);
}

void TFormWorkText::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    arrange();
}

void TFormWorkText::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!m_shownOnce) {
        m_shownOnce = true;
        Guarded([this] { FormShow(); });
    }
}

void TFormWorkText::FormShow() {
    for (TChBxImgTransD1Zv* c : {CheckBoxText, CheckBoxTrans, CheckBoxTransUser})
        c->setChecked(true);
    ApplyControls(m_run->Controls());
    CheckBoxTransUser->setMarkEnabled(m_run->HasLearnerRecording());
    SetHelpContext(this, m_run->HasLearnerRecording() ? 180 : 130);
    InstallF1Help(this);
    TextSintagmText->hide();
    TextSintagmTrans->hide();
    ImageStatic->show();
    ImageChange->show();
    arrange();
    TextSintagmText->SetMargins(0, 0, 0, 0);
    TextSintagmTrans->SetMargins(0, 0, 0, 0);

    const bool ok = m_run->Load();
    const TLessonData& d = m_run->Lesson();
    TextSintagmText->Text() = d.Text;
    TextSintagmTrans->Text() = d.Trans;
    if (!ok)
        XMessage(QStringLiteral("Повреждены звуковые файлы"), QStringLiteral("Ошибка чтения файла"),
                 MB_ICONSTOP);
    {
        const QSignalBlocker block(TrackBarText);
        TrackBarText->setRange(1, qMax(1, d.N));
        TrackBarText->setValue(1);
    }
    m_run->Start();
    TrackBarText->setFocus();
}

void TFormWorkText::ApplyControls(const TWorkTextControls& c) {
    // A disabled focus widget would hand the focus on to the next enabled
    // button ("Комментарий", "Помощь"), which a key meant for the slider
    // would then press. The window holds it while playing; the end of the
    // playback gives it back to the slider.
    if (!c.Idle) {
        QWidget* f = focusWidget();
        if (f == TrackBarText || f == BitBtnPlayAll || f == BitBtnSelectNext ||
            f == BitBtnSelectString || f == BtnImgTransD1Zv1 || f == BtnImgTransD1Zv2)
            setFocus(Qt::OtherFocusReason);
    }
    TrackBarText->setEnabled(c.Idle);
    BitBtnPlayAll->setEnabled(c.Idle);
    BitBtnSelectNext->setEnabled(c.Idle);
    BitBtnSelectString->setEnabled(c.Idle);
    BtnImgTransD1Zv2->setEnabled(c.Idle);
    BtnImgTransD1Zv1->setEnabled(c.LoopEnabled);
    BitBtnStop->setEnabled(!c.Idle);
    BtnImgComent->setEnabled(c.CommentEnabled);
    LabelSelect->setText(c.Marking ? QStringLiteral("Окончание") : QStringLiteral("Начало"));
}

void TFormWorkText::ShowCurrent(int line) {
    TrackBarText->setValue(line);
}

void TFormWorkText::ShowMark(const TMarkState& m) {
    // Set the two ends in the order that the view's own ordering rules
    // leave exactly as given.
    if (m.Begin - 1 > TextSintagmText->NEnd()) {
        TextSintagmText->setNEnd(m.End - 1);
        TextSintagmText->setNBegin(m.Begin - 1);
    } else {
        TextSintagmText->setNBegin(m.Begin - 1);
        TextSintagmText->setNEnd(m.End - 1);
    }
    TextSintagmText->setFlagSelMultSint(true);
}

void TFormWorkText::SetViewSpeed(int k) {
    // While playing the views scroll towards the voice: a slower voice, a
    // gentler scroll. A sintagm picked by hand comes at the usual pace.
    m_viewSpeed = k;
    const int paced =
        k == kIdleViewSpeed ? k : int(qint64(k) * PlaySpeed::kFull / qMax(1, Speed->speed()));
    TextSintagmText->setK_Speed(paced);
    TextSintagmTrans->setK_Speed(paced);
}

void TFormWorkText::SpeedChange(int percent) {
    PlaySpeed::Save(percent);
    m_run->Player()->setSpeed(percent);
    SetViewSpeed(m_viewSpeed);
}

void TFormWorkText::Follow(int line, bool text, bool trans) {
    for (auto [on, view] : {std::pair{text, TextSintagmText}, std::pair{trans, TextSintagmTrans}}) {
        if (!on) continue;
        view->setPosition(line - 1);
        view->Tick();
    }
}

void TFormWorkText::ShowComments(const QStringList& lines) {
    MemoComent->clear();
    for (const QString& line : lines) {
        PanelComent->move(width() / 2 - PanelComent->width() / 2,
                          height() / 2 - PanelComent->height() / 2);
        PanelComent->show();
        PanelComent->raise();
        MemoComent->appendPlainText(line);
    }
}

bool TFormWorkText::ShowPicture(const QString& nativePath) {
    QPixmap pm;
    if (!pm.load(nativePath)) return false;
    m_changePicture = pm;
    setImage(ImageChange, m_changePicture);
    return true;
}

void TFormWorkText::PlaybackEnded() {
    TrackBarText->setFocus();
}

void TFormWorkText::BitBtnPlayAllClick() {
    Guarded([this] { m_run->PlayAll(); });
}

void TFormWorkText::BitBtnSelectStringClick() {
    Guarded([this] { m_run->PlayFragment(); });
}

void TFormWorkText::BitBtnSelectNextClick() {
    Guarded([this] { m_run->PlayFrom(); });
}

void TFormWorkText::BtnImgTransD1Zv1Click() {
    Guarded([this] { m_run->Loop(); });
}

void TFormWorkText::BitBtnStopClick() {
    Guarded([this] { m_run->Stop(); });
}

void TFormWorkText::BtnImgTransD1Zv2Click() {
    Guarded([this] { m_run->Mark(); });
}

void TFormWorkText::BtnImgComentClick() {
    Guarded([this] { m_run->Comment(); });
}

void TFormWorkText::Label9Click() {
    PanelComent->hide();
    TrackBarText->setFocus();
}

void TFormWorkText::BitBtn1Click() {
    Guarded([this] {
        ShowHelpKeyword(m_run->HasLearnerRecording() ? QStringLiteral("ListenTrans")
                                                     : QStringLiteral("WorkText"));
    });
}

void TFormWorkText::BitBtn5Click() {
    reject();
}

// The boxes report a click before they flip: an option is on when its box
// was checked at the click.
void TFormWorkText::CheckBoxTextClick() {
    const bool on = CheckBoxText->Checked();
    TextSintagmText->setVisible(on);
    ImageStatic->setVisible(!on);
    m_run->SetTextShown(on);
    if (on) TextSintagmText->Paint();
}

void TFormWorkText::CheckBoxTransClick() {
    const bool on = CheckBoxTrans->Checked();
    TextSintagmTrans->setVisible(on);
    ImageChange->setVisible(!on);
    m_run->SetTransShown(on);
    if (on) TextSintagmTrans->Paint();
}

void TFormWorkText::CheckBoxTransUserClick() {
    // A locked box still reports clicks.
    if (!CheckBoxTransUser->markEnabled()) return;
    m_run->UseLearnerRecording(CheckBoxTransUser->Checked());
}

void TFormWorkText::TrackBarTextChange(int value) {
    m_run->SetCurrent(value);
}

void TFormWorkText::SintagmClick(int line) {
    m_run->Pick(line);
}

void TFormWorkText::SpaceKey(const QKeyEvent* e) {
    if (!e->isAutoRepeat() && BtnImgTransD1Zv2->isEnabled()) BtnImgTransD1Zv2Click();
}

void TFormWorkText::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        SpaceKey(e);
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TFormWorkText::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        // Space means the mark command only, whatever has the focus: a
        // focused button never takes it.
        if (k->key() == Qt::Key_Space) {
            SpaceKey(k);
            return true;
        }
        // The boxes have given Space up; Enter toggles a focused one.
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !k->isAutoRepeat())
            if (auto* box = qobject_cast<TChBxImgTransD1Zv*>(o)) {
                box->click();
                return true;
            }
    }
    if (o == Label9 && e->type() == QEvent::MouseButtonRelease) {
        Label9Click();
        return true;
    }
    return QDialog::eventFilter(o, e);
}

void TFormWorkText::closeEvent(QCloseEvent* e) {
    m_run->Close();
    QDialog::closeEvent(e);
}

int RunWorkText(int left, int top, int width, int height, const TLessonFiles& files,
                const QString& learnerRecording, const QString& dataRoot) {
    TFormWorkText form(files, learnerRecording, dataRoot);
    form.Place(left, top, width, height);
    form.exec();
    return 0;
}
