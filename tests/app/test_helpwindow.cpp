#include "app/helpwindow.h"
#include "common/testenv.h"
#include "controls/ui_hooks.h"

#include <QDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>
#include <QVBoxLayout>
#include <QWindow>

namespace {
const QString kHelpDir = QStringLiteral(VANTREL_SOURCE_DIR "/help");

// A click delivered the way the window system delivers it: through the
// window, where Qt drops input to windows a modal window blocks. (A click
// sent to the widget itself would pass any modal window.)
void systemClick(QWidget* w) {
    QWindow* win = w->window()->windowHandle();
    QVERIFY(win);
    QTest::mouseClick(win, Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}

} // namespace

class TestHelpWindow : public QObject {
    Q_OBJECT
    QStringList m_messages;

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        m_messages.clear();
        SetXMessageHandler([this](const QString& t, const QString&, int) {
            m_messages << t;
            return 1;
        });
        InstallHelp(kHelpDir);
    }

    void opensPage_data() {
        QTest::addColumn<QString>("keyword"); // empty: by number
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        QTest::newRow("by number") << "" << 10 << "main.html";
        QTest::newRow("unknown number") << "" << 55 << "index.html";
        QTest::newRow("keyword in another letter case") << "selectreg" << 0 << "selectreg.html";
        QTest::newRow("unknown keyword") << "Nothing" << 0 << "index.html";
    }

    void opensPage() {
        QFETCH(QString, keyword);
        QFETCH(int, topic);
        QFETCH(QString, page);
        if (keyword.isEmpty())
            ShowHelpTopic(topic);
        else
            ShowHelpKeyword(keyword);
        THelpWindow* w = HelpWindowInstance();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->CurrentPage(), page);
        QVERIFY(!w->TextBrowser->toPlainText().isEmpty());
        QVERIFY(m_messages.isEmpty());
    }

    void missingFolder() {
        QTemporaryDir tmp;
        InstallHelp(tmp.path() + "/help");
        ShowHelpTopic(10);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].contains(QDir::toNativeSeparators(tmp.path() + "/help")),
                 qPrintable(m_messages[0]));
        QVERIFY(!HelpWindowInstance());
    }

    // Help is opened from exercises, which run modally: the help window must
    // take clicks then, the exercise must still take them, and closing the
    // exercise must not take the help window with it.
    void usableWhileModalRuns() {
        auto* dlg = new QDialog;
        auto* ok = new QPushButton("OK", dlg);
        (new QVBoxLayout(dlg))->addWidget(ok);
        QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
        QWidget
            plain; // a window of no modal owner: blocked, to show the clicks below mean something
        auto* plainButton = new QPushButton("x", &plain);
        int plainClicks = 0;
        QObject::connect(plainButton, &QPushButton::clicked, [&] { ++plainClicks; });
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));

        QString pageAfterClick;
        bool helpVisible = false;
        testenv::OnNextModal([&](QWidget* modal) {
            QCOMPARE(modal, dlg);
            ShowHelpTopic(120);
            THelpWindow* w = HelpWindowInstance();
            helpVisible = w && w->isVisible() && QTest::qWaitForWindowExposed(w);
            if (!w) return;
            systemClick(w->ButtonContents);
            pageAfterClick = w->CurrentPage();
            systemClick(plainButton);
            systemClick(ok);
        });
        QTimer::singleShot(8000, dlg, &QDialog::reject); // never hang
        QCOMPARE(dlg->exec(), int(QDialog::Accepted));
        delete dlg;

        QVERIFY(helpVisible);
        QCOMPARE(plainClicks, 0);
        QCOMPARE(pageAfterClick, QString("index.html"));
        QVERIFY(HelpWindowInstance()->isVisible());
    }

    void escCloses() {
        ShowHelpTopic(10);
        THelpWindow* w = HelpWindowInstance();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTest::keyClick(w->TextBrowser, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestHelpWindow)
#include "test_helpwindow.moc"
