// The results dialog, the answer dialogs and the program's message box:
// results of each way out, icons by flags, texts as given.
#include "common/testenv.h"
#include "controls/btnimgd1.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/ui_hooks.h"
#include "drill/dlgmessage.h"
#include "drill/eng_dlgdoubleerror.h"
#include "drill/eng_dlglexicerror.h"
#include "drill/eng_dlglexrepit.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QtTest>

namespace {
// Answers the next modal dialog by clicking its OK picture button.
void clickOkNext() {
    testenv::OnNextModal([](QWidget* w) {
        if (auto* ok = w->findChild<TBtnImgD1Zv*>("BitBtnOk"))
            QTest::mouseClick(ok, Qt::LeftButton);
    });
}

// How many opaque pixels of `icon` differ in `shown` (same size).
int differences(const QImage& shown, const QImage& icon) {
    int n = 0;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            n += qAlpha(icon.pixel(x, y)) == 255 && shown.pixel(x, y) != icon.pixel(x, y);
    return n;
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }

    void iconByFlags_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("icon");
        QTest::newRow("0x10 error") << 0x10 << 0;
        QTest::newRow("0x20 question") << 0x20 << 1;
        QTest::newRow("0x30 warning") << 0x30 << 2;
        QTest::newRow("0x40 information") << 0x40 << 3;
        QTest::newRow("0x31 button bits ignored") << 0x31 << 2;
        QTest::newRow("0x110 high bits ignored") << 0x110 << 0;
    }
    void iconByFlags() {
        QFETCH(int, flags);
        QFETCH(int, icon);
        QCOMPARE(TDlgxMessage::IconIndex(flags), icon);
    }

    // The installed box draws the icon of its flags and the text as given:
    // markup stays text, a carriage return breaks the line, the last text
    // replaces the one before. A message raised while it is up gets a box of
    // its own.
    void messageBox() {
        InstallXMessageDialog();
        clickOkNext();
        ::XMessage("old", "t", 0);
        QStringList order;
        testenv::OnNextModal([&](QWidget* w) {
            order << w->windowTitle();
            testenv::OnNextModal([&](QWidget* inner) {
                order << (inner == &DlgxMessage() ? "same box" : "second box");
                QTest::mouseClick(inner->findChild<TBtnImgD1Zv*>("BitBtnOk"), Qt::LeftButton);
            });
            ::XMessage("Вторая", "Б", 0x10);
            clickOkNext();
        });
        QCOMPARE(::XMessage("<b>a</b>\rвторая", "Ошибка", 0x30), int(mrOk));
        SetXMessageHandler({});
        QCOMPARE(order, (QStringList{"Ошибка", "second box"}));
        TDlgxMessage& dlg = DlgxMessage();
        QCOMPARE(dlg.MemoMess->Lines(),
                 QStringList{QString("<b>a</b>") + QChar::LineSeparator + "вторая"});
        const QImage shown =
            dlg.ImageIcon->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        for (int i = 0; i < 4; ++i) {
            const QImage icon =
                dlg.ImageListIcon[i].toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(shown.size(), icon.size());
            QCOMPARE(differences(shown, icon) > 20, i != 2);
            if (i == 2) QCOMPARE(differences(shown, icon), 0);
        }
    }

    void resultsDialog_data() {
        QTest::addColumn<bool>("okEnabled");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expect");
        QTest::newRow("mark done") << true << "BitBtnOk" << int(mrOk);
        QTest::newRow("repeat") << true << "BitBtn3" << int(mrRetry);
        QTest::newRow("caption of repeat") << true << "Label3" << int(mrRetry);
        QTest::newRow("Esc") << true << "esc" << int(mrCancel);
        QTest::newRow("Enter on the first choice") << true << "enter" << int(mrOk);
        // Marking is locked: the OK button and its caption do nothing.
        QTest::newRow("locked, OK then leave") << false << "BitBtnOk" << int(mrCancel);
        QTest::newRow("locked, caption then leave") << false << "LabelOk" << int(mrCancel);
        QTest::newRow("locked, Enter repeats") << false << "enter" << int(mrRetry);
    }
    void resultsDialog() {
        QFETCH(bool, okEnabled);
        QFETCH(QString, action);
        QFETCH(int, expect);
        TDlgLexRepit& dlg = DlgLexRepit();
        dlg.SetComent("old message");
        dlg.SetComent("Вы допустили 10% ошибок.");
        QCOMPARE(dlg.MemoComent->Lines(), QStringList{"Вы допустили 10% ошибок."});
        dlg.SetOkEnabled(okEnabled);
        testenv::OnNextModal([&](QWidget* w) {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            if (action == "esc")
                QTest::keyClick(w, Qt::Key_Escape);
            else if (action == "enter")
                QTest::keyClick(w->focusWidget(), Qt::Key_Return);
            else if (auto* b = w->findChild<TBtnImgTransD1Zv*>(action))
                QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(20, 20));
            else if (auto* l = w->findChild<QLabel*>(action))
                QTest::mouseClick(l, Qt::LeftButton, {}, QPoint(3, 3));
            // Whatever did not close it, leaving does.
            if (w->isVisible()) QTest::mouseClick(dlg.BitBtn2, Qt::LeftButton, {}, QPoint(20, 20));
        });
        QCOMPARE(dlg.exec(), expect);
        // The dialog keeps its state for the next caller; the caption greys with its button.
        QCOMPARE(dlg.BitBtnOk->isEnabled(), okEnabled);
        QCOMPARE(dlg.findChild<QLabel*>("LabelOk")->isEnabled(), okEnabled);
    }

    // The answer shown replaces the one before, in a font that has Cyrillic
    // letters; Enter closes the dialog.
    void wrongAnswer() {
        TDlgDoubleError& dlg = DlgLexicError();
        testenv::OnNextModal([&](QWidget* w) {
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
            QTest::keyClick(w, Qt::Key_Return);
        });
        dlg.MemoTrueQuest->AddLine("left from before");
        QCOMPARE(dlg.ShowMdText("Ёлка & ель"), int(mrOk));
        QCOMPARE(dlg.MemoTrueQuest->Lines(), QStringList{"Ёлка & ель"});
        const auto systems =
            QFontDatabase::writingSystems(QFontInfo(dlg.MemoTrueQuest->font()).family());
        QVERIFY(systems.contains(QFontDatabase::Cyrillic));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
