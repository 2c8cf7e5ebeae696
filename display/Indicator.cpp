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
    // Without a configuration, a connection or first figures there is
    // nothing to show: the failure has been reported, the program ends.
    if (!ok || platform::terminateRequested() || !dmMarvessa)
        return 1;
    TfrmPrincipal window(*dm, *dmMarvessa);
    window.FormCreate();
    window.showFullScreen();
    return app.exec();
}
