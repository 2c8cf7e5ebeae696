#pragma once

#include <QCoreApplication>
#include <QString>

struct CommandLineOptions {
    bool report = false;
    QString dir;
};

// True when the arguments ask for the report (no window), looked at before
// the application object exists.
bool wantsReport(int argc, char** argv);

// Parses the options; --help and --version print and end the process.
// Installs --dir as the application folder.
CommandLineOptions parseCommandLine(const QCoreApplication& app);
