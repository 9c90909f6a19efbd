// The main window over a small course in a temporary directory: titles,
// node images, switching learners, passwords, the teacher command, the
// work mode change and what reaches the progress files.
#include "base/cp1251.h"
#include "controls/ui_hooks.h"
#include "common/testenv.h"
#include "main/coursetree.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/course.h"
#include "course/progress.h"
#include "learners/learnerops.h"
#include "learners/learnertable.h"
#include "main/eng_dlgabout.h"
#include "main/eng_dlgchengreg.h"
#include "main/eng_main.h"
#include "main/mainhost.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

QByteArray Line(const QString& caption, int isChild, int ref, int infoKind, const QString& info,
                int kind, const QString& files = QString()) {
    QString s = QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t")
                    .arg(caption)
                    .arg(isChild)
                    .arg(ref)
                    .arg(infoKind)
                    .arg(info)
                    .arg(kind);
    s += files.isEmpty() ? QStringLiteral("\t\t\t\t") : files;
    return EncodeCp1251(s);
}

// D: root, section, lesson, vocabulary (picture page), text work.
// B: root, section, listening. A and C: root and one exercise.
void WriteCourse(const testenv::CourseDir& dir) {
    const QString lex = QStringLiteral("L1.lex\tL1.ltr\tL1.wav\tL1.tim\t");
    testenv::WriteBytes(
        dir.file(QStringLiteral("InitRegD.txt")),
        testenv::CrLf(
            {Line(QStringLiteral("Курс, режим D"), 1, 0, 0, QStringLiteral("title.txt"), 0),
             Line(QStringLiteral("Раздел 1"), 1, 1, 0, QStringLiteral("section.txt"), 0),
             Line(QStringLiteral("Урок 1"), 1, 2, 0, QStringLiteral("lesson.txt"), 0),
             Line(QStringLiteral("Лексика урока"), 1, 3, 1, QStringLiteral("pic.bmp"), 1, lex),
             Line(QStringLiteral("Работа с текстом"), 0, 4, 0, QStringLiteral("lesson.txt"), 5,
                  lex)}));
    testenv::WriteBytes(
        dir.file(QStringLiteral("InitRegB.txt")),
        testenv::CrLf(
            {Line(QStringLiteral("Курс, режим B"), 1, 0, 0, QStringLiteral("title.txt"), 0),
             Line(QStringLiteral("Раздел"), 1, 1, 0, QStringLiteral("section.txt"), 0),
             Line(QStringLiteral("Слушание"), 1, 2, 0, QStringLiteral("lesson.txt"), 8, lex)}));
    for (const char* f : {"InitRegA.txt", "InitRegC.txt"})
        testenv::WriteBytes(
            dir.file(QString::fromLatin1(f)),
            testenv::CrLf(
                {Line(QStringLiteral("Курс"), 1, 0, 0, QStringLiteral("title.txt"), 0),
                 Line(QStringLiteral("Вопросы"), 1, 1, 0, QStringLiteral("lesson.txt"), 6, lex)}));
    testenv::WriteBytes(dir.file(QStringLiteral("DemoData/title.txt")),
                        EncodeCp1251(QStringLiteral("Титульная страница курса")));
    testenv::WriteBytes(dir.file(QStringLiteral("DemoData/section.txt")),
                        EncodeCp1251(QStringLiteral("Страница раздела")));
    testenv::WriteBytes(dir.file(QStringLiteral("DemoData/lesson.txt")),
                        EncodeCp1251(QStringLiteral("Страница урока")));
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(dir.file(QStringLiteral("DemoData/pic.bmp")), "BMP"));
}

// A learner in the table with a progress file whose records `done` are set.
TUserRec AddLearner(const testenv::CourseDir& dir, const QString& name, const QString& password,
                    char mode, const QList<int>& done) {
    TUserRec u = AnonymousUser();
    u.UserName = name;
    u.Password = password;
    u.Mode = mode;
    u.ReportDir = dir.path() + QStringLiteral("/Report/") + name + QStringLiteral("/");
    u.ReportFile = u.ReportDir + name + QStringLiteral(".rep");
    QDir().mkpath(u.ReportDir);
    ProgressTable p = NewProgress(mode);
    for (int k : done)
        p[k].Done = 1;
    WriteProgress(u.ReportFile, p);
    Learners().Users.append(u);
    return u;
}

struct Dialogs : MainDialogs {
    QList<QPair<int, int>> selects;       // modal result, index
    QList<QPair<int, QString>> passwords; // modal result, typed
    int selectCalls = 0, passwordCalls = 0, consoles = 0, reports = 0;
    QList<int> helpTopics;
    QString teacher;
    std::function<void()> newUser;

    std::function<void()> duringSelect;

    int SelectUsers(int& index) override {
        ++selectCalls;
        if (duringSelect) duringSelect();
        const auto s = selects.isEmpty() ? qMakePair(int(mrCancel), -1) : selects.takeFirst();
        index = s.second;
        return s.first;
    }
    void NewUser() override {
        if (newUser) newUser();
    }
    int PassWord(QString& typed) override {
        ++passwordCalls;
        const auto p =
            passwords.isEmpty() ? qMakePair(int(mrCancel), QString()) : passwords.takeFirst();
        typed = p.second;
        return p.first;
    }
    void SetPassWordHelp(int topic) override { helpTopics << topic; }
    QString TeacherPassword() override { return teacher; }
    void TeacherConsole() override { ++consoles; }
    void Report(const QString&, char) override { ++reports; }
};

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
    int RunLexicDemo(int, int, const QString& f1, const QString& f2, const QString& f4,
                     const QString& f3) override {
        calls << QStringList{f1, f2, f4, f3}.join('|');
        panelHidden = panel && !panel->isVisible();
        return 0;
    }
    int ShowLexRepit(const QString&, bool) override { return answer; }
};

using Selects = QList<QPair<int, int>>;
using Passwords = QList<QPair<int, QString>>;

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT

    std::unique_ptr<testenv::CourseDir> m_dir;
    std::unique_ptr<TFormMain> m_form;
    Dialogs* m_dlg = nullptr;
    QStringList m_messages;

    QTreeWidget* tree() { return m_form->findChild<QTreeWidget*>(QStringLiteral("TreeView")); }
    QToolButton* button(const char* name) {
        return m_form->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QByteArray fileOf(const TUserRec& u) { return testenv::ReadBytes(u.ReportFile); }

    // A fresh window over the course; learners are added before start().
    void prepare() {
        m_form.reset();
        ResetAppState();
        CurrentProgress() = ProgressTable{};
        Learners().Users.clear();
        m_messages.clear();
        m_dir = std::make_unique<testenv::CourseDir>();
        WriteCourse(*m_dir);
        SetXMessageHandler([this](const QString& t, const QString& c, int f) {
            m_messages << QStringLiteral("%1|%2|%3").arg(t, c).arg(f, 0, 16);
            return 1;
        });
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
        m_dir.reset();
        SetXMessageHandler({});
    }

    void startUp() {
        prepare();
        start();
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Lumora Анонимный пользователь - Режим D."));
        auto* strip = m_form->findChild<QWidget*>(QStringLiteral("PanelTitle"));
        QVERIFY(strip);
        QCOMPARE(strip->accessibleName(), m_form->windowTitle());
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 1, 1}));
        QCOMPARE(tree()->topLevelItem(0)->text(0), QStringLiteral("Курс, режим D"));
        QVERIFY(!button("ToolButtonReport")->isEnabled());
        QVERIFY(!button("ToolButton4")->isEnabled());
        auto* rich = m_form->findChild<QTextEdit*>(QStringLiteral("RichEdit1"));
        QCOMPARE(rich->toPlainText(), QStringLiteral("Титульная страница курса"));
        QVERIFY(m_messages.isEmpty());
        QVERIFY(App().TreeReady);
        QVERIFY(tree()->updatesEnabled()); // filling must not leave the tree unpainted
        QCOMPARE(m_form->size().width(), 775);
    }

    // Start-up problems that are no course error: a font that cannot be
    // registered shows nothing; a missing title page is reported once, by name.
    void startUpNotes_data() {
        QTest::addColumn<QString>("font"); // what NFREESET.TTF holds; empty: no file
        QTest::addColumn<bool>("titlePage");
        QTest::addColumn<int>("messages");
        QTest::newRow("no font file") << QString() << true << 0;
        QTest::newRow("font file not a font") << "not a font" << true << 0;
        QTest::newRow("title page missing") << QString() << false << 1;
    }
    void startUpNotes() {
        QFETCH(QString, font);
        QFETCH(bool, titlePage);
        QFETCH(int, messages);
        prepare();
        if (!font.isEmpty())
            testenv::WriteBytes(m_dir->file(QStringLiteral("NFREESET.TTF")), font.toLatin1());
        if (!titlePage) QFile::remove(m_dir->file(QStringLiteral("DemoData/title.txt")));
        start();
        QCOMPARE(m_messages.size(), messages);
        for (const QString& m : m_messages)
            QVERIFY2(m.contains(QStringLiteral("title.txt")), qPrintable(m));
        QVERIFY(App().TreeReady);
    }

    void brokenCourse_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << "InitRegC.txt" << QByteArray()
                                 << "InitRegC.txt: File not found";
        QTest::newRow("bad number")
            << "InitRegB.txt" << QByteArray("Root\t1\tx\t0\t\t0\t\r\n") << "InitRegB.txt, line 1";
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
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].startsWith(expected), qPrintable(m_messages[0]));
        QVERIFY(m_messages[0].endsWith(QStringLiteral("|Ошибка|10")));
        // Nothing of the run is saved when it never started.
        m_form->close();
        QVERIFY(!QFile::exists(m_dir->file(QStringLiteral("Users.eng"))));
    }

    void chooseLearner() {
        prepare();
        const TUserRec u =
            AddLearner(*m_dir, QStringLiteral("Ivan"), QStringLiteral("pw"), 'D', {4});
        start();
        m_dlg->selects = {{mrOk, 0}};
        m_dlg->passwords = {{mrOk, QStringLiteral("pw")}};
        button("ToolButton3")->click();
        QCOMPARE(App().CurrentUser, 0);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Lumora Ivan - Режим D."));
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 2, 1}));
        QVERIFY(button("ToolButtonReport")->isEnabled());
        QVERIFY(m_messages.isEmpty());

        // Selecting exercise and section nodes switches the start button and the page.
        tree()->setCurrentItem(NodesInDisplayOrder(tree())[3]);
        QVERIFY(button("ToolButton4")->isEnabled());
        QVERIFY(m_form->findChild<QLabel*>(QStringLiteral("Image1"))->isVisibleTo(m_form.get()));
        QVERIFY(
            !m_form->findChild<QTextEdit*>(QStringLiteral("RichEdit1"))->isVisibleTo(m_form.get()));
        tree()->setCurrentItem(NodesInDisplayOrder(tree())[1]);
        QVERIFY(!button("ToolButton4")->isEnabled());
        QCOMPARE(m_form->findChild<QTextEdit*>(QStringLiteral("RichEdit1"))->toPlainText(),
                 QStringLiteral("Страница раздела"));

        // Back to the anonymous learner: the file is written once, nothing is read.
        CurrentProgress()[5].Done = 1;
        m_form->ChangeUser(-1);
        ProgressTable expected = NewProgress('D');
        expected[4].Done = 1;
        expected[5].Done = 1;
        QCOMPARE(fileOf(u), EncodeProgressFile(expected));
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 1, 1}));
        QVERIFY(!button("ToolButtonReport")->isEnabled());
        QFile::remove(u.ReportFile);
        m_form->ChangeUser(-1);
        m_form->close();
        QVERIFY(!QFile::exists(u.ReportFile));
        QCOMPARE(int(CurrentProgress()[5].Done), 1); // the table was not read again
        // Users.eng is written at the end.
        QCOMPARE(testenv::ReadBytes(m_dir->file(QStringLiteral("Users.eng"))).size(), 560);
    }

    void selection_data() {
        QTest::addColumn<bool>("withLearner");
        QTest::addColumn<Selects>("selects");
        QTest::addColumn<Passwords>("passwords");
        QTest::addColumn<int>("selectCalls");
        QTest::addColumn<int>("user");
        QTest::addColumn<QStringList>("messages");
        using S = QList<QPair<int, int>>;
        using P = QList<QPair<int, QString>>;
        const QString wrong = QStringLiteral("Неправильный пароль|Ошибка|10");
        QTest::newRow("right password")
            << true << S{{mrOk, 0}} << P{{mrOk, "pw"}} << 1 << 0 << QStringList();
        QTest::newRow("wrong then right")
            << true << S{{mrOk, 0}, {mrOk, 0}} << P{{mrOk, "PW"}, {mrOk, "pw"}} << 2 << 0
            << QStringList{wrong};
        QTest::newRow("wrong then cancel") << true << S{{mrOk, 0}, {mrCancel, -1}} << P{{mrOk, ""}}
                                           << 2 << -1 << QStringList{wrong};
        QTest::newRow("password cancelled")
            << true << S{{mrOk, 0}} << P{{mrCancel, "pw"}} << 1 << -1 << QStringList();
        QTest::newRow("no learners")
            << false << S{{mrOk, -1}, {mrCancel, -1}} << P{} << 2 << -1
            << QStringList{QStringLiteral("Нет ни одного имени|Ошибка|10")};
    }
    void selection() {
        QFETCH(bool, withLearner);
        QFETCH(Selects, selects);
        QFETCH(Passwords, passwords);
        QFETCH(int, selectCalls);
        QFETCH(int, user);
        QFETCH(QStringList, messages);
        prepare();
        if (withLearner) AddLearner(*m_dir, QStringLiteral("Ivan"), QStringLiteral("pw"), 'D', {});
        start();
        m_dlg->selects = selects;
        m_dlg->passwords = passwords;
        m_form->findChild<QAction*>(QStringLiteral("NSelectUser"))->trigger();
        QCOMPARE(m_dlg->selectCalls, selectCalls);
        QCOMPARE(App().CurrentUser, user);
        QCOMPARE(m_messages, messages);
    }

    // A learner created in the selection dialog, then the password
    // cancelled: the current learner stays unless it was deleted there.
    void passwordCancelledAfterChange_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("user");
        QTest::newRow("learner created") << "create" << 0;
        QTest::newRow("current learner deleted") << "delete" << -1;
    }
    void passwordCancelledAfterChange() {
        QFETCH(QString, change);
        QFETCH(int, user);
        prepare();
        AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {4});
        AddLearner(*m_dir, QStringLiteral("Olga"), QStringLiteral("pw"), 'D', {});
        start();
        m_form->ChangeUser(0);
        const QString title = m_form->windowTitle();
        m_dlg->selects = {{mrOk, 0}};
        m_dlg->passwords = {{mrCancel, QString()}};
        m_dlg->duringSelect = [&] {
            if (change == "create")
                AddLearner(*m_dir, QStringLiteral("Petr"), QString(), 'B', {});
            else
                QCOMPARE(DeleteLearner(Learners(), 0, QString(), m_dir->path()),
                         DeleteOutcome::Deleted);
            App().UserUnchanged = false;
        };
        button("ToolButton3")->click();
        QCOMPARE(App().CurrentUser, user);
        if (user >= 0) {
            QCOMPARE(m_form->windowTitle(), title);
            QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 2, 1}));
        } else {
            QCOMPARE(m_form->windowTitle(),
                     QStringLiteral("Lumora Анонимный пользователь - Режим D."));
        }
    }

    void teacher_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Passwords>("passwords");
        QTest::addColumn<int>("prompts");
        QTest::addColumn<int>("consoles");
        QTest::addColumn<QStringList>("messages");
        using P = QList<QPair<int, QString>>;
        QTest::newRow("no password set") << "" << P{} << 0 << 1 << QStringList();
        QTest::newRow("right") << "Sec" << P{{mrOk, "Sec"}} << 1 << 1 << QStringList();
        QTest::newRow("case differs")
            << "Sec" << P{{mrOk, "sec"}} << 1 << 0
            << QStringList{QStringLiteral("Неправильный пароль|Ошибка|10")};
        QTest::newRow("cancelled") << "Sec" << P{{mrCancel, "Sec"}} << 1 << 0 << QStringList();
    }
    void teacher() {
        QFETCH(QString, stored);
        QFETCH(Passwords, passwords);
        QFETCH(int, prompts);
        QFETCH(int, consoles);
        QFETCH(QStringList, messages);
        prepare();
        start();
        m_dlg->teacher = stored;
        m_dlg->passwords = passwords;
        button("ToolButton1")->click();
        QCOMPARE(m_dlg->passwordCalls, prompts);
        QCOMPARE(m_dlg->consoles, consoles);
        QCOMPARE(m_messages, messages);
        QCOMPARE(m_dlg->helpTopics, (QList<int>{90, 0}));
    }

    void report_data() {
        QTest::addColumn<bool>("learner");
        QTest::newRow("learner") << true;
        QTest::newRow("anonymous") << false;
    }
    void report() {
        QFETCH(bool, learner);
        prepare();
        AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {});
        start();
        if (learner) m_form->ChangeUser(0);
        m_form->findChild<QAction*>(QStringLiteral("NReport"))->trigger();
        QCOMPARE(m_dlg->reports, learner ? 1 : 0);
    }

    void newLearner() {
        prepare();
        AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {4});
        start();
        m_form->ChangeUser(0);
        CurrentProgress()[5].Done = 1;
        m_dlg->newUser = [this] {
            AddLearner(*m_dir, QStringLiteral("Olga"), QString(), 'B', {});
            App().UserUnchanged = false;
        };
        button("ToolButtonNewUser")->click();
        QCOMPARE(App().CurrentUser, 1);
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Lumora Olga - Режим B."));
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 1}));
        // The learner left kept the mark made in memory.
        ProgressTable ivan;
        ReadProgress(Learners().Users[0].ReportFile, 'D', ivan);
        QCOMPARE(int(ivan[5].Done), 1);
        // Cancelling the new-learner dialog changes nothing.
        m_dlg->newUser = {};
        button("ToolButtonNewUser")->click();
        QCOMPARE(App().CurrentUser, 1);
    }

    void workModeChange_data() {
        QTest::addColumn<bool>("learner");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("images");
        QTest::newRow("learner confirms B")
            << true << true << "Lumora Ivan - Режим B." << QList<int>{0, 0, 1};
        QTest::newRow("learner cancels")
            << true << false << "Lumora Ivan - Режим D." << QList<int>{0, 0, 0, 2, 1};
        QTest::newRow("anonymous confirms B")
            << false << true << "Lumora Анонимный пользователь - Режим B." << QList<int>{0, 0, 1};
        QTest::newRow("anonymous cancels")
            << false << false << "Lumora Анонимный пользователь - Режим D."
            << QList<int>{0, 0, 0, 1, 1};
    }
    void workModeChange() {
        QFETCH(bool, learner);
        QFETCH(bool, confirm);
        QFETCH(QString, title);
        QFETCH(QList<int>, images);
        prepare();
        const TUserRec u = AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {4});
        start();
        if (learner) m_form->ChangeUser(0);
        const QByteArray before = fileOf(u);
        testenv::OnNextModal([confirm](QWidget* w) {
            auto* dlg = qobject_cast<TOKBottomDlgChengeReg*>(w);
            QVERIFY(dlg);
            dlg->RadioButtonB->setChecked(true);
            (confirm ? dlg->OKBtn : dlg->CancelBtn)->click();
        });
        m_form->findChild<QAction*>(QStringLiteral("NChengReg"))->trigger();
        QCOMPARE(m_form->windowTitle(), title);
        QCOMPARE(Images(tree()), images);
        if (learner && confirm) {
            QCOMPARE(Learners().Users[0].Mode, 'B');
            QCOMPARE(fileOf(u), EncodeProgressFile(NewProgress('B')));
        } else {
            QCOMPARE(fileOf(u), before);
            QCOMPARE(Learners().Users[0].Mode, 'D');
        }
        // The choice is kept for the next opening.
        QCOMPARE(m_form->ChengeRegDialog()->SelectedMode(), 'B');
    }

    // Confirming the present mode still throws the marks away.
    void sameModeEmpties() {
        prepare();
        const TUserRec u = AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {4, 5});
        start();
        m_form->ChangeUser(0);
        testenv::OnNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<TOKBottomDlgChengeReg*>(w);
            dlg->RadioButtonD->setChecked(true);
            dlg->OKBtn->click();
        });
        m_form->NChengRegClick();
        QCOMPARE(fileOf(u), EncodeProgressFile(NewProgress('D')));
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 1, 1}));
    }

    void unreadableProgress_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("shorter than its header")
            << QByteArray(100, '\0') << "Read beyond end of file|Ошибка|10";
        QTest::newRow("missing") << QByteArray() << "File not found|Ошибка|10";
    }
    void unreadableProgress() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        prepare();
        const TUserRec u = AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {});
        AddLearner(*m_dir, QStringLiteral("Olga"), QString(), 'D', {4});
        if (content.isEmpty())
            QFile::remove(u.ReportFile);
        else
            testenv::WriteBytes(u.ReportFile, content);
        start();
        m_dlg->selects = {{mrOk, 0}};
        m_dlg->passwords = {{mrOk, QString()}};
        m_form->NSelectUserClick();
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].startsWith(message.section('|', 0, 0)), qPrintable(m_messages[0]));
        QVERIFY(!CurrentProgress().Complete);
        // Work goes on without the learner; the file is never replaced.
        QCOMPARE(App().CurrentUser, -1);
        QVERIFY(App().TreeReady);
        m_form->ChangeUser(1);
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 2, 1}));
        m_form->ChangeUser(-1);
        m_form->close();
        QCOMPARE(testenv::ReadBytes(u.ReportFile), content);
        QCOMPARE(QFile::exists(u.ReportFile), !content.isEmpty());
    }

    // A course that grew since the learner's file was written: the learner
    // is told once, with the information icon, and works on with the
    // progress kept; the old file stays beside as .bak.
    void grownCourseToldOnce() {
        prepare();
        const TUserRec u = AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {4});
        const QByteArray shorter = fileOf(u).left(5 * 264); // header and items 1-4
        testenv::WriteBytes(u.ReportFile, shorter);
        start();
        m_form->ChangeUser(0);
        m_form->ChangeUser(0); // the file written on leaving holds every item now
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].contains(QStringLiteral("Ivan.rep.bak")));
        QVERIFY(m_messages[0].endsWith(QStringLiteral("|40")));
        QCOMPARE(App().CurrentUser, 0);
        QCOMPARE(Images(tree()), (QList<int>{0, 0, 0, 2, 1}));
        QCOMPARE(testenv::ReadBytes(u.ReportFile + QStringLiteral(".bak")), shorter);
        QCOMPARE(fileOf(u).size(), 6 * 264);
    }

    void closingSaves() {
        prepare();
        const TUserRec u = AddLearner(*m_dir, QStringLiteral("Ivan"), QString(), 'D', {});
        start();
        m_form->ChangeUser(0);
        CurrentProgress()[4].Done = 1;
        button("ToolButtonExit")->click();
        ProgressTable expected = NewProgress('D');
        expected[4].Done = 1;
        QCOMPARE(fileOf(u), EncodeProgressFile(expected));
        QCOMPARE(testenv::ReadBytes(m_dir->file(QStringLiteral("Users.eng"))), Learners().Encode());
    }

    void chengeRegTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("A") << "LabelModeA"
                           << "Для наиболее подготовленных пользователей. Тренажер по синхронному "
                              "переводу наиболее трудных текстов курса.";
        QTest::newRow("B") << "LabelModeB"
                           << "Для подготовленных пользователей. Тренажер по синхронному переводу "
                              "текстов средней трудности.";
        QTest::newRow("C") << "LabelModeC"
                           << "Для пользователей, ставящих задачу совершенствования восприятия на "
                              "слух немецкой речи. Будут проработаны все тексты курса и выполнены "
                              "тесты на понимание. Содержит элементы тренажера по синхронному "
                              "переводу.";
        QTest::newRow("D") << "LabelModeD"
                           << "Наиболее легкий режим. Предоставляет те же возможности, что и режим "
                              "C, но здесь пользователь перед каждым текстом проходит "
                              "предварительную подготовку по предстоящим лексическим трудностям.";
        QTest::newRow("warning") << "LabelWarning"
                                 << "Внимание !!!";
        QTest::newRow("warning text") << "LabelWarningText"
                                      << "При изменении режима информация о ранее выполненных "
                                         "упражнениях будет удалена.";
    }
    void chengeRegTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        TOKBottomDlgChengeReg dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Изменить режим"));
        QCOMPARE(dlg.size(), QSize(627, 399));
        // Everything fits the fixed size: nothing is cut off.
        const QSize need = dlg.layout()->totalHeightForWidth(627) > 0
                               ? QSize(627, dlg.layout()->totalHeightForWidth(627))
                               : dlg.layout()->totalMinimumSize();
        QVERIFY2(need.height() <= 399, qPrintable(QString::number(need.height())));
        if (qEnvironmentVariableIsSet("VANTREL_SHOT_DIR")) {
            dlg.show();
            QTest::qWait(50);
        }
        if (qEnvironmentVariableIsSet("VANTREL_SHOT_DIR"))
            dlg.grab().save(qEnvironmentVariable("VANTREL_SHOT_DIR") + "/chengereg.png");
        QCOMPARE(dlg.RadioGroup1->title(), QStringLiteral("Режим работы пользователя"));
        QCOMPARE(dlg.SelectedMode(), 'A');
        QCOMPARE(dlg.OKBtn->text(), QStringLiteral("Подтверждние"));
        auto* label = dlg.findChild<QLabel*>(name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QString keyword;
        SetHelpHandlers({}, [&keyword](const QString& k) { keyword = k; });
        dlg.BitBtn3->click();
        SetHelpHandlers({}, {});
        QCOMPARE(keyword, QStringLiteral("SelectReg"));
    }

    void startFromTree_data() {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("calls");
        QTest::addColumn<QList<int>>("images");
        QTest::newRow("Enter on an exercise") << 3 << "enter" << 1 << QList<int>{0, 0, 0, 2, 1};
        QTest::newRow("double click on it") << 3 << "double" << 1 << QList<int>{0, 0, 0, 2, 1};
        QTest::newRow("double click below the nodes")
            << 3 << "below" << 1 << QList<int>{0, 0, 0, 2, 1};
        QTest::newRow("menu item") << 3 << "menu" << 1 << QList<int>{0, 0, 0, 2, 1};
        QTest::newRow("section") << 1 << "double" << 0 << QList<int>{0, 0, 0, 1, 1};
    }
    void startFromTree() {
        QFETCH(int, node);
        QFETCH(QString, how);
        QFETCH(int, calls);
        QFETCH(QList<int>, images);
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
        else if (how == "below")
            QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {},
                               QPoint(last.center().x(), last.bottom() + 20));
        else
            m_form->findChild<QAction*>(QStringLiteral("N9"))->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(h->calls.size(), calls);
        if (calls) {
            QCOMPARE(h->calls[0], QStringLiteral("DemoData\\L1.lex|DemoData\\L1.ltr|"
                                                 "DemoData\\L1.tim|DemoData\\L1.wav"));
            QVERIFY(h->panelHidden);
        }
        QVERIFY(h->panel->isVisibleTo(m_form.get()));
        QCOMPARE(Images(tree()), images);
        QVERIFY(m_messages.isEmpty());
    }

    void menus() {
        prepare();
        start();
        QStringList seen;
        for (QAction* top : m_form->menuBar()->actions()) {
            seen << top->text();
            for (QAction* a : top->menu()->actions())
                seen << (a->isSeparator() ? "-" : a->text());
        }
        QCOMPARE(seen, (QStringList{"Пользователь", "Новое имя...", "Выбрать имя...",
                                    "Изменить режим...", "-", "Преподаватель...", "-", "Выход",
                                    "Приступить к работе", "Выполнить...", "Отчет...", "Помощь",
                                    "Помощь...", "-", "О программе..."}));
        QStringList buttons;
        for (QToolButton* b : m_form->findChildren<QToolButton*>())
            if (b->objectName().startsWith(QStringLiteral("ToolButton"))) buttons << b->text();
        QCOMPARE(buttons, (QStringList{"Новое имя", "Выбрать имя", "Преподаватель", "Выполнить",
                                       "Отчет", "Выход"}));
        QCOMPARE(m_form->AboutDialog()->PageControl1->count(), 3);
        if (qEnvironmentVariableIsSet("VANTREL_SHOT_DIR")) {
            m_form->AboutDialog()->show();
            QTest::qWait(50);
            m_form->AboutDialog()->grab().save(qEnvironmentVariable("VANTREL_SHOT_DIR") +
                                               "/about.png");
            m_form->AboutDialog()->hide();
        }
        int topic = -1;
        SetHelpHandlers([&topic](int t) { topic = t; }, {});
        m_form->findChild<QAction*>(QStringLiteral("N2"))->trigger();
        QCOMPARE(topic, 10);
        SetHelpHandlers({}, {});
    }
};

QTEST_MAIN(TestFormMain)
#include "test_formmain.moc"
