#pragma once
// The teacher console: every learner's password and report, playback of a
// learner's recording in the text work window, the printed report and the
// change of the teacher password. It never writes learner data.
#include "controls/picturedialog.h"
#include "course/course.h"
#include "course/lessonfileset.h"
#include "course/progress.h"

#include <functional>
#include <QList>

class TBtnImgTransD1Zv;
class QCheckBox;
class QLineEdit;
class QListWidget;
struct ReportPrintData;

// What the text work window needs to play a learner's recording: the
// item's files (data root already put in front where needed) and the
// learner's recording.
struct ConsolePlayback {
    TLessonFiles Files;
    QString LearnerRecording; // the record's RecordFile
    QString DataRoot;
};
// Opens the text work window and returns when it is closed. The program
// sets it (the text windows live in another library); without one the
// play button does nothing.
using ConsolePlaybackHook = std::function<void(const ConsolePlayback&)>;
void SetConsolePlaybackHook(ConsolePlaybackHook hook);

// A course file name as the launcher resolves it: kept when it exists,
// otherwise behind the data root.
QString ConsoleCourseFile(const QString& name, const QString& dataRoot);

class TFormPrepod : public TPictureDialog {
    Q_OBJECT
public:
    explicit TFormPrepod(QWidget* parent = nullptr);

    QListWidget* ListBoxUsers;
    QListWidget* ListBoxReport;
    QLineEdit* EditPassword;
    TBtnImgTransD1Zv* BitBtnPlay;
    TBtnImgTransD1Zv* BitBtn3;
    QCheckBox* CheckBoxChek;
    TBtnImgTransD1Zv* BitBtn2;
    TBtnImgTransD1Zv* BitBtn1;
    TBtnImgTransD1Zv* BitBtnClose;

    // The console's own progress table of the learner shown.
    const ProgressTable& ConsoleProgress() const { return m_progress; }
    // The learner shown (index in the learner table), -1 for none.
    int ShownUser() const { return m_user; }
    // Item number of a report line, 0 for none.
    int itemOfLine(int line) const;
    // What the printout of the learner shown would hold (date of now).
    ReportPrintData PrintData() const;

public Q_SLOTS:
    void FormShow();
    void ListBoxUsersClick();
    void ListBoxReportClick();
    void BitBtnPlayClick();
    void BitBtn3Click();
    void BitBtn2Click();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void clearLearner();
    void showLearner(int index);
    const TCourseItem* itemAt(int itemNo) const;

    ProgressTable m_progress;
    QList<int> m_items; // item of each report line
    int m_user = -1;
    char m_mode = 'D';
    bool m_loaded = false;
    bool m_filling = false;
};
