#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>

// Wave files made for the benchmark with sox, and copies of the game program beside catalogues of
// them (the game finds its recordings in "wave" beside its program), in a temporary folder removed
// on destruction.
class TestRecordings
{
public:
    /// Makes every file at once from the build folder's recordings and game program; throws
    /// std::runtime_error when sox is missing or fails, or a file cannot be copied.
    explicit TestRecordings(const QString &buildFolder);

    /// The game with every recording a 10 ms tone.
    QString ShortGame() const { return shortGame_; }
    /// The game with the build's recordings, except that what a walk plays (the numbers, the
    /// doors' effects) is a 10 ms tone: start-up as the player has it, door choices quick.
    QString WalkGame() const { return walkGame_; }
    /// The game with every recording a 10 ms tone but the new game's prompt, which is waited for,
    /// 2 s long.
    QString WaitedGame() const { return waitedGame_; }
    /// A recording of the given length in seconds, at the rate the build gives every recording.
    QString OfLength(int seconds, int copy = 0) const;
    /// Makes copies of each length so that opening each copy is an open never seen before.
    void MakeCopies(int copies) const;

private:
    using Choice = std::function<QString(const QString &name)>;

    /// A folder holding the game program and a "wave" folder with, for each of the build's
    /// recordings, the file source chooses for its name; returns the program's path.
    QString Game(const QString &folder, const Choice &source) const;
    void Tone(const QString &path, double seconds, int rate) const;

    QTemporaryDir dir_;
    QString buildFolder_;
    QString shortGame_;
    QString walkGame_;
    QString waitedGame_;
};
