// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandQueue.h"

#include "sound/SoundPlayer.h"

#include <algorithm>

CommandQueue::CommandQueue(SoundPlayer &player, QObject *parent)
    : QObject(parent)
    , player_(player)
{
    connect(&player_, &SoundPlayer::soundEnded, this, &CommandQueue::onSoundEnded);
}

void CommandQueue::post(Action action, Kind kind)
{
    if (running_) {
        steps_.push_back(std::move(action));
        return;
    }
    queue_.push_back({std::move(action), kind, player_.soundsStarted()});
    run();
}

void CommandQueue::play(Sound sound, Side side, Wait wait)
{
    post(playing(sound, side, wait));
}

CommandQueue::Action CommandQueue::playing(Sound sound, Side side, Wait wait)
{
    return [this, sound, side, wait] {
        if (!player_.play(sound, side))
            return;
        soundKind_ = runningKind_;
        waiting_ = wait == Wait::Yes;
    };
}

void CommandQueue::postTypedAhead(Action action, Kind kind, bool lengthy)
{
    const auto typed = std::ranges::count_if(queue_, &Entry::typed);
    if (typed == 0)
        dropping_ = banged_ = false;
    const bool full = typed >= MostTypedAhead;
    if (full && !banged_) {
        // A banged keyboard: the help or the lesson pressed on the way is not sat through after it.
        banged_ = true;
        std::erase_if(queue_, [](const Entry &entry) { return entry.typed && entry.lengthy; });
    }
    // One lengthy answer waiting is enough: four would be twenty seconds of speech after a banged keyboard.
    if (!full && !(lengthy && (banged_ || std::ranges::any_of(queue_, &Entry::lengthy)))) {
        queue_.push_back({std::move(action), kind, player_.soundsStarted(), true, lengthy});
        run();
        return;
    }
    // One tick for a keyboard banged on, not one for every key: heard after the command in hand, before
    // the keys that wait.
    if (!dropping_) {
        dropping_ = true;
        const auto firstGiven
            = std::ranges::find_if(queue_, [](const Entry &entry) { return entry.givenAt.has_value(); });
        queue_.insert(firstGiven,
                      {playing(Sound::VolumeTick, Side::Centre, Wait::No), Kind::Game, player_.soundsStarted()});
    }
}

void CommandQueue::hold()
{
    ++holds_;
}

void CommandQueue::release()
{
    if (holds_ == 0)
        return;
    --holds_;
    run();
}

bool CommandQueue::cancelRequests()
{
    const auto queued = queue_.size();
    std::erase_if(queue_, [](const Entry &entry) { return entry.kind == Kind::Request; });
    bool cancelled = queue_.size() != queued;
    if (soundKind_ == Kind::Request && player_.isPlaying()) {
        player_.stopAll();
        cancelled = true;
    }
    onSoundEnded(); // the end of a stopped sound may be reported only later
    return cancelled;
}

void CommandQueue::clear()
{
    queue_.clear();
    steps_.clear();
}

bool CommandQueue::isBusy() const
{
    return running_ || isHolding() || !queue_.empty();
}

void CommandQueue::run()
{
    if (running_)
        return;
    running_ = true;
    while (!isHolding() && !queue_.empty()) {
        if (const auto givenAt = queue_.front().givenAt;
            givenAt && soundKind_ == Kind::Game && player_.playingSince(*givenAt)) {
            waiting_ = true; // begun after this command was given: heard to its end first
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

void CommandQueue::onSoundEnded()
{
    if (!waiting_ || player_.isPlaying())
        return;
    waiting_ = false;
    run();
}
