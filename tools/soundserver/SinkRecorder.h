// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GameSeam.h"
#include "PrivateServer.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <numbers>
#include <random>
#include <stdexcept>

#include <pthread.h>

// Listens to the null sink's monitor, joined passively so that the sink may sleep as on a desktop,
// and times every sound the sink plays on the monotonic clock, to the sample. A sample is at the
// sink at the end of the graph cycle that carries it: the earliest a device could begin to play it.
// A native client plays a 10 ms tone from its next cycle on request: the floor, and the calibration
// of the recording, as it knows in which cycle its tone was played.
class SinkRecorder
{
public:
    static constexpr int Rate = 48000;

    struct Sound {
        qint64 startNs = 0; // when its first sample was at the sink
        qint64 lengthNs = 0;
        uint64_t cycle = 0;       // the recorder's cycle that heard it begin
        bool missedCycle = false; // the recorder itself missed a cycle while it sounded
    };

    SinkRecorder()
        : loop_(pw_thread_loop_new("velkarn-recorder", nullptr))
        // PipeWire's real-time client settings, as the game's: on a busy machine the recorder's data
        // thread would otherwise miss cycles and cut sounds that the sink played whole.
        , context_(pw_context_new(pw_thread_loop_get_loop(loop_),
                                  pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr), 0))
        , core_(context_ != nullptr ? pw_context_connect(context_, nullptr, 0) : nullptr)
    {
        if (core_ == nullptr)
            throw std::runtime_error("the recorder cannot reach PipeWire");
        capture_ = newStream(true);
        if (pw_thread_loop_start(loop_) != 0)
            throw std::runtime_error("the recorder's PipeWire loop did not start");
    }
    ~SinkRecorder()
    {
        pw_thread_loop_stop(loop_);
        pw_stream_destroy(capture_);
        pw_core_disconnect(core_);
        pw_context_destroy(context_);
        pw_thread_loop_destroy(loop_);
    }
    SinkRecorder(const SinkRecorder &) = delete;
    SinkRecorder &operator=(const SinkRecorder &) = delete;

    /// The sounds heard whole since the last call.
    std::vector<Sound> take()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(sounds_, {});
    }
    /// When the recorder last heard sound, on the monotonic clock.
    qint64 lastHeardNs() const { return lastHeardNs_; }

    /// Presses the native client's key at random moments; returns key -> sink of each in ms, and
    /// the largest difference between where the recording put a tone and where it was played.
    std::vector<double> pressNative(int presses, qint64 &calibrationErrorNs)
    {
        pw_thread_loop_lock(loop_);
        player_ = newStream(false);
        pw_thread_loop_unlock(loop_);
        // The session manager links both streams to the sink, on a busy machine seconds later.
        const auto state = [this](pw_stream *stream) {
            pw_thread_loop_lock(loop_);
            const pw_stream_state state = pw_stream_get_state(stream, nullptr);
            pw_thread_loop_unlock(loop_);
            return state;
        };
        seam::waitUntil(
            [&] { return state(player_) == PW_STREAM_STATE_STREAMING && state(capture_) >= PW_STREAM_STATE_PAUSED; },
            20'000, "the native client or the recorder was never linked to the sink");
        std::mt19937 random(static_cast<unsigned>(presses));
        std::vector<double> latencies;
        for (int i = 0; i < presses; ++i) {
            seam::stayIdle(20 + int(random() % 20));
            toneCycle_ = 0;
            const qint64 key = seam::nowNs();
            keyNs_ = key;
            // The tone: the first sound heard to begin where it was played, or later, as the recorder
            // places sounds until it is calibrated (it may still bring the end of an earlier tone).
            std::vector<Sound> heard;
            qint64 played = 0;
            const auto tone = [&] {
                return std::find_if(heard.begin(), heard.end(),
                                    [&](const Sound &s) { return s.startNs > played - 2'000'000; });
            };
            seam::waitUntil(
                [&] {
                    const std::vector<Sound> more = take();
                    heard.insert(heard.end(), more.begin(), more.end());
                    played = toneCycle_ + toneFrames_ * FrameNs;
                    return toneCycle_ != 0 && tone() != heard.end();
                },
                10'000, "the native client's tone was never heard");
            const qint64 cycle = toneCycle_;
            const std::lock_guard lock(mutex_);
            // The recorder hears a cycle's sound some cycles later: from the first tone on, each
            // sound is placed in the cycle in which the sink played it.
            for (uint64_t back = 0; lag_ < 0 && back < Cycles; ++back) {
                if (cycles_[(tone()->cycle - back) % Cycles] == cycle)
                    lag_ = static_cast<int>(back);
            }
            if (i > 0)
                calibrationErrorNs = std::max(calibrationErrorNs, std::abs(tone()->startNs - played));
            latencies.push_back(double(played - key) / 1e6);
        }
        pw_thread_loop_lock(loop_);
        pw_stream_destroy(player_); // once it returns, the data thread no longer plays
        player_ = nullptr;
        pw_thread_loop_unlock(loop_);
        if (lag_ < 0)
            throw std::runtime_error("the recording could not be calibrated");
        return latencies;
    }

private:
    static constexpr qint64 FrameNs = 1'000'000'000 / Rate;
    static constexpr float Loud = 1e-3f;          // a sample above this (about -60 dBFS) is sound
    static constexpr int GapFrames = Rate / 2000; // 0.5 ms of silence ends a sound; a 440 Hz tone has none
    static constexpr uint64_t Cycles = 4096;

    // The main thread holds it only for a moment, but may be preempted then by the busy programs: it
    // lends the main thread the waiting data thread's real-time priority.
    class InheritingMutex
    {
    public:
        InheritingMutex()
        {
            pthread_mutexattr_t attributes;
            if (pthread_mutexattr_init(&attributes) != 0)
                throw std::runtime_error("the recorder cannot make its lock");
            const bool made = pthread_mutexattr_setprotocol(&attributes, PTHREAD_PRIO_INHERIT) == 0
                && pthread_mutex_init(&mutex_, &attributes) == 0;
            pthread_mutexattr_destroy(&attributes);
            if (!made)
                throw std::runtime_error("the recorder cannot make its lock");
        }
        ~InheritingMutex() { pthread_mutex_destroy(&mutex_); }
        InheritingMutex(const InheritingMutex &) = delete;
        InheritingMutex &operator=(const InheritingMutex &) = delete;
        void lock() { pthread_mutex_lock(&mutex_); }
        void unlock() { pthread_mutex_unlock(&mutex_); }

    private:
        pthread_mutex_t mutex_;
    };

    pw_stream *newStream(bool capture)
    {
        static const pw_stream_events captureEvents = events(&SinkRecorder::onCapture);
        static const pw_stream_events playEvents = events(&SinkRecorder::onPlay);
        // The recorder asks for the longest cycle, so that it never shortens the graph's, and is
        // passive; the native client asks for the shortest cycle that PipeWire's defaults allow.
        pw_properties *props
            = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, capture ? "Capture" : "Playback",
                                PW_KEY_NODE_LATENCY, capture ? "8192/48000" : "64/48000", nullptr);
        if (capture) {
            pw_properties_set(props, PW_KEY_STREAM_CAPTURE_SINK, "true");
            pw_properties_set(props, PW_KEY_NODE_PASSIVE, "true");
            pw_properties_set(props, PW_KEY_TARGET_OBJECT, PrivateServer::SinkName);
        }
        pw_stream *stream = pw_stream_new(core_, capture ? "velkarn-recorder" : "velkarn-native", props);
        if (stream != nullptr)
            pw_stream_add_listener(stream, capture ? &captureHook_ : &playHook_, capture ? &captureEvents : &playEvents,
                                   this);
        uint8_t buffer[512];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof buffer);
        spa_audio_info_raw info{};
        info.format = SPA_AUDIO_FORMAT_F32;
        info.rate = Rate;
        info.channels = 2;
        const spa_pod *params[] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
        const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS
                                                        | PW_STREAM_FLAG_RT_PROCESS);
        if (stream == nullptr
            || pw_stream_connect(stream, capture ? PW_DIRECTION_INPUT : PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params,
                                 1)
                != 0)
            throw std::runtime_error("cannot connect a PipeWire stream");
        return stream;
    }
    static pw_stream_events events(void (*process)(void *))
    {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.process = process;
        return events;
    }

    static void onCapture(void *data)
    {
        auto *self = static_cast<SinkRecorder *>(data);
        pw_buffer *buffer = pw_stream_dequeue_buffer(self->capture_);
        if (buffer == nullptr)
            return;
        pw_time time{};
        pw_stream_get_time_n(self->capture_, &time, sizeof time);
        const spa_data &d = buffer->buffer->datas[0];
        const auto *samples = static_cast<const float *>(d.data) + d.chunk->offset / sizeof(float);
        const uint32_t frames = d.data == nullptr ? 0 : d.chunk->size / (2 * sizeof(float));
        const std::lock_guard lock(self->mutex_);
        const uint64_t cycle = ++self->heardCycle_;
        // After the graph has rested, or where the recorder missed cycles, the sink ran the cycles
        // just before this one a quantum apart, not when the recorder last ran: a sound that the
        // sink played in its first cycle after a rest belongs there, not seconds earlier.
        const qint64 quantumNs = qint64(frames) * FrameNs;
        if (quantumNs > 0 && time.now - self->cycles_[(cycle - 1) % Cycles] > quantumNs * 3 / 2) {
            if (self->start_.startNs != 0)
                self->start_.missedCycle = true;
            for (int back = 1; back <= self->lag_; ++back)
                self->cycles_[(cycle - back) % Cycles] = time.now - back * quantumNs;
        }
        self->cycles_[cycle % Cycles] = time.now;
        const qint64 played = self->cycles_[(cycle - std::max(self->lag_, 0)) % Cycles] + frames * FrameNs;
        for (uint32_t i = 0; i < frames; ++i) {
            const qint64 at = played + i * FrameNs;
            if (std::max(std::abs(samples[2 * i]), std::abs(samples[2 * i + 1])) > Loud) {
                if (self->start_.startNs == 0)
                    self->start_ = {at, 0, cycle};
                self->lastNs_ = at;
                self->quiet_ = 0;
                self->lastHeardNs_ = seam::nowNs();
            } else if (self->start_.startNs != 0 && ++self->quiet_ == GapFrames) {
                self->start_.lengthNs = self->lastNs_ + FrameNs - self->start_.startNs;
                self->sounds_.push_back(std::exchange(self->start_, {}));
            }
        }
        pw_stream_queue_buffer(self->capture_, buffer);
    }

    static void onPlay(void *data)
    {
        // The data thread: atomics only.
        auto *self = static_cast<SinkRecorder *>(data);
        pw_buffer *buffer = pw_stream_dequeue_buffer(self->player_);
        if (buffer == nullptr)
            return;
        spa_data &d = buffer->buffer->datas[0];
        auto *out = static_cast<float *>(d.data);
        const uint32_t frames = std::min<uint32_t>(buffer->requested > 0 ? buffer->requested : 64, d.maxsize / 8);
        if (self->toneLeft_ == 0 && self->keyNs_.exchange(0) != 0) {
            pw_time time{};
            pw_stream_get_time_n(self->player_, &time, sizeof time);
            self->toneLeft_ = Rate / 100;
            self->toneFrames_ = frames;
            self->toneCycle_ = time.now;
        }
        for (uint32_t i = 0; i < frames && out != nullptr; ++i) {
            const int n = Rate / 100 - self->toneLeft_ + 1;
            out[2 * i] = out[2 * i + 1]
                = self->toneLeft_ > 0 ? 0.5f * std::sin(2 * std::numbers::pi_v<float> * 440 * n / Rate) : 0;
            self->toneLeft_ -= self->toneLeft_ > 0;
        }
        *d.chunk = spa_chunk{0, frames * 8, 8, 0};
        pw_stream_queue_buffer(self->player_, buffer);
    }

    pw_thread_loop *loop_ = nullptr;
    pw_context *context_ = nullptr;
    pw_core *core_ = nullptr;
    pw_stream *capture_ = nullptr;
    pw_stream *player_ = nullptr;
    spa_hook captureHook_{};
    spa_hook playHook_{};
    InheritingMutex mutex_; // guards what follows, up to the atomics
    std::vector<Sound> sounds_;
    std::array<qint64, Cycles> cycles_{};
    uint64_t heardCycle_ = 0;
    int lag_ = -1;
    Sound start_;
    qint64 lastNs_ = 0;
    int quiet_ = 0;
    std::atomic<qint64> lastHeardNs_{0};
    std::atomic<qint64> keyNs_{0};
    std::atomic<qint64> toneCycle_{0};
    std::atomic<qint64> toneFrames_{0};
    int toneLeft_ = 0;
};
