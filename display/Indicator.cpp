#include "display/Indicator.h"

#include "app/ErrorReport.h"
#include "app/GenerationWorker.h"
#include "data/DatabaseError.h"
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
    auto dm = std::make_unique<TdmPrinc>();
    dmPrinc = dm.get();
    dm->setGeracaoInicialAdiada(true);
    QString erroConexao;
    try {
        dm->DataModuleCreate();
    } catch (const fb::DatabaseError& e) {
        // A refused attach (the server not up yet) is tried again by the
        // window; a configuration that could not be read ends the program.
        if (platform::terminateRequested())
            return 1; // the missing configuration has been reported
        if (!dm->ConnectionParams().Loaded) {
            reportException(e);
            return 1;
        }
        erroConexao = exceptionText(e);
    } catch (const std::exception& e) {
        reportException(e);
        return 1;
    }
    if (platform::terminateRequested())
        return 1;
    GenerationWorker worker(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario());
    TfrmPrincipal window(*dm);
    window.setWorker(&worker);
    window.showFullScreen();
    window.iniciar(erroConexao);
    const int status = app.exec();
    // A run still going on is not waited for long: the program is ending.
    if (!worker.stop(2000)) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
