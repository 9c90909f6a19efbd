// Creating a learner: the checks in their order, the name filter, the
// learner directory, the progress file, and the dialog around them.
#include "base/errors.h"
#include "common/testenv.h"
#include "course/appstate.h"
#include "course/progress.h"
#include "learners/eng_dlgnewuser.h"
#include "learners/eng_dlgselectuser.h"
#include "learners/learnerops.h"
#include "learners/learnerplace.h"
#include "support_learners.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>

namespace {
const QString kForeign = QStringLiteral("foreign");
const QString kOurs = QStringLiteral("ours");
const QString kShort = QStringLiteral("short");

// Key presses carrying any character, the way a keyboard layout sends them.
void TypeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress,
                        c.isLetterOrNumber() && c.unicode() < 128 ? int(c.toUpper().unicode())
                                                                  : int(Qt::Key_unknown),
                        Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

QByteArray OurProgressFile() {
    ProgressTable t;
    t.Count = 2;
    t.Recs = QList<TProgressRec>(3);
    return EncodeProgressFile(t);
}
} // namespace

class TestNewUser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::PrivateHome(); }
    void init() {
        ResetAppState();
        Learners() = LearnerTable();
    }

    void checksInOrder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<QString>("pass2");
        QTest::addColumn<QString>("path"); // "" = derived from the name, else a marker
        QTest::addColumn<QString>("message");
        const QString taken = QStringLiteral("Такое имя уже есть.");
        const QString dot = QStringLiteral("Имя пользователя не может содержать точку.");
        QTest::newRow("1 existing name") << "Anna"
                                         << ""
                                         << ""
                                         << "" << taken;
        QTest::newRow("1 wins over 2") << "a.b"
                                       << ""
                                       << ""
                                       << "" << taken;
        QTest::newRow("1 is case-sensitive") << "anna"
                                             << ""
                                             << ""
                                             << ""
                                             << "";
        QTest::newRow("2 dot") << "x.y"
                               << ""
                               << ""
                               << "" << dot;
        QTest::newRow("2 wins over 3") << "x./y"
                                       << ""
                                       << ""
                                       << "" << dot;
        QTest::newRow("3 slash") << "x/y"
                                 << ""
                                 << ""
                                 << ""
                                 << "Имя пользователя не может содержать \"/\".";
        QTest::newRow("4 backslash") << "x\\y"
                                     << ""
                                     << ""
                                     << ""
                                     << "Имя пользователя не может содержать \"\\\".";
        QTest::newRow("5 colon") << "x:y"
                                 << ""
                                 << ""
                                 << ""
                                 << "Имя пользователя не может содержать \":\".";
        QTest::newRow("6 empty name") << ""
                                      << "a"
                                      << "b"
                                      << ""
                                      << "Не введено имя пользователя";
        QTest::newRow("7 31 characters") << QString(31, 'n') << ""
                                         << ""
                                         << ""
                                         << "Имя пользователя не может превышать 30 символов";
        QTest::newRow("7 30 characters pass") << QString(30, 'n') << ""
                                              << ""
                                              << ""
                                              << "";
        QTest::newRow("8 confirmation differs") << "Bob"
                                                << "abc"
                                                << "abC"
                                                << ""
                                                << "Не подтвержден пароль";
        QTest::newRow("8 wins over 9") << "Bob" << QString(11, 'p') << "x"
                                       << ""
                                       << "Не подтвержден пароль";
        QTest::newRow("9 11 characters") << "Bob" << QString(11, 'p') << QString(11, 'p') << ""
                                         << "Длина пароля не может превышать 10 символов";
        QTest::newRow("9 10 characters pass") << "Bob" << QString(10, 'p') << QString(10, 'p') << ""
                                              << "";
        QTest::newRow("10 report file taken") << "Bob"
                                              << ""
                                              << ""
                                              << "taken"
                                              << "Этот файл используется другим пользователем";
        QTest::newRow("11 report path empty") << "Bob"
                                              << ""
                                              << ""
                                              << "empty"
                                              << "Не введено имя файла отчета";
        QTest::newRow("12 foreign file")
            << "Bob"
            << ""
            << "" << kForeign << "Файл не является файлом отчета для данного приложения";
        QTest::newRow("12 our progress file") << "Bob"
                                              << ""
                                              << "" << kOurs << "";
        QTest::newRow("unstorable password") << "Bob"
                                             << "密码"
                                             << "密码"
                                             << ""
                                             << "Пароль содержит символы, которые нельзя сохранить";
        QTest::newRow("path too long for the record") << "Bob"
                                                      << ""
                                                      << ""
                                                      << "long"
                                                      << "Путь к файлу отчета длиннее 255 символов";
    }
    void checksInOrder() {
        QFETCH(QString, name);
        QFETCH(QString, pass);
        QFETCH(QString, pass2);
        QFETCH(QString, path);
        QFETCH(QString, message);
        testenv::CourseDir dir;
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", ReportRootPath() + "/Anna/"));
        table.Users.append(MakeUser("a.b", 'B', "", ReportRootPath() + "/a.b/"));
        NewUserInput in;
        in.Name = name;
        in.Password = pass;
        in.Password2 = pass2;
        in.ReportPath = ReportPathFor(name);
        if (path == "taken") in.ReportPath = table.Users[0].ReportFile;
        if (path == "empty") in.ReportPath.clear();
        if (path == "long") in.ReportPath = ReportRootPath() + "/" + QString(250, 'x') + "/B.rep";
        if (path == kForeign) testenv::WriteBytes(in.ReportPath, QByteArray(300, 'f'));
        if (path == kOurs) testenv::WriteBytes(in.ReportPath, OurProgressFile());
        QCOMPARE(CheckNewUser(table, in), message);
    }

    void shortOrBrokenFileAtReportPath_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error"); // empty: no error, check fails normally
        QByteArray sig = OurProgressFile().left(264);
        QByteArray wrongLen = sig;
        wrongLen[8] = char(26);
        QTest::newRow("empty file") << QByteArray() << "Read beyond end of file";
        QTest::newRow("263 bytes of a progress file") << sig.left(263) << "Read beyond end of file";
        QTest::newRow("exactly the header") << sig << "";
        QTest::newRow("signature length byte wrong") << wrongLen << "foreign";
    }
    void shortOrBrokenFileAtReportPath() {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        testenv::CourseDir dir;
        NewUserInput in;
        in.Name = "Bob";
        in.ReportPath = ReportPathFor("Bob");
        testenv::WriteBytes(in.ReportPath, content);
        if (error.isEmpty() || error == "foreign") {
            const QString msg = CheckNewUser(LearnerTable(), in);
            QCOMPARE(msg.isEmpty(), error.isEmpty());
        } else {
            try {
                CheckNewUser(LearnerTable(), in);
                QFAIL("no error for a short file");
            } catch (const FileError& e) {
                QCOMPARE(e.text(), error);
            }
        }
    }

    void learnerDirectory_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("error");
        QTest::newRow("created") << "report"
                                 << "";
        QTest::newRow("exists") << "exists"
                                << "I/O error 183";
        QTest::newRow("no Report folder") << "none"
                                          << "Invalid filename";
    }
    void learnerDirectory() {
        QFETCH(QString, setup);
        QFETCH(QString, error);
        testenv::CourseDir dir;
        if (setup != "none") QDir().mkdir(dir.file("Report"));
        if (setup == "exists") QDir().mkdir(dir.file("Report/Bob"));
        QString got;
        try {
            CreateLearnerDir(ReportPathFor("Bob"));
        } catch (const FileError& e) {
            got = e.text();
        }
        QCOMPARE(got, error);
        QCOMPARE(QFileInfo(dir.file("Report/Bob")).isDir(), setup != "none");
        QVERIFY(!QFileInfo::exists(dir.file("Report/Bob/Bob.rep")));
    }

    void registerWritesOwnTable_data() {
        QTest::addColumn<char>("mode");
        QTest::addColumn<int>("items");
        QTest::newRow("A") << 'A' << 4;
        QTest::newRow("C") << 'C' << 0;
        QTest::newRow("D") << 'D' << 120;
    }
    void registerWritesOwnTable() {
        QFETCH(char, mode);
        QFETCH(int, items);
        testenv::CourseDir dir;
        WriteCourseFiles(4, 2, 0, 120);
        QDir().mkpath(dir.file("Report/Bob"));
        ProgressTable& cur = CurrentProgress();
        cur.Count = 2;
        cur.Recs = QList<TProgressRec>(3);
        cur.Recs[1].Done = 1;
        cur.Recs[2].RecordFile = "mine.wav";
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", "x/"));
        NewUserInput in{"Bob", "pw", "pw", ReportPathFor("Bob"), mode};
        QCOMPARE(RegisterLearner(table, in), 1);
        QCOMPARE(table.Users[1].UserName, QStringLiteral("Bob"));
        QCOMPARE(table.Users[1].Mode, mode);
        QCOMPARE(table.Users[1].ReportDir,
                 ReportRootPath() + QDir::separator() + "Bob" + QDir::separator());
        QVERIFY(!App().UserUnchanged);
        const QByteArray file = testenv::ReadBytes(in.ReportPath);
        QCOMPARE(file.size(), 264 * (items + 1));
        QVERIFY(HasProgressSignature(file.left(264)));
        QCOMPARE(file.mid(264), QByteArray(264 * items, '\0'));
        QCOMPARE(cur.Count, 2);
        QCOMPARE(int(cur.Recs[1].Done), 1);
        QCOMPARE(cur.Recs[2].RecordFile, QStringLiteral("mine.wav"));
        // The new record as it will be stored.
        const QByteArray rec = EncodeUserRec(table.Users[1]);
        QCOMPARE(rec.left(4), QByteArray("\x03"
                                         "Bob"));
        QCOMPARE(rec[31], mode);
        QCOMPARE(rec.mid(32, 3), QByteArray("\x02pw"));
        QCOMPARE(rec.mid(555), QByteArray(5, '\0'));
    }

    void registerFailureLeavesNoLearner() {
        testenv::CourseDir dir;
        // No course structure files: the blank progress cannot be made.
        QDir().mkpath(dir.file("Report/Bob"));
        LearnerTable table;
        table.Users.append(MakeUser("Anna", 'A', "", "x/"));
        NewUserInput in{"Bob", "", "", ReportPathFor("Bob"), 'B'};
        QVERIFY_THROWS_EXCEPTION(FileError, RegisterLearner(table, in));
        QCOMPARE(table.count(), 1);
        QVERIFY(App().UserUnchanged);
        // The empty directory is gone, so the same name can be tried again.
        QVERIFY(!QFileInfo::exists(dir.file("Report/Bob")));
    }

    // A course folder whose path Windows-1251 cannot hold: the learner is
    // stored by the relative path and found again after a restart.
    void reportPathStoredAndFoundAgain_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("relative");
        QTest::newRow("storable path") << "course" << false;
        QTest::newRow("path outside Windows-1251") << QString::fromUtf8("jürgen/курс") << true;
    }
    void reportPathStoredAndFoundAgain() {
        QFETCH(QString, folder);
        QFETCH(bool, relative);
        QTemporaryDir root;
        const QString course = root.filePath(folder);
        QVERIFY(QDir().mkpath(course + "/Report/Bob"));
        const QString old = QDir::currentPath();
        QDir::setCurrent(course);
        WriteCourseFiles(1, 2, 3, 4);
        LearnerTable table;
        MessageRecorder rec;
        QCOMPARE(CheckNewUser(table, {"Bob", "", "", ReportPathFor("Bob"), 'C'}), QString());
        RegisterLearner(table, {"Bob", "", "", ReportPathFor("Bob"), 'C'});
        table.Save();

        LearnerTable again;
        again.Load();
        const TUserRec& u = again.Users.value(0);
        QCOMPARE(u.ReportFile == "Report\\Bob\\Bob.rep", relative);
        QCOMPARE(u.ReportDir == "Report\\Bob\\", relative);
        ProgressTable t;
        ReadProgressCount(LearnerPlaceOf(u).ReportFile, 3, t);
        QVERIFY(t.Complete);
        QCOMPARE(t.RecordsInFile, 3);
        QVERIFY(rec.messages.isEmpty());
        QDir::setCurrent(old);
    }

    // While Users.eng could not be read, a learner made or removed could
    // never be saved: both are refused before anything is asked or done.
    void unreadableListRefusesChanges_data() {
        QTest::addColumn<bool>("deleting");
        QTest::newRow("new learner") << false;
        QTest::newRow("deleting a learner") << true;
    }
    void unreadableListRefusesChanges() {
        QFETCH(bool, deleting);
        testenv::CourseDir dir;
        WriteCourseFiles(1, 1, 1, 1);
        QDir().mkpath(dir.file("Users.eng")); // cannot be read as a file
        QDir().mkpath(dir.file("Report/Anna"));
        MessageRecorder rec;
        TOKBottomDlgSelectUsers dlg; // loads the list, and fails
        QVERIFY(Learners().loadFailed());
        Learners().Users.append(MakeUser("Anna", 'A', "", "Report\\Anna\\"));
        rec.messages.clear();
        bool asked = false;
        testenv::OnNextModal(
            [&](QWidget* w) {
                asked = true;
                w->close();
            },
            300);
        if (deleting)
            dlg.ButtonDelClick();
        else
            dlg.Button1Click();
        QTest::qWait(350);
        QVERIFY(!asked);
        QCOMPARE(rec.messages.size(), 1);
        QVERIFY(rec.lastText().contains("Users.eng"));
        QCOMPARE(Learners().count(), 1);
        QCOMPARE(QDir(dir.file("Report")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{"Anna"});
        // The operations themselves refuse as well.
        QVERIFY_THROWS_EXCEPTION(
            VError, RegisterLearner(Learners(), {"Bob", "", "", ReportPathFor("Bob"), 'A'}));
        QCOMPARE(int(DeleteLearner(Learners(), 0, "", dir.path())),
                 int(DeleteOutcome::ListUnreadable));
        QVERIFY(QFileInfo(dir.file("Report/Anna")).isDir());
    }

    void nameKeys_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("backspace") << 8 << true;
        QTest::newRow("tab") << 9 << false;
        QTest::newRow("30") << 30 << false;
        QTest::newRow("31") << 31 << true;
        QTest::newRow("space") << 32 << true;
        QTest::newRow("z") << int('z') << true;
        QTest::newRow("127") << 127 << true;
        QTest::newRow("128") << 128 << false;
        QTest::newRow("Cyrillic Zhe") << 0x416 << false;
    }
    void nameKeys() {
        QFETCH(int, code);
        QFETCH(bool, accepted);
        QCOMPARE(NameCharAccepted(char16_t(code)), accepted);
        QCOMPARE(TOKBottomDlgNewUser::EditNameUserKeyPress(QChar(code)), accepted);
    }

    void nameFieldTypedAndPasted_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("result");
        QTest::newRow("latin typed") << "Ann 1!"
                                     << ""
                                     << "Ann 1!";
        QTest::newRow("cyrillic typed") << "Анна"
                                        << ""
                                        << "";
        QTest::newRow("mixed typed") << "AЖb"
                                     << ""
                                     << "Ab";
        QTest::newRow("mixed pasted") << ""
                                      << "Анна Ann"
                                      << " Ann";
        QTest::newRow("typed then pasted") << "x"
                                           << "éy"
                                           << "xy";
    }
    void nameFieldTypedAndPasted() {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, result);
        testenv::CourseDir dir;
        TOKBottomDlgNewUser dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.EditNameUser->setFocus();
        TypeText(dlg.EditNameUser, typed);
        if (!pasted.isEmpty()) {
            QGuiApplication::clipboard()->setText(pasted);
            dlg.EditNameUser->paste();
        }
        QCOMPARE(dlg.EditNameUser->text(), result);
        // The path follows the name; nothing typed leaves the initial one.
        QCOMPARE(dlg.EditFileName->text(),
                 result.isEmpty() ? ReportRootPath() : ReportPathFor(result));
    }

    void stendInitialAndEcho() {
        testenv::CourseDir dir;
        TOKBottomDlgNewUser dlg;
        dlg.EditNameUser->setText("Bob");
        dlg.EditPassword->setText("p");
        dlg.EditPassword2->setText("p");
        dlg.RadioButtonC->setChecked(true);
        QCOMPARE(dlg.selectedMode(), 'C');
        QCOMPARE(dlg.EditFileName->text(), dir.path() + "/Report/Bob/Bob.rep");
        dlg.StendInitial();
        QVERIFY(dlg.EditNameUser->text().isEmpty());
        QVERIFY(dlg.EditPassword->text().isEmpty() && dlg.EditPassword2->text().isEmpty());
        QCOMPARE(dlg.selectedMode(), 'A');
        QCOMPARE(dlg.EditFileName->text(), dir.path() + "/Report");
        QVERIFY(ShowsStars(dlg.EditPassword));
        QVERIFY(ShowsStars(dlg.EditPassword2));
        QVERIFY(dlg.EditFileName->isReadOnly());
        dlg.show();
        QVERIFY(!dlg.findChild<QWidget*>("PanelFile")->isVisible());
    }

    // A click on a mode's description picks that mode.
    void modeDescriptionClicked_data() {
        QTest::addColumn<char>("mode");
        QTest::newRow("B") << 'B';
        QTest::newRow("D") << 'D';
    }
    void modeDescriptionClicked() {
        QFETCH(char, mode);
        TOKBottomDlgNewUser dlg;
        auto* label = dlg.findChild<QLabel*>(QStringLiteral("LabelMode") + QChar(mode));
        QVERIFY(label);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(dlg.selectedMode(), mode);
    }

    // Through the dialog (the checks themselves are tested above): a failing
    // check keeps it open with one warning; passing creates the learner
    // directory and closes it.
    void dialogCloseQuery_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("pass2");
        QTest::addColumn<bool>("makeReport");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("flags");
        QTest::newRow("passes") << "Bob"
                                << "pw" << true << "" << 0;
        QTest::newRow("existing name") << "Anna"
                                       << "pw" << true << "Такое имя уже есть." << 0x30;
    }
    void dialogCloseQuery() {
        QFETCH(QString, name);
        QFETCH(QString, pass2);
        QFETCH(bool, makeReport);
        QFETCH(QString, message);
        QFETCH(int, flags);
        testenv::CourseDir dir;
        if (makeReport) QDir().mkdir(dir.file("Report"));
        Learners().Users.append(MakeUser("Anna", 'A', "", "x/"));
        MessageRecorder rec;
        TOKBottomDlgNewUser dlg;
        dlg.show();
        dlg.EditNameUser->setText(name);
        dlg.EditPassword->setText("pw");
        dlg.EditPassword2->setText(pass2);
        dlg.OKBtn->click();
        if (message.isEmpty()) {
            QVERIFY(rec.messages.isEmpty());
            QVERIFY(!dlg.isVisible());
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(QFileInfo(dir.file("Report/Bob")).isDir());
        } else {
            QCOMPARE(rec.messages.size(), 1);
            QCOMPARE(rec.messages[0].text, message);
            QCOMPARE(rec.messages[0].title, QStringLiteral("Ошибка"));
            QCOMPARE(rec.messages[0].flags, flags);
            QVERIFY(dlg.isVisible());
            QCOMPARE(dlg.EditNameUser->text(), name); // contents kept
        }
        // Cancel always closes and creates nothing.
        rec.messages.clear();
        dlg.CancelBtn->click();
        QVERIFY(!dlg.isVisible());
        QVERIFY(rec.messages.isEmpty());
    }

    // The whole procedure from the select dialog's "Новое имя".
    void newLearnerFromSelectDialog() {
        testenv::CourseDir dir;
        WriteCourseFiles(3, 5, 1, 2);
        QDir().mkdir(dir.file("Report"));
        MessageRecorder rec;
        {
            TOKBottomDlgSelectUsers sel;
            QVERIFY(!App().UserUnchanged);
            App().UserUnchanged = true;
            testenv::OnNextModal([](QWidget* w) {
                auto* d = qobject_cast<TOKBottomDlgNewUser*>(w);
                QVERIFY(d);
                QTest::keyClicks(d->EditNameUser, "Bob");
                QTest::keyClicks(d->EditPassword, "pw");
                QTest::keyClicks(d->EditPassword2, "pw");
                d->RadioButtonB->setChecked(true);
                d->OKBtn->click();
            });
            sel.Button1Click();
            QVERIFY(rec.messages.isEmpty());
            QCOMPARE(Learners().count(), 1);
            QCOMPARE(sel.ListBoxUsers->count(), 1);
            QCOMPARE(sel.ListBoxUsers->item(0)->text(), QStringLiteral("Bob - Режим B"));
            QCOMPARE(sel.selectedIndex(), 0);
            QVERIFY(!App().UserUnchanged);
            QCOMPARE(QFileInfo(dir.file("Report/Bob/Bob.rep")).size(), 6 * 264);
            // Cancelling the next one changes nothing.
            App().UserUnchanged = true;
            testenv::OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
            sel.Button1Click();
            QCOMPARE(Learners().count(), 1);
            QVERIFY(App().UserUnchanged);
        }
        // Destroying the dialog wrote the list.
        QCOMPARE(QFileInfo(dir.file("Users.eng")).size(), 560);
        LearnerTable back;
        back.Load();
        QCOMPARE(back.Users[0].UserName, QStringLiteral("Bob"));
        QCOMPARE(back.Users[0].Password, QStringLiteral("pw"));
        QCOMPARE(back.Users[0].ReportFile, ReportPathFor("Bob"));
    }

    void newLearnerWhoseFileFails() {
        testenv::CourseDir dir;
        WriteCourseFiles(3, 3, 3, 3);
        QFile::remove("InitRegC.txt");
        QDir().mkdir(dir.file("Report"));
        MessageRecorder rec;
        TOKBottomDlgSelectUsers sel;
        testenv::OnNextModal([](QWidget* w) {
            auto* d = qobject_cast<TOKBottomDlgNewUser*>(w);
            QTest::keyClicks(d->EditNameUser, "Bob");
            d->RadioButtonC->setChecked(true);
            d->OKBtn->click();
        });
        sel.Button1Click();
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(rec.messages[0].text, QStringLiteral("File not found"));
        QCOMPARE(Learners().count(), 0);
        QCOMPARE(sel.ListBoxUsers->count(), 0);
    }
};

QTEST_MAIN(TestNewUser)
#include "test_newuser.moc"
