#pragma once
// The help window: HTML topics from the course's help/ folder in a browser
// window of its own, opened by topic number or keyword (F1 and the windows'
// "Помощь" buttons).
#include <QPointer>
#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(const QString& helpDir);

    // Shows a page of the help folder (a plain file name) and brings the
    // window up, usable even while an exercise or dialog runs modally.
    void ShowPage(const QString& fileName);
    QString CurrentPage() const;

    QTextBrowser* TextBrowser;
    QPushButton* ButtonContents;
    QPushButton* ButtonBack;
    QPushButton* ButtonForward;

public Q_SLOTS:
    void ButtonContentsClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void present();
    void rehome(QWidget* owner);

    QString m_dir;
    QPointer<QWidget> m_over; // the modal window help belongs to while it runs
};

// Makes ShowHelpTopic / ShowHelpKeyword open the topics of `helpDir`
// (help/topics.txt maps numbers and keywords to pages; unknown ones open the
// contents). A missing help folder is reported in the program's message box.
void InstallHelp(const QString& helpDir);

// The window InstallHelp opens, once it exists.
THelpWindow* HelpWindowInstance();
