#include "support_main.h"

#include "base/cp1251.h"
#include "controls/modalresult.h"
#include "course/progress.h"
#include "learners/learnertable.h"

#include <QDir>
#include <QImage>

namespace mainfix {
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
} // namespace

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
    img.save(dir.file(QStringLiteral("DemoData/pic.bmp")), "BMP");
}

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
    Learners().Save(); // other programs' changes are merged over the list on disk
    return u;
}

int Dialogs::SelectUsers(int& index) {
    ++selectCalls;
    if (duringSelect) duringSelect();
    const auto s = selects.isEmpty() ? qMakePair(int(mrCancel), -1) : selects.takeFirst();
    index = s.second;
    return s.first;
}

void Dialogs::NewUser() {
    if (newUser) newUser();
}

int Dialogs::PassWord(QString& typed) {
    ++passwordCalls;
    const auto p =
        passwords.isEmpty() ? qMakePair(int(mrCancel), QString()) : passwords.takeFirst();
    typed = p.second;
    return p.first;
}

} // namespace mainfix
