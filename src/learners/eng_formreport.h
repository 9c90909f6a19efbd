#pragma once
// The learner's own progress report: one line per course item of the work
// mode, done items in bold, and the deletion of a recording of the
// learner's voice, which marks its exercise not done again.
#include "controls/picturedialog.h"
#include "course/course.h"
#include "course/progress.h"

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QListWidget;

// The lines of a report and, for each line, the item number it shows.
// Items of kinds that give no line are skipped, so the map is the only
// safe way from a line back to its item.
struct ReportLines {
    QStringList Lines;
    QList<int> Items;
};
ReportLines BuildReportLines(const CourseTable& course, const ProgressTable& progress);

// The delete button is offered for a done item that keeps a recording.
bool CanDeleteRecording(const TCourseItem& item, const TProgressRec& rec);

enum class RecordingDelete {
    Nothing, // not done, not a recording kind or no recording name
    Deleted, // file removed, record cleared
    Missing, // no such file, record cleared
    Shared,  // another record names the same file: kept, record cleared
    Outside, // name outside the learner's directory: file kept, record cleared
    Failed,  // the file exists and could not be removed: record unchanged
};
// Deletes the recording of item `itemNo` of `table`. `learnerDir` is the
// learner's own directory (below Report\ of the current directory); only a
// file inside it is ever removed. On Failed, `errorText` gets the I/O error.
RecordingDelete DeleteRecording(ProgressTable& table, int itemNo, const TCourseItem& item,
                                const QString& learnerDir, QString* errorText = nullptr);

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
