#include "app/RegionalDate.h"

#include "data/DayNumber.h"

#include <QRegularExpression>
#include <QTimeZone>

#include <cstdlib>

QLocale environmentTimeLocale()
{
    for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
        QString name = QString::fromLocal8Bit(std::getenv(var));
        if (name.isEmpty())
            continue;
        name = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
            return QLocale::c();
        return QLocale(name);
    }
    return QLocale::system();
}

namespace {

// Order of day, month and year in the locale's short date: a permutation of
// "dMy". Without a locale (C or POSIX, as a PC without a desktop runs) the
// day comes first, the order of the factories this serves.
QString fieldOrder(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return QStringLiteral("dMy");
    const QString fmt = locale.dateFormat(QLocale::ShortFormat);
    QString order;
    for (QChar c : fmt) {
        if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) && !order.contains(c))
            order += c;
    }
    return order.size() == 3 ? order : QStringLiteral("dMy");
}

} // namespace

std::optional<double> parseRegionalDateTime(const QString& text, const QLocale& locale)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype blank = trimmed.indexOf(QRegularExpression(QStringLiteral("\\s")));
    const QString datePart = blank < 0 ? trimmed : trimmed.left(blank);
    const QString timePart = blank < 0 ? QString() : trimmed.mid(blank).trimmed();

    static const QRegularExpression dateRx(QStringLiteral("^(\\d{1,4})[^\\d](\\d{1,4})[^\\d](\\d{1,4})$"));
    auto m = dateRx.match(datePart);
    if (!m.hasMatch())
        return std::nullopt;
    // A four-digit first part is a year: year, month, day whatever the locale.
    const QString order = m.captured(1).size() == 4 ? QStringLiteral("yMd") : fieldOrder(locale);
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        const QString part = m.captured(i + 1);
        int value = part.toInt();
        switch (order[i].toLatin1()) {
        case 'd':
            day = value;
            break;
        case 'M':
            month = value;
            break;
        default:
            year = part.size() <= 2 ? (value < 50 ? 2000 + value : 1900 + value) : value;
        }
    }
    QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;

    QTime time(0, 0);
    if (!timePart.isEmpty()) {
        static const QRegularExpression timeRx(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:[.,](\\d{1,3}))?)?$"));
        auto t = timeRx.match(timePart);
        if (!t.hasMatch())
            return std::nullopt;
        int ms = t.captured(4).isEmpty() ? 0 : t.captured(4).leftJustified(3, QLatin1Char('0')).toInt();
        time = QTime(t.captured(1).toInt(), t.captured(2).toInt(), t.captured(3).toInt(), ms);
        if (!time.isValid())
            return std::nullopt;
    }
    return daynum::fromDateTime(QDateTime(date, time, QTimeZone::utc()));
}
