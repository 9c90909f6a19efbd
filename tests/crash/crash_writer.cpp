// Writes one of the program's stored files through the program's own
// writers, for the test that kills it part way.
//
//   crash_writer KIND DIR N      writes version N (0, 1 or 2) once
//   crash_writer KIND DIR loop   prints "ready", then writes versions 1, 2,
//                                1, 2, ... printing "wrote N" after each
//
// KIND is users, recording or timing; DIR is the course directory.
#include "base/errors.h"
#include "base/paths.h"
#include "learners/learnertable.h"
#include "media/audiodevice.h"
#include "media/virtualaudio.h"
#include "media/wavefile.h"
#include "text/lessonfiles.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <QCoreApplication>
#include <QDir>
#include <sndfile.h>
#include <string>

// The versions of a file differ in size as well as content, so a file cut
// short matches none of them.
namespace {

const QString kTemplateFile = QStringLiteral("TSBegin.wav");

void WriteUsers(int v) {
    LearnerTable t;
    for (int i = 0; i < 1 + 2 * v + v / 2; ++i) { // 1, 3, 6 learners
        TUserRec r;
        r.UserName = QStringLiteral("Ученик %1-%2").arg(v).arg(i);
        r.Mode = 'B';
        r.Password = QStringLiteral("p%1").arg(i);
        r.ReportDir = QStringLiteral("Report\\L%1\\").arg(i);
        r.ReportFile = r.ReportDir + QStringLiteral("L%1.rep").arg(i);
        t.Users.append(r);
    }
    t.Save(QStringLiteral("Users.eng"));
}

// A take as the listening practice makes one: the recorder opens the empty
// template, records for a while and saves over the learner's file.
void WriteRecording(int v) {
    if (!QFileInfo::exists(kTemplateFile))
        WriteSilentWave(kTemplateFile, 8000, 1, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0);
    AudioDevice rec;
    rec.setFileName(kTemplateFile);
    rec.open();
    rec.setFileName(NativePath(QStringLiteral("Report\\Ann\\Ann5.wav")));
    rec.setStartPos(0);
    rec.startRecording();
    VirtualAudio::Advance(400 + 1300 * v);
    rec.stop();
    rec.save();
    rec.close();
}

// The learner timing file is written line by line while the learner speaks
// and replaces the old one at the end of the take; the pace differs by version.
void WriteTiming(int v) {
    TLearnerTimingWriter w(QStringLiteral("Report\\Ann\\Ann5.txt"),
                           {"Title", "# a note", "One", "Two", "#", "Three", "Four"});
    w.Begin();
    const qint64 step = 700 + 350 * qint64(v);
    for (int i = 1; i < 4; ++i)
        w.SintagmEnd(i * step);
    w.Finish(4 * step);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::map<std::string, void (*)(int)> kinds{{"users", WriteUsers},
                                                     {"recording", WriteRecording},
                                                     {"timing", WriteTiming}};
    if (argc != 4 || !kinds.count(argv[1]) || !QDir::setCurrent(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "usage: crash_writer users|recording|timing DIR N|loop\n");
        return 2;
    }
    const auto write = kinds.at(argv[1]);
    AudioDevice::SetDefaultBackend(AudioDevice::Backend::Virtual);
    QDir().mkpath(QStringLiteral("Report/Ann"));
    try {
        if (std::strcmp(argv[3], "loop") != 0) {
            write(std::atoi(argv[3]));
            return 0;
        }
        std::printf("ready\n");
        std::fflush(stdout);
        for (int v = 1;; v = 3 - v) {
            write(v);
            std::printf("wrote %d\n", v);
            std::fflush(stdout);
        }
    } catch (const VError& e) {
        std::fprintf(stderr, "crash_writer: %s\n", qPrintable(e.text()));
        return 1;
    }
}
