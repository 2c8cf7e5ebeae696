#include "display/Indicator.h"

#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "display/QtMessageBoxes.h"
#include "display/TfrmPrincipal.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

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
    GenerationWorker worker(dm->sqlCon, dmMarvessa->DataLeitura(), dmMarvessa->ExpedienteProducaoPorFunc());
    TfrmPrincipal window(*dm, *dmMarvessa);
    window.setWorker(&worker);
    window.FormCreate();
    window.showFullScreen();
    const int status = app.exec();
    // A run still going on is not waited for long: the program is ending.
    if (!worker.stop(2000)) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
