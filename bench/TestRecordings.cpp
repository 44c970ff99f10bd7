#include "TestRecordings.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <stdexcept>

namespace {
constexpr int Lengths[] = {1, 2, 10, 60};
const QString Program = QStringLiteral("velkarn-bench-game");

// What a walk through the rooms plays: the numbers, the doors and their effects.
bool PlayedOnAWalk(const QString &name)
{
    static const QStringList effects = {QStringLiteral("door123.wav"), QStringLiteral("door_open.wav"),
                                        QStringLiteral("door_closed.wav"), QStringLiteral("error.wav"),
                                        QStringLiteral("success.wav")};
    return name.startsWith(QStringLiteral("nr")) || effects.contains(name);
}

void Copy(const QString &from, const QString &to)
{
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString() + " to " + to.toStdString());
}
} // namespace

TestRecordings::TestRecordings(const QString &buildFolder)
    : buildFolder_(buildFolder)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    const QString tone = dir_.filePath(QStringLiteral("tone10ms.wav"));
    Tone(tone, 0.01, 44100);
    for (int seconds : Lengths)
        Tone(OfLength(seconds), seconds, 44100); // the rate the build gives every recording
    const QString real = QDir(buildFolder).filePath(QStringLiteral("wave"));
    shortGame_ = Game(QStringLiteral("short"), [&](const QString &) { return tone; });
    walkGame_ = Game(QStringLiteral("walk"), [&](const QString &name) {
        return PlayedOnAWalk(name) ? tone : QDir(real).filePath(name);
    });
    waitedGame_ = Game(QStringLiteral("waited"), [&](const QString &name) {
        return name == QStringLiteral("rooms_select.wav") ? OfLength(2) : tone;
    });
}

QString TestRecordings::Game(const QString &folder, const Choice &source) const
{
    const QDir game(dir_.filePath(folder));
    if (!game.mkpath(QStringLiteral("wave")))
        throw std::runtime_error("cannot make a folder for the test recordings");
    const QStringList names = QDir(QDir(buildFolder_).filePath(QStringLiteral("wave")))
                                  .entryList({QStringLiteral("*.wav")}, QDir::Files);
    if (names.isEmpty())
        throw std::runtime_error("no recordings in " + buildFolder_.toStdString() + "/wave");
    for (const QString &name : names)
        Copy(source(name), game.filePath(QStringLiteral("wave/") + name));
    Copy(QDir(buildFolder_).filePath(Program), game.filePath(Program));
    return game.filePath(Program);
}

QString TestRecordings::OfLength(int seconds, int copy) const
{
    return dir_.filePath(QStringLiteral("length%1s-%2.wav").arg(seconds).arg(copy));
}

void TestRecordings::MakeCopies(int copies) const
{
    for (int seconds : Lengths) {
        for (int copy = 1; copy <= copies; ++copy) {
            if (!QFile::exists(OfLength(seconds, copy)))
                Copy(OfLength(seconds), OfLength(seconds, copy));
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
