#include "data/TextLists.h"

namespace {

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

} // namespace

QStringList splitCommaText(const QString& text)
{
    QStringList items;
    // The text ends at a NUL, as it would for the platform's own reader.
    const qsizetype nul = text.indexOf(QChar(0));
    const qsizetype n = nul < 0 ? text.size() : nul;
    qsizetype p = 0;
    while (p < n && isBlank(text[p]))
        ++p;
    while (p < n) {
        QString item;
        if (text[p] == QLatin1Char('"')) {
            ++p;
            while (p < n) {
                if (text[p] == QLatin1Char('"')) {
                    if (p + 1 < n && text[p + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            qsizetype start = p;
            while (p < n && text[p].unicode() > 32 && text[p] != QLatin1Char(','))
                ++p;
            item = text.mid(start, p - start);
        }
        items.append(item);
        while (p < n && isBlank(text[p]))
            ++p;
        if (p < n && text[p] == QLatin1Char(',')) {
            if (p + 1 == n)
                items.append(QString());
            do
                ++p;
            while (p < n && isBlank(text[p]));
        }
    }
    return items;
}

QString quoteSqlList(const QStringList& items)
{
    QStringList quoted;
    quoted.reserve(items.size());
    for (const QString& item : items) {
        QString s = item;
        s.replace(QLatin1Char('\''), QStringLiteral("''"));
        quoted.append(QLatin1Char('\'') + s + QLatin1Char('\''));
    }
    return quoted.join(QLatin1Char(','));
}

std::optional<qint64> codigoInteiro(const QString& codigo)
{
    bool ok = false;
    const qint64 v = codigo.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

QString codigoPorValor(const QString& codigo)
{
    const std::optional<qint64> v = codigoInteiro(codigo);
    return v ? QString::number(*v) : codigo;
}
