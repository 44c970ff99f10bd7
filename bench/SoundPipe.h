// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GameSeam.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>

// A named pipe for SDL's disk audio driver (SDL_DISKAUDIOFILE), which writes the mixed sound into
// it, four buffers at a time. A thread of its own reads it at once, so that the program never waits
// on it, and notes when sound first and last came out.
class SoundPipe
{
public:
    SoundPipe()
    {
        // Opened for writing too, so that opening does not wait for a writer and its going is no end.
        if (!dir_.isValid() || mkfifo(QFile::encodeName(path()).constData(), 0600) != 0
            || (fd_ = open(QFile::encodeName(path()).constData(), O_RDWR | O_CLOEXEC)) < 0)
            throw std::runtime_error("cannot make a pipe for the sound in " + dir_.path().toStdString());
        reader_ = std::thread([this] { read(); });
    }
    ~SoundPipe()
    {
        stop_ = true;
        reader_.join();
        close(fd_);
    }

    QString path() const { return dir_.filePath(QStringLiteral("sound")); }
    /// When the first buffer with sound in it came out; 0 while none has.
    qint64 firstSoundNs() const { return firstNs_; }
    /// When the last buffer with sound in it came out.
    qint64 lastSoundNs() const { return lastNs_; }

private:
    void read()
    {
        char buffer[65536];
        pollfd wait{fd_, POLLIN, 0};
        while (!stop_) {
            if (poll(&wait, 1, 100) <= 0)
                continue;
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got > 0 && std::any_of(buffer, buffer + got, [](char byte) { return byte != 0; })) {
                lastNs_ = seam::nowNs();
                qint64 none = 0;
                firstNs_.compare_exchange_strong(none, lastNs_);
            }
        }
    }

    QTemporaryDir dir_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<qint64> firstNs_{0};
    std::atomic<qint64> lastNs_{0};
    std::thread reader_;
};
