#pragma once

#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

// The program's log: one logfmt line per event on standard error (a service
// manager's journal keeps it). Every line starts with the time (from the
// clock seam) and the event name; values with blanks, quotes or '=' are
// quoted. Nothing is written to files.
namespace logfmt {

using Field = std::pair<const char*, QString>;

// The line for an event, without the line end.
QString line(const QString& event, std::initializer_list<Field> fields);
// Writes the line; safe from any thread.
void write(const QString& event, std::initializer_list<Field> fields);

// Tests take the lines instead of standard error; an empty function gives
// them back to standard error.
void setSink(std::function<void(const QString&)> sink);

// A value quoted as logfmt needs it.
QString quote(const QString& value);

} // namespace logfmt
