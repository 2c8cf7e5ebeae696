#pragma once

#include <QObject>

#include <functional>

class QTimer;

// The service manager's notification socket (NOTIFY_SOCKET): READY=1 once,
// and WATCHDOG=1 from the display thread's event loop every half of
// WATCHDOG_USEC, so that a hung window gets restarted while a database
// outage (which leaves the loop running) does not. Does nothing outside a
// service manager.
class SystemdNotify : public QObject {
    Q_OBJECT
public:
    explicit SystemdNotify(QObject* parent = nullptr);
    void ready();
    // Sends one message; false when there is no socket or it fails.
    static bool send(const QByteArray& message);
    // When set, the watchdog beats only while it answers true.
    std::function<bool()> healthy;

private:
    bool readySent_ = false;
    QTimer* watchdog_ = nullptr;
};

// Keeps the screen from blanking through the desktop's idle-inhibit
// interface (org.freedesktop.ScreenSaver) when there is one.
class ScreenSaverInhibitor {
public:
    ScreenSaverInhibitor();
    ~ScreenSaverInhibitor();
    bool active() const { return cookie_ != 0; }

private:
    unsigned cookie_ = 0;
};
