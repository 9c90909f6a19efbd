#pragma once
// Short recordings with known sintagm ranges for the aligner's tests: the
// lesson lines spoken by a flite voice through tools/align/make-eval-set,
// the generator the benchmark uses too. NAME.txt, NAME.wav and NAME.truth
// (the true ranges as a timing file) land in `dir`.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace flitesample {

struct Sample {
    QString Text, Wave, Truth;
};

// Empty `error` on success.
inline Sample Make(const QString& dir, const QString& name, const QStringList& lines, int seed,
                   QString& error, const QString& voice = QStringLiteral("slt")) {
    const QString input = dir + "/in-" + name + ".txt";
    QFile f(input);
    if (!f.open(QIODevice::WriteOnly)) {
        error = "cannot write " + input;
        return {};
    }
    for (const QString& l : lines)
        f.write(l.toLatin1() + "\r\n");
    f.close();
    QProcess p;
    p.start(QStringLiteral("python3"),
            {QStringLiteral(VANTREL_SOURCE_DIR "/tools/align/make-eval-set"), "--out", dir,
             "--text", input, "--name", name, "--voices", voice, "--stretch", "1.0", "--seed",
             QString::number(seed)});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error = "make-eval-set failed: " + QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    const QString base = dir + "/" + name;
    return {base + ".txt", base + ".wav", base + ".truth"};
}

} // namespace flitesample
