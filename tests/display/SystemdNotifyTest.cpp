#include "display/SystemdNotify.h"
#include "tests/common/Fakes.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

TEST(SystemdNotify, ReadyOnceAndWatchdogFromTheEventLoop)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("notify"));
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ScopedEnv socket("NOTIFY_SOCKET", path);
    ScopedEnv watchdog("WATCHDOG_USEC", QByteArray("200000"));

    QStringList received;
    auto drain = [&] {
        char buffer[64];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            received << QString::fromLatin1(buffer, int(n));
    };
    {
        SystemdNotify notify;
        notify.ready();
        notify.ready();
        QTest::qWait(350);
        drain();
    }
    ::close(fd);
    ASSERT_GE(received.size(), 3);
    EXPECT_EQ(received[0], "READY=1");
    EXPECT_EQ(received.count("READY=1"), 1);
    EXPECT_GE(received.count("WATCHDOG=1"), 2);
}

TEST(SystemdNotify, NothingWithoutAServiceManager)
{
    ScopedEnv socket("NOTIFY_SOCKET", std::nullopt);
    EXPECT_FALSE(SystemdNotify::send("READY=1"));
    ScreenSaverInhibitor inhibitor; // no session bus here: does nothing
    EXPECT_FALSE(inhibitor.active());
}
