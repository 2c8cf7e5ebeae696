#pragma once

#include <QCoreApplication>
#include <QJsonObject>

class TdmPrinc;

// The settings as the report shows them (never the password).
QJsonObject configurationJson(const TdmPrinc& dm);

// The --report run: start as usual, print one JSON object, exit status 0;
// any failure (reported on standard error) gives exit status 1.
int runReport(QCoreApplication& app);
