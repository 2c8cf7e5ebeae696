#include "data/Log.h"

#include "data/Platform.h"

#include <QMutex>

#include <cstdio>

namespace logfmt {

namespace {

QMutex sinkMutex;
std::function<void(const QString&)> installedSink;

} // namespace

QString quote(const QString& value)
{
    bool plain = !value.isEmpty();
    for (QChar c : value)
        if (c.unicode() <= 32 || c == QLatin1Char('"') || c == QLatin1Char('=') || c == QLatin1Char('\\'))
            plain = false;
    if (plain)
        return value;
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + QString(c);
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            continue;
        else if (c.unicode() < 32)
            out += QLatin1Char(' ');
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString line(const QString& event, std::initializer_list<Field> fields)
{
    QString text = QStringLiteral("time=") + platform::clock().now().toString(Qt::ISODate) +
                   QStringLiteral(" event=") + quote(event);
    for (const auto& [key, value] : fields)
        text += QLatin1Char(' ') + QLatin1String(key) + QLatin1Char('=') + quote(value);
    return text;
}

void write(const QString& event, std::initializer_list<Field> fields)
{
    const QString text = line(event, fields);
    QMutexLocker lock(&sinkMutex);
    if (installedSink) {
        installedSink(text);
        return;
    }
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void setSink(std::function<void(const QString&)> sink)
{
    QMutexLocker lock(&sinkMutex);
    installedSink = std::move(sink);
}

} // namespace logfmt
