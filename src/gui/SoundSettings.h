#pragma once

// The only things Velkarn remembers between runs: how loud it plays and whether both ears hear
// every sound. Kept in the user's settings under the application id.
struct SoundSettings {
    int volume = 10;
    bool bothEars = false;
};

/// The settings kept from the last run; the defaults when there are none or they cannot be read.
SoundSettings LoadSoundSettings();
/// Keeps the settings for the next run; a file that cannot be written is silently left as it is.
void SaveSoundSettings(const SoundSettings &settings);
