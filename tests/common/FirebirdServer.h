#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private Firebird server for one test: its own configuration, security
// database and lock folder in a temporary folder, bound to 127.0.0.1 on a
// free port, with the SYSDBA password the test chooses. The machine's own
// server set-up is never touched. Stopped (by its process id) when destroyed.
class FirebirdServer {
public:
    explicit FirebirdServer(const QString& sysdbaPassword);
    ~FirebirdServer();
    FirebirdServer(const FirebirdServer&) = delete;
    FirebirdServer& operator=(const FirebirdServer&) = delete;

    int port() const { return port_; }
    // host/port:path, the form a client uses to reach a file through this server.
    QString url(const QString& databasePath) const;

    void start();
    void stop();
    // Ends the server process at once (SIGKILL), as a crash or a power cut
    // of the server would: its connections break without a word.
    void kill();
    // Freezes the server process (SIGSTOP) and lets it go on (SIGCONT): a
    // server that holds its connections open and answers nothing.
    void pause();
    void resume();
    bool running() const { return process_.state() != QProcess::NotRunning; }

private:
    QTemporaryDir dir_;
    int port_ = 0;
    QProcess process_;
};

// The major version of the newest Firebird engine installed (3 on Debian
// 12, 4 on Debian 13).
int installedFirebirdMajor();

// A TCP port on 127.0.0.1 that nothing listens on right now.
int freeLocalPort();
