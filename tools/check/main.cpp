// vantrel-check: checks a course directory, or dumps a stored file as JSON.
//   vantrel-check [COURSE_DIR]          findings as "FILE:LINE: message"; exit 0 none, 1 some,
//                                       2 the directory cannot be read
//   vantrel-check --dump KIND FILE...   JSON on stdout; exit 2 when a reader failed
//   vantrel-check --audio ...           timing files against their recordings (check_audio.cpp)
#include "check/registry.h"

#include "base/errors.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTextStream>

namespace {

void printUsage(QTextStream& err) {
    err << "Usage: vantrel-check [COURSE_DIR]\n"
        << "       vantrel-check --dump KIND ARGS...\n";
    for (const auto& c : check::Commands())
        err << "       vantrel-check " << c.Usage << "\n";
    err << "dump kinds:\n";
    for (const auto& d : check::DumpKinds())
        err << "  --dump " << d.Usage << "\n";
}

// --help: the usage above with what each form does; the manual page is made from it.
void printHelp(QTextStream& out) {
    out << "Usage: vantrel-check [COURSE_DIR]\n"
        << "   or: vantrel-check --dump KIND ARGS...\n";
    for (const auto& c : check::Commands())
        out << "   or: vantrel-check " << c.Usage << "\n";
    out << "Checks a Vantrel course directory (default: the current one) and prints each\n"
           "finding as FILE:LINE: message, or prints a stored file of the course as JSON.\n"
           "\n"
           "Options:\n"
           "  --dump KIND ARGS...  read one stored file with the program's own reader and\n"
           "                       print what it holds as JSON on standard output\n";
    for (const auto& c : check::Commands())
        out << "  " << c.Usage << "\n                       " << c.Help << "\n";
    out << "  -h, --help           print this help and exit\n"
           "  --version            print the version and exit\n"
           "\n"
           "Dump kinds and their arguments:";
    QString sep = QStringLiteral(" ");
    for (const auto& d : check::DumpKinds()) {
        out << sep << d.Usage;
        sep = QStringLiteral("; ");
    }
    out << ".\n";
    out << "\n"
           "Exit status: 0 nothing found, 1 findings, 2 the directory or a file cannot be\n"
           "read, 64 a wrong command line.\n";
}

int runDump(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.isEmpty()) {
        printUsage(err);
        return 64;
    }
    for (const auto& d : check::DumpKinds()) {
        if (args[0] != QLatin1String(d.Kind)) continue;
        QJsonObject json;
        QString usage;
        int rc = 0;
        try {
            rc = d.Run(args.mid(1), json, usage);
        } catch (const VError& e) {
            json.insert(QStringLiteral("error"), e.text());
            rc = 2;
        }
        if (rc == 64) {
            err << "usage: vantrel-check --dump " << d.Usage << "\n";
            if (!usage.isEmpty()) err << usage << "\n";
            return 64;
        }
        out << QString::fromUtf8(QJsonDocument(json).toJson(QJsonDocument::Compact)) << "\n";
        return rc;
    }
    err << "vantrel-check: unknown dump kind '" << args[0] << "'\n";
    printUsage(err);
    return 64;
}

int runCheck(const QString& dir, QTextStream& out, QTextStream& err) {
    QFileInfo info(dir);
    if (!info.isDir() || !info.isReadable() || !QDir::setCurrent(dir)) {
        err << "vantrel-check: cannot read the directory " << dir << "\n";
        return 2;
    }
    check::Course course;
    check::Findings findings;
    check::LoadStructure(course, findings);
    for (const auto& c : check::CourseChecks())
        c.Run(course, findings);
    const auto itemChecks = check::ItemChecks();
    for (int m = 0; m < 4; ++m) {
        if (!course.Loaded[m]) continue;
        const QString file = CourseFileName(check::ModeLetter(m));
        for (int i = 1; i < course.Tables[m].size(); ++i) {
            const check::ItemRef ref{check::ModeLetter(m), i, course.Tables[m][i], file};
            for (const auto& c : itemChecks)
                c.Run(course, ref, findings);
        }
    }
    for (const QString& l : findings.Lines())
        out << l << "\n";
    return findings.Empty() ? 0 : 1;
}

check::Command command(const QStringList& args) {
    if (!args.isEmpty())
        for (const auto& c : check::Commands())
            if (args[0] == QLatin1String(c.Option)) return c;
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QStringList args = app.arguments().mid(1);
    int rc;
    if (!args.isEmpty() && (args[0] == "--help" || args[0] == "-h")) {
        printHelp(out);
        rc = 0;
    } else if (!args.isEmpty() && args[0] == "--version") {
        out << "vantrel-check " VANTREL_VERSION "\n";
        rc = 0;
    } else if (!args.isEmpty() && args[0] == "--dump") {
        rc = runDump(args.mid(1), out, err);
    } else if (const auto c = command(args); c.Run) {
        rc = c.Run(args.mid(1), out, err);
    } else if (args.size() > 1) {
        printUsage(err);
        rc = 64;
    } else {
        rc = runCheck(args.isEmpty() ? QStringLiteral(".") : args[0], out, err);
    }
    out.flush();
    err.flush();
    return rc;
}
