// Times one generation run against a factory database and sets it against
// the floor: running and fetching the three production statements once with
// nothing else.
//
//   generation-bench DATABASE YYYY-MM-DD [RUNS]
//
// Prints the records, the rows of cdsTempoSetor, the best generation time,
// the best floor time, their ratio and the peak memory of the process.
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

    double bestRun = 1e300, bestFloor = 1e300;
    long records = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        records = floorRun(dm);
        bestFloor = std::min(bestFloor, t.nsecsElapsed() / 1e9);
        t.restart();
        dm.GerarCdsEficiencia();
        bestRun = std::min(bestRun, t.nsecsElapsed() / 1e9);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records:             %ld\n", records);
    std::printf("cdsTempoSetor rows:  %d\n", dm.cdsTempoSetor.recordCount());
    std::printf("generation run:      %.3f s (best of %d)\n", bestRun, runs);
    std::printf("statements alone:    %.3f s (best of %d)\n", bestFloor, runs);
    std::printf("ratio:               %.3f\n", bestRun / bestFloor);
    std::printf("peak memory:         %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
