#include "learners/eng_formprepod.h"

#include "controls/guard.h"
#include "base/paths.h"
#include "controls/ui_hooks.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "course/appstate.h"
#include "learners/eng_dlgchpassprep.h"
#include "learners/eng_formreport.h"
#include "learners/learnerplace.h"
#include "learners/learnerprogress.h"
#include "learners/learnertable.h"
#include "learners/printreport.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int kFontPixels = 12;
constexpr int kLineHeight = 15;
constexpr int kMaxName = 255;

ConsolePlaybackHook& playbackHook() {
    static ConsolePlaybackHook hook;
    return hook;
}

// Plain lines of a fixed height.
class FixedLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(opt, index).width(), kLineHeight);
    }
};

QListWidget* newList(QWidget* parent, const QString& name) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setUniformItemSizes(true);
    l->setItemDelegate(new FixedLineDelegate(l));
    QFont f = l->font();
    f.setFamily(QStringLiteral("Arial"));
    f.setPixelSize(kFontPixels);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    l->setPalette(p);
    return l;
}

QLabel* newLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// The wait cursor for as long as a learner is being read, whatever happens.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void SetConsolePlaybackHook(ConsolePlaybackHook hook) {
    playbackHook() = std::move(hook);
}

QString ConsoleCourseFile(const QString& name, const QString& dataRoot) {
    return (PathExists(name) ? name : dataRoot + name).left(kMaxName);
}

TFormPrepod::TFormPrepod(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("FormPrepod"));
    setTitle(QStringLiteral("Переподаватель"));

    auto* labelUsers = newLabel(panel(), QStringLiteral("Label1"), QStringLiteral("Имя ученика"));
    auto* labelReport =
        newLabel(panel(), QStringLiteral("Label2"), QStringLiteral("Отчет ученика"));
    auto* labelPass = newLabel(panel(), QStringLiteral("Label3"), QStringLiteral("Пароль"));
    ListBoxUsers = newList(panel(), QStringLiteral("ListBoxUsers"));
    ListBoxUsers->setMinimumSize(230, 24 * kLineHeight);
    ListBoxReport = newList(panel(), QStringLiteral("ListBoxReport"));
    ListBoxReport->setMinimumSize(480, 24 * kLineHeight);
    EditPassword = new QLineEdit(panel());
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    EditPassword->setReadOnly(true);
    CheckBoxChek = new QCheckBox(QStringLiteral("Печать только выполненых"), panel());
    CheckBoxChek->setObjectName(QStringLiteral("CheckBoxChek"));
    CheckBoxChek->setChecked(true); // from then on as the teacher leaves it
    labelUsers->setBuddy(ListBoxUsers);
    labelReport->setBuddy(ListBoxReport);
    labelPass->setBuddy(EditPassword);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(labelUsers);
    left->addWidget(ListBoxUsers, 1);
    left->addSpacing(6);
    left->addWidget(labelPass);
    left->addWidget(EditPassword);
    left->addSpacing(CheckBoxChek->sizeHint().height() + 4);
    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(labelReport);
    right->addWidget(ListBoxReport, 1);
    right->addWidget(CheckBoxChek);
    auto* top = new QHBoxLayout(panel());
    top->setContentsMargins(14, 10, 14, 10);
    top->setSpacing(14);
    top->addLayout(left);
    top->addLayout(right, 1);

    struct StripButton {
        TBtnImgTransD1Zv** button;
        const char* name;
        const char* icon;
        QString caption;
    };
    const StripButton stripButtons[] = {
        {&BitBtnPlay, "BitBtnPlay", "play", QStringLiteral("Воспроизведение")},
        {&BitBtn3, "BitBtn3", "print", QStringLiteral("Печать")},
        {&BitBtn2, "BitBtn2", "key", QStringLiteral("Изменить пароль\nпреподавателя")},
        {&BitBtn1, "BitBtn1", "help", QStringLiteral("Помощь")},
        {&BitBtnClose, "BitBtnClose", "exit", QStringLiteral("Выход")},
    };
    QHBoxLayout* strip = buttonLayout();
    for (const StripButton& s : stripButtons) {
        QLabel* label = nullptr;
        TBtnImgTransD1Zv* b = MakeCaptionedButton(buttonBar(), QString::fromLatin1(s.name),
                                                  QString::fromLatin1(s.icon), s.caption, &label);
        // Light captions: the strip behind them is dark.
        QPalette lp = label->palette();
        lp.setColor(QPalette::Active, QPalette::WindowText, Qt::white);
        lp.setColor(QPalette::Inactive, QPalette::WindowText, Qt::white);
        lp.setColor(QPalette::Disabled, QPalette::WindowText, QColor(150, 170, 200));
        label->setPalette(lp);
        // Wide enough that only the given line breaks divide a caption.
        int w = 0;
        for (const QString& line : s.caption.split(u'\n'))
            w = qMax(w, label->fontMetrics().horizontalAdvance(line));
        label->setMinimumWidth(qMax(110, w + 8));
        strip->addWidget(b->parentWidget());
        *s.button = b;
    }
    strip->addStretch(1);
    buttonBar()->show();

    connect(ListBoxUsers, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling) ListBoxUsersClick();
    });
    connect(ListBoxReport, &QListWidget::currentRowChanged, this, [this] {
        if (!m_filling) ListBoxReportClick();
    });
    connect(ListBoxReport, &QListWidget::itemClicked, this, [this] { ListBoxReportClick(); });
    // Enter or a double click on a recording line plays it.
    connect(ListBoxReport, &QListWidget::activated, this, [this] {
        if (BitBtnPlay->isEnabled()) BitBtnPlayClick();
    });
    connect(BitBtnPlay, &TBtnImgTransD1Zv::clicked, this, &TFormPrepod::BitBtnPlayClick);
    connect(BitBtn3, &TBtnImgTransD1Zv::clicked, this, &TFormPrepod::BitBtn3Click);
    connect(BitBtn2, &TBtnImgTransD1Zv::clicked, this, &TFormPrepod::BitBtn2Click);
    connect(BitBtn1, &TBtnImgTransD1Zv::clicked, this, &TFormPrepod::BitBtn1Click);
    connect(BitBtnClose, &TBtnImgTransD1Zv::clicked, this, &QDialog::accept);
    // The desktop's print key prints the report on show, wherever the focus is.
    ClickOnKey(BitBtn3, QKeySequence(QKeySequence::Print));

    setTabOrder(ListBoxUsers, ListBoxReport);
    setTabOrder(ListBoxReport, CheckBoxChek);
    setTabOrder(CheckBoxChek, BitBtnPlay);
    setTabOrder(BitBtnPlay, BitBtn3);
    setTabOrder(BitBtn3, BitBtn2);
    setTabOrder(BitBtn2, BitBtn1);
    setTabOrder(BitBtn1, BitBtnClose);
    EditPassword->setFocusPolicy(Qt::ClickFocus);

    BitBtnPlay->setEnabled(false);
    BitBtn3->setEnabled(false);
    SetHelpContext(this, 60);
    InstallF1Help(this);
}

void TFormPrepod::showEvent(QShowEvent* e) {
    TPictureDialog::showEvent(e);
    FormShow();
}

void TFormPrepod::FormShow() {
    Guarded([this] {
        m_filling = true;
        ListBoxUsers->clear();
        const LearnerTable& t = Learners();
        for (int i = 0; i <= t.LastUser(); ++i)
            ListBoxUsers->addItem(UserListLine(t.Users[i]));
        m_filling = false;
        clearLearner();
        EditPassword->clear();
        ListBoxUsers->setFocus();
        if (ListBoxUsers->count() > 0) {
            m_filling = true;
            ListBoxUsers->setCurrentRow(0);
            m_filling = false;
            ListBoxUsersClick();
        }
        BitBtnPlay->setEnabled(false);
    });
}

void TFormPrepod::clearLearner() {
    m_filling = true;
    ListBoxReport->clear();
    m_filling = false;
    m_items.clear();
    m_progress = ProgressTable{};
    m_user = -1;
    m_loaded = false;
    BitBtnPlay->setEnabled(false);
    BitBtn3->setEnabled(false);
}

void TFormPrepod::ListBoxUsersClick() {
    const int index = ListBoxUsers->currentRow();
    Guarded([&] { showLearner(index); });
}

void TFormPrepod::showLearner(int index) {
    WaitCursor wait;
    const LearnerTable& t = Learners();
    // Nothing of the learner shown before stays, whether this one reads or not.
    clearLearner();
    if (index < 0 || index > t.LastUser()) {
        EditPassword->clear();
        return;
    }
    const TUserRec& u = t.Users[index];
    EditPassword->setText(u.Password);
    m_user = index;
    m_mode = u.Mode;
    // The same rule as for taking a learner on: a bad mode or path is said.
    const LearnerPlace place = LearnerPlaceOf(u);
    const int count = CourseItemCount(u.Mode);
    // Progress of the current learner not yet saved is in the program's table.
    if (index == App().CurrentUser)
        m_progress = CopyProgress(CurrentProgress(), count);
    else
        ReadLearnerProgress(place.ReportFile, count, m_progress);
    m_loaded = true;
    if (ValidMode(u.Mode)) {
        const ReportLines lines = BuildReportLines(CourseTableOf(u.Mode), m_progress);
        m_filling = true;
        ListBoxReport->addItems(lines.Lines);
        ListBoxReport->setCurrentRow(-1);
        m_filling = false;
        m_items = lines.Items;
    }
    BitBtn3->setEnabled(true);
}

int TFormPrepod::itemOfLine(int line) const {
    return line >= 0 && line < m_items.size() ? m_items[line] : 0;
}

const TCourseItem* TFormPrepod::itemAt(int itemNo) const {
    if (!ValidMode(m_mode) || itemNo < 1 || itemNo >= CourseTableOf(m_mode).size()) return nullptr;
    return &CourseTableOf(m_mode)[itemNo];
}

void TFormPrepod::ListBoxReportClick() {
    BitBtnPlay->setEnabled(false);
    const int itemNo = itemOfLine(ListBoxReport->currentRow());
    const TCourseItem* item = itemAt(itemNo);
    if (!m_loaded || !item || itemNo > m_progress.Count) return;
    const TProgressRec& r = m_progress[itemNo];
    BitBtnPlay->setEnabled(r.Done != 0 && KeepsRecording(item->ExerciseKind) &&
                           !r.RecordFile.isEmpty());
}

void TFormPrepod::BitBtnPlayClick() {
    Guarded([this] {
        const int itemNo = itemOfLine(ListBoxReport->currentRow());
        const TCourseItem* item = itemAt(itemNo);
        if (!m_loaded || !item || itemNo > m_progress.Count) return;
        const TProgressRec& r = m_progress[itemNo];
        if (!r.Done || !KeepsRecording(item->ExerciseKind) || r.RecordFile.isEmpty()) return;
        const QString root = App().DataRoot;
        ConsolePlayback p;
        p.Files.Text = ConsoleCourseFile(item->DataFile1, root);
        p.Files.Translation = ConsoleCourseFile(item->DataFile2, root);
        p.Files.Pictures = ConsoleCourseFile(item->DataFile5, root);
        p.Files.Sound =
            item->DataFile3.isEmpty() ? QString() : ConsoleCourseFile(item->DataFile3, root);
        p.Files.Timing =
            item->DataFile4.isEmpty() ? QString() : ConsoleCourseFile(item->DataFile4, root);
        p.LearnerRecording = LearnerRecordingHere(r.RecordFile);
        p.DataRoot = root;
        if (!playbackHook()) return;
        // The console stays open below the text work window: hiding a modal
        // dialog would end its run.
        playbackHook()(p);
        raise();
        activateWindow();
        ListBoxReport->setFocus();
    });
}

ReportPrintData TFormPrepod::PrintData() const {
    ReportPrintData d;
    if (m_user < 0 || m_user > Learners().LastUser()) return d;
    const TUserRec& u = Learners().Users[m_user];
    d.userName = u.UserName;
    d.mode = u.Mode;
    d.dateText = PrintDateText(QDateTime::currentDateTime(), QLocale::system());
    if (ValidMode(u.Mode)) d.items = PrintItemsOf(CourseTableOf(u.Mode), m_progress);
    d.onlyDone = CheckBoxChek->isChecked();
    return d;
}

void TFormPrepod::BitBtn3Click() {
    Guarded([this] {
        if (!m_loaded) return;
        PrintReport(PrintData(), this);
    });
}

void TFormPrepod::BitBtn2Click() {
    Guarded([this] {
        TDlgChPassPrep dlg(this);
        dlg.exec();
    });
}

void TFormPrepod::BitBtn1Click() {
    ShowHelpKeyword(QStringLiteral("Prepod"));
}
