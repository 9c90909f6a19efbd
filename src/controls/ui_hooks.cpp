#include "controls/ui_hooks.h"

#include <QMessageBox>
#include <QShortcut>
#include <QVariant>
#include <QWidget>

namespace {
XMessageHandler& messageHandler() {
    static XMessageHandler h;
    return h;
}
HelpTopicHandler& topicHandler() {
    static HelpTopicHandler h;
    return h;
}
HelpKeywordHandler& keywordHandler() {
    static HelpKeywordHandler h;
    return h;
}
} // namespace

int XMessage(const QString& text, const QString& title, int flags) {
    if (messageHandler()) return messageHandler()(text, title, flags);
    QMessageBox::Icon icon = QMessageBox::Information;
    switch ((flags & 0xF0) >> 4) {
    case 1: icon = QMessageBox::Critical; break;
    case 2: icon = QMessageBox::Question; break;
    case 3: icon = QMessageBox::Warning; break;
    default: break;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok);
    return box.exec();
}

XMessageHandler SetXMessageHandler(XMessageHandler h) {
    XMessageHandler old = std::move(messageHandler());
    messageHandler() = std::move(h);
    return old;
}

void ShowHelpTopic(int topic) {
    if (topicHandler()) topicHandler()(topic);
}

void ShowHelpKeyword(const QString& keyword) {
    if (keywordHandler()) keywordHandler()(keyword);
}

void SetHelpHandlers(HelpTopicHandler byTopic, HelpKeywordHandler byKeyword) {
    topicHandler() = std::move(byTopic);
    keywordHandler() = std::move(byKeyword);
}

void SetHelpContext(QWidget* w, int topic) { w->setProperty("helpContext", topic); }
void SetHelpKeyword(QWidget* w, const QString& keyword) { w->setProperty("helpKeyword", keyword); }

void InstallF1Help(QWidget* w) {
    auto* sc = new QShortcut(QKeySequence(Qt::Key_F1), w);
    sc->setContext(Qt::WindowShortcut);
    QObject::connect(sc, &QShortcut::activated, w, [w] {
        QVariant kw = w->property("helpKeyword");
        if (kw.isValid() && !kw.toString().isEmpty()) ShowHelpKeyword(kw.toString());
        else ShowHelpTopic(w->property("helpContext").toInt());
    });
}
