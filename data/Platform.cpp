#include "data/Platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <atomic>
#include <cstdio>

namespace platform {

namespace {

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

SystemClock systemClock;
StderrMessageBoxes stderrBoxes;
const Clock* installedClock = nullptr;
MessageBoxes* installedBoxes = nullptr;
QString installedFolder;
std::atomic<bool> terminate{false};

QString withSeparator(const QString& folder)
{
    QString f = QDir::fromNativeSeparators(folder);
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    return f;
}

} // namespace

qint64 Clock::monotonicMs() const
{
    static const QElapsedTimer inicio = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return inicio.elapsed();
}

MsgResult StderrMessageBoxes::show(const QString& caption, const QString& text, MsgIcon, MsgButtons buttons)
{
    std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    std::fflush(stderr);
    return buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

const Clock& clock()
{
    return installedClock ? *installedClock : systemClock;
}

void setClock(const Clock* c)
{
    installedClock = c;
}

MessageBoxes& messageBoxes()
{
    return installedBoxes ? *installedBoxes : stderrBoxes;
}

void setMessageBoxes(MessageBoxes* boxes)
{
    installedBoxes = boxes;
}

QString appFolder()
{
    if (!installedFolder.isEmpty())
        return installedFolder;
#ifdef TOLVANEO_DEFAULT_DIR
    // An installed package keeps its settings and files in a folder of its own.
    return withSeparator(QStringLiteral(TOLVANEO_DEFAULT_DIR));
#endif
    if (QCoreApplication::instance())
        return withSeparator(QCoreApplication::applicationDirPath());
    return withSeparator(QDir::currentPath());
}

void setAppFolder(const QString& folder)
{
    installedFolder = folder.isEmpty() ? QString() : withSeparator(folder);
}

void requestTerminate()
{
    terminate = true;
}

bool terminateRequested()
{
    return terminate;
}

void clearTerminateRequest()
{
    terminate = false;
}

} // namespace platform
