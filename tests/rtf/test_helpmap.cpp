#include "base/errors.h"
#include "common/testenv.h"
#include "rtf/helpmap.h"

#include <QDir>
#include <QRegularExpression>
#include <QTextDocument>
#include <QtTest>

namespace {
const QString kHelpDir = QStringLiteral(VANTREL_SOURCE_DIR "/help");

QString pageText(const QString& file) {
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(testenv::ReadBytes(kHelpDir + "/" + file)));
    return doc.toPlainText();
}
} // namespace

class TestHelpMap : public QObject {
    Q_OBJECT

private Q_SLOTS:

    void parse_data() {
        QTest::addColumn<QByteArray>("map");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("bad");

        using L = QList<int>;
        QTest::newRow("number") << QByteArray("10\tmain.html\n") << "10" << QString("main.html")
                                << L{};
        QTest::newRow("keyword") << QByteArray("Lexic\tlexic.html") << "Lexic"
                                 << QString("lexic.html") << L{};
        QTest::newRow("CR LF and blanks")
            << QByteArray("  30\t seluser.html \r\n") << "30" << QString("seluser.html") << L{};
        QTest::newRow("notes skipped") << QByteArray("# 10\tno.html\n\n10\tmain.html\n") << "10"
                                       << QString("main.html") << L{};
        QTest::newRow("first entry wins")
            << QByteArray("10\ta.html\n10\tb.html\n") << "10" << QString("a.html") << L{};
        QTest::newRow("keyword case exact first")
            << QByteArray("report\tlow.html\nReport\tup.html\n") << "Report" << QString("up.html")
            << L{};
        QTest::newRow("keyword other case")
            << QByteArray("Report\tup.html\n") << "REPORT" << QString("up.html") << L{};
        QTest::newRow("no tab") << QByteArray("10 main.html\n") << "10" << QString("") << L{1};
        QTest::newRow("outside the folder")
            << QByteArray("10\t../secret.html\n20\t/etc/x.html\n30\tsub\\x.html\n40\tx.txt\n")
            << "10" << QString("") << L{1, 2, 3, 4};
        QTest::newRow("sub folder allowed")
            << QByteArray("10\tsub/page.htm\n") << "10" << QString("sub/page.htm") << L{};
        QTest::newRow("number out of range")
            << QByteArray("99999999999\tx.html\n") << "99999999999" << QString("") << L{1};
        QTest::newRow("number with letters")
            << QByteArray("10a\tx.html\n") << "10a" << QString("") << L{1};
        QTest::newRow("unknown") << QByteArray("10\tmain.html\n") << "11" << QString("") << L{};
        QTest::newRow("UTF-8 keyword")
            << QByteArray("Помощь\thelp.html\n") << "Помощь" << QString("help.html") << L{};
    }

    void parse() {
        QFETCH(QByteArray, map);
        QFETCH(QString, key);
        QFETCH(QString, file);
        QFETCH(QList<int>, bad);
        const HelpTopicMap m = HelpTopicMap::Parse(map);
        bool isNumber = false;
        const int n = key.toInt(&isNumber);
        QCOMPARE(isNumber ? m.fileForTopic(n) : m.fileForKeyword(key), file);
        QCOMPARE(m.badLines(), bad);
    }

    void missingMap() {
        testenv::CourseDir dir;
        try {
            HelpTopicMap::Load(dir.file("help/topics.txt"));
            QFAIL("no error");
        } catch (const FileError& e) {
            QCOMPARE(e.code(), int(ErrFileNotFound));
        }
    }

    // Every window's number and keyword has its page, and the page names the
    // window's controls as the window captions them.
    void shippedTopics_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("captions");

        auto row = [](const char* key, const char* file, QStringList caps) {
            QTest::newRow(key) << QString(key) << QString(file) << caps;
        };
        row("10", "main.html",
            {"Новое имя", "Выбрать имя", "Преподаватель", "Выполнить", "Отчет", "Выход",
             "Изменить режим...", "О программе..."});
        row("20", "newuser.html",
            {"Имя нового пользователя", "Пароль", "Подтверждение пароля",
             "Режим работы пользователя", "Подтверждение", "Отмена", "Помощь"});
        row("NewUser", "newuser.html", {});
        row("30", "seluser.html",
            {"Выберите имя", "Подтверждение", "Отмена", "Новое имя", "Удалить имя"});
        row("SelUser", "seluser.html", {});
        row("40", "selectreg.html", {"Подтверждние", "Отмена", "Помощь"});
        row("SelectReg", "selectreg.html", {});
        row("60", "prepod.html",
            {"Имя ученика", "Отчет ученика", "Пароль", "Воспроизведение", "Печать",
             "Печать только выполненых", "Изменить пароль", "Выход"});
        row("Prepod", "prepod.html", {});
        row("70", "report.html", {"Удалить звуковой файл", "Помошь", "Закрыть"});
        row("Report", "report.html", {});
        row("80", "lexicdemo.html",
            {"Исходное выражение", "Перевод", "Проиграть", "Далее", "Выход"});
        row("LexicDemo", "lexicdemo.html", {});
        row("90", "password.html", {"OK", "Отмена", "Неправильный пароль"});
        row("100", "questdemo.html", {"Далее", "Осталось", "Всего", "Выход"});
        row("QuestDemo", "questdemo.html", {});
        row("110", "trans110.html", {"Слушать", "Пауза", "Стоп", "Выход"});
        row("120", "questdown.html",
            {"Выберите правильный вариант", "OK", "Осталось", "Ошибок", "1–4"});
        row("QuestEnd", "questdown.html", {});
        row("130", "worktext.html",
            {"С начала", "С фрагмента", "Фрагмент", "Стоп", "Цикл", "Начало", "Окончание",
             "Комментарий", "Показывать текст", "Показывать перевод"});
        row("WorkText", "worktext.html", {});
        row("140", "trans140.html", {"Переводить", "Подождать", "Далее", "Пауза", "Стоп"});
        row("150", "trans150.html", {"Переводить", "Пауза", "Стоп"});
        row("160", "trans160.html", {"Переводить", "Показывать перевод"});
        row("170", "trans170.html", {"Переводить", "Показывать текст"});
        row("180", "listentrans.html", {"Перевод пользователя", "С начала"});
        row("ListenTrans", "listentrans.html", {});
        row("Lexic", "lexic.html",
            {"Исходное выражение", "Выберите правильный перевод", "ОК", "Подтверждение", "Play",
             "Осталось", "Ошибок"});
    }

    void shippedTopics() {
        QFETCH(QString, key);
        QFETCH(QString, file);
        QFETCH(QStringList, captions);
        const HelpTopicMap m = HelpTopicMap::Load(kHelpDir + "/topics.txt");
        QCOMPARE(m.badLines(), QList<int>{});
        bool isNumber = false;
        const int n = key.toInt(&isNumber);
        QCOMPARE(isNumber ? m.fileForTopic(n) : m.fileForKeyword(key), file);
        const QString text = pageText(file);
        QVERIFY2(text.contains("F1"), "every page names the F1 key");
        for (const QString& c : captions)
            QVERIFY2(text.contains(c), qPrintable(file + " lacks " + c));
    }

    // Every page is UTF-8 HTML with a title, every local link leads to a page of
    // the folder, and the contents lists every page.
    void shippedLinks() {
        const QStringList pages = QDir(kHelpDir).entryList({"*.html"}, QDir::Files);
        QVERIFY(pages.contains("index.html"));
        const QString contents = QString::fromUtf8(testenv::ReadBytes(kHelpDir + "/index.html"));
        static const QRegularExpression href("href=\"([^\"#]*)");
        for (const QString& p : pages) {
            const QByteArray bytes = testenv::ReadBytes(kHelpDir + "/" + p);
            const QString html = QString::fromUtf8(bytes);
            QVERIFY2(html.toUtf8() == bytes, qPrintable(p + " is not UTF-8"));
            QVERIFY2(html.contains("<meta charset=\"utf-8\">"), qPrintable(p));
            QVERIFY2(QRegularExpression("<title>[^<]+</title>").match(html).hasMatch(),
                     qPrintable(p));
            for (auto it = href.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(pages.contains(target), qPrintable(p + " links to missing " + target));
            }
            if (p != "index.html")
                QVERIFY2(contents.contains("href=\"" + p + "\""),
                         qPrintable("contents lacks " + p));
        }
    }
};

QTEST_MAIN(TestHelpMap)
#include "test_helpmap.moc"
