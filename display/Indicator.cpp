#include "display/Indicator.h"

#include "app/TdmPrinc.h"
#include "display/QtMessageBoxes.h"
#include "display/TfrmPrincipal.h"

#include <QApplication>

int runIndicator(QApplication& app)
{
    static QtMessageBoxes boxes;
    platform::setMessageBoxes(&boxes);
    bool ok = false;
    auto dm = CreateDmPrinc(&ok);
    // Without a configuration or a connection there is nothing to show.
    if (!ok || platform::terminateRequested())
        return 1;
    TfrmPrincipal window;
    window.showFullScreen();
    return app.exec();
}
