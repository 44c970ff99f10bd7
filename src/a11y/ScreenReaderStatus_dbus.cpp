// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScreenReaderStatus.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

// The AT-SPI bus launcher keeps the desktop's accessibility switches on the session bus. The
// desktop sets ScreenReaderEnabled when it starts its screen reader (GNOME's switch for Orca).
namespace {
const QString Service = QStringLiteral("org.a11y.Bus");
const QString Path = QStringLiteral("/org/a11y/bus");
const QString Interface = QStringLiteral("org.a11y.Status");
const QString Property = QStringLiteral("ScreenReaderEnabled");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
} // namespace

ScreenReaderStatus::ScreenReaderStatus(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return; // no session bus: no desktop screen reader either
    bus.connect(Service, Path, Properties, QStringLiteral("PropertiesChanged"), this,
                SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    ask();
}

ScreenReaderStatus::~ScreenReaderStatus() = default;

void ScreenReaderStatus::ask()
{
    // Asked without waiting: the bus launcher may first have to be started.
    QDBusMessage get = QDBusMessage::createMethodCall(Service, Path, Properties, QStringLiteral("Get"));
    get << Interface << Property;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (!reply.isError())
            setRunning(reply.value().variant().toBool());
        call->deleteLater();
    });
}

void ScreenReaderStatus::propertiesChanged(const QString &interface, const QVariantMap &changed,
                                           const QStringList &invalidated)
{
    if (interface != Interface)
        return;
    if (const auto value = changed.constFind(Property); value != changed.cend())
        setRunning(value->toBool());
    else if (invalidated.contains(Property))
        ask();
}

void ScreenReaderStatus::setRunning(bool running)
{
    if (running == running_)
        return;
    running_ = running;
    emit runningChanged(running);
}
