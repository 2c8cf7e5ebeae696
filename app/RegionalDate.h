#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The locale of the environment for dates: LC_ALL, then LC_TIME, then LANG
// (the first that is set and not empty); "C" and "POSIX" are the C locale.
QLocale environmentTimeLocale();

// A date in the locale's short-date order (day, month and year separated by
// any non-digits; a two-digit year is taken in 1950..2049; a first part of
// four digits reads as year, month, day in any locale), optionally
// followed by a blank and a time hh:mm[:ss[.zzz]]. Returns the day number
// with the time as its fraction, or nothing when the text is not such a date.
std::optional<double> parseRegionalDateTime(const QString& text, const QLocale& locale);
