// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenReaderStatus.h"

// A desktop whose screen reader Velkarn cannot see: a teacher switches the mode on by hand.
ScreenReaderStatus::ScreenReaderStatus(QObject *parent)
    : QObject(parent)
{
}

ScreenReaderStatus::~ScreenReaderStatus() = default;

void ScreenReaderStatus::ask() {}

void ScreenReaderStatus::propertiesChanged(const QString &, const QVariantMap &, const QStringList &) {}

void ScreenReaderStatus::setRunning(bool running)
{
    running_ = running;
}
