#pragma once

#include <QString>
#include <QTemporaryDir>

// Wave files made for the benchmark with sox, in a temporary folder removed on destruction.
class TestRecordings
{
public:
    /// Makes every file at once; throws std::runtime_error when sox is missing or fails.
    explicit TestRecordings(const QString &realRecordings);

    /// A program folder whose "wave" folder holds the game's whole catalogue as 10 ms tones.
    QString ShortCatalogueRoot() const { return dir_.path(); }
    /// A recording of the given length in seconds, speech-like: 22,050 Hz mono.
    QString OfLength(int seconds, int copy = 0) const;
    /// Makes copies of each length so that opening each copy is an open never seen before.
    void MakeCopies(int copies) const;

private:
    void Tone(const QString &path, double seconds, int rate) const;

    QTemporaryDir dir_;
};
