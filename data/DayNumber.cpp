#include "data/DayNumber.h"

#include <cmath>

namespace daynum {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

double fromDate(const QDate& date)
{
    return double(kEpoch.daysTo(date));
}

double fromDayAndMs(double day, int ms)
{
    double fraction = ms / kMsPerDay;
    // Before the epoch the fraction counts away from zero, as the day
    // numbers of the factory's programs do.
    return day < 0 ? day - fraction : day + fraction;
}

double fromDateTime(const QDateTime& dateTime)
{
    return fromDayAndMs(fromDate(dateTime.date()), dateTime.time().msecsSinceStartOfDay());
}

QString clockText(double dayNumber)
{
    const int minutes = timeOfDayMs(dayNumber) / 60000;
    const int h = minutes / 60, m = minutes % 60;
    const QChar text[5] = {QChar(u'0' + h / 10), QChar(u'0' + h % 10), QChar(u':'), QChar(u'0' + m / 10),
                           QChar(u'0' + m % 10)};
    return QString(text, 5);
}

double datePart(double dayNumber)
{
    return std::trunc(dayNumber);
}

int timeOfDayMs(double dayNumber)
{
    double fraction = std::fabs(dayNumber - std::trunc(dayNumber));
    auto ms = static_cast<long long>(std::llround(fraction * kMsPerDay));
    return int(ms >= 86400000 ? 86399999 : ms);
}

QDate toDate(double dayNumber)
{
    return kEpoch.addDays(static_cast<qint64>(datePart(dayNumber)));
}

QDateTime toDateTime(double dayNumber)
{
    return QDateTime(toDate(dayNumber), QTime::fromMSecsSinceStartOfDay(timeOfDayMs(dayNumber)));
}

} // namespace daynum
