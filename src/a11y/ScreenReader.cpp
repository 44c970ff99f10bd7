// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenReader.h"

#include "ScreenReaderStatus.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<ScreenReader::Mode, const char *>, 3> ModeNames{
    {{ScreenReader::Mode::Automatic, "auto"}, {ScreenReader::Mode::On, "on"}, {ScreenReader::Mode::Off, "off"}}};
} // namespace

std::optional<ScreenReader::Mode> ScreenReader::modeFromName(const QString &name)
{
    for (const auto &[mode, text] : ModeNames) {
        if (name == QLatin1String(text))
            return mode;
    }
    return std::nullopt;
}

QString ScreenReader::modeName(Mode mode)
{
    for (const auto &[each, text] : ModeNames) {
        if (each == mode)
            return QString::fromLatin1(text);
    }
    return {};
}

ScreenReader::ScreenReader(QObject *parent)
    : QObject(parent)
    , status_(new ScreenReaderStatus(this))
{
    connect(status_, &ScreenReaderStatus::runningChanged, this, &ScreenReader::update);
    active_ = isActive();
}

ScreenReader::~ScreenReader() = default;

void ScreenReader::setMode(Mode mode)
{
    mode_ = mode;
    update();
}

bool ScreenReader::isActive() const
{
    switch (mode_) {
    case Mode::On:
        return true;
    case Mode::Off:
        return false;
    case Mode::Automatic:
        break;
    }
    return status_->isRunning();
}

void ScreenReader::update()
{
    const bool active = isActive();
    if (active == active_)
        return;
    active_ = active;
    emit activeChanged(active);
}
