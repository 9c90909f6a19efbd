#include "text/eng_formworktext.h"
#include "text/lessonpanes.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "media/audiodevice.h"
#include "text/textsintagm.h"

#include <QHBoxLayout>
#include <QKeyEvent>
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

// The picture shown over a hidden text: a calm page in the window's colours.
} // namespace

TFormWorkText::TFormWorkText(QWidget* parent) : QDialog(parent), TimerPos(this) {
    setObjectName(QStringLiteral("FormWorkText"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    resize(kWorkTextW0, kWorkTextH0);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowBlue);
    setPalette(pal);
    setAutoFillBackground(true);
    buildControls();
    m_player = new AudioDevice(this);
    m_player->setObjectName(QStringLiteral("MediaPlayerText"));
    connect(m_player, &AudioDevice::notify, this, &TFormWorkText::MediaPlayerTextNotify);
    TimerPos.setObjectName(QStringLiteral("TimerPos"));
    TimerPos.setInterval(50);
    connect(&TimerPos, &QTimer::timeout, this, &TFormWorkText::TimerPosTimer);
}

TFormWorkText::~TFormWorkText() {
    TimerPos.stop();
    if (m_player) {
        m_player->blockSignals(true);
        m_player->stop();
        m_player->close();
    }
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
    TextSintagmTrans = new TTextSintagm(PanelTrans);
    TextSintagmTrans->setObjectName(QStringLiteral("TextSintagmTrans"));
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
    v->addWidget(TrackBarText);

    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    auto* checks = new QVBoxLayout;
    checks->setSpacing(2);
    auto makeCheck = [&](const QString& name, const QString& caption) {
        auto* c = new TChBxImgTransD1Zv(Panel7);
        c->setObjectName(name);
        c->setPictures(Pictures::Check());
        // Each option is on while its box is clear: the mark shown says "on".
        c->setInvertedLook(true);
        c->setCaption(caption);
        c->setFixedSize(c->sizeHint());
        checks->addWidget(c);
        return c;
    };
    CheckBoxText = makeCheck(QStringLiteral("CheckBoxText"), QStringLiteral("Показывать текст"));
    CheckBoxTrans =
        makeCheck(QStringLiteral("CheckBoxTrans"), QStringLiteral("Показывать перевод"));
    CheckBoxTransUser =
        makeCheck(QStringLiteral("CheckBoxTransUser"), QStringLiteral("Перевод пользователя"));
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

    // Tab order: slider, then the commands from left to right.
    QWidget* prev = TrackBarText;
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

void TFormWorkText::SetInitialData(const QString& soundFile, const QString& learnerRecording,
                                   const QString& textFile, const QString& transFile,
                                   const QString& timingFile, const QString& pictureFile,
                                   const QString& dataRoot) {
    m_soundFile = soundFile;
    m_learnerRecording = learnerRecording;
    m_textFile = textFile;
    m_transFile = transFile;
    m_timingFile = timingFile;
    m_pictureFile = pictureFile;
    m_dataRoot = dataRoot;
    m_mark = TMarkState{};
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
    m_deviceOpen = false;
    BitBtnPlayAll->setEnabled(true);
    BitBtnSelectNext->setEnabled(true);
    BitBtnSelectString->setEnabled(true);
    BitBtnStop->setEnabled(false);
    for (TChBxImgTransD1Zv* c : {CheckBoxText, CheckBoxTrans, CheckBoxTransUser})
        c->setChecked(true);
    CheckBoxTransUser->setMarkEnabled(!m_learnerRecording.isEmpty());
    SetHelpContext(this, m_learnerRecording.isEmpty() ? 130 : 180);
    InstallF1Help(this);
    TextSintagmText->hide();
    TextSintagmTrans->hide();
    ImageStatic->show();
    ImageChange->show();
    arrange();
    TextSintagmText->SetMargins(0, 0, 0, 0);
    TextSintagmTrans->SetMargins(0, 0, 0, 0);

    m_data = ReadWorkTextLesson(m_textFile, m_transFile, m_timingFile, m_pictureFile,
                                m_learnerRecording);
    TextSintagmText->Text() = m_data.Text;
    TextSintagmTrans->Text() = m_data.Trans;
    if (!m_data.ok())
        XMessage(QStringLiteral("Повреждены звуковые файлы"), QStringLiteral("Ошибка чтения файла"),
                 MB_ICONSTOP);

    {
        const QSignalBlocker block(TrackBarText);
        TrackBarText->setRange(1, qMax(1, m_data.N));
        TrackBarText->setValue(1);
    }
    m_current = 1;
    m_textShown = m_transShown = m_playing = false;
    setSpeed(30000);
    m_selected = m_soundFile;
    m_mark.Begin = m_mark.End = 0;
    if (m_data.M >= 1) {
        QPixmap pm;
        if (pm.load(NativePath(m_dataRoot + m_data.Pictures[1].PictureFile))) m_changePicture = pm;
        setImage(ImageChange, m_changePicture);
    }
    TrackBarText->setFocus();
    TimerPos.start();
}

const QList<TTimingEntry>& TFormWorkText::activeTimings() const {
    if (m_data.LearnerTimingLoaded && !m_learnerRecording.isEmpty() &&
        m_selected == m_learnerRecording)
        return m_data.LearnerTiming;
    return m_data.Timing;
}

void TFormWorkText::setSpeed(int k) {
    TextSintagmText->setK_Speed(k);
    TextSintagmTrans->setK_Speed(k);
}

bool TFormWorkText::openDevice() {
    m_player->setFileName(NativePath(m_selected));
    m_player->open(); // a refusal throws: the command is abandoned, the guard shows why
    m_deviceOpen = true;
    return true;
}

void TFormWorkText::closeDevice() {
    m_player->close();
    m_deviceOpen = false;
}

void TFormWorkText::setIdle(bool idle) {
    // A disabled focus widget would hand the focus on to the next enabled
    // button ("Комментарий", "Помощь"), which a key meant for the slider
    // would then press. The window holds it while playing; the end of the
    // playback gives it back to the slider.
    if (!idle) {
        QWidget* f = focusWidget();
        if (f == TrackBarText || f == BitBtnPlayAll || f == BitBtnSelectNext ||
            f == BitBtnSelectString || f == BtnImgTransD1Zv1 || f == BtnImgTransD1Zv2)
            setFocus(Qt::OtherFocusReason);
    }
    TrackBarText->setEnabled(idle);
    BitBtnPlayAll->setEnabled(idle);
    BitBtnSelectNext->setEnabled(idle);
    BitBtnSelectString->setEnabled(idle);
    BtnImgTransD1Zv2->setEnabled(idle);
    BtnImgTransD1Zv1->setEnabled(idle && m_selected == m_soundFile);
    BitBtnStop->setEnabled(!idle);
}

void TFormWorkText::startPlay(qint64 start, qint64 end) {
    setIdle(false);
    try {
        if (start >= 0) m_player->setStartPos(start);
        if (end >= 0) m_player->setEndPos(end);
        m_player->play();
    } catch (...) {
        // No notification will come: back to idle here.
        m_looping = false;
        closeDevice();
        setIdle(true);
        throw;
    }
}

void TFormWorkText::BitBtnPlayAllClick() {
    Guarded([this] {
        openDevice();
        // Line 1 is the title: play from the start of line 2.
        startPlay(TimingAt(m_data.Timing, 2).StartPos, -1);
        TrackBarText->setValue(1);
        m_current = 1;
        m_playing = true;
        setSpeed(100000);
    });
}

void TFormWorkText::BitBtnSelectStringClick() {
    Guarded([this] {
        const QList<TTimingEntry>& t = activeTimings();
        const TTimingEntry e = TimingAt(t, m_current);
        openDevice();
        if (m_player->length() < e.EndPos) {
            closeDevice();
            return;
        }
        startPlay(e.StartPos, e.EndPos);
    });
}

void TFormWorkText::BitBtnSelectNextClick() {
    Guarded([this] {
        const QList<TTimingEntry>& t = activeTimings();
        const TTimingEntry e = TimingAt(t, m_current);
        openDevice();
        // The last line without sound has nothing after it to play from.
        const bool nothingAfter = e.StartPos == 0 && e.EndPos == 0 && m_current >= m_data.N;
        if (m_player->length() < e.EndPos || nothingAfter) {
            closeDevice();
            return;
        }
        startPlay(StartFrom(t, m_current), -1);
        m_playing = true;
        setSpeed(100000);
    });
}

void TFormWorkText::BtnImgTransD1Zv1Click() {
    Guarded([this] {
        if (m_mark.Begin == 0 && m_mark.End == 0) return;
        const QList<TTimingEntry>& l = m_data.Timing;
        const qint32 start = StartFrom(l, m_mark.Begin);
        const qint32 end = LoopEnd(l, m_mark.End);
        // A range without sound would restart at once, for ever.
        if (end <= start) {
            m_looping = false;
            return;
        }
        openDevice();
        m_looping = true;
        TrackBarText->setValue(m_mark.Begin);
        m_current = m_mark.Begin;
        startPlay(start, end);
        m_playing = true;
        setSpeed(100000);
    });
}

void TFormWorkText::BitBtnStopClick() {
    Guarded([this] {
        m_looping = false;
        m_player->stop();
        m_deviceOpen = false;
    });
}

void TFormWorkText::MediaPlayerTextNotify(int) {
    Guarded([this] {
        closeDevice();
        setIdle(true);
        m_playing = false;
        setSpeed(30000);
        if (m_looping)
            BtnImgTransD1Zv1Click();
        else
            TrackBarText->setFocus();
    });
}

void TFormWorkText::BtnImgTransD1Zv2Click() {
    Guarded([this] {
        MarkStep(m_mark, m_current, m_data.Timing);
        if (!m_mark.Marking && m_mark.End < m_mark.Begin) m_mark.End = m_mark.Begin;
        LabelSelect->setText(m_mark.Marking ? QStringLiteral("Окончание")
                                            : QStringLiteral("Начало"));
        // Set the two ends in the order that the view's own ordering rules
        // leave exactly as given.
        if (m_mark.Begin - 1 > TextSintagmText->NEnd()) {
            TextSintagmText->setNEnd(m_mark.End - 1);
            TextSintagmText->setNBegin(m_mark.Begin - 1);
        } else {
            TextSintagmText->setNBegin(m_mark.Begin - 1);
            TextSintagmText->setNEnd(m_mark.End - 1);
        }
        TextSintagmText->setFlagSelMultSint(true);
    });
}

void TFormWorkText::BtnImgComentClick() {
    Guarded([this] {
        if (m_deviceOpen) {
            m_looping = false;
            m_player->stop();
            m_deviceOpen = false;
        }
        MemoComent->clear();
        for (const TCommentLine& c : m_data.Comments) {
            if (c.SintagmNo != m_current) continue;
            PanelComent->move(width() / 2 - PanelComent->width() / 2,
                              height() / 2 - PanelComent->height() / 2);
            PanelComent->show();
            PanelComent->raise();
            MemoComent->appendPlainText(c.Text);
        }
    });
}

void TFormWorkText::Label9Click() {
    PanelComent->hide();
    TrackBarText->setFocus();
}

void TFormWorkText::BitBtn1Click() {
    Guarded([this] {
        ShowHelpKeyword(m_learnerRecording.isEmpty() ? QStringLiteral("WorkText")
                                                     : QStringLiteral("ListenTrans"));
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
    m_textShown = on;
    if (on) TextSintagmText->Paint();
}

void TFormWorkText::CheckBoxTransClick() {
    const bool on = CheckBoxTrans->Checked();
    TextSintagmTrans->setVisible(on);
    ImageChange->setVisible(!on);
    m_transShown = on;
    if (on) TextSintagmTrans->Paint();
}

void TFormWorkText::CheckBoxTransUserClick() {
    // A locked box still reports clicks; without a learner recording there is
    // nothing to switch to.
    if (!CheckBoxTransUser->markEnabled() || m_learnerRecording.isEmpty()) return;
    if (CheckBoxTransUser->Checked()) {
        m_selected = m_learnerRecording;
        BtnImgTransD1Zv1->setEnabled(false);
    } else {
        m_selected = m_soundFile;
        BtnImgTransD1Zv1->setEnabled(!m_deviceOpen);
    }
}

void TFormWorkText::TrackBarTextChange(int value) {
    m_current = value;
}

void TFormWorkText::SintagmClick(int line) {
    if (m_deviceOpen || !TrackBarText->isEnabled()) return;
    TrackBarText->setValue(line + 1);
}

void TFormWorkText::showSchedulePicture(int k) {
    QPixmap pm;
    if (!pm.load(NativePath(m_dataRoot + m_data.Pictures[k].PictureFile))) return;
    m_changePicture = pm;
    setImage(ImageChange, m_changePicture);
    m_shownPicture = k;
}

void TFormWorkText::TimerPosTimer() {
    Guarded([this] {
        const QList<TTimingEntry>& t = activeTimings();
        if (m_playing && m_current < m_data.N) {
            const int before = m_current;
            m_current = AdvanceCurrent(m_current, m_data.N, t, m_player->position());
            if (m_current != before) TrackBarText->setValue(m_current);
        }
        const bool comment = HasComment(m_data.Comments, m_current);
        if (BtnImgComent->isEnabled() != comment) BtnImgComent->setEnabled(comment);
        if (m_textShown) {
            TextSintagmText->setPosition(m_current - 1);
            TextSintagmText->Tick();
        }
        if (m_transShown) {
            TextSintagmTrans->setPosition(m_current - 1);
            TextSintagmTrans->Tick();
            return;
        }
        const qint32 at = TimingAt(t, m_current).EndPos;
        if (at == 0) return;
        const int k = FindPicture(m_data.Pictures, at);
        if (k != 0 && k != m_shownPicture) showSchedulePicture(k);
    });
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
    TimerPos.stop();
    m_looping = false;
    m_player->stop();
    QDialog::closeEvent(e);
}

int RunWorkText(int left, int top, int width, int height, const QString& soundFile,
                const QString& learnerRecording, const QString& textFile, const QString& transFile,
                const QString& timingFile, const QString& pictureFile, int unused,
                const QString& dataRoot) {
    Q_UNUSED(unused);
    TFormWorkText form;
    form.Place(left, top, width, height);
    form.SetInitialData(soundFile, learnerRecording, textFile, transFile, timingFile, pictureFile,
                        dataRoot);
    form.exec();
    return 0;
}
