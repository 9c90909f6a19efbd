#include "app/helpwindow.h"

#include "base/errors.h"
#include "controls/ui_hooks.h"
#include "rtf/helpmap.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

THelpWindow::THelpWindow(const QString& helpDir) : QWidget(nullptr, Qt::Window), m_dir(helpDir) {
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(QStringLiteral("Справка Vantrel"));

    ButtonContents = new QPushButton(QStringLiteral("Содержание"), this);
    ButtonContents->setObjectName(QStringLiteral("ButtonContents"));
    ButtonBack = new QPushButton(QStringLiteral("Назад"), this);
    ButtonBack->setObjectName(QStringLiteral("ButtonBack"));
    ButtonForward = new QPushButton(QStringLiteral("Вперед"), this);
    ButtonForward->setObjectName(QStringLiteral("ButtonForward"));
    for (QPushButton* b : {ButtonContents, ButtonBack, ButtonForward})
        b->setAutoDefault(false);

    TextBrowser = new QTextBrowser(this);
    TextBrowser->setObjectName(QStringLiteral("TextBrowser"));
    TextBrowser->setOpenExternalLinks(true);
    TextBrowser->setSearchPaths({helpDir});

    auto* bar = new QHBoxLayout;
    bar->addWidget(ButtonContents);
    bar->addWidget(ButtonBack);
    bar->addWidget(ButtonForward);
    bar->addStretch(1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(bar);
    lay->addWidget(TextBrowser, 1);

    ButtonBack->setEnabled(false);
    ButtonForward->setEnabled(false);
    connect(ButtonContents, &QPushButton::clicked, this, &THelpWindow::ButtonContentsClick);
    connect(ButtonBack, &QPushButton::clicked, TextBrowser, &QTextBrowser::backward);
    connect(ButtonForward, &QPushButton::clicked, TextBrowser, &QTextBrowser::forward);
    connect(TextBrowser, &QTextBrowser::backwardAvailable, ButtonBack, &QWidget::setEnabled);
    connect(TextBrowser, &QTextBrowser::forwardAvailable, ButtonForward, &QWidget::setEnabled);

    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
    auto* back = new QShortcut(QKeySequence(QKeySequence::Back), this);
    connect(back, &QShortcut::activated, TextBrowser, &QTextBrowser::backward);
    auto* fwd = new QShortcut(QKeySequence(QKeySequence::Forward), this);
    connect(fwd, &QShortcut::activated, TextBrowser, &QTextBrowser::forward);

    // A readable page at 100% and 200%: about 80 characters a line.
    const int em = fontMetrics().averageCharWidth();
    resize(qMax(720, em * 100), qMax(600, fontMetrics().height() * 40));
}

void THelpWindow::ShowPage(const QString& fileName) {
    const QUrl url = QUrl::fromLocalFile(QDir(m_dir).absoluteFilePath(fileName));
    if (TextBrowser->source() != url) TextBrowser->setSource(url);
    present();
}

QString THelpWindow::CurrentPage() const {
    return TextBrowser->source().fileName();
}

void THelpWindow::ButtonContentsClick() {
    TextBrowser->setSource(
        QUrl::fromLocalFile(QDir(m_dir).absoluteFilePath(HelpTopicMap::ContentsFile())));
}

// While a modal window runs, every other window is blocked, except windows
// that belong to it. So help opened from a modal window is made a window of
// that one: both stay usable. When that window goes away, help becomes a
// window of its own again (it must not be destroyed with an exercise).
void THelpWindow::present() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == this || (modal && isAncestorOf(modal))) modal = nullptr;
    if (modal != m_over) rehome(modal);
    if (!isVisible()) show();
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void THelpWindow::rehome(QWidget* owner) {
    if (m_over) m_over->removeEventFilter(this);
    m_over = owner;
    if (m_over) m_over->installEventFilter(this);
    if (parentWidget() == owner) return;
    const bool shown = isVisible();
    const QRect geom = geometry();
    setParent(owner, Qt::Window); // hides the window
    setGeometry(geom);
    if (shown) show();
}

bool THelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_over && event->type() == QEvent::Hide) {
        rehome(nullptr);
        // Another modal window may still be running below the one that
        // closed: follow it once the closing is over.
        QMetaObject::invokeMethod(
            this,
            [this] {
                QWidget* modal = QApplication::activeModalWidget();
                if (isVisible() && modal && modal != this && !isAncestorOf(modal)) rehome(modal);
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

namespace {
QString& helpDir() {
    static QString d;
    return d;
}
QPointer<THelpWindow>& window() {
    static QPointer<THelpWindow> w;
    return w;
}

void openPage(const QString& page) {
    const QString dir = helpDir();
    if (!QFileInfo(dir).isDir()) {
        XMessage(QStringLiteral("Справка недоступна: не найдена папка справки \"%1\".")
                     .arg(QDir::toNativeSeparators(dir)),
                 QStringLiteral("Справка"), MB_ICONWARNING);
        return;
    }
    QString file = page;
    if (file.isEmpty() || !QFileInfo(QDir(dir).filePath(file)).isFile())
        file = HelpTopicMap::ContentsFile();
    if (!QFileInfo(QDir(dir).filePath(file)).isFile()) {
        XMessage(QStringLiteral("Справка недоступна: в папке \"%1\" нет файла \"%2\".")
                     .arg(QDir::toNativeSeparators(dir), file),
                 QStringLiteral("Справка"), MB_ICONWARNING);
        return;
    }
    if (!window()) {
        window() = new THelpWindow(dir);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, window(), &QObject::deleteLater);
    }
    window()->ShowPage(file);
}

// Read each time: the map is small, and a help folder put in place while the
// program runs is found.
HelpTopicMap currentMap() {
    try {
        return HelpTopicMap::Load(QDir(helpDir()).filePath(QStringLiteral("topics.txt")));
    } catch (const FileError&) {
        return {};
    }
}
} // namespace

void InstallHelp(const QString& dir) {
    helpDir() = QDir(dir).absolutePath();
    if (window()) {
        delete window();
        window() = nullptr;
    }
    SetHelpHandlers([](int topic) { openPage(currentMap().fileForTopic(topic)); },
                    [](const QString& kw) { openPage(currentMap().fileForKeyword(kw)); });
}

THelpWindow* HelpWindowInstance() {
    return window();
}
