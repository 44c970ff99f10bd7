// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <set>

struct pw_context;
struct pw_core;
struct pw_registry;
struct pw_stream;
struct pw_thread_loop;
struct spa_source;
class VoiceMixer;

// The connection to the PipeWire server and the one playback stream (48 kHz stereo) that the
// mixer fills from PipeWire's real-time thread. Made and used on the component's thread; its
// signals are emitted on PipeWire's own thread, so they are to be connected queued.
class PipeWireOutput final : public QObject
{
    Q_OBJECT

public:
    static constexpr int Rate = 48000;

    /// Connects to the server and makes the stream, resting until setActive(true). Asks the server
    /// for cycles of quantumFrames frames. Fails (see error()) where no server with an audio output answers.
    PipeWireOutput(VoiceMixer &mixer, int quantumFrames, QObject *parent = nullptr);
    ~PipeWireOutput() override;
    PipeWireOutput(const PipeWireOutput &) = delete;
    PipeWireOutput &operator=(const PipeWireOutput &) = delete;

    /// Why there is no stream; empty when it was made.
    QString error() const { return error_; }
    /// Lets the stream run, mixing every cycle, or rest, costing nothing.
    void setActive(bool active);

signals:
    /// A sound has ended, or let go of after it was stopped, in the mix.
    void soundsEnded();
    /// The server has gone; nothing is played from now on. Emitted once.
    void lost();

private:
    struct Hooks;
    struct Callbacks; // PipeWire's events, on its threads
    class Lock;

    bool waitFor(bool (PipeWireOutput::*done)() const);
    bool answered() const { return answered_ || failed_; }
    bool streamReady() const { return streamState_ != Connecting; }
    bool linked() const;
    bool connect();
    bool makeStream(int quantumFrames);

    VoiceMixer &mixer_;
    std::unique_ptr<Hooks> hooks_;
    pw_thread_loop *loop_ = nullptr;
    pw_context *context_ = nullptr;
    pw_core *core_ = nullptr;
    pw_registry *registry_ = nullptr;
    pw_stream *stream_ = nullptr;
    spa_source *ended_ = nullptr;
    QString error_;
    // Written on PipeWire's thread under the loop's lock.
    int syncSeq_ = 0;
    bool answered_ = false;
    bool failed_ = false;
    int sinks_ = 0;
    std::set<uint32_t> linkedNodes_;     // nodes with an output linked
    static constexpr int Connecting = 1; // pw_stream_state's value
    int streamState_ = Connecting;
    std::atomic<bool> lost_{false};
};
