#include "CommandQueue.h"

#include "sound/SoundComponent.h"
#include "sound/SoundPlayer.h"

CommandQueue::CommandQueue(SoundPlayer &player, QObject *parent)
    : QObject(parent)
    , player_(player)
{
    connect(&player_.Component(), &SoundComponent::PlaybackEnded, this, &CommandQueue::OnPlaybackEnded);
}

void CommandQueue::Post(Action action)
{
    if (running_) {
        steps_.push_back(std::move(action));
        return;
    }
    queue_.push_back(std::move(action));
    Run();
}

void CommandQueue::PlayWave(const QString &fileName, bool wait, qint16 pan)
{
    Post([this, fileName, wait, pan] {
        if (player_.Start(fileName, pan) && wait)
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
        const Action action = std::move(queue_.front());
        queue_.pop_front();
        action();
        // The steps it queued come before anything that was waiting already, in their own order.
        queue_.insert(queue_.begin(), std::make_move_iterator(steps_.begin()),
                      std::make_move_iterator(steps_.end()));
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
