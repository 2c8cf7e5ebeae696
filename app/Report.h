#pragma once

#include <QCoreApplication>
#include <QJsonObject>

class TdmPrinc;

class WorkTable;
class QJsonArray;

// The settings as the report shows them (never the password).
QJsonObject configurationJson(const TdmPrinc& dm);
// The rows of a working table in table order: every field by its name,
// empty fields as null, dates as YYYY-MM-DD.
QJsonArray tableJson(WorkTable& table);
// The current row of a working table, as tableJson gives each row.
QJsonObject rowJson(const WorkTable& table);

// The --report run: start as usual, print one JSON object (written as it is
// made, a table row at a time), exit status 0;
// any failure (reported on standard error) gives exit status 1.
// With ciclos > 0 the start makes no run of its own: ciclos runs follow as
// the display makes them, and "execucoes" says what each was.
int runReport(QCoreApplication& app, int ciclos = 0);
