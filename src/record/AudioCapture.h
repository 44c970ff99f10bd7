// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

// Records from the default microphone through SDL at 48 kHz, mono, 16-bit. SDL's audio thread only
// appends to the take under a lock; this object's thread watches it and tells how loud it is, when
// it is full and when the microphone has gone.
class AudioCapture : public QObject
{
    Q_OBJECT

public:
    explicit AudioCapture(QObject *parent = nullptr);
    ~AudioCapture() override;

    /// Starts a take of at most longestMs; false, with error() saying why, when there is no microphone.
    bool start(qint64 longestMs);
    /// Ends the take (if any) and returns what was recorded.
    std::vector<qint16> stop();
    /// True between start() and stop().
    bool isRecording() const { return device_ != 0; }
    /// Why the last start() failed.
    QString error() const { return error_; }

signals:
    /// How loud the voice was since the last report: 0 (silence) to 100 (full scale).
    void levelChanged(int percent);
    /// The take has reached its longest: stop() now.
    void full();
    /// The microphone went away during the take; what was recorded is kept until stop().
    void lost();

private:
    static void receiveOnAudioThread(void *self, quint8 *bytes, int length);
    void watch();

    quint32 device_ = 0;
    bool subsystem_ = false;
    QString error_;
    QTimer watcher_;
    std::mutex mutex_;
    std::vector<qint16> take_; // guarded by mutex_
    size_t longest_ = 0;       // set before the device opens
    std::atomic<int> peak_{0};
    size_t lastSize_ = 0;
    int quietWatches_ = 0;
};
