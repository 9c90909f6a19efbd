#pragma once
// The answer dialogs the exercise windows run, in one place.
#include <QString>

// "Вы ошиблись. Попробуйте еще раз."
void RunTryAgainDialog();
// Wrong answer to a question: the right option.
void RunWrongAnswerDialog(const QString& rightAnswer);
// Wrong translation in the vocabulary drill: the right translation.
void RunWrongTranslationDialog(const QString& rightTranslation);
