// vantrel-align: the timing file of a lesson from its text and recording.
//   vantrel-align TEXT SOUND [-o TIMING] [--force]
// exit 0 written, 1 the timing file exists (nothing written), 2 an input
// could not be used or the output not written, 64 a wrong command line.
#include "align/aligner.h"

#include "base/errors.h"
#include "base/paths.h"
#include "base/textfile.h"

#include <cstdio>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#ifdef _WIN32
#include <io.h>
#define VANTREL_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define VANTREL_ISATTY(f) isatty(fileno(f))
#endif

namespace {

constexpr int kLeastSure = 5;

void usage(QTextStream& s) {
    s << "Usage: vantrel-align TEXT SOUND [-o TIMING] [--force]\n"
         "Makes a lesson's timing file (the range of each sintagm in its recording)\n"
         "from the lesson's text and its recording.\n"
         "\n"
         "  TEXT        the lesson text file (Windows-1251, one sintagm a line)\n"
         "  SOUND       its recording (a wave file; any rate, mono or stereo)\n"
         "  -o TIMING   the timing file to write; default: TEXT with the extension .tim\n"
         "              (L1.txt gives L1.tim)\n"
         "  --force     replace an existing timing file (atomically)\n"
         "  -h, --help  print this help and exit\n"
         "  --version   print the version and exit\n";
}

QString clock(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// The first words of a sintagm, for the summary.
QString excerpt(const QString& line) {
    return line.size() <= 48 ? line : line.left(45) + QStringLiteral("...");
}

class Bar {
public:
    explicit Bar(bool on) : m_on(on) {}
    void Show(double f) {
        if (!m_on) return;
        const int pct = int(f * 100 + 0.5);
        if (pct == m_last) return;
        m_last = pct;
        const int filled = pct * 30 / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", QByteArray(filled, '#').constData(),
                     QByteArray(30 - filled, '.').constData(), pct);
        std::fflush(stderr);
    }
    void Done() {
        if (m_on && m_last >= 0) std::fprintf(stderr, "\r%50s\r", "");
    }

private:
    bool m_on;
    int m_last = -1;
};

int run(const QStringList& args, QTextStream& out, QTextStream& err) {
    QString text, sound, timing;
    bool force = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--force") {
            force = true;
        } else if (a == "-o") {
            if (++i >= args.size()) {
                err << "vantrel-align: -o needs a file name\n";
                usage(err);
                return 64;
            }
            timing = args[i];
        } else if (a.startsWith('-') && a.size() > 1) {
            err << "vantrel-align: unknown option " << a << "\n";
            usage(err);
            return 64;
        } else if (text.isEmpty()) {
            text = a;
        } else if (sound.isEmpty()) {
            sound = a;
        } else {
            usage(err);
            return 64;
        }
    }
    if (sound.isEmpty()) {
        usage(err);
        return 64;
    }
    if (timing.isEmpty()) timing = DefaultTimingName(text);
    const auto same = [](const QString& a, const QString& b) {
        return QFileInfo(NativePath(a)).absoluteFilePath() ==
               QFileInfo(NativePath(b)).absoluteFilePath();
    };
    if (same(timing, text) || same(timing, sound)) {
        err << "vantrel-align: the timing file " << timing << " would replace an input file\n";
        return 64;
    }
    if (!force && PathExists(timing)) {
        err << "vantrel-align: " << timing << " exists; nothing written (--force replaces it)\n";
        return 1;
    }

    QStringList lines;
    try {
        lines = ReadTextLines(text);
    } catch (const VError& e) {
        err << "vantrel-align: " << text << ": " << e.text() << "\n";
        return 2;
    }
    TAlignParams params;
    TSound rec;
    try {
        rec = ReadSoundMono(sound, params.RateHz, &params.OriginalRate);
    } catch (const FileError& e) {
        err << "vantrel-align: " << sound << ": " << e.text() << "\n";
        return 2;
    } catch (const VError& e) {
        err << "vantrel-align: " << e.text() << "\n";
        return 2;
    }

    QElapsedTimer clockTimer;
    clockTimer.start();
    Bar bar(VANTREL_ISATTY(stderr));
    TAlignment a;
    try {
        a = AlignLesson(lines, rec, params, [&bar](double f) { bar.Show(f); });
    } catch (const VError& e) {
        bar.Done();
        err << "vantrel-align: " << text << ": " << e.text() << "\n";
        return 2;
    }
    bar.Done();
    try {
        if (!WriteTimingFile(timing, TimingFileBytes(lines, a.Timing), force)) {
            err << "vantrel-align: " << timing
                << " exists; nothing written (--force replaces it)\n";
            return 1;
        }
    } catch (const VError& e) {
        err << "vantrel-align: " << timing << ": " << e.text() << "\n";
        return 2;
    }

    out << timing << ": " << a.Sintagms << " sintagms of " << lines.size() << " lines aligned to "
        << clock(rec.LengthMs()) << " of recording in "
        << QString::number(clockTimer.elapsed() / 1000.0, 'f', 1) << " s\n";
    out << "least sure (line, confidence 0..1):\n";
    for (int line : a.LeastSure(kLeastSure))
        out << "  " << qSetFieldWidth(4) << line << qSetFieldWidth(0) << "  "
            << QString::number(a.Confidence[line], 'f', 2) << "  " << excerpt(lines[line - 1])
            << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments().mid(1);
    int rc;
    if (args.contains("--help") || args.contains("-h")) {
        usage(out);
        rc = 0;
    } else if (args.contains("--version")) {
        out << "vantrel-align " VANTREL_VERSION "\n";
        rc = 0;
    } else {
        rc = run(args, out, err);
    }
    out.flush();
    err.flush();
    return rc;
}
