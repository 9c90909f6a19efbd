#include "drill/drilldialogs.h"

#include "drill/eng_dlgdoubleerror.h"
#include "drill/eng_dlgerrordo.h"
#include "drill/eng_dlglexicerror.h"

void RunTryAgainDialog() {
    DlgErrorDo().exec();
}

void RunWrongAnswerDialog(const QString& rightAnswer) {
    DlgDoubleError().ShowMdText(rightAnswer);
}

void RunWrongTranslationDialog(const QString& rightTranslation) {
    DlgLexicError().ShowMdText(rightTranslation);
}
