#pragma once

#include <QCoreApplication>

class QTextStream;

// The --check run, for the technician, with no display: the settings as the
// program reads them (value, and whether from the file or the default),
// warnings about values that look mistaken, then the database: each
// configured sector's name and how many source records its reading day has.
// Exit status 0 when the settings load and the database answers, 1
// otherwise, with the reason. Never prints a password.
int runCheck(QCoreApplication& app);
// The same check, written to out, in this process: the application folder,
// the clock and the message boxes as the platform has them.
int verificarConfiguracoes(QTextStream& out);
