// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/Velkarn.h"
#include "sound/sdl/SdlSoundComponent.h"
#include "support/TypeKey.h"

#include <QEventLoop>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <chrono>
#include <memory>
#include <stdexcept>

// The one place where the benchmark and the sound-server tool reach into the game: they build its
// window as the program does and type on it as a keyboard would. Everything else they measure
// from outside, or through the sound component's public interface.
namespace seam {

/// Nanoseconds on the monotonic clock, the one PipeWire and every process here share.
inline qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

/// Runs the event loop for milliseconds, blocking as it does when nothing happens.
inline void stayIdle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

/// Runs the event loop until done() holds; throws what when it does not within timeoutMs.
template<typename Done> void waitUntil(Done done, int timeoutMs, const char *what)
{
    for (const qint64 end = nowNs() + qint64(timeoutMs) * 1'000'000; !done(); stayIdle(2)) {
        if (nowNs() > end)
            throw std::runtime_error(what);
    }
}

/// This process and every program it starts keep their settings in a fresh folder, never in the
/// user's own, and speak Norwegian, whatever the desktop's language. Call first in main().
inline void leaveTheUsersHomeAlone()
{
    static const QTemporaryDir home;
    if (!home.isValid())
        throw std::runtime_error("no temporary folder for the game's settings");
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qputenv(name, QFile::encodeName(home.path()));
    qputenv("LANG", "C.UTF-8");
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        qunsetenv(name);
}

/// The game as the program builds it, playing through component with the recordings beside this
/// program and its settings in a temporary folder: shown, greeting the player.
inline std::unique_ptr<Velkarn> startGame(SoundComponent &component)
{
    static const QTemporaryDir settings;
    auto game = std::make_unique<Velkarn>(component, Velkarn::Places{.settings = settings.filePath("settings.ini")});
    game->start();
    return game;
}

/// True while the game shows the doors of a walk. Else starts one through the most rooms from the
/// room-count list, as Enter on it does, and returns false.
inline bool walks(QWidget &game)
{
    auto *list = game.findChild<QListWidget *>(QStringLiteral("roomCountList"));
    if (list == nullptr || !list->isVisible())
        return true; // the doors are shown instead
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentRow(list->count() - 1);
    TypeKey(game, Qt::Key_Return);
    return false;
}

// A bare window that plays one recording through the sound component at every key: what any
// program pays for the same sound, the floor the game is measured against.
class BareWindow : public QWidget
{
public:
    BareWindow(SoundComponent &component, const QString &recording)
        : component_(component)
        , wave_(component.openWave(recording))
    {
        if (wave_ < 0)
            throw std::runtime_error("cannot open " + recording.toStdString());
    }
    void play() { component_.startWave(wave_); }

protected:
    void keyPressEvent(QKeyEvent *) override { play(); }

private:
    SoundComponent &component_;
    qint32 wave_;
};

} // namespace seam
