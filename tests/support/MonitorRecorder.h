// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QTest>

#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>

#include <cstring>
#include <mutex>
#include <set>
#include <vector>

// Records what a PipeWire sink plays, from its monitor, as 32-bit float stereo. It joins passively,
// as a desktop's level meter does: the sink rests whenever nothing else plays.
class MonitorRecorder
{
public:
    explicit MonitorRecorder(const QByteArray &sink)
    {
        pw_init(nullptr, nullptr);
        loop_ = pw_thread_loop_new("recorder", nullptr);
        pw_properties *props = pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Capture",
                                                 PW_KEY_STREAM_CAPTURE_SINK, "true", PW_KEY_NODE_PASSIVE, "true",
                                                 PW_KEY_TARGET_OBJECT, sink.constData(), nullptr);
        static const pw_stream_events events = [] {
            pw_stream_events e{};
            e.version = PW_VERSION_STREAM_EVENTS;
            e.process = &MonitorRecorder::onProcess;
            return e;
        }();
        // Real-time, as the game's own client: a busy machine does not make it miss what was played.
        context_ = pw_context_new(pw_thread_loop_get_loop(loop_),
                                  pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr), 0);
        core_ = pw_context_connect(context_, nullptr, 0);
        stream_ = pw_stream_new(core_, "velkarn-test-recorder", props);
        pw_stream_add_listener(stream_, &streamHook_, &events, this);
        uint8_t buffer[512];
        spa_pod_builder builder = SPA_POD_BUILDER_INIT(buffer, sizeof buffer);
        spa_audio_info_raw info{};
        info.format = SPA_AUDIO_FORMAT_F32;
        info.rate = 48000;
        info.channels = 2;
        info.position[0] = SPA_AUDIO_CHANNEL_FL;
        info.position[1] = SPA_AUDIO_CHANNEL_FR;
        const spa_pod *params[] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &info)};
        pw_stream_connect(stream_, PW_DIRECTION_INPUT, PW_ID_ANY,
                          static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT | PW_STREAM_FLAG_MAP_BUFFERS
                                                       | PW_STREAM_FLAG_RT_PROCESS),
                          params, 1);
        // The links the session manager makes show in the registry (a resting sink sets no format).
        static const pw_registry_events registryEvents = [] {
            pw_registry_events e{};
            e.version = PW_VERSION_REGISTRY_EVENTS;
            e.global = &MonitorRecorder::onGlobal;
            return e;
        }();
        registry_ = pw_core_get_registry(core_, PW_VERSION_REGISTRY, 0);
        pw_registry_add_listener(registry_, &registryHook_, &registryEvents, this);
        pw_thread_loop_start(loop_);
    }
    ~MonitorRecorder()
    {
        pw_thread_loop_stop(loop_);
        spa_hook_remove(&registryHook_);
        pw_proxy_destroy(reinterpret_cast<pw_proxy *>(registry_));
        spa_hook_remove(&streamHook_);
        pw_stream_destroy(stream_);
        pw_core_disconnect(core_);
        pw_context_destroy(context_);
        pw_thread_loop_destroy(loop_);
        pw_deinit();
    }
    MonitorRecorder(const MonitorRecorder &) = delete;
    MonitorRecorder &operator=(const MonitorRecorder &) = delete;

    /// True once the recorder is linked to the sink's monitor (within a minute).
    bool waitUntilLinked()
    {
        const QDeadlineTimer limit(60000);
        while (!linked() && !limit.hasExpired())
            QTest::qWait(10);
        return linked();
    }
    /// Returns what was recorded (left, right, left, ...) once a sound has been heard and then
    /// silence of silentFrames frames; what was recorded after a minute without that. Clears it.
    std::vector<float> takeSound(int silentFrames = 4800)
    {
        const QDeadlineTimer limit(60000);
        while (!limit.hasExpired() && !endsWithSilence(silentFrames))
            QTest::qWait(10);
        return take();
    }
    /// Returns what was recorded so far, and clears it.
    std::vector<float> take()
    {
        const std::lock_guard lock(mutex_);
        return std::exchange(samples_, {});
    }

private:
    bool endsWithSilence(int silentFrames)
    {
        const std::lock_guard lock(mutex_);
        const auto loud = std::find_if(samples_.rbegin(), samples_.rend(), [](float s) { return s != 0; });
        return loud != samples_.rend() && std::distance(samples_.rbegin(), loud) >= 2 * silentFrames;
    }

    bool linked()
    {
        pw_thread_loop_lock(loop_);
        const bool linked = inputsLinked_.contains(pw_stream_get_node_id(stream_));
        pw_thread_loop_unlock(loop_);
        return linked;
    }
    static void onGlobal(void *data, uint32_t, uint32_t, const char *type, uint32_t, const spa_dict *props)
    {
        const char *input = props != nullptr ? spa_dict_lookup(props, PW_KEY_LINK_INPUT_NODE) : nullptr;
        if (std::strcmp(type, PW_TYPE_INTERFACE_Link) == 0 && input != nullptr)
            static_cast<MonitorRecorder *>(data)->inputsLinked_.insert(std::strtoul(input, nullptr, 10));
    }
    static void onProcess(void *data)
    {
        auto *self = static_cast<MonitorRecorder *>(data);
        pw_buffer *buffer = pw_stream_dequeue_buffer(self->stream_);
        if (buffer == nullptr)
            return;
        const spa_data &d = buffer->buffer->datas[0];
        if (d.data != nullptr) {
            const auto *first = reinterpret_cast<const float *>(static_cast<const char *>(d.data) + d.chunk->offset);
            const std::lock_guard lock(self->mutex_); // the test's own recorder: a lock costs nothing here
            self->samples_.insert(self->samples_.end(), first, first + d.chunk->size / sizeof(float));
        }
        pw_stream_queue_buffer(self->stream_, buffer);
    }

    pw_thread_loop *loop_ = nullptr;
    pw_context *context_ = nullptr;
    pw_core *core_ = nullptr;
    pw_stream *stream_ = nullptr;
    spa_hook streamHook_{};
    pw_registry *registry_ = nullptr;
    spa_hook registryHook_{};
    std::set<uint32_t> inputsLinked_; // the nodes whose inputs are linked
    std::mutex mutex_;
    std::vector<float> samples_;
};
