// Times one generation run against a factory database and sets it against
// two floors, measured side by side in the same process:
//   - the three production statements, run and fetched with nothing else;
//   - every statement the run sends (those three, the shift rows, the
//     operation times, the grouping sectors and one product-time statement
//     for each product the run looked up), run and fetched with nothing else.
// Then a refresh run of the reading day after the full run.
//
//   generation-bench DATABASE YYYY-MM-DD [ROUNDS] [serial]
//
// With "serial" the runs read the three statements one after another on the
// connection, else side by side.
//
//   generation-bench --fetch DATABASE YYYY-MM-DD
//
// The bare serial fetch alone, as a program of its own would do it: attach,
// run the three production statements of the period one after the other,
// decode every column of every row; prints the records.
//
// Full runs and floors take turns, each going first every other round, so
// that a slower stretch of the machine weighs on both. Prints the records,
// the rows of cdsTempoSetor, the best time of each, the ratios of the full
// run to each floor (best against best; the middle round's and the range of
// the rounds', which show how steady the machine was), the best
// refresh time and its ratio to the full run, and the peak memory.
//
// Every refresh run's three tables are compared with those of the full run
// before it, field by field to the last bit and in order, and once more with
// the reading day given with a time of day; a difference ends the bench with
// exit status 1.
#include "calc/SourceStatements.h"
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "data/FbResultSet.h"
#include "data/SqlConnection.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDate>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

long fetchAll(SqlQuery& q)
{
    long records = 0;
    q.close();
    q.open();
    for (; !q.eof(); q.next())
        ++records;
    q.close();
    return records;
}

// The production statements, with the period and texts the last full run
// left in them.
long productionStatements(TdmMarvessa& dm)
{
    long records = 0;
    for (SqlQuery* q : {&dm.sqlProdSetor, &dm.sqlCorteSetor, &dm.sqlCodCxUnitSetor})
        records += fetchAll(*q);
    return records;
}

// Every statement of the last full run.
void everyStatement(TdmMarvessa& dm)
{
    productionStatements(dm);
    for (SqlQuery* q : {&dm.sqlOperacaoSetor, &dm.sqlProdExped, &dm.sqlSetorAg})
        fetchAll(*q);
    for (QString produto : dm.ProdutosLidos()) {
        produto.replace(QLatin1Char('\''), QStringLiteral("''"));
        dm.sqlProdTempo.close();
        dm.sqlProdTempo.sql() =
            QStringList{sourcesql::kProdTempoPrefix + QLatin1Char('\'') + produto + QStringLiteral("')")};
        fetchAll(dm.sqlProdTempo);
    }
}

double seconds(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e9;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

// The three tables' digest: every row in order, every field, floats to the
// last bit. A digest, not the text: the bench's peak memory is the run's.
QByteArray tables(TdmMarvessa& dm)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray row;
    auto addRow = [&](const WorkTable& t) {
        row.clear();
        for (const auto& f : t.fields()) {
            if (f->isNull())
                row += '-';
            else if (f->type() == FieldType::Float)
                row += QByteArray::number(f->asFloat(), 'g', 17);
            else
                row += f->asString().toUtf8();
            row += '|';
        }
        row += '\n';
        hash.addData(row);
    };
    hash.addData(dm.cdsTempoSetor.name().toUtf8() + '\n');
    dm.PercorrerTempoSetor(addRow);
    for (WorkTable* t : {&dm.cdsSetores, &dm.cdsSetorFunc}) {
        hash.addData(t->name().toUtf8() + '\n');
        for (t->first(); !t->eof(); t->next())
            addRow(*t);
    }
    return hash.result();
}

int fetchOnly(const QString& database, const QDate& day)
{
    SqlConnection con({QStringLiteral("User_Name=SYSDBA"), QStringLiteral("SQLDialect=3"),
                       QStringLiteral("Database=") + database});
    con.open();
    TdmMarvessa dm;
    dm.setSQLCOnnection(&con);
    dm.setGravarConsultas(false);
    const double dia = daynum::fromDate(day);
    dm.PeriodoProducao()->setDataIni(dia - 30);
    dm.PeriodoProducao()->setDataFim(dia);
    dm.MontarSqlProdSetor();
    dm.MontarSqlCorteSetor();
    dm.MontarSqlCodCxUnitSetor();
    long records = 0;
    double soma = 0;
    QString texto;
    for (SqlQuery* q : {&dm.sqlProdSetor, &dm.sqlCorteSetor, &dm.sqlCodCxUnitSetor}) {
        q->open();
        const int columns = int(q->columns().size());
        for (; !q->eof(); q->next(), ++records)
            for (int i = 0; i < columns; ++i) {
                const fb::Value& v = q->value(i);
                if (v.kind() == fb::Value::Kind::Text)
                    soma += v.asText(texto).size();
                else if (!v.isNull())
                    soma += v.asFloat();
            }
        q->close();
    }
    std::printf("records %ld (%g)\n", records, soma);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--fetch") == 0)
        return fetchOnly(QString::fromLocal8Bit(argv[2]), QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate));
    if (argc < 3) {
        std::fprintf(stderr, "usage: generation-bench DATABASE YYYY-MM-DD [ROUNDS] [serial]\n"
                             "       generation-bench --fetch DATABASE YYYY-MM-DD\n");
        return 2;
    }
    const QString database = QString::fromLocal8Bit(argv[1]);
    const QDate day = QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate);
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    QTemporaryDir folder;
    platform::setAppFolder(folder.path());

    SqlConnection con({QStringLiteral("User_Name=SYSDBA"), QStringLiteral("SQLDialect=3"),
                       QStringLiteral("Database=") + database});
    con.open();
    TdmMarvessa dm;
    dm.setSQLCOnnection(&con);
    dm.setDataLeitura(daynum::fromDate(day));
    dm.setExpedienteProducaoPorFunc(true);
    dm.setConsultasParalelas(!(argc > 4 && std::strcmp(argv[4], "serial") == 0));

    // The statements with the run's period and texts, built once.
    dm.GerarCdsEficiencia();

    std::vector<double> full, three, every, refresh, perThree, perEvery;
    QByteArray fullTables;
    int refreshDiffers = 0;
    long records = 0;
    std::int64_t dayRecords = 0;
    int rows = 0;
    for (int i = 0; i < rounds; ++i) {
        double run = 0, floor3 = 0, floorAll = 0;
        auto fullRun = [&] {
            run = seconds([&] { dm.GerarCdsEficiencia(); });
            rows = int(dm.LinhasTempo().size());
            fullTables = tables(dm);
        };
        auto floors = [&] {
            floor3 = seconds([&] { records = productionStatements(dm); });
            floorAll = seconds([&] { everyStatement(dm); });
        };
        if (i % 2 == 0) {
            fullRun();
            floors();
        } else {
            floors();
            fullRun();
        }
        full.push_back(run);
        three.push_back(floor3);
        every.push_back(floorAll);
        perThree.push_back(run / floor3);
        perEvery.push_back(run / floorAll);
        // A refresh run of the reading day after the round's full run; not
        // before a round that starts with the floors, which need the
        // statements as the full run left them.
        if (i % 2 == 1 || i + 1 == rounds) {
            refresh.push_back(seconds([&] { dm.AtualizarDiaEficiencia(); }));
            dayRecords = dm.RegistrosLidos();
            refreshDiffers += tables(dm) != fullTables;
        }
    }

    // The reading day with a time of day: the same tables, after a full run
    // and after two refresh runs.
    int timeDiffers = 0;
    dm.setDataLeitura(daynum::fromDate(day) + 8.5 / 24);
    dm.GerarCdsEficiencia();
    timeDiffers += tables(dm) != fullTables;
    for (int i = 0; i < 2; ++i) {
        dm.AtualizarDiaEficiencia();
        timeDiffers += tables(dm) != fullTables;
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("records:             %ld\n", records);
    std::printf("cdsTempoSetor rows:  %d\n", rows);
    std::printf("full run:            %.3f s (best of %d)\n", best(full), rounds);
    std::printf("three statements:    %.3f s (best of %d)\n", best(three), rounds);
    std::printf("every statement:     %.3f s (best of %d; %lld product-time statements)\n", best(every), rounds,
                static_cast<long long>(dm.ProdutosLidos().size()));
    auto spread = [](const std::vector<double>& v) {
        return std::make_pair(*std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
    };
    std::printf("full / fetch:        %.3f (best against best; rounds: middle %.3f, %.3f to %.3f)\n",
                best(full) / best(three), median(perThree), spread(perThree).first, spread(perThree).second);
    std::printf("full / every fetch:  %.3f (best against best; rounds: middle %.3f, %.3f to %.3f)\n",
                best(full) / best(every), median(perEvery), spread(perEvery).first, spread(perEvery).second);
    std::printf("refresh run:         %.3f s (best of %zu, %lld records of the day)\n", best(refresh),
                refresh.size(), static_cast<long long>(dayRecords));
    std::printf("refresh / full:      %.3f\n", best(refresh) / best(full));
    std::printf("refresh = full:      %s (%zu refresh runs compared; %d differ)\n", refreshDiffers ? "NO" : "yes",
                refresh.size(), refreshDiffers);
    std::printf("day with a time:     %s (a full run and 2 refresh runs at 08:30; %d differ)\n",
                timeDiffers ? "NO" : "same tables", timeDiffers);
    std::printf("peak memory:         %.1f MB\n", usage.ru_maxrss / 1024.0);
    return refreshDiffers || timeDiffers ? 1 : 0;
}
