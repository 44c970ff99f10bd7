#include "TestRecordings.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace {
constexpr int Lengths[] = {1, 2, 10, 60};
} // namespace

TestRecordings::TestRecordings(const QString &realRecordings)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    const QDir wave(dir_.filePath(QStringLiteral("wave")));
    if (!wave.mkpath(QStringLiteral(".")))
        throw std::runtime_error("cannot make the short catalogue's folder");
    const QString tone = dir_.filePath(QStringLiteral("tone10ms.wav"));
    Tone(tone, 0.01, 44100);
    const QStringList names = QDir(realRecordings).entryList({QStringLiteral("*.wav")}, QDir::Files);
    if (names.isEmpty())
        throw std::runtime_error("no recordings in " + realRecordings.toStdString());
    for (const QString &name : names) {
        if (!QFile::copy(tone, wave.filePath(name)))
            throw std::runtime_error("cannot copy the short tone");
    }
    for (int seconds : Lengths)
        Tone(OfLength(seconds), seconds, 44100); // the rate the build gives every recording
}

QString TestRecordings::OfLength(int seconds, int copy) const
{
    return dir_.filePath(QStringLiteral("length%1s-%2.wav").arg(seconds).arg(copy));
}

void TestRecordings::MakeCopies(int copies) const
{
    for (int seconds : Lengths) {
        for (int copy = 1; copy <= copies; ++copy) {
            if (!QFile::exists(OfLength(seconds, copy)) && !QFile::copy(OfLength(seconds), OfLength(seconds, copy)))
                throw std::runtime_error("cannot copy a recording");
        }
    }
}

void TestRecordings::Tone(const QString &path, double seconds, int rate) const
{
    QProcess sox;
    sox.start(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QString::number(rate),
                                      QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-b"), QStringLiteral("16"),
                                      path, QStringLiteral("synth"), QString::number(seconds),
                                      QStringLiteral("sine"), QStringLiteral("440")});
    if (!sox.waitForFinished(60'000) || sox.exitStatus() != QProcess::NormalExit || sox.exitCode() != 0)
        throw std::runtime_error("sox could not make " + path.toStdString() + ": "
                                 + sox.readAllStandardError().toStdString() + sox.errorString().toStdString());
}
