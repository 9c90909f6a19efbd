#pragma once
// The learner's own progress report: one line per course item of the work
// mode, done items in bold, and the deletion of a recording of the
// learner's voice, which marks its exercise not done again.
#include "controls/picturedialog.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/reportbuild.h"

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QListWidget;

class TFormReport : public TPictureDialog {
    Q_OBJECT
public:
    explicit TFormReport(QWidget* parent = nullptr);

    // Builds the report of the current progress table for work mode `mode`
    // and the learner whose progress file is `progressFile`, without showing it.
    void BuildReport(const QString& progressFile, char mode);
    // BuildReport, then shows the window modally; returns the modal result.
    int Execute(const QString& progressFile, char mode);

    // Item number shown by a line, 0 for none.
    int itemOfLine(int line) const;
    bool lineIsBold(int line) const;

    QListWidget* ListBoxReport;
    QAbstractButton* BtnImgDeleteFile;
    QAbstractButton* BtnImgD1Zv1;
    QAbstractButton* BtnImgClose;

public Q_SLOTS:
    void FormShow();
    void ListBoxReportClick();
    void BitBtn1Click();
    void BtnImgD1Zv1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    const TCourseItem* itemAt(int itemNo) const;
    char m_mode = 'D';
    QString m_learnerDir;
};

// Opens the report of the current learner (progress file and work mode).
int ShowReport(QWidget* parent, const QString& progressFile, char mode);
