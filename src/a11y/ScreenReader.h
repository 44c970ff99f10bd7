// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <optional>

class ScreenReaderStatus;

// Whether the game is played with a screen reader: as the desktop reports (automatic, the
// default), or as a teacher has chosen (on, off).
class ScreenReader : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Automatic, On, Off };

    /// The mode written "auto", "on" or "off" (a launcher's argument, the kept setting); none otherwise.
    static std::optional<Mode> modeFromName(const QString &name);
    /// How the mode is written: "auto", "on" or "off".
    static QString modeName(Mode mode);

    /// Watches the desktop's screen reader, in automatic mode.
    explicit ScreenReader(QObject *parent = nullptr);
    ~ScreenReader() override;

    Mode mode() const { return mode_; }
    void setMode(Mode mode);
    /// Whether the game now plays along with a screen reader.
    bool isActive() const;

signals:
    /// The game now plays along with a screen reader (true) or alone (false).
    void activeChanged(bool active);

private:
    void update();

    ScreenReaderStatus *status_;
    Mode mode_ = Mode::Automatic;
    bool active_ = false;
};
