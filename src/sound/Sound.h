// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every recording the game plays, by what it says or does. A new sound goes above Number1, so that
// the numbers stay last and in order, and gets its file in SoundCatalogue (the compiler asks for it).
enum class Sound {
    Welcome,
    ChooseRoomCount,
    ChooseDoor,
    YouAreInRoom,
    Of,
    Help,
    DoorOpen,
    DoorClosed,
    Error,
    Success,
    VolumeTick,
    Number1, // "one"
    Number2,
    Number3,
    Number4,
    Number5,
    Number6,
    Number7,
    Number8,
    Number9,
    Number10,
    Number11,
    Number12,
    Number13,
    Number14,
    Number15,
    Number16,
    Number17,
    Number18,
    Number19,
    Number20,
};

/// How many sounds there are: the last one is Number20.
constexpr int SoundCount = static_cast<int>(Sound::Number20) + 1;
/// The highest number that has a recording.
constexpr int HighestNumber = static_cast<int>(Sound::Number20) - static_cast<int>(Sound::Number1) + 1;
static_assert(HighestNumber == 20, "the numbers are in order, one to twenty");

/// The recording that says n (1 to HighestNumber).
constexpr Sound numberSound(int n)
{
    return static_cast<Sound>(static_cast<int>(Sound::Number1) + n - 1);
}

/// Where a sound is heard: door 1 on the left, door 2 in the centre, door 3 on the right.
enum class Side { Left, Centre, Right };

/// Whether what follows a sound waits until it has been heard to its end.
enum class Wait { No, Yes };
