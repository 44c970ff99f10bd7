#pragma once

#include <QString>

// What the rules need of the main window: showing and hiding its controls, reading the list and
// keeping the sound settings.
class GameView
{
public:
    virtual ~GameView() = default;

    /// Hides the prompt, the room-count list and the three door buttons.
    virtual void HideAll() = 0;
    /// Shows the prompt and the room-count list.
    virtual void ShowRoomCount() = 0;
    /// Shows the three door buttons.
    virtual void ShowDoors() = 0;
    /// Index of the selected room count (0 is "3").
    virtual int LevelIndex() const = 0;
    /// Text of the selected room count.
    virtual QString LevelText() const = 0;
    /// The volume or one-ear mode has changed: remember them for the next run.
    virtual void KeepSoundSettings(int volume, bool bothEars) = 0;
};
