#include "drill/eng_formquestend.h"

#include "drill/drilllogic.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

QColor WrongAnswerColor() {
    return QColor(250, 214, 214);
}

namespace {
QTableWidgetItem* Cell(const QString& text) {
    auto* it = new QTableWidgetItem(text);
    it->setFlags(Qt::ItemIsEnabled);
    return it;
}
} // namespace

TFormQuestEnd::TFormQuestEnd(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormQuestEnd"));
    setWindowTitle(QStringLiteral("Результаты упражнения"));
    setModal(true);
    // The colours of the exercise window it follows, not the desktop's grey.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(214, 233, 247));
    pal.setColor(QPalette::WindowText, QColor(16, 44, 84));
    setPalette(pal);
    setAutoFillBackground(true);
    auto* lay = new QVBoxLayout(this);
    StringGridRes = new QTableWidget(1, 3, this);
    StringGridRes->setObjectName(QStringLiteral("StringGridRes"));
    StringGridRes->horizontalHeader()->hide();
    StringGridRes->verticalHeader()->hide();
    StringGridRes->setColumnWidth(0, 504);
    StringGridRes->setColumnWidth(1, 58);
    StringGridRes->setColumnWidth(2, 80);
    StringGridRes->setWordWrap(true);
    StringGridRes->setSelectionMode(QAbstractItemView::NoSelection);
    StringGridRes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the OK button below it; the arrows go through the cells.
    StringGridRes->setTabKeyNavigation(false);
    StringGridRes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridRes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGridRes->setMinimumSize(504 + 58 + 80 +
                                      StringGridRes->verticalScrollBar()->sizeHint().width() +
                                      2 * StringGridRes->frameWidth() + 2,
                                  320);
    lay->addWidget(StringGridRes);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Всего вопросов:"), this), 0, 0);
    LabelCount = new QLabel(this);
    LabelCount->setObjectName(QStringLiteral("LabelCount"));
    grid->addWidget(LabelCount, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Неправильных ответов:"), this), 1, 0);
    LabelError = new QLabel(this);
    LabelError->setObjectName(QStringLiteral("LabelError"));
    grid->addWidget(LabelError, 1, 1);
    grid->setColumnStretch(2, 1);
    lay->addLayout(grid);
    LabelComent = new QLabel(this);
    LabelComent->setObjectName(QStringLiteral("LabelComent"));
    LabelComent->setTextFormat(Qt::PlainText);
    lay->addWidget(LabelComent);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    BitBtnOk = new QPushButton(QStringLiteral("OK"), this);
    BitBtnOk->setObjectName(QStringLiteral("BitBtnOk"));
    BitBtnOk->setDefault(true);
    buttons->addWidget(BitBtnOk);
    lay->addLayout(buttons);
    connect(BitBtnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormQuestEnd::Fill(const QList<TTrFlEntry>& entries, int errorCount) {
    LabelCount->setText(QString::number(entries.size()));
    LabelError->setText(QString::number(errorCount));
    LabelComent->setText(QStringLiteral("Комментарий"));
    StringGridRes->clearContents();
    StringGridRes->setRowCount(int(entries.size()) + 1);
    const QStringList heads{QStringLiteral("Вопрос"), QStringLiteral("Ответ"),
                            QStringLiteral("Ваш ответ")};
    for (int c = 0; c < 3; ++c) {
        QTableWidgetItem* h = Cell(heads[c]);
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        h->setBackground(QColor(214, 233, 247));
        StringGridRes->setItem(0, c, h);
    }
    const QList<TrFlResultRow> rows = TrFlResults(entries);
    for (int i = 0; i < rows.size(); ++i) {
        const TrFlResultRow& r = rows[i];
        const QString texts[3] = {r.Quest, r.Answer, r.Yours};
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* it = Cell(texts[c]);
            if (c > 0) it->setTextAlignment(Qt::AlignCenter);
            if (!r.Right) it->setBackground(WrongAnswerColor());
            StringGridRes->setItem(i + 1, c, it);
        }
    }
    StringGridRes->resizeRowsToContents();
    StringGridRes->setCurrentCell(-1, -1);
}

void TFormQuestEnd::CentreOnDesktop() {
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect a = s->availableGeometry();
        move(a.center() - QPoint(width() / 2, height() / 2));
    }
}
