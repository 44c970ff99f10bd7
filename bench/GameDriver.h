#pragma once

#include <QObject>
#include <QtGlobal>

#include <atomic>

class frmMain;
class SdlSoundComponent;

// Plays the game the way a child does, one key at a time, and times each key from its arrival
// in the window's key handler to the first mixed samples of the sound it started.
class GameDriver : public QObject
{
    Q_OBJECT

public:
    /// Drives window, whose sounds go through component; listens to the component's mixing.
    GameDriver(frmMain &window, SdlSoundComponent &component);
    ~GameDriver() override;

    /// What one door choice cost.
    struct Choice {
        int room = 0;          // rooms passed before the choice (0 is the first room)
        bool correct = false;  // whether the chosen door was the one that opens
        qint64 keyToSoundNs = 0; // key arrival to the first mixed samples of its announcement
        qint64 cpuNs = 0;      // processor time of the window's thread until all its sounds ended
    };

    /// Chooses the room count on the list and starts the walk (the game must be in that state).
    void StartWalk(int rooms);
    /// Chooses a door in the current room and returns once every sound of the choice has ended.
    Choice ChooseDoor(bool correct);
    /// Returns once the sound the window played last has ended.
    void Settle();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Send(QObject *target, int key);

    frmMain &window_;
    SdlSoundComponent &component_;
    std::atomic<qint64> keyNs_{0};
    std::atomic<qint64> mixNs_{0};
};
