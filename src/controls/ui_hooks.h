#pragma once
// The few services every window needs from the program as a whole: the
// program's message box and the help window. Lower libraries call these;
// the program installs the real dialogs at start, tests install recorders.
#include <QString>
#include <functional>

class QWidget;

// Message box icon groups, Windows message-box values.
enum XMessageIcon { MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40 };

using XMessageHandler = std::function<int(const QString& text, const QString& title, int flags)>;
// The program's own message box (installed by the dialogs library). Without a
// handler a plain QMessageBox is shown.
int XMessage(const QString& text, const QString& title, int flags);
XMessageHandler SetXMessageHandler(XMessageHandler h); // returns the previous one

// Help by topic number or keyword.
using HelpTopicHandler = std::function<void(int topic)>;
using HelpKeywordHandler = std::function<void(const QString& keyword)>;
void ShowHelpTopic(int topic);
void ShowHelpKeyword(const QString& keyword);
void SetHelpHandlers(HelpTopicHandler byTopic, HelpKeywordHandler byKeyword);

// Help context of a window for F1: a window sets a property "helpContext"
// (int) or "helpKeyword" (QString); InstallF1Help(w) makes F1 open it.
void SetHelpContext(QWidget* w, int topic);
void SetHelpKeyword(QWidget* w, const QString& keyword);
void InstallF1Help(QWidget* w);
