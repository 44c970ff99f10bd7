// SPDX-License-Identifier: GPL-3.0-or-later
#include "PipeWireOutput.h"

#include "VoiceMixer.h"
#include "info/AppInfo.h"

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>
#include <spa/support/thread.h>

#include <QByteArray>

#include <pthread.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// How long the server may take to answer and to make the stream, at start.
constexpr int64_t AnswerLimitNs = 2'000'000'000;
constexpr quint32 FrameBytes = 2 * sizeof(float);
} // namespace

struct PipeWireOutput::Hooks {
    spa_hook core{};
    spa_hook registry{};
    spa_hook stream{};
};

// Holds the loop's lock: PipeWire's objects are used on the component's thread only under it.
class PipeWireOutput::Lock
{
public:
    explicit Lock(pw_thread_loop *loop)
        : loop_(loop)
    {
        pw_thread_loop_lock(loop_);
    }
    ~Lock() { pw_thread_loop_unlock(loop_); }
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

private:
    pw_thread_loop *loop_;
};

struct PipeWireOutput::Callbacks {
    // PipeWire's real-time thread: mixes one cycle and only signals the loop when a sound ended.
    static void process(void *data)
    {
        auto *self = static_cast<PipeWireOutput *>(data);
        pw_buffer *buffer = pw_stream_dequeue_buffer(self->stream_);
        if (buffer == nullptr)
            return;
        spa_data &out = buffer->buffer->datas[0];
        if (out.data != nullptr) {
            const auto room = out.maxsize / FrameBytes;
            const auto frames
                = static_cast<quint32>(buffer->requested > 0 ? std::min<uint64_t>(buffer->requested, room) : room);
            if (self->mixer_.mix(static_cast<float *>(out.data), frames))
                pw_loop_signal_event(pw_thread_loop_get_loop(self->loop_), self->ended_);
            *out.chunk = spa_chunk{0, frames * FrameBytes, static_cast<int32_t>(FrameBytes), 0};
        }
        pw_stream_queue_buffer(self->stream_, buffer);
    }

    // The loop's thread, from here on.
    static void soundsEnded(void *data, uint64_t /*count*/) { emit static_cast<PipeWireOutput *>(data)->soundsEnded(); }
    static void streamState(void *data, pw_stream_state /*old*/, pw_stream_state state, const char * /*error*/)
    {
        auto *self = static_cast<PipeWireOutput *>(data);
        self->streamState_ = state;
        if (state == PW_STREAM_STATE_ERROR || state == PW_STREAM_STATE_UNCONNECTED)
            lose(self);
        pw_thread_loop_signal(self->loop_, false);
    }
    static void coreDone(void *data, uint32_t id, int seq)
    {
        auto *self = static_cast<PipeWireOutput *>(data);
        if (id == PW_ID_CORE && seq == self->syncSeq_) {
            self->answered_ = true;
            pw_thread_loop_signal(self->loop_, false);
        }
    }
    static void coreError(void *data, uint32_t id, int /*seq*/, int res, const char * /*message*/)
    {
        // The connection itself broke: the server has gone (an error of one object is no loss).
        auto *self = static_cast<PipeWireOutput *>(data);
        if (id == PW_ID_CORE && res == -EPIPE) {
            self->failed_ = true;
            lose(self);
            pw_thread_loop_signal(self->loop_, false);
        }
    }
    static void global(void *data, uint32_t /*id*/, uint32_t /*permissions*/, const char *type, uint32_t /*version*/,
                       const spa_dict *props)
    {
        auto *self = static_cast<PipeWireOutput *>(data);
        const char *from = props != nullptr ? spa_dict_lookup(props, PW_KEY_LINK_OUTPUT_NODE) : nullptr;
        if (std::strcmp(type, PW_TYPE_INTERFACE_Link) == 0 && from != nullptr) {
            self->linkedNodes_.insert(static_cast<uint32_t>(std::strtoul(from, nullptr, 10)));
            pw_thread_loop_signal(self->loop_, false);
        }
        // An audio output: a sound card's, a network sink or a null sink. Not "auto_null", the stand-in
        // that the session manager makes where the server has none (where it carries only video).
        const char *mediaClass = props != nullptr ? spa_dict_lookup(props, PW_KEY_MEDIA_CLASS) : nullptr;
        const char *name = props != nullptr ? spa_dict_lookup(props, PW_KEY_NODE_NAME) : nullptr;
        if (std::strcmp(type, PW_TYPE_INTERFACE_Node) == 0 && mediaClass != nullptr
            && (std::strcmp(mediaClass, "Audio/Sink") == 0 || std::strcmp(mediaClass, "Audio/Duplex") == 0)
            && (name == nullptr || std::strcmp(name, "auto_null") != 0))
            ++self->sinks_;
    }

    // The loop's thread, asked once the stream is made: real-time at the lowest priority, so that on
    // a busy machine it answers the server at once when the stream wakes for the first sound after a
    // rest. It only passes messages and always waits again; the mixing thread keeps its higher priority.
    static int hurry(spa_loop * /*loop*/, bool /*async*/, uint32_t /*seq*/, const void * /*data*/, size_t /*size*/,
                     void *user)
    {
        // The context's own way, which asks RTKit where the user may not raise a priority himself.
        auto *utils = static_cast<spa_thread_utils *>(
            pw_context_get_object(static_cast<pw_context *>(user), SPA_TYPE_INTERFACE_ThreadUtils));
        int lowest = 0;
        int highest = 0;
        if (utils != nullptr && spa_thread_utils_get_rt_range(utils, nullptr, &lowest, &highest) == 0)
            spa_thread_utils_acquire_rt(utils, reinterpret_cast<spa_thread *>(pthread_self()), lowest);
        return 0;
    }

    static void lose(PipeWireOutput *self)
    {
        if (!self->lost_.exchange(true))
            emit self->lost();
    }
};

PipeWireOutput::PipeWireOutput(VoiceMixer &mixer, int quantumFrames, QObject *parent)
    : QObject(parent)
    , mixer_(mixer)
    , hooks_(std::make_unique<Hooks>())
{
    pw_init(nullptr, nullptr);
    loop_ = pw_thread_loop_new("velkarn-sound", nullptr);
    // The client as the desktop's volume mixer lists it. The configuration for real-time clients
    // gives the thread that mixes a real-time priority, so that a busy machine does not break a word.
    context_ = loop_ == nullptr
        ? nullptr
        : pw_context_new(pw_thread_loop_get_loop(loop_),
                         pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", PW_KEY_APP_NAME, AppInfo::Title,
                                           PW_KEY_APP_ID, AppInfo::Id, PW_KEY_APP_ICON_NAME, AppInfo::Id, nullptr),
                         0);
    if (context_ == nullptr || pw_thread_loop_start(loop_) != 0) {
        error_ = QStringLiteral("PipeWire could not start: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    const Lock lock(loop_);
    if (connect() && makeStream(quantumFrames))
        pw_loop_invoke(pw_thread_loop_get_loop(loop_), &Callbacks::hurry, 0, nullptr, 0, false, context_);
}

PipeWireOutput::~PipeWireOutput()
{
    // Once the loop has stopped no event comes in; once the stream is destroyed, no mixing pass.
    if (loop_ != nullptr)
        pw_thread_loop_stop(loop_);
    if (stream_ != nullptr) {
        spa_hook_remove(&hooks_->stream);
        pw_stream_destroy(stream_);
    }
    if (ended_ != nullptr)
        pw_loop_destroy_source(pw_thread_loop_get_loop(loop_), ended_);
    if (registry_ != nullptr) {
        spa_hook_remove(&hooks_->registry);
        pw_proxy_destroy(reinterpret_cast<pw_proxy *>(registry_));
    }
    if (core_ != nullptr) {
        spa_hook_remove(&hooks_->core);
        pw_core_disconnect(core_);
    }
    if (context_ != nullptr)
        pw_context_destroy(context_);
    if (loop_ != nullptr)
        pw_thread_loop_destroy(loop_);
    pw_deinit();
}

bool PipeWireOutput::waitFor(bool (PipeWireOutput::*done)() const)
{
    timespec limit{};
    pw_thread_loop_get_time(loop_, &limit, AnswerLimitNs);
    while (!(this->*done)()) {
        if (pw_thread_loop_timed_wait_full(loop_, &limit) != 0)
            return false;
    }
    return true;
}

bool PipeWireOutput::connect()
{
    static const pw_core_events coreEvents = [] {
        pw_core_events events{};
        events.version = PW_VERSION_CORE_EVENTS;
        events.done = &Callbacks::coreDone;
        events.error = &Callbacks::coreError;
        return events;
    }();
    static const pw_registry_events registryEvents = [] {
        pw_registry_events events{};
        events.version = PW_VERSION_REGISTRY_EVENTS;
        events.global = &Callbacks::global;
        return events;
    }();
    core_ = pw_context_connect(context_, nullptr, 0);
    if (core_ == nullptr) {
        error_ = QStringLiteral("no PipeWire server: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    pw_core_add_listener(core_, &hooks_->core, &coreEvents, this);
    registry_ = pw_core_get_registry(core_, PW_VERSION_REGISTRY, 0);
    pw_registry_add_listener(registry_, &hooks_->registry, &registryEvents, this);
    // Once the server has answered this, it has listed every object it had.
    syncSeq_ = pw_core_sync(core_, PW_ID_CORE, 0);
    if (!waitFor(&PipeWireOutput::answered) || failed_) {
        error_ = QStringLiteral("the PipeWire server does not answer");
        return false;
    }
    if (sinks_ == 0) {
        error_ = QStringLiteral("the PipeWire server has no audio output");
        return false;
    }
    return true;
}

bool PipeWireOutput::makeStream(int quantumFrames)
{
    static const pw_stream_events streamEvents = [] {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.state_changed = &Callbacks::streamState;
        events.process = &Callbacks::process;
        return events;
    }();
    ended_ = pw_loop_add_event(pw_thread_loop_get_loop(loop_), &Callbacks::soundsEnded, this);
    const QByteArray latency = QByteArray::number(quantumFrames) + '/' + QByteArray::number(Rate);
    // Listed by the desktop as the game, with its icon; a game's sound is placed by its role.
    pw_properties *props
        = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Playback", PW_KEY_MEDIA_ROLE, "Game",
                            PW_KEY_MEDIA_NAME, AppInfo::Title, PW_KEY_NODE_NAME, "velkarn", PW_KEY_NODE_DESCRIPTION,
                            AppInfo::Title, PW_KEY_APP_NAME, AppInfo::Title, PW_KEY_APP_ID, AppInfo::Id,
                            PW_KEY_APP_ICON_NAME, AppInfo::Id, PW_KEY_NODE_LATENCY, latency.constData(), nullptr);
    stream_ = pw_stream_new(core_, AppInfo::Title, props);
    if (stream_ == nullptr || ended_ == nullptr) {
        error_
            = QStringLiteral("PipeWire could not make a stream: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    pw_stream_add_listener(stream_, &hooks_->stream, &streamEvents, this);
    uint8_t buffer[512];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof buffer);
    spa_audio_info_raw info{};
    info.format = SPA_AUDIO_FORMAT_F32;
    info.rate = Rate;
    info.channels = 2;
    info.position[0] = SPA_AUDIO_CHANNEL_FL;
    info.position[1] = SPA_AUDIO_CHANNEL_FR;
    const spa_pod *params[] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
    // Resting from the start; the mixing runs on PipeWire's real-time thread.
    const auto flags = static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_INACTIVE
                                                    | PW_STREAM_FLAG_MAP_BUFFERS | PW_STREAM_FLAG_RT_PROCESS);
    const int connected = pw_stream_connect(stream_, PW_DIRECTION_OUTPUT, PW_ID_ANY, flags, params, 1);
    if (connected < 0 || !waitFor(&PipeWireOutput::streamReady) || streamState_ < PW_STREAM_STATE_PAUSED) {
        error_ = QStringLiteral("the PipeWire server did not take the stream");
        return false;
    }
    // Once the session manager has linked the stream to an output, the first sound is heard at once.
    // A slow one only delays the first sound.
    waitFor(&PipeWireOutput::linked);
    spa_hook_remove(&hooks_->registry);
    pw_proxy_destroy(reinterpret_cast<pw_proxy *>(registry_));
    registry_ = nullptr;
    return true;
}

void PipeWireOutput::setActive(bool active)
{
    if (stream_ == nullptr || lost_)
        return;
    const Lock lock(loop_);
    pw_stream_set_active(stream_, active);
}

bool PipeWireOutput::linked() const
{
    return linkedNodes_.contains(pw_stream_get_node_id(stream_));
}
