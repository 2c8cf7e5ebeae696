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
// The time of day as "hh:mm" (24-hour clock).
QString clockText(double dayNumber);
// A day number from a whole day and milliseconds into it, without the
// time-zone work of QDateTime.
double fromDayAndMs(double day, int ms);

} // namespace daynum
