#pragma once

#include <QByteArray>
#include <QFile>

#include <cstring>

// A value of this process's /proc/self/status in its unit (kB for the
// memory lines), e.g. statusValue("VmHWM:"); -1 when absent.
inline long statusValue(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}
