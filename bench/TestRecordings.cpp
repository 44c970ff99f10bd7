// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestRecordings.h"

#include "support/WaveFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <functional>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {
// A folder holding the game program and a "wave" folder with, for each of the build's recordings,
// the file source chooses for its name (every language's set, "en/nr1.wav" in wave/en); returns the
// program's path.
QString copyGame(const QDir &build, const QDir &game, const std::function<QString(const QString &)> &source)
{
    const QString program = u"velkarn-bench-game"_s;
    const QDir wave(build.filePath(u"wave"_s));
    QStringList names;
    for (QDirIterator it(wave.path(), {u"*.wav"_s}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        names << wave.relativeFilePath(it.next());
    if (names.isEmpty() || !game.mkpath(u"wave"_s))
        throw std::runtime_error("no recordings in " + build.path().toStdString() + "/wave, or no folder for copies");
    const auto copy = [](const QString &from, const QString &to) {
        if (!QFile::copy(from, to))
            throw std::runtime_error("cannot copy " + from.toStdString() + " to " + to.toStdString());
    };
    copy(build.filePath(program), game.filePath(program));
    for (const QString &name : names) {
        if (!game.mkpath(QFileInfo(u"wave/"_s + name).path()))
            throw std::runtime_error("no folder for the copies of " + name.toStdString());
        copy(source(name), game.filePath(u"wave/"_s + name));
    }
    return game.filePath(program);
}
} // namespace

TestRecordings::TestRecordings(const QString &buildFolder)
{
    const auto write = [](const QString &path, const QByteArray &bytes) {
        if (!WriteBytes(path, bytes))
            throw std::runtime_error("cannot write " + path.toStdString());
    };
    // Mono, 16 bits, at the rate the build gives every recording.
    const QString tone = dir.filePath(u"tone10ms.wav"_s);
    const QString prompt = dir.filePath(u"tone2s.wav"_s);
    write(tone, WaveBytes(10));
    write(prompt, WaveBytes(2'000));
    // What a door choice plays: the numbers, the doors and their effects.
    const QStringList walkSounds
        = {u"door123.wav"_s, u"door_open.wav"_s, u"door_closed.wav"_s, u"error.wav"_s, u"success.wav"_s};
    const QDir build(buildFolder);
    const QDir tmp(dir.path());
    shortGame = copyGame(build, tmp.filePath(u"short"_s), [&](const QString &) { return tone; });
    walkGame = copyGame(build, tmp.filePath(u"walk"_s), [&](const QString &name) {
        const QString file = QFileInfo(name).fileName();
        return file.startsWith(u"nr"_s) || walkSounds.contains(file) ? tone : build.filePath(u"wave/"_s + name);
    });
    waitedGame = copyGame(build, tmp.filePath(u"waited"_s),
                          [&](const QString &name) { return name == u"rooms_select.wav"_s ? prompt : tone; });
}
