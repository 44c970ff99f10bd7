// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyEvent>

#include <map>

// Tells a key held down from a key pressed again. Qt marks auto-repeat itself where the platform
// says so (Wayland, Windows), but X11 sends each repeat as a release and a press with the same
// timestamp, which Qt flags only when both happen to be queued together: on a busy machine they
// often are not. So a press whose timestamp equals its key's last release is a repeat too.
class HeldKeys
{
public:
    /// Notes that key was let go.
    void released(const QKeyEvent &key) { lastRelease_[key.key()] = key.timestamp(); }
    /// True when the press only repeats a key that is held down.
    bool isRepeat(const QKeyEvent &key) const
    {
        if (key.isAutoRepeat())
            return true;
        const auto release = lastRelease_.find(key.key());
        // A timestamp of 0 says nothing: the program's own events, or a platform without times.
        return release != lastRelease_.end() && key.timestamp() != 0 && release->second == key.timestamp();
    }

private:
    std::map<int, quint64> lastRelease_;
};
