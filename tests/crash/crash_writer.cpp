// Writes one of the program's stored files through the program's own
// writers, for the test that kills it part way.
//
//   crash_writer KIND DIR N      writes version N (0, 1 or 2) once
//   crash_writer KIND DIR loop   prints "ready", then writes versions 1, 2,
//                                1, 2, ... printing "wrote N" after each
//
// KIND is users, progress, recording or timing; DIR is the course directory.
#include "crash_files.h"

#include "base/errors.h"
#include "base/paths.h"
#include "course/progress.h"
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

namespace {

void WriteUsers(int v) {
    LearnerTable t;
    t.Users = crashfiles::UsersVersion(v);
    t.Save(crashfiles::kUsersFile);
}

void WriteProgressVersion(int v) {
    WriteProgress(crashfiles::kProgressFile, crashfiles::ProgressVersion(v));
}

// A take as the listening practice makes one: the recorder opens the empty
// template, records for a while and saves over the learner's file.
void WriteRecording(int v) {
    if (!QFileInfo::exists(crashfiles::kTemplateFile))
        WriteSilentWave(crashfiles::kTemplateFile, crashfiles::kRate, 1,
                        SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0);
    AudioDevice rec;
    rec.setFileName(crashfiles::kTemplateFile);
    rec.open();
    rec.setFileName(NativePath(crashfiles::kRecordingFile));
    rec.setStartPos(0);
    rec.startRecording();
    VirtualAudio::Advance(crashfiles::RecordingMs(v));
    rec.stop();
    rec.save();
    rec.close();
}

// The learner timing file is written line by line while the learner speaks
// and replaces the old one at the end of the take.
void WriteTiming(int v) {
    TLearnerTimingWriter w(crashfiles::kTimingFile, crashfiles::TimingLessonText());
    w.Begin();
    const QList<qint64> ends = crashfiles::TimingEnds(v);
    for (int i = 0; i + 1 < ends.size(); ++i)
        w.SintagmEnd(ends[i]);
    w.Finish(ends.last());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::map<std::string, void (*)(int)> kinds{{"users", WriteUsers},
                                                     {"progress", WriteProgressVersion},
                                                     {"recording", WriteRecording},
                                                     {"timing", WriteTiming}};
    if (argc != 4 || !kinds.count(argv[1]) || !QDir::setCurrent(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "usage: crash_writer users|progress|recording|timing DIR N|loop\n");
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
