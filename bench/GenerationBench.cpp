// Times one generation run against a factory database and sets it against
// the floor: running and fetching the three production statements once with
// nothing else; then a refresh run of the reading day after it.
//
//   generation-bench DATABASE YYYY-MM-DD [RUNS]
//
// Prints the records, the rows of cdsTempoSetor, the best full-run time, the
// best floor time, their ratio, the best refresh time and its ratio to the
// full run, and the peak memory of the process.
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "data/SqlConnection.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

// Runs each production statement once and fetches every row.
long floorRun(TdmMarvessa& dm)
{
    long records = 0;
    for (SqlQuery* q : {&dm.sqlProdSetor, &dm.sqlCorteSetor, &dm.sqlCodCxUnitSetor}) {
        q->close();
        q->open();
        for (; !q->eof(); q->next())
            ++records;
        q->close();
    }
    return records;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: generation-bench DATABASE YYYY-MM-DD [RUNS]\n");
        return 2;
    }
    const QString database = QString::fromLocal8Bit(argv[1]);
    const QDate day = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    QTemporaryDir folder;
    platform::setAppFolder(folder.path());

    SqlConnection con({QStringLiteral("User_Name=SYSDBA"), QStringLiteral("SQLDialect=3"),
                       QStringLiteral("Database=") + database});
    con.open();
    TdmMarvessa dm;
    dm.setSQLCOnnection(&con);
    dm.setDataLeitura(daynum::fromDate(day));
    dm.setExpedienteProducaoPorFunc(true);

    // The statements with the run's period and texts, built once.
    dm.GerarCdsEficiencia();

    double bestRun = 1e300, bestFloor = 1e300, bestRefresh = 1e300;
    long records = 0;
    std::int64_t dayRecords = 0;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        dm.GerarCdsEficiencia();
        bestRun = std::min(bestRun, t.nsecsElapsed() / 1e9);
        rows = dm.cdsTempoSetor.recordCount();
        // The bare fetch of the same statements, with the full run's period.
        t.restart();
        records = floorRun(dm);
        bestFloor = std::min(bestFloor, t.nsecsElapsed() / 1e9);
        // A refresh run of the reading day after that full run.
        t.restart();
        dm.AtualizarDiaEficiencia();
        bestRefresh = std::min(bestRefresh, t.nsecsElapsed() / 1e9);
        dayRecords = dm.RegistrosLidos();
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records:             %ld\n", records);
    std::printf("cdsTempoSetor rows:  %d\n", rows);
    std::printf("full run:            %.3f s (best of %d)\n", bestRun, runs);
    std::printf("statements alone:    %.3f s (best of %d)\n", bestFloor, runs);
    std::printf("full / fetch:        %.3f\n", bestRun / bestFloor);
    std::printf("refresh run:         %.3f s (best of %d, %lld records of the day)\n", bestRefresh, runs,
                static_cast<long long>(dayRecords));
    std::printf("refresh / full:      %.3f\n", bestRefresh / bestRun);
    std::printf("peak memory:         %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
