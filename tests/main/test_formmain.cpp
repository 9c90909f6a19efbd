// The main window over a small course: menus, buttons and keys reach the
// session and the launcher, what the session reports reaches the title and
// the tree. (A broken course at start-up: tests/hostile, on the real program.)
#include "common/testenv.h"
#include "common/widgets.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/course.h"
#include "main/coursetree.h"
#include "main/eng_dlgchengreg.h"
#include "main/eng_main.h"
#include "main/mainhost.h"
#include "support_main.h"

#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace mainfix;

namespace {

// The program's host with the vocabulary window and the results dialog
// answered by the test.
struct Host : MainLaunchHost {
    using MainLaunchHost::MainLaunchHost;
    int runs = 0;
    bool panelHidden = false;
    QWidget* panel = nullptr;
    int RunLexicDemo(int, int, const TLessonFiles&) override {
        ++runs;
        panelHidden = !panel->isVisible();
        return 0;
    }
    int ShowLexRepit(const QString&, bool) override { return kRepitMarkDone; }
};

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT

    std::optional<Course> m_course;
    std::unique_ptr<TFormMain> m_form;
    Dialogs* m_dlg = nullptr;

    QTreeWidget* tree() { return testui::Child<QTreeWidget>(m_form.get(), "TreeView"); }
    // The tree shows the node pictures the session gives.
    void checkTree() {
        QList<int> shown, given;
        for (QTreeWidgetItem* n : NodesInDisplayOrder(tree()))
            shown << n->data(0, Qt::UserRole).toInt();
        for (int i = 1; i <= CourseItemCount(m_form->Session().CurrentMode()); ++i)
            given << m_form->Session().NodeImageOf(i);
        QCOMPARE(shown, given);
        QVERIFY(tree()->updatesEnabled()); // filling must not leave the tree unpainted
    }
    void start() {
        m_form = std::make_unique<TFormMain>();
        auto d = std::make_unique<Dialogs>();
        m_dlg = d.get();
        m_form->SetDialogs(std::move(d));
        m_form->show();
        QVERIFY(m_form->RunStartUp());
    }

private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() { m_course.emplace(); }
    void cleanup() {
        m_form.reset();
        m_course.reset();
    }

    void commands_data() {
        QTest::addColumn<QString>("command"); // a tool button or a menu action
        QTest::addColumn<int>("consoles");
        QTest::addColumn<int>("reports");
        QTest::addColumn<int>("user");
        QTest::addColumn<char>("mode");
        QTest::newRow("choose learner") << "ToolButton3" << 0 << 0 << 0 << 'D';
        QTest::newRow("teacher") << "ToolButton1" << 1 << 0 << 0 << 'D';
        QTest::newRow("report") << "ToolButtonReport" << 0 << 1 << 0 << 'D';
        QTest::newRow("new learner") << "ToolButtonNewUser" << 0 << 0 << 1 << 'B';
        QTest::newRow("work mode") << "NChengReg" << 0 << 0 << 0 << 'B';
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(int, consoles);
        QFETCH(int, reports);
        QFETCH(int, user);
        QFETCH(char, mode);
        m_course->add(QStringLiteral("Ivan"), QStringLiteral("pw"), 'D', {4});
        start();
        if (command != "ToolButton3") m_form->ChangeUser(0);
        m_dlg->selects = {{mrOk, 0}};
        m_dlg->passwords = {{mrOk, QStringLiteral("pw")}};
        m_dlg->newUser = [this] {
            m_course->add(QStringLiteral("Olga"), QString(), 'B', {});
            App().UserUnchanged = false;
        };
        if (auto* action = m_form->findChild<QAction*>(command)) {
            testenv::OnNextModal([](QWidget* w) {
                auto* dlg = qobject_cast<TOKBottomDlgChengeReg*>(w);
                QVERIFY(dlg);
                dlg->RadioButtonB->setChecked(true);
                dlg->OKBtn->click();
            });
            action->trigger();
        } else {
            testui::Child<QToolButton>(m_form.get(), command)->click();
        }
        QCOMPARE(m_dlg->consoles, consoles);
        QCOMPARE(m_dlg->reports, reports);
        QCOMPARE(m_form->Session().CurrentUser(), user);
        QCOMPARE(m_form->Session().CurrentMode(), mode);
        QCOMPARE(m_form->windowTitle(), m_form->Session().TitleText());
        checkTree();
        QVERIFY(m_course->messages.messages.isEmpty());
    }

    // An exercise starts from the tree with the main panel hidden while it
    // runs; the mark made reaches the tree.
    void startFromTree_data() {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("runs");
        QTest::newRow("Enter on an exercise") << 3 << "enter" << 1;
        QTest::newRow("double click on it") << 3 << "double" << 1;
        QTest::newRow("double click below the nodes") << 3 << "below" << 1;
        QTest::newRow("section") << 1 << "double" << 0;
    }
    void startFromTree() {
        QFETCH(int, node);
        QFETCH(QString, how);
        QFETCH(int, runs);
        m_course->add(QStringLiteral("Ivan"), QString(), 'D', {});
        start();
        m_form->ChangeUser(0);
        auto host = std::make_unique<Host>(m_form.get());
        Host* h = host.get();
        h->panel = testui::Child(m_form.get(), QStringLiteral("PanelMain"));
        m_form->SetLaunchHost(std::move(host));
        QTreeWidgetItem* item = NodesInDisplayOrder(tree())[node];
        tree()->setCurrentItem(item);
        const QRect last = tree()->visualItemRect(NodesInDisplayOrder(tree()).last());
        if (how == "enter")
            QTest::keyClick(tree(), Qt::Key_Return);
        else if (how == "double")
            QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {},
                               tree()->visualItemRect(item).center());
        else
            QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {},
                               QPoint(last.center().x(), last.bottom() + 20));
        QCoreApplication::processEvents();
        QCOMPARE(h->runs, runs);
        QCOMPARE(h->panelHidden, runs > 0);
        QVERIFY(h->panel->isVisibleTo(m_form.get()));
        QCOMPARE(m_form->Session().NodeImageOf(4), runs ? 2 : 1);
        checkTree();
    }
};

QTEST_MAIN(TestFormMain)
#include "test_formmain.moc"
