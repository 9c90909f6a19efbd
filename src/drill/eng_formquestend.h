#pragma once
// Results of a true/false run: every question with its right answer and
// whether the learner's answer was right.
#include "drill/questfiles.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class QPushButton;

class TFormQuestEnd : public QDialog {
    Q_OBJECT
public:
    explicit TFormQuestEnd(QWidget* parent = nullptr);

    // Row 0 is the heading; row i holds question i. The grid gets exactly
    // N + 1 rows on every fill, so nothing of a longer earlier run stays.
    void Fill(const QList<TTrFlEntry>& entries, int errorCount);
    void CentreOnDesktop();

    QTableWidget* StringGridRes;
    QLabel* LabelCount;
    QLabel* LabelError;
    QLabel* LabelComent;
    QPushButton* BitBtnOk;
};

// Background of the rows answered wrong.
QColor WrongAnswerColor();
