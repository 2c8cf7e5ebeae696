#pragma once

#include <QDate>
#include <QDateTime>

// Day numbers: whole days since 1899-12-30, the time of day as a fraction.
namespace daynum {

double fromDate(const QDate& date);
double fromDateTime(const QDateTime& dateTime);
QDate toDate(double dayNumber);
QDateTime toDateTime(double dayNumber);
// Whole day of a day number (the time of day dropped), for either sign.
double datePart(double dayNumber);
// Milliseconds of the time of day, rounded to the nearest millisecond.
int timeOfDayMs(double dayNumber);

} // namespace daynum
