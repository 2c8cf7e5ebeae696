#include "app/CommandLine.h"
#include "app/Report.h"
#include "display/Indicator.h"

#include <QApplication>
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("tolvaneo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.68"));
    if (wantsReport(argc, argv)) {
        QCoreApplication app(argc, argv);
        parseCommandLine(app);
        return runReport(app);
    }
    QApplication app(argc, argv);
    parseCommandLine(app);
    return runIndicator(app);
}
