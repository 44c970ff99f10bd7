// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// What the desktop says about its screen reader: on Linux the AT-SPI bus's ScreenReaderEnabled,
// on Windows the screen-reader flag that NVDA and JAWS set, or Narrator running.
class ScreenReaderStatus : public QObject
{
    Q_OBJECT

public:
    /// Starts watching; until the desktop has answered, no screen reader is taken to run.
    explicit ScreenReaderStatus(QObject *parent = nullptr);
    ~ScreenReaderStatus() override;

    /// Whether the desktop reports a screen reader now.
    bool isRunning() const { return running_; }

signals:
    /// The desktop's screen reader was started or stopped.
    void runningChanged(bool running);

private slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void ask();
    void setRunning(bool running);

    bool running_ = false;
};
