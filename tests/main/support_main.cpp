#include "support_main.h"

#include "base/cp1251.h"
#include "controls/modalresult.h"
#include "course/appstate.h"
#include "course/progress.h"
#include "learners/learnerlocks.h"
#include "learners/learnertable.h"

#include <QDir>
#include <QImage>

namespace mainfix {
namespace {
// Course lines: caption, child, ref, info kind, info file, exercise kind, four files.
void WriteLines(const QString& file, const QStringList& lines) {
    testenv::WriteBytes(file, EncodeCp1251(lines.join(QStringLiteral("\r\n")) + "\r\n"));
}
} // namespace

Course::Course() {
    ResetAppState();
    CurrentProgress() = ProgressTable{};
    Learners().Load(dir.file(QStringLiteral("none.eng"))); // empty and loaded
    const QString lex = QStringLiteral("L1.lex\tL1.ltr\tL1.wav\tL1.tim\t");
    WriteLines(dir.file(QStringLiteral("InitRegD.txt")),
               {QStringLiteral("Курс, режим D\t1\t0\t0\ttitle.txt\t0\t\t\t\t\t"),
                QStringLiteral("Раздел 1\t1\t1\t0\tsection.txt\t0\t\t\t\t\t"),
                QStringLiteral("Урок 1\t1\t2\t0\tlesson.txt\t0\t\t\t\t\t"),
                QStringLiteral("Лексика урока\t1\t3\t1\tpic.bmp\t1\t") + lex,
                QStringLiteral("Работа с текстом\t0\t4\t0\tlesson.txt\t5\t") + lex});
    for (const char* f : {"InitRegA.txt", "InitRegB.txt", "InitRegC.txt"})
        WriteLines(dir.file(QString::fromLatin1(f)),
                   {QStringLiteral("Курс\t1\t0\t0\ttitle.txt\t0\t\t\t\t\t"),
                    QStringLiteral("Раздел\t1\t1\t0\tsection.txt\t0\t\t\t\t\t"),
                    QStringLiteral("Слушание\t1\t2\t0\tlesson.txt\t8\t") + lex});
    for (const char* page : {"title", "section", "lesson"})
        WriteLines(dir.file(QStringLiteral("DemoData/%1.txt").arg(QLatin1String(page))),
                   {QStringLiteral("Страница ") + QLatin1String(page)});
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    img.save(dir.file(QStringLiteral("DemoData/pic.bmp")), "BMP");
}

Course::~Course() {
    ReleaseLearner(); // before the learner's folder goes with the course
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

TUserRec Course::add(const QString& name, const QString& password, char mode,
                     const QList<int>& done) {
    return AddLearner(dir, name, password, mode, done);
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
