#pragma once

#include "data/Platform.h"

#include <QFile>
#include <QTemporaryDir>

// An application folder of its own, with "Marvessa.ini" written as given.
class IniFolder {
public:
    IniFolder() { platform::setAppFolder(dir_.path()); }
    explicit IniFolder(const QByteArray& ini) : IniFolder() { write(ini); }
    void write(const QByteArray& ini) const
    {
        QFile f(dir_.filePath(QStringLiteral("Marvessa.ini")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(ini);
    }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};
