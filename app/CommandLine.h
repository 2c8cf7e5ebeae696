#pragma once

#include <QCoreApplication>
#include <QString>

#include <QSize>

struct CommandLineOptions {
    bool report = false;
    bool check = false;
    int ciclos = 0; // --report --ciclos N: N generation runs as the display makes them
    QString dir;
    QString snapshot; // output folder of --snapshot; empty when not asked for
    QSize size{1920, 1080};
};

// True when the arguments name the option, looked at before the application
// object exists (--report needs no window, --snapshot an offscreen one).
bool hasOption(int argc, char** argv, const char* option);

// The value of --size WxH (or --size=WxH), looked at before the application
// object exists; an empty size when absent or malformed.
QSize sizeArgument(int argc, char** argv);

// Parses the options; --help and --version print and end the process.
// Installs --dir as the application folder.
CommandLineOptions parseCommandLine(const QCoreApplication& app);
