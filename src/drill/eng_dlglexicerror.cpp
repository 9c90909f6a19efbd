#include "drill/eng_dlglexicerror.h"

#include <QFontDatabase>

TDlgLexicError::TDlgLexicError(QWidget* parent) : TDlgDoubleError(parent) {
    setObjectName(QStringLiteral("DlgLexicError"));
    MemoTrueQuest->setFont(answerFont(QFontDatabase::Cyrillic));
}

TDlgLexicError& DlgLexicError() {
    static auto* dlg = new TDlgLexicError;
    return *dlg;
}
