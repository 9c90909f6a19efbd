#include "learners/eng_formreport.h"

#include "base/paths.h"
#include "controls/captionedbutton.h"
#include "controls/guard.h"
#include "controls/ui_hooks.h"
#include "learners/learnerplace.h"
#include "learners/picbuttons.h"
#include "learners/reportline.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int kLineHeight = 18;
constexpr int kFontPixels = 16;
constexpr int kItemRole = Qt::UserRole + 1;

// Paints a line the plain way: background, then the text 2 pixels in at
// the top, bold for a done item.
class ReportLineDelegate : public QStyledItemDelegate {
public:
    explicit ReportLineDelegate(TFormReport* form) : QStyledItemDelegate(form), m_form(form) {}

    void paint(QPainter* p, const QStyleOptionViewItem& opt,
               const QModelIndex& index) const override {
        const bool selected = opt.state & QStyle::State_Selected;
        const QPalette& pal = opt.palette;
        p->save();
        p->fillRect(opt.rect, selected ? pal.highlight() : pal.base());
        QFont f = opt.font;
        f.setFamily(QStringLiteral("Arial"));
        f.setPixelSize(kFontPixels);
        f.setBold(m_form->lineIsBold(index.row()));
        p->setFont(f);
        p->setPen(selected ? pal.highlightedText().color() : pal.text().color());
        const QRect r = opt.rect.adjusted(2, 0, 0, 0);
        p->drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
        if (opt.state & QStyle::State_HasFocus) {
            QPen pen(selected ? pal.highlightedText().color() : pal.text().color());
            pen.setStyle(Qt::DotLine);
            p->setPen(pen);
            p->drawRect(opt.rect.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& opt, const QModelIndex& index) const override {
        QFont f = opt.font;
        f.setFamily(QStringLiteral("Arial"));
        f.setPixelSize(kFontPixels);
        f.setBold(true);
        const int w = QFontMetrics(f).horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 8;
        return QSize(w, kLineHeight);
    }

private:
    TFormReport* m_form;
};

} // namespace

TFormReport::TFormReport(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("FormReport"));
    setTitle(QStringLiteral("Отчет"));

    ListBoxReport = new QListWidget(panel());
    ListBoxReport->setObjectName(QStringLiteral("ListBoxReport"));
    ListBoxReport->setItemDelegate(new ReportLineDelegate(this));
    ListBoxReport->setUniformItemSizes(true);
    ListBoxReport->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont lf = ListBoxReport->font();
    lf.setFamily(QStringLiteral("Arial"));
    lf.setPixelSize(kFontPixels);
    ListBoxReport->setFont(lf);
    QPalette lp = ListBoxReport->palette();
    lp.setColor(QPalette::Base, Qt::white);
    lp.setColor(QPalette::Text, Qt::black);
    ListBoxReport->setPalette(lp);
    ListBoxReport->setMinimumSize(560, 20 * kLineHeight + 4);

    BtnImgDeleteFile = MakeCaptionedButton(buttonBar(), QStringLiteral("BtnImgDeleteFile"),
                                           QStringLiteral("delete-user"),
                                           QStringLiteral("Удалить звуковой файл"), GlyphAt::Top);
    BtnImgD1Zv1 =
        MakeCaptionedButton(buttonBar(), QStringLiteral("BtnImgD1Zv1"), QStringLiteral("help"),
                            QStringLiteral("Помошь"), GlyphAt::Top);
    BtnImgClose =
        MakeCaptionedButton(buttonBar(), QStringLiteral("BtnImgClose"), QStringLiteral("confirm"),
                            QStringLiteral("Закрыть"), GlyphAt::Top);
    SetDefaultButton(BtnImgClose);
    BtnImgDeleteFile->setEnabled(false);

    connect(ListBoxReport, &QListWidget::itemClicked, this, [this] { ListBoxReportClick(); });
    // Moving through the list with the keys updates the button as a click does.
    connect(ListBoxReport, &QListWidget::currentRowChanged, this, [this] { ListBoxReportClick(); });
    connect(BtnImgDeleteFile, &QAbstractButton::clicked, this, &TFormReport::BitBtn1Click);
    connect(BtnImgD1Zv1, &QAbstractButton::clicked, this, &TFormReport::BtnImgD1Zv1Click);
    connect(BtnImgClose, &QAbstractButton::clicked, this, &QDialog::accept);

    AddToButtonStrip(this, {BtnImgDeleteFile, BtnImgD1Zv1, BtnImgClose});
    // Light captions: the strip behind them is dark.
    for (QAbstractButton* b : {BtnImgDeleteFile, BtnImgD1Zv1, BtnImgClose}) {
        QPalette bp = b->palette();
        bp.setColor(QPalette::Active, QPalette::ButtonText, Qt::white);
        bp.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::white);
        bp.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(150, 170, 200));
        b->setPalette(bp);
    }
    auto* top = new QVBoxLayout(panel());
    top->setContentsMargins(12, 12, 12, 12);
    top->addWidget(ListBoxReport);

    setTabOrder(ListBoxReport, BtnImgDeleteFile);
    setTabOrder(BtnImgDeleteFile, BtnImgD1Zv1);
    setTabOrder(BtnImgD1Zv1, BtnImgClose);

    SetHelpContext(this, 70);
    InstallF1Help(this);
}

const TCourseItem* TFormReport::itemAt(int itemNo) const {
    if (!ValidMode(m_mode) || itemNo < 1 || itemNo >= CourseTableOf(m_mode).size()) return nullptr;
    return &CourseTableOf(m_mode)[itemNo];
}

void TFormReport::BuildReport(const QString& progressFile, char mode) {
    m_mode = mode;
    m_learnerDir = DirPartWithSep(progressFile);
    ListBoxReport->clear();
    BtnImgDeleteFile->setEnabled(false);
    const ProgressTable& t = CurrentProgress();
    if (t.Count < 1 || !ValidMode(mode)) return;
    const ReportLines lines = BuildReportLines(CourseTableOf(mode), t);
    for (int k = 0; k < lines.Lines.size(); ++k) {
        auto* it = new QListWidgetItem(lines.Lines[k]);
        it->setData(kItemRole, lines.Items[k]);
        ListBoxReport->addItem(it);
    }
    // Adding lines moved the current row; the window opens with the button off.
    BtnImgDeleteFile->setEnabled(false);
}

int TFormReport::Execute(const QString& progressFile, char mode) {
    BuildReport(progressFile, mode);
    return exec();
}

int TFormReport::itemOfLine(int line) const {
    const QListWidgetItem* it = ListBoxReport->item(line);
    return it ? it->data(kItemRole).toInt() : 0;
}

bool TFormReport::lineIsBold(int line) const {
    const int itemNo = itemOfLine(line);
    const ProgressTable& t = CurrentProgress();
    if (itemNo < 1 || itemNo > t.Count || itemNo >= t.Recs.size()) return false;
    return t[itemNo].Done != 0;
}

void TFormReport::FormShow() {
    ListBoxReport->setFocus();
}

void TFormReport::showEvent(QShowEvent* e) {
    TPictureDialog::showEvent(e);
    FormShow();
}

void TFormReport::ListBoxReportClick() {
    const int itemNo = itemOfLine(ListBoxReport->currentRow());
    const TCourseItem* item = itemAt(itemNo);
    const ProgressTable& t = CurrentProgress();
    const bool on =
        item && itemNo <= t.Count && itemNo < t.Recs.size() && CanDeleteRecording(*item, t[itemNo]);
    BtnImgDeleteFile->setEnabled(on);
}

void TFormReport::BitBtn1Click() {
    Guarded([this] {
        const int line = ListBoxReport->currentRow();
        const int itemNo = itemOfLine(line);
        const TCourseItem* item = itemAt(itemNo);
        if (!item) return;
        QString error;
        const RecordingDelete r =
            DeleteRecording(CurrentProgress(), itemNo, *item, m_learnerDir, &error);
        if (r == RecordingDelete::Nothing) return;
        if (r == RecordingDelete::Failed) {
            ReportError(error);
            return;
        }
        ListBoxReport->item(line)->setText(NotDoneLine(*item));
        ListBoxReport->viewport()->update();
        ListBoxReportClick();
    });
}

void TFormReport::BtnImgD1Zv1Click() {
    ShowHelpKeyword(QStringLiteral("Report"));
}

int ShowReport(QWidget* parent, const QString& progressFile, char mode) {
    TFormReport form(parent);
    return form.Execute(progressFile, mode);
}
