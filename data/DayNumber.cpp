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

double fromDateTime(const QDateTime& dateTime)
{
    double day = fromDate(dateTime.date());
    double fraction = dateTime.time().msecsSinceStartOfDay() / kMsPerDay;
    // Before the epoch the fraction counts away from zero, as the day
    // numbers of the factory's programs do.
    return day < 0 ? day - fraction : day + fraction;
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
