#include "tests/common/FirebirdServer.h"

#include <csignal>
#include <sys/types.h>

#include "tests/common/Isql.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

bool accepts(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

void writeFile(const QString& path, const QString& text)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error(("cannot write " + path).toStdString());
    f.write(text.toUtf8());
}

void copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir source(from);
    for (const QFileInfo& e : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + e.fileName();
        if (e.isDir())
            copyFolder(e.filePath(), target);
        else
            QFile::copy(e.filePath(), target);
    }
}

// The installed server's root: the newest engine under the library folder
// (3.0 on Debian 12, 4.0 on Debian 13).
QDir installedRoot()
{
    QString best;
    for (const QString& lib : QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs)) {
        const QDir firebird(QStringLiteral("/usr/lib/%1/firebird").arg(lib));
        for (const QString& version : firebird.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            if (QFileInfo::exists(firebird.filePath(version) + QStringLiteral("/plugins")))
                best = firebird.filePath(version);
    }
    if (best.isEmpty())
        throw std::runtime_error("no Firebird server is installed");
    return QDir(best);
}

} // namespace

int installedFirebirdMajor()
{
    return installedRoot().dirName().section(QLatin1Char('.'), 0, 0).toInt();
}

int freeLocalPort()
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = 0;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("no free port");
    }
    ::close(fd);
    return ntohs(addr.sin_port);
}

FirebirdServer::FirebirdServer(const QString& sysdbaPassword)
{
    port_ = freeLocalPort();
    const QString root = dir_.path();
    const QString security = root + QStringLiteral("/security.fdb");
    QDir(root).mkpath(QStringLiteral("lock"));
    writeFile(root + QStringLiteral("/firebird.conf"),
              QStringLiteral("RemoteServicePort = %1\n"
                             "RemoteBindAddress = 127.0.0.1\n"
                             "IpcName = tolvaneo_test_%1\n"
                             "SecurityDatabase = %2\n")
                  .arg(port_)
                  .arg(security));
    writeFile(root + QStringLiteral("/databases.conf"), QString());
    // Debian's Firebird 4 reads its port from this file after firebird.conf.
    writeFile(root + QStringLiteral("/service-port.conf"), QStringLiteral("RemoteServicePort = %1\n").arg(port_));
    // Everything else of the installed root is the machine's own, linked in.
    // The character-set modules only load from a real folder, and Firebird 4
    // loads a plugin only under the name it was asked for: those folders are
    // copied.
    const QDir installed = installedRoot();
    for (const QString& entry : installed.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry == QLatin1String("firebird.conf") || entry == QLatin1String("databases.conf") ||
            entry == QLatin1String("service-port.conf"))
            continue;
        if (entry == QLatin1String("intl") || entry == QLatin1String("plugins")) {
            copyFolder(installed.filePath(entry), root + QLatin1Char('/') + entry);
            continue;
        }
        QFile::link(installed.filePath(entry), root + QLatin1Char('/') + entry);
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), root);
    env.insert(QStringLiteral("FIREBIRD_LOCK"), root + QStringLiteral("/lock"));
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::MergedChannels);

    runIsql({}, QStringLiteral("create database %1 user 'SYSDBA';").arg(sqlQuoted(security)), {}, {}, env);
    runIsql(security,
            QStringLiteral("create or alter user SYSDBA password %1 using plugin Srp;\ncommit;").arg(sqlQuoted(sysdbaPassword)),
            QStringLiteral("SYSDBA"), {}, env);
    start();
}

FirebirdServer::~FirebirdServer()
{
    stop();
}

QString FirebirdServer::url(const QString& databasePath) const
{
    return QStringLiteral("127.0.0.1/%1:%2").arg(port_).arg(databasePath);
}

void FirebirdServer::start()
{
    if (running())
        return;
    static const QString program = firebirdTool(QStringLiteral("firebird"), QStringLiteral("/usr/sbin/firebird"));
    process_.start(program, {});
    if (!process_.waitForStarted(10000))
        throw std::runtime_error("the Firebird server did not start");
    QDeadlineTimer deadline(20000);
    while (!accepts(port_)) {
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
            throw std::runtime_error(("the Firebird server does not answer: " + QString::fromLocal8Bit(process_.readAll()))
                                         .toStdString());
        QThread::msleep(50);
    }
}

void FirebirdServer::pause()
{
    if (running())
        ::kill(pid_t(process_.processId()), SIGSTOP);
}

void FirebirdServer::resume()
{
    if (running())
        ::kill(pid_t(process_.processId()), SIGCONT);
}

void FirebirdServer::kill()
{
    resume();
    if (!running())
        return;
    process_.kill();
    process_.waitForFinished(5000);
}

void FirebirdServer::stop()
{
    resume();
    if (!running())
        return;
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}
