#include "app/ErrorReport.h"

#include "data/Platform.h"

#include <QCoreApplication>
#include <QFileInfo>

QString applicationTitle(const QString& executableName)
{
    QString name = QFileInfo(executableName).fileName();
    qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString withFullStop(const QString& text)
{
    if (!text.isEmpty() && text.back().unicode() > u'.')
        return text + QLatin1Char('.');
    return text;
}

QString exceptionText(const std::exception& e)
{
    return QString::fromUtf8(e.what());
}

void reportError(const QString& text)
{
    QString exe = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QStringLiteral("tolvaneo");
    platform::messageBoxes().show(applicationTitle(exe), withFullStop(text), platform::MsgIcon::Error,
                                  platform::MsgButtons::Ok);
}

void reportException(const std::exception& e)
{
    reportError(exceptionText(e));
}
