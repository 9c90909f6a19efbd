#include "app/helpwindow.h"
#include "common/messages.h"
#include "common/testenv.h"

#include <QDialog>
#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

// A click delivered the way the window system delivers it: through the
// window, where Qt drops input to windows a modal window blocks. (A click
// sent to the widget itself would pass any modal window.)
static void systemClick(QWidget* w) {
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {},
                      w->mapTo(w->window(), w->rect().center()));
}

class TestHelpWindow : public QObject {
    Q_OBJECT
    std::optional<testui::MessageRecorder> m_rec;

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        m_rec.emplace(); // the one before gives the handler back first
        InstallHelp(QStringLiteral(VANTREL_SOURCE_DIR "/help"));
    }

    // Esc closes the window. (Which page a topic or keyword names: the help
    // map's own test; an unknown keyword falls back as an unknown number does.)
    void opensPage_data() {
        QTest::addColumn<QString>("keyword"); // empty: by number
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("page");
        QTest::newRow("by number") << "" << 10 << "main.html";
        QTest::newRow("keyword in another letter case") << "selectreg" << 0 << "selectreg.html";
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
        QVERIFY(w && QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->CurrentPage(), page);
        QVERIFY(!w->TextBrowser->toPlainText().isEmpty());
        QVERIFY(m_rec->messages.isEmpty());
        QTest::keyClick(w->TextBrowser, Qt::Key_Escape);
        QVERIFY(!w->isVisible());
    }

    // Reported with the folder's name; no window.
    void missingFolder() {
        const QString dir = QDir::tempPath() + "/no-such-folder/help";
        InstallHelp(dir);
        ShowHelpTopic(10);
        QCOMPARE(m_rec->messages.size(), 1);
        QVERIFY(m_rec->lastText().contains(QDir::toNativeSeparators(dir)));
        QVERIFY(!HelpWindowInstance());
    }

    // Help is opened from exercises, which run modally: the help window must
    // take clicks then (a plain window stays blocked, so the clicks mean
    // something), the exercise must still take them, and closing the
    // exercise must not take the help window with it.
    void usableWhileModalRuns() {
        auto dlg = std::make_unique<QDialog>();
        auto* ok = new QPushButton("OK", dlg.get());
        QObject::connect(ok, &QPushButton::clicked, dlg.get(), &QDialog::accept);
        QPushButton plain("x");
        QSignalSpy plainClicks(&plain, &QPushButton::clicked);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        testenv::OnNextModal([&](QWidget*) {
            ShowHelpTopic(120);
            THelpWindow* w = HelpWindowInstance();
            if (!w || !QTest::qWaitForWindowExposed(w)) return;
            systemClick(w->ButtonContents);
            QCOMPARE(w->CurrentPage(), QString("index.html"));
            systemClick(&plain);
            systemClick(ok);
        });
        QTimer::singleShot(8000, dlg.get(), &QDialog::reject); // never hang
        QCOMPARE(dlg->exec(), int(QDialog::Accepted));
        dlg.reset();
        QCOMPARE(plainClicks.count(), 0);
        QVERIFY(HelpWindowInstance()->isVisible());
    }
};

QTEST_MAIN(TestHelpWindow)
#include "test_helpwindow.moc"
