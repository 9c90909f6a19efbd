#pragma once
// Short recordings with known sintagm ranges for the aligner's tests: the
// lesson lines spoken by a flite voice through tools/align/make-eval-set,
// the generator the benchmark uses too. NAME.txt, NAME.wav and NAME.truth
// (the true ranges as a timing file) land in `dir`.
#include "common/testenv.h"

#include <QProcess>

namespace flitesample {

struct Sample {
    QString Text, Wave, Truth;
    QString Error; // empty on success
};

inline Sample Make(const QString& dir, const QString& name, const QStringList& lines, int seed,
                   const QString& voice = QStringLiteral("slt")) {
    const QString input = dir + "/in-" + name + ".txt";
    testenv::WriteBytes(input, (lines.join("\r\n") + "\r\n").toLatin1());
    QProcess p;
    p.start(QStringLiteral("python3"),
            {QStringLiteral(VANTREL_SOURCE_DIR "/tools/align/make-eval-set"), "--out", dir,
             "--text", input, "--name", name, "--voices", voice, "--stretch", "1.0", "--seed",
             QString::number(seed)});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {{}, {}, {}, "make-eval-set failed: " + QString::fromUtf8(p.readAllStandardError())};
    const QString base = dir + "/" + name;
    return {base + ".txt", base + ".wav", base + ".truth", {}};
}

} // namespace flitesample
