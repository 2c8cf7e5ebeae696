#include "display/SystemdNotify.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

SystemdNotify::SystemdNotify(QObject* parent) : QObject(parent)
{
    const char* usec = std::getenv("WATCHDOG_USEC");
    const long long interval = usec ? std::atoll(usec) / 2000 : 0; // half, in milliseconds
    if (interval > 0 && std::getenv("NOTIFY_SOCKET")) {
        watchdog_ = new QTimer(this);
        watchdog_->setInterval(int(std::min<long long>(interval, 1 << 30)));
        connect(watchdog_, &QTimer::timeout, this, [this] {
            if (!healthy || healthy())
                send("WATCHDOG=1");
        });
        watchdog_->start();
    }
}

void SystemdNotify::ready()
{
    if (readySent_)
        return;
    readySent_ = true;
    send("READY=1");
}

bool SystemdNotify::send(const QByteArray& message)
{
    const char* path = std::getenv("NOTIFY_SOCKET");
    if (!path || !*path)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const size_t length = std::strlen(path);
    if (length >= sizeof addr.sun_path)
        return false;
    std::memcpy(addr.sun_path, path, length);
    if (addr.sun_path[0] == '@')
        addr.sun_path[0] = 0; // abstract namespace
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const auto size = socklen_t(offsetof(sockaddr_un, sun_path) + length);
    const bool ok = ::sendto(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL,
                             reinterpret_cast<sockaddr*>(&addr), size) == message.size();
    ::close(fd);
    return ok;
}

ScreenSaverInhibitor::ScreenSaverInhibitor()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusInterface saver(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                         QStringLiteral("org.freedesktop.ScreenSaver"), bus);
    if (!saver.isValid())
        return;
    QDBusReply<unsigned> reply =
        saver.call(QStringLiteral("Inhibit"), QStringLiteral("tolvaneo"), QStringLiteral("Indicador de produção"));
    if (reply.isValid())
        cookie_ = reply.value();
}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    if (!cookie_)
        return;
    QDBusInterface saver(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                         QStringLiteral("org.freedesktop.ScreenSaver"), QDBusConnection::sessionBus());
    if (saver.isValid())
        saver.call(QStringLiteral("UnInhibit"), cookie_);
}
