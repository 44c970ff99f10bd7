// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QThreadPool>
#include <QTimer>

// The only things Velkarn remembers between runs: how loud it plays, whether both ears hear every
// sound, the language and the screen-reader mode chosen in its menus.
struct Settings {
    int volume = 10;
    bool bothEars = false;
    QString language;     // a code such as "en"; empty when none was chosen (the desktop's then)
    QString screenReader; // "auto", "on" or "off"; empty when none was chosen (automatic then)
};

// The settings file, read once at start and written off the window's thread, once for a burst of
// changes. Only a regular file (or none) is used: anything else in its place, or a file far larger
// than settings, gives the defaults, and a FIFO, a device or a folder is never written through.
class SettingsStore
{
public:
    /// Where the program keeps the user's settings: an INI file named by the application id in the
    /// user's settings folder.
    static QString userFile();

    /// Reads the settings kept in the file at path.
    explicit SettingsStore(QString path);
    /// Writes a change not yet written, and waits until it is.
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    /// The kept settings; the defaults when there were none or they could not be read.
    Settings settings() const { return settings_; }
    /// Keeps the settings; the file is replaced whole shortly after the last of several changes.
    void keep(const Settings &settings);

private:
    void write();

    const QString path_;
    Settings settings_;
    QTimer delay_;
    QThreadPool writer_;
};
