// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordingSession.h"

#include "TakeCleaner.h"
#include "i18n/CutForMessage.h"
#include "sound/SoundComponent.h"
#include "sound/SoundPlayer.h"

#include <QDir>
#include <QSaveFile>

namespace {
// The capture runs this much longer than a phrase may last, for the silence before the voice.
constexpr qint64 LeadMs = 5000;
} // namespace

RecordingSession::RecordingSession(const RecordingStore &store, SoundPlayer &player, SoundComponent &component,
                                   QString language, QObject *parent)
    : QObject(parent)
    , store_(store)
    , player_(player)
    , component_(component)
    , language_(std::move(language))
{
    connect(&capture_, &AudioCapture::levelChanged, this, &RecordingSession::levelChanged);
    connect(&capture_, &AudioCapture::full, this, &RecordingSession::stop);
    connect(&capture_, &AudioCapture::lost, this,
            [this] { endCapture(tr("Mikrofonen forsvant under innspillingen. Ingen innspilling er endret.")); });
    // The take begins once the beep has been heard, so that the beep is not in it.
    connect(&player_, &SoundPlayer::soundEnded, this, [this] {
        if (beeping_ && !player_.isPlaying())
            beginCapture();
    });
}

RecordingSession::~RecordingSession()
{
    component_.closeWave(listening_);
}

qint64 RecordingSession::longestMs() const
{
    return recording_ == Sound::Help ? TakeCleaner::LongestHelpMs : TakeCleaner::LongestPhraseMs;
}

void RecordingSession::record(Sound sound)
{
    if (isRecording())
        return;
    player_.stopAll(); // nothing heard is recorded
    component_.closeWave(std::exchange(listening_, 0));
    take_.clear();
    recording_ = sound;
    beeping_ = true;
    if (!player_.play(Sound::VolumeTick, Side::Centre))
        beginCapture();
}

void RecordingSession::beginCapture()
{
    beeping_ = false;
    if (!capture_.start(longestMs() + LeadMs)) {
        emit recordingStopped();
        emit problem(tr("Fant ingen mikrofon, så ingenting kan spilles inn. Koble til en mikrofon og prøv igjen. "
                        "(%1)")
                         .arg(capture_.error()));
        return;
    }
    emit recordingStarted();
}

void RecordingSession::stop()
{
    if (beeping_) { // stopped before the take began
        beeping_ = false;
        emit recordingStopped();
    } else if (capture_.isRecording()) {
        endCapture({});
    }
}

void RecordingSession::endCapture(const QString &lostText)
{
    const std::vector<qint16> samples = capture_.stop();
    player_.play(Sound::VolumeTick, Side::Centre);
    emit recordingStopped();
    if (!lostText.isEmpty()) {
        emit problem(lostText);
        return;
    }
    std::optional<std::vector<qint16>> cleaned = TakeCleaner::clean(samples, longestMs());
    if (!cleaned) {
        emit problem(tr("Det ble ikke hørt noen stemme i innspillingen. Ingen innspilling er endret; "
                        "snakk nærmere mikrofonen og prøv igjen."));
        return;
    }
    QSaveFile file(takeFolder_.filePath(QStringLiteral("take.wav")));
    const QByteArray bytes = RecordingStore::waveBytes(*cleaned);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qWarning("The take could not be written for listening: %s", qPrintable(file.errorString()));
    take_ = std::move(*cleaned);
    takeSound_ = recording_;
    emit takeReady(takeSound_);
}

void RecordingSession::listen(Sound sound)
{
    if (isRecording())
        return;
    player_.stopAll();
    component_.closeWave(std::exchange(listening_, 0));
    if (take() != sound) {
        player_.play(sound, Side::Centre);
        return;
    }
    listening_ = component_.openWave(takeFolder_.filePath(QStringLiteral("take.wav")));
    component_.startWave(listening_);
}

void RecordingSession::keep()
{
    if (take_.empty())
        return;
    const QString error = store_.save(language_, takeSound_, take_);
    if (!error.isEmpty()) {
        emit problem(error); // the take still waits
        return;
    }
    take_.clear();
    emit recordingsChanged();
    emit done(tr("Innspillingen er lagret. Spillet bruker den nå."));
}

void RecordingSession::restore(Sound sound)
{
    if (!store_.restore(language_, sound)) {
        emit problem(tr("Kunne ikke slette %1.").arg(cutForMessage(store_.path(language_, sound))));
        return;
    }
    emit recordingsChanged();
    emit done(tr("Den innebygde stemmen er tilbake."));
}

void RecordingSession::exportTo(const QString &folder)
{
    const QString error = store_.exportTo(language_, folder);
    if (error.isEmpty())
        emit done(tr("Innspillingene er kopiert til %1.").arg(cutForMessage(QDir::toNativeSeparators(folder))));
    else
        emit problem(error);
}

void RecordingSession::importFrom(const QString &folder)
{
    QStringList refused = store_.importFrom(language_, folder);
    for (QString &name : refused)
        name = cutForMessage(name);
    emit recordingsChanged();
    if (refused.isEmpty()) {
        emit done(tr("Innspillingene er hentet inn."));
        return;
    }
    emit problem(tr("Disse filene ble ikke hentet inn, fordi de ikke er lydfiler Velkarn kan spille, eller ikke "
                    "heter som en av setningene: %1")
                     .arg(refused.join(QStringLiteral(", "))));
}
