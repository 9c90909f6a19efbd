// A window's command key, the course tree's tooltips and a check mark's
// changes told to readers: the key clicks its button only while the button
// can be used and its window is the active one; a caption cut short shows
// whole as a tooltip, one that fits shows none.
#include "controls/accessiblecontrols.h"
#include "controls/btnimgtransd1zv.h"
#include "controls/captionedbutton.h"
#include "controls/chbximgtransd1zv.h"
#include "controls/elidedtipdelegate.h"

#include <QAccessible>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

class TestKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void clickOnKey_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("clicks");
        QTest::newRow("enabled") << "enabled" << 1;
        QTest::newRow("disabled") << "disabled" << 0;
        QTest::newRow("hidden") << "hidden" << 0;
        QTest::newRow("key in another window") << "other window" << 0;
    }
    void clickOnKey() {
        QFETCH(QString, state);
        QFETCH(int, clicks);
        const QKeySequence key(Qt::CTRL | Qt::Key_P);
        QWidget win, other;
        TBtnImgTransD1Zv* button = MakeCaptionedButton(&win, "Play", "play", "Play");
        auto* edit = new QLineEdit(&win); // the focus is on another control
        edit->move(0, 100);
        auto* otherEdit = new QLineEdit(&other);
        ClickOnKey(button, key);
        QVERIFY(button->toolTip().contains(key.toString(QKeySequence::NativeText)));
        QSignalSpy clicked(button, &TBtnImgTransD1Zv::clicked);
        win.show();
        QVERIFY(QTest::qWaitForWindowActive(&win));
        button->setEnabled(state != "disabled");
        button->setVisible(state != "hidden");
        QWidget* target = edit;
        if (state == "other window") {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            target = otherEdit;
        }
        target->setFocus();
        QTest::keyClick(target, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(clicked.size(), clicks);
    }

    void cutCaptionTooltip_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("cut");
        QTest::newRow("cut") << "Listening practice: a long lesson name that has no room" << true;
        QTest::newRow("fits") << "Words" << false;
    }
    void cutCaptionTooltip() {
        QFETCH(QString, caption);
        QFETCH(bool, cut);
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        QTreeWidget tree;
        tree.header()->hide();
        tree.setItemDelegate(new TElidedTipDelegate(&tree));
        auto* item = new QTreeWidgetItem(&tree, {caption});
        tree.resize(160, 120);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        const QPoint at = tree.visualItemRect(item).center();
        QHelpEvent e(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree.viewport(), &e);
        QCOMPARE(QToolTip::isVisible(), cut);
        if (cut) QCOMPARE(QToolTip::text(), caption);
        // A reader hears the whole caption, cut on the screen or not.
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&tree);
        QVERIFY(a && a->tableInterface() && a->tableInterface()->cellAt(0, 0));
        QCOMPARE(a->tableInterface()->cellAt(0, 0)->text(QAccessible::Name), caption);
    }

    // A change of a picture check mark reaches a reader as the control's state.
    void checkMarkStates() {
        QWidget top;
        auto* m = new TChBxImgTransD1Zv(&top);
        m->setCaption(QStringLiteral("Показывать текст"));
        top.show();
        QList<QAccessible::State> seen;
        SetAccessibleEventSink([&](const QAccessibleEvent& e) {
            if (e.type() == QAccessible::StateChanged && e.object() == m)
                seen << static_cast<const QAccessibleStateChangeEvent&>(e).changedStates();
        });
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), QStringLiteral("Показывать текст"));
        m->setChecked(true);
        QVERIFY(a->state().checked);
        m->setChecked(true); // no change, no event
        m->setMarkEnabled(false);
        QVERIFY(a->state().disabled);
        SetAccessibleEventSink({});
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen[0].checked);
        QVERIFY(seen[1].disabled);
    }
};

QTEST_MAIN(TestKeys)
#include "test_keys.moc"
