// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SoundComponent.h"

#include <memory>

/// The component the game plays through: PipeWire's own where a PipeWire server with an audio
/// output answers, SDL's otherwise (PulseAudio or ALSA only, Windows). VELKARN_SOUND=pipewire or
/// VELKARN_SOUND=sdl chooses one whatever answers.
std::unique_ptr<SoundComponent> chooseSoundComponent();
