// The window's first figures: the indicator's window (offscreen, 1920x1080)
// started on the settings of FOLDER, as the program starts it, until its
// first page of figures shows. Prints, on one line, the seconds from the
// program's start to the end of the first run and to that page, and the
// process's peak and current memory then (kB).
//
//   window-bench FOLDER
#include "app/GenerationWorker.h"
#include "app/TdmPrinc.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "display/TfrmPrincipal.h"
#include "bench/ProcStatus.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QElapsedTimer desdeInicio;
    desdeInicio.start();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window-bench FOLDER\n");
        return 2;
    }
    platform::setAppFolder(QString::fromLocal8Bit(argv[1]));
    double fimExecucao = -1;
    QString falha;
    logfmt::setSink([&](const QString& line) {
        if (fimExecucao < 0 && line.contains(QLatin1String(" event=run ")))
            fimExecucao = double(desdeInicio.nsecsElapsed()) / 1e9;
        if (line.contains(QLatin1String(" event=run-failed ")))
            falha = line;
    });

    auto dm = std::make_unique<TdmPrinc>();
    dmPrinc = dm.get();
    dm->setGeracaoInicialAdiada(true);
    dm->DataModuleCreate();
    GenerationWorker worker(dm->sqlCon, dm->DataIndicador(), dm->PorFuncionario(), dm->DataFixa(),
                            dm->MinutosCompleto());
    worker.setConsultasParalelas(dm->ConsultasParalelas());
    TfrmPrincipal window(*dm);
    window.setWorker(&worker);
    window.resize(1920, 1080);
    window.show();
    window.iniciar();

    int status = 0;
    QTimer espera;
    QObject::connect(&espera, &QTimer::timeout, [&] {
        if (!falha.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(falha));
            status = 1;
            QApplication::quit();
        } else if (fimExecucao >= 0 && window.estadoTela() == QLatin1String("atual")) {
            std::printf("run-s %.3f page-s %.3f peak-kb %ld rss-kb %ld\n", fimExecucao,
                        double(desdeInicio.nsecsElapsed()) / 1e9, statusValue("VmHWM:"), statusValue("VmRSS:"));
            QApplication::quit();
        }
    });
    espera.start(5);
    app.exec();
    std::fflush(nullptr);
    std::_Exit(status);
}
