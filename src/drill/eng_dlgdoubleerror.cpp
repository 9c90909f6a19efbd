#include "drill/eng_dlgdoubleerror.h"

#include "controls/btnimgd1.h"
#include "controls/pictures.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

QFont TDlgDoubleError::answerFont(int writingSystem) {
    const auto ws = QFontDatabase::WritingSystem(writingSystem);
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    const QString resolved = QFontInfo(f).family();
    if (!QFontDatabase::writingSystems(resolved).contains(ws)) {
        const QStringList candidates = QFontDatabase::families(ws);
        for (const QString& fam :
             {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")})
            if (candidates.contains(fam)) {
                f.setFamily(fam);
                break;
            }
    }
    f.setBold(true);
    f.setPointSize(12);
    return f;
}

TDlgDoubleError::TDlgDoubleError(QWidget* parent) : TPictureDialog(parent) {
    setObjectName(QStringLiteral("DlgDoubleError"));
    setTitle(QStringLiteral("Ошибка"));
    auto* lay = new QVBoxLayout(panel());
    lay->setContentsMargins(14, 10, 14, 10);
    lay->setSpacing(6);
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    ImagePicture = new QLabel(panel());
    ImagePicture->setObjectName(QStringLiteral("ImagePicture"));
    ImagePicture->setPixmap(Pictures::MessageIcon(0));
    ImagePicture->setFixedSize(32, 32);
    top->addWidget(ImagePicture);
    LabelTitle = new QLabel(QStringLiteral("Вы ошиблись. Правильный ответ:"), panel());
    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    QPalette pal = LabelTitle->palette();
    pal.setColor(QPalette::WindowText, QColor(200, 0, 0));
    LabelTitle->setPalette(pal);
    QFont tf = LabelTitle->font();
    tf.setBold(true);
    LabelTitle->setFont(tf);
    top->addWidget(LabelTitle, 1);
    lay->addLayout(top);
    MemoTrueQuest = new TMemoView(panel());
    MemoTrueQuest->setObjectName(QStringLiteral("MemoTrueQuest"));
    MemoTrueQuest->setFont(answerFont(QFontDatabase::Latin));
    lay->addWidget(MemoTrueQuest, 1);
    BitBtnOk = addOkButton();
    setFixedSize(440, 240);
}

int TDlgDoubleError::ShowMdText(const QString& text) {
    MemoTrueQuest->Clear();
    MemoTrueQuest->AddLine(text);
    return exec();
}

TDlgDoubleError& DlgDoubleError() {
    static auto* dlg = new TDlgDoubleError;
    return *dlg;
}
