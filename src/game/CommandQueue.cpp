#include "CommandQueue.h"

#include "sound/SoundComponent.h"
#include "sound/SoundPlayer.h"

#include <algorithm>

CommandQueue::CommandQueue(SoundPlayer &player, QObject *parent)
    : QObject(parent)
    , player_(player)
{
    connect(&player_.Component(), &SoundComponent::PlaybackEnded, this, &CommandQueue::OnPlaybackEnded);
}

void CommandQueue::Post(Action action, Kind kind)
{
    if (running_) {
        steps_.push_back(std::move(action));
        return;
    }
    queue_.push_back({std::move(action), kind, player_.SoundsStarted()});
    Run();
}

void CommandQueue::PlayWave(const QString &fileName, bool wait, qint16 pan)
{
    Post([this, fileName, wait, pan] {
        if (!player_.Start(fileName, pan))
            return;
        soundKind_ = runningKind_;
        if (wait)
            waitingFor_ = player_.CurrentSound();
    });
}

void CommandQueue::Hold()
{
    ++holds_;
}

void CommandQueue::Release()
{
    if (holds_ == 0)
        return;
    --holds_;
    Run();
}

bool CommandQueue::CancelRequests()
{
    const auto queued = queue_.size();
    std::erase_if(queue_, [](const Entry &entry) { return entry.kind == Kind::Request; });
    bool cancelled = queue_.size() != queued;
    if (soundKind_ == Kind::Request && player_.IsPlaying(player_.CurrentSound())) {
        player_.StopAll();
        cancelled = true;
    }
    if (waitingFor_ != 0 && !player_.IsPlaying(waitingFor_)) {
        waitingFor_ = 0;
        Run();
    }
    return cancelled;
}

void CommandQueue::Clear()
{
    queue_.clear();
    steps_.clear();
}

bool CommandQueue::Busy() const
{
    return running_ || Holding() || !queue_.empty();
}

void CommandQueue::Run()
{
    if (running_)
        return;
    running_ = true;
    while (!Holding() && !queue_.empty()) {
        if (const auto givenAt = queue_.front().givenAt; givenAt && player_.PlayingSince(*givenAt)) {
            waitingFor_ = player_.CurrentSound(); // begun after this command was given: heard first
            continue;
        }
        const Entry entry = std::move(queue_.front());
        queue_.pop_front();
        runningKind_ = entry.kind;
        entry.action();
        // The steps it queued come before anything that was waiting already, in their own order.
        std::vector<Entry> steps;
        for (Action &step : steps_)
            steps.push_back({std::move(step), entry.kind, std::nullopt});
        queue_.insert(queue_.begin(), std::make_move_iterator(steps.begin()), std::make_move_iterator(steps.end()));
        steps_.clear();
    }
    running_ = false;
}

void CommandQueue::OnPlaybackEnded()
{
    if (waitingFor_ == 0 || player_.IsPlaying(waitingFor_))
        return;
    waitingFor_ = 0;
    Run();
}
