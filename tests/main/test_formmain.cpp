// The main window over a small course: the session's results reach the
// title, the tree and the buttons, menus and keys reach the session and the
// launcher, and a broken course stops the start-up.
#include "common/messages.h"
#include "common/testenv.h"
#include "controls/modalresult.h"
#include "controls/ui_hooks.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerlocks.h"
#include "learners/learnertable.h"
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

QList<int> Images(QTreeWidget* tree) {
    QList<int> out;
    for (QTreeWidgetItem* n : NodesInDisplayOrder(tree))
        out << n->data(0, Qt::UserRole).toInt();
    return out;
}

// The program's host with the vocabulary window and the results dialog
// answered by the test.
struct Host : MainLaunchHost {
    using MainLaunchHost::MainLaunchHost;
    QStringList calls;
    int answer = mrOk;
    bool panelHidden = false;
    QWidget* panel = nullptr;
    int RunLexicDemo(int, int, const TLessonFiles& f) override {
        calls << QStringList{f.Text, f.Translation, f.Timing, f.Sound}.join('|');
        panelHidden = panel && !panel->isVisible();
        return 0;
    }
    int ShowLexRepit(const QString&, bool) override { return answer; }
};

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::CourseDir> m_dir;
    std::unique_ptr<TFormMain> m_form;
    Dialogs* m_dlg = nullptr;
    std::unique_ptr<testui::MessageRecorder> m_rec;

    QTreeWidget* tree() { return m_form->findChild<QTreeWidget*>(QStringLiteral("TreeView")); }
    QToolButton* button(const char* name) {
        return m_form->findChild<QToolButton*>(QString::fromLatin1(name));
    }

    // A fresh window over the course; learners are added before start().
    void prepare() {
        m_form.reset();
        ResetAppState();
        CurrentProgress() = ProgressTable{};
        Learners().Users.clear();
        m_dir = std::make_unique<testenv::CourseDir>();
        WriteCourse(*m_dir);
        m_rec.reset();
        m_rec = std::make_unique<testui::MessageRecorder>();
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
    void cleanup() {
        m_form.reset();
        ReleaseLearner(); // before its folder goes with the course
        m_dir.reset();
        m_rec.reset();
    }

    void startUp() {
        prepare();
        start();
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 1, 1}));
        QVERIFY(m_rec->messages.isEmpty());
        QVERIFY(tree()->updatesEnabled()); // filling must not leave the tree unpainted
    }

    void brokenCourse_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << "InitRegC.txt" << QByteArray()
                                 << "InitRegC.txt: File not found";
    }
    void brokenCourse() {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        prepare();
        if (content.isEmpty())
            QFile::remove(m_dir->file(file));
        else
            testenv::WriteBytes(m_dir->file(file), content);
        m_form = std::make_unique<TFormMain>();
        m_form->SetDialogs(std::make_unique<Dialogs>());
        QVERIFY(!m_form->RunStartUp());
        QCOMPARE(m_rec->messages.size(), 1);
        QVERIFY2(m_rec->messages[0].text.startsWith(expected), qPrintable(m_rec->lastText()));
        QCOMPARE(m_rec->messages[0].flags, 0x10);
        // Nothing of the run is saved when it never started.
        m_form->close();
        QVERIFY(!QFile::exists(m_dir->file(QStringLiteral("Users.eng"))));
    }

    // The learner commands reach the session and its dialogs; the result
    // reaches the title and the tree.
    void commands_data() {
        QTest::addColumn<QString>("command"); // a tool button or a menu action
        QTest::addColumn<int>("consoles");
        QTest::addColumn<int>("reports");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("images");
        const QString ivan("Lumora Ivan - Режим D.");
        const QList<int> lesson{0, 0, 0, 2, 1};
        QTest::newRow("choose learner") << "ToolButton3" << 0 << 0 << ivan << lesson;
        QTest::newRow("teacher") << "ToolButton1" << 1 << 0 << ivan << lesson;
        QTest::newRow("report") << "ToolButtonReport" << 0 << 1 << ivan << lesson;
        QTest::newRow("new learner")
            << "ToolButtonNewUser" << 0 << 0 << "Lumora Olga - Режим B." << QList<int>{0, 0, 1};
        QTest::newRow("work mode B")
            << "NChengReg" << 0 << 0 << "Lumora Ivan - Режим B." << QList<int>{0, 0, 1};
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(int, consoles);
        QFETCH(int, reports);
        QFETCH(QString, title);
        QFETCH(QList<int>, images);
        prepare();
        AddLearner(*m_dir, QStringLiteral("Ivan"), QStringLiteral("pw"), 'D', {4});
        start();
        if (command != "ToolButton3") m_form->ChangeUser(0);
        m_dlg->selects = {{mrOk, 0}};
        m_dlg->passwords = {{mrOk, QStringLiteral("pw")}};
        m_dlg->newUser = [this] {
            AddLearner(*m_dir, QStringLiteral("Olga"), QString(), 'B', {});
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
            button(command.toLatin1().constData())->click();
        }
        QCOMPARE(m_dlg->consoles, consoles);
        QCOMPARE(m_dlg->reports, reports);
        QCOMPARE(m_form->windowTitle(), title);
        QCOMPARE(Images(tree()), images);
        QVERIFY(m_rec->messages.isEmpty());
    }

    void startFromTree_data() {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("calls");
        QTest::newRow("Enter on an exercise") << 3 << "enter" << 1;
        QTest::newRow("double click on it") << 3 << "double" << 1;
        QTest::newRow("double click below the nodes") << 3 << "below" << 1;
        QTest::newRow("section") << 1 << "double" << 0;
    }
    void startFromTree() {
        QFETCH(int, node);
        QFETCH(QString, how);
        QFETCH(int, calls);
        prepare();
        AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {});
        start();
        m_form->ChangeUser(0);
        auto host = std::make_unique<Host>(m_form.get());
        Host* h = host.get();
        h->panel = m_form->findChild<QWidget*>(QStringLiteral("PanelMain"));
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
        QCOMPARE(h->calls.size(), calls);
        if (calls) {
            QCOMPARE(h->calls[0], QStringLiteral("DemoData\\L1.lex|DemoData\\L1.ltr|"
                                                 "DemoData\\L1.tim|DemoData\\L1.wav"));
            QVERIFY(h->panelHidden);
        }
        QVERIFY(h->panel->isVisibleTo(m_form.get()));
        // Marked done by the host's answer: the node shows it.
        QCOMPARE(Images(tree()).value(3), calls ? 2 : 1);
        QVERIFY(m_rec->messages.isEmpty());
    }
};

QTEST_MAIN(TestFormMain)
#include "test_formmain.moc"
