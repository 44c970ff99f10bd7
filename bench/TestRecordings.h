// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTemporaryDir>

// Tones made for the benchmark, and copies of the game program beside catalogues of them (the game
// finds its recordings in "wave" beside its program), in a temporary folder removed on destruction.
struct TestRecordings {
    /// Makes every file from the build folder's recordings and game program; throws
    /// std::runtime_error when one cannot be written.
    explicit TestRecordings(const QString &buildFolder);

    QTemporaryDir dir;
    /// The game with every recording a 10 ms tone.
    QString shortGame;
    /// The game with the build's recordings, except that what a door choice plays (the numbers,
    /// the doors' effects) is a 10 ms tone: start-up as the player has it, door choices quick.
    QString walkGame;
    /// The game with every recording a 10 ms tone but the new game's prompt, waited for, 2 s long.
    QString waitedGame;
};
