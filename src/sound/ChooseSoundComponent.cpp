// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChooseSoundComponent.h"

#include "sdl/SdlSoundComponent.h"
#ifdef VELKARN_PIPEWIRE
#include "pipewire/PipeWireSoundComponent.h"
#endif

#include <QLoggingCategory>

// QT_LOGGING_RULES=velkarn.sound.info=true shows which component plays, and why.
Q_LOGGING_CATEGORY(soundChoice, "velkarn.sound", QtWarningMsg)

std::unique_ptr<SoundComponent> chooseSoundComponent()
{
    const QByteArray wanted = qgetenv("VELKARN_SOUND");
    if (!wanted.isEmpty() && wanted != "pipewire" && wanted != "sdl")
        qCWarning(soundChoice, "VELKARN_SOUND=%s is neither pipewire nor sdl: ignored", wanted.constData());
#ifdef VELKARN_PIPEWIRE
    if (wanted != "sdl") {
        auto pipewire = std::make_unique<PipeWireSoundComponent>();
        if (pipewire->isOpen() || wanted == "pipewire") {
            qCInfo(soundChoice).noquote() << "Sound through PipeWire" << pipewire->openError();
            return pipewire;
        }
        qCInfo(soundChoice).noquote() << "Not through PipeWire:" << pipewire->openError();
    }
#else
    if (wanted == "pipewire")
        qCWarning(soundChoice, "This Velkarn was built without PipeWire: it plays through SDL");
#endif
    qCInfo(soundChoice) << "Sound through SDL";
    return std::make_unique<SdlSoundComponent>();
}
