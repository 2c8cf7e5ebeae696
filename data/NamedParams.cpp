#include "data/NamedParams.h"

namespace fb {

namespace {

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

} // namespace

PositionalSql toPositional(const QString& sql)
{
    PositionalSql out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Quoted text or name: copy through the closing quote (a doubled
            // quote stays inside).
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            qsizetype end = j < n ? j + 1 : n;
            out.sql += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            qsizetype end = j < 0 ? n : j;
            out.sql += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QStringLiteral("*/"), i + 2);
            qsizetype end = j < 0 ? n : j + 2;
            out.sql += sql.mid(i, end - i);
            i = end;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            out.names.append(sql.mid(i + 1, j - i - 1).toUpper());
            out.sql += QLatin1Char('?');
            i = j;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

} // namespace fb
