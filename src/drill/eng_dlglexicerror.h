#pragma once
// Wrong translation in the vocabulary drill: the right Russian translation.
#include "drill/eng_dlgdoubleerror.h"

class TDlgLexicError : public TDlgDoubleError {
    Q_OBJECT
public:
    explicit TDlgLexicError(QWidget* parent = nullptr);
};

TDlgLexicError& DlgLexicError();
