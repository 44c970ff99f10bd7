// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>

// The desktop's AT-SPI bus launcher as the tests play it: org.a11y.Bus at /org/a11y/bus, whose
// org.a11y.Status says whether the desktop's screen reader is on, on a connection of its own.
class FakeA11yBus : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.a11y.Status")
    Q_PROPERTY(bool ScreenReaderEnabled READ screenReaderEnabled)

public:
    explicit FakeA11yBus(bool screenReaderEnabled)
        : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-a11y-bus")))
        , enabled_(screenReaderEnabled)
    {
        connection_.registerObject(QStringLiteral("/org/a11y/bus"), this, QDBusConnection::ExportAllProperties);
        registered_ = connection_.registerService(QStringLiteral("org.a11y.Bus"));
    }
    ~FakeA11yBus() override
    {
        connection_.unregisterService(QStringLiteral("org.a11y.Bus"));
        connection_.unregisterObject(QStringLiteral("/org/a11y/bus"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-a11y-bus"));
    }

    bool isRegistered() const { return registered_; }
    bool screenReaderEnabled() const { return enabled_; }

    /// Switches the screen reader and says so, as the launcher does.
    void setScreenReaderEnabled(bool on) { setAndSay(on, QStringLiteral("org.a11y.Status"), false); }
    /// Switches it but only says that the value is no longer known.
    void invalidateScreenReaderEnabled(bool on) { setAndSay(on, QStringLiteral("org.a11y.Status"), true); }
    /// Says ScreenReaderEnabled changed on another interface, which is not the screen reader's.
    void sayOnOtherInterface(bool on)
    {
        emitChanged(QStringLiteral("org.example.Other"), {{QStringLiteral("ScreenReaderEnabled"), on}}, {});
    }

private:
    void setAndSay(bool on, const QString &interface, bool invalidateOnly)
    {
        enabled_ = on;
        if (invalidateOnly)
            emitChanged(interface, {}, {QStringLiteral("ScreenReaderEnabled")});
        else
            emitChanged(interface, {{QStringLiteral("ScreenReaderEnabled"), on}}, {});
    }
    void emitChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/a11y/bus"),
                                                         QStringLiteral("org.freedesktop.DBus.Properties"),
                                                         QStringLiteral("PropertiesChanged"));
        signal << interface << changed << invalidated;
        connection_.send(signal);
    }

    QDBusConnection connection_;
    bool enabled_;
    bool registered_ = false;
};
