// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every recording the game plays, by what it says or does.
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
    Number1, // "one"; Number1 + n - 1 says n, up to 20
    Number20 = Number1 + 19,
};

/// The recording that says n (1 to 20).
constexpr Sound numberSound(int n)
{
    return static_cast<Sound>(static_cast<int>(Sound::Number1) + n - 1);
}

/// Where a sound is heard: door 1 on the left, door 2 in the centre, door 3 on the right.
enum class Side { Left, Centre, Right };

/// Whether what follows a sound waits until it has been heard to its end.
enum class Wait { No, Yes };
