#include "tests/calc/Factory.h"

#include "data/DayNumber.h"
#include "data/Log.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace rows;

namespace {

const double kDay = Factory::kReadingDay; // 2026-11-05
const double kYesterday = kDay - 1;

QString base()
{
    return sector("02", "Costura", 2, "02") + sector("03", "Montagem", 3, "02") + employee("001", "Ana Silva") +
           employee("002", "João Conceição") + operation("TR", "02", 5) + operation("CO", "03", 99);
}

// Every row of a table, a line of texts each, in the table's order.
QStringList tableRows(WorkTable& t)
{
    QStringList rows;
    for (t.first(); !t.eof(); t.next()) {
        QStringList cells;
        for (const auto& field : t.fields())
            cells << (field->isNull() ? QStringLiteral("null") : field->asString());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

TEST(Generation, ProductionTicketsAccumulateWithTicketChangeOncePerRecord)
{
    Factory f(base() + productTime("P1", "02", 30) + shift({"2026-11-04", "02", "001"}) +
              ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 100, "001", {"P1"}) +
              ticket(1, 2, "02", "2026-11-04 11:00", "11:00", 50, "001", {"P1"}));
    f.dm.GerarCdsEficiencia();
    ASSERT_EQ(f.dm.TabelaTempoSetor().recordCount(), 1);
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 2);
    EXPECT_EQ(f.field("TEMPO_TOT"), 4510); // 3000 + 5 + 1500 + 5
    EXPECT_TRUE(f.dm.cdsTempoSetorTEMPO_TOT_HE->isNull());
    EXPECT_EQ(f.field("MINUTOS_EXPEDIENTE"), 570);
    EXPECT_EQ(f.field("MINUTOS_EXTRAS"), 0);
    EXPECT_EQ(f.field("QTDE_FUNCIONARIOS"), 1);
    EXPECT_EQ(f.dm.cdsTempoSetorNOME_FUNCIONARIO->asString(), "Ana Silva");
    EXPECT_EQ(f.dm.cdsTempoSetorNOME_SETOR->asString(), "Costura");
    EXPECT_EQ(f.field("ORDEM_SETOR"), 2);
    EXPECT_DOUBLE_EQ(f.field("PERC_EFICIENCIA"), 4510.0 / (570 * 60) * 100);
}

TEST(Generation, CurrentDayShiftEndsNowUntilItsEndTime)
{
    Factory f(base() + productTime("P1", "02", 30) + shift({"2026-11-05", "02", "001"}) +
              ticket(1, 1, "02", "2026-11-05 06:00", "06:00", 1, "001", {"P1"}));
    struct Case {
        QTime now;
        int minutes;
    };
    for (const Case& c : {Case{QTime(10, 15), 195}, Case{QTime(13, 0), 300}, Case{QTime(17, 29), 569},
                          Case{QTime(17, 30), 570}, Case{QTime(23, 0), 570},
                          // Before the shift starts no minute is available yet: 0, not negative.
                          Case{QTime(6, 30), 0}, Case{QTime(0, 5), 0}}) {
        f.fakes.clock.set(QDateTime(QDate(2026, 11, 5), c.now));
        f.dm.GerarCdsEficiencia();
        f.row(kDay, "02", "001");
        EXPECT_EQ(f.field("MINUTOS_EXPEDIENTE"), c.minutes) << c.now.toString().toStdString();
    }
    // Another day than the clock's: the whole shift, whatever the time.
    f.fakes.clock.set(QDateTime(QDate(2026, 11, 6), QTime(10, 15)));
    f.dm.GerarCdsEficiencia();
    f.row(kDay, "02", "001");
    EXPECT_EQ(f.field("MINUTOS_EXPEDIENTE"), 570);
}

TEST(Generation, OvertimeWindowIncludesBothEnds)
{
    Shift withOvertime{"2026-11-04", "02", "001"};
    withOvertime.inicioHe = "18:00";
    withOvertime.fimHe = "20:00";
    withOvertime.qtdeHe = 1;
    QString sql = base() + productTime("P1", "02", 10) + shift(withOvertime);
    int ficha = 1;
    for (const char* hora : {"17:59", "18:00", "20:00", "20:01"})
        sql += ticket(1, ficha++, "02", QStringLiteral("2026-11-04 %1").arg(hora), hora, 1, "001", {"P1"});
    Factory f(sql);
    f.dm.GerarCdsEficiencia();
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("TEMPO_TOT"), 2 * (10 + 5));
    EXPECT_EQ(f.field("TEMPO_TOT_HE"), 2 * (10 + 5));
    EXPECT_EQ(f.field("MINUTOS_EXTRAS"), 120);
    EXPECT_EQ(f.field("QTDE_FUNCIONARIOS_HE"), 1);

    // Without an overtime start nothing is overtime.
    Factory g(base() + productTime("P1", "02", 10) + shift({"2026-11-04", "02", "001"}) +
              ticket(1, 1, "02", "2026-11-04 19:00", "19:00", 1, "001", {"P1"}));
    g.dm.GerarCdsEficiencia();
    g.row(kYesterday, "02", "001");
    EXPECT_EQ(g.field("TEMPO_TOT"), 15);
    EXPECT_TRUE(g.dm.cdsTempoSetorTEMPO_TOT_HE->isNull());
    EXPECT_EQ(g.field("MINUTOS_EXTRAS"), 0);
}

TEST(Generation, ProductLookupGoesThroughTheGroupingSector)
{
    // Sector 03 groups to 02. Ticket 1's first item has no time in 03, so the
    // greatest product (P9) is looked up in the grouping sector's row: 120 s
    // stored, read as 2 per pair since the setting is not "S". Sector 04 is
    // missing from SETOR: 0, though PRODUTO_TEMPO has a row for it.
    QString sql = base() + productTime("P9", "02", 120) + productTime("P9", "03", 999) + productTime("P9", "04", 50) +
                  shift({"2026-11-04", "03", "001"}) + shift({"2026-11-04", "04", "002"}) +
                  ticket(1, 1, "03", "2026-11-04 10:00", "10:00", 10, "001", {"P1", "P9"}) +
                  ticket(1, 2, "04", "2026-11-04 10:00", "10:00", 10, "002", {"P1", "P9"});
    Factory f(sql + param("N"));
    f.dm.GerarCdsEficiencia();
    f.row(kYesterday, "03", "001");
    EXPECT_EQ(f.field("TEMPO_TOT"), 10 * 2); // no ticket-change operation in 03 ("CO" is another)
    f.row(kYesterday, "04", "002");
    EXPECT_EQ(f.field("TEMPO_TOT"), 0);

    Factory s(sql + param("S"));
    s.dm.GerarCdsEficiencia();
    s.row(kYesterday, "03", "001");
    EXPECT_EQ(s.field("TEMPO_TOT"), 10 * 120);
}

TEST(Generation, ProductTimeSettingIsAskedOnce)
{
    Factory f(base() + param("s"));
    EXPECT_EQ(f.dm.ProdTempoDecimal(), "s");
    EXPECT_EQ(f.dm.ConverterTempoProduto(120), 2); // only a capital S keeps the time
    f.con.close();
    f.db.exec("update PARAM set VALOR_PA = 'S';");
    f.con.open();
    EXPECT_EQ(f.dm.ProdTempoDecimal(), "s"); // not asked again

    Factory none(base());
    EXPECT_EQ(none.dm.ProdTempoDecimal(), "");
    none.dm.AbrirCdsSetorAg();
    EXPECT_EQ(none.dm.getTempoProdutoSetor("P1", "02"), 0);
    EXPECT_EQ(none.dm.cdsProdTempo.recordCount(), 0);
}

TEST(Generation, CuttingAndUnitLabelStagesMapTheirColumns)
{
    QString sql = base() + productTime("P5", "02", 40) + shift({"2026-11-04", "02", "001"}) +
                  shift({"2026-11-04", "02", "002"}) +
                  cutting(1, "02", "2026-11-04 09:10", "001", 24, "F1", 20) +
                  cutting(2, "02", "2026-11-04 09:20", "001", 12, "F0", 0) + // TEMPO 0: only the ticket change
                  label("C1", 7, 1, "02", "2026-11-04 15:00:00", "002", "P5") +
                  label("C2", 7, 1, "02", "2026-11-04 15:00:00", "002", "P5") + // counted together: QTDE 2
                  label("C3", 7, 1, "02", "2026-11-04 15:01:00", "002", "P5");
    Factory f(sql);
    f.dm.GerarCdsEficiencia();
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 2);
    EXPECT_EQ(f.field("TEMPO_TOT"), 24 * 20 + 5 + 0 + 5);
    f.row(kYesterday, "02", "002");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 2);
    EXPECT_EQ(f.field("TEMPO_TOT"), 2 * 40 + 5 + 1 * 40 + 5);
    EXPECT_EQ(f.dm.cdsTempoSetorNOME_FUNCIONARIO->asString(), "João Conceição");
}

TEST(Generation, EachCuttingTicketCountsOnceWhateverItsProgrammesOrItsTwins)
{
    // Tickets 1 and 2: the same day, quantity, die and employee. Ticket 3
    // belongs to two programmes.
    QString sql = base() + shift({"2026-11-04", "02", "001"}) +
                  cutting(1, "02", "2026-11-04 09:10", "001", 24, "F1", 20) +
                  cutting(2, "02", "2026-11-04 09:10", "001", 24, "F1", 20) +
                  cutting(3, "02", "2026-11-04 10:00", "001", 10, "F1", 20) +
                  "insert into FICHA_CORTE_PROGRAMACOES values (3, 70);\n"
                  "insert into FICHA_CORTE_PROGRAMACOES values (3, 71);\n";
    Factory f(sql);
    f.dm.GerarCdsEficiencia();
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 3);
    EXPECT_EQ(f.field("TEMPO_TOT"), 2 * (24 * 20 + 5) + 10 * 20 + 5);
}

TEST(Generation, UnitLabelClockTextDecidesOvertime)
{
    Shift s{"2026-11-04", "02", "002"};
    s.inicioHe = "18:00";
    s.fimHe = "19:00";
    s.qtdeHe = 1;
    Factory f(base() + productTime("P5", "02", 40) + shift(s) +
              label("C1", 7, 1, "02", "2026-11-04 18:30:00", "002", "P5"));
    f.dm.GerarCdsEficiencia();
    f.row(kYesterday, "02", "002");
    EXPECT_EQ(f.field("TEMPO_TOT_HE"), 45);
}

TEST(Generation, StagesFillRowsInOrderAndTheFirstRecordNamesTheRow)
{
    Factory f(base() + productTime("P1", "02", 30) + shift({"2026-11-04", "02", "001"}) +
              shift({"2026-11-04", "02", "002"}) + label("C1", 7, 1, "02", "2026-11-04 08:00", "001", "P1") +
              cutting(1, "02", "2026-11-04 09:00", "002", 1, "F1", 1) +
              ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}));
    f.dm.GerarCdsEficiencia();
    QStringList order;
    for (f.dm.TabelaTempoSetor().first(); !f.dm.TabelaTempoSetor().eof(); f.dm.TabelaTempoSetor().next())
        order << f.dm.cdsTempoSetorFUNCIONARIO->asString();
    EXPECT_EQ(order, QStringList({"001", "002"})); // production first, then cutting
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 2);
}

TEST(Generation, ShiftRowsPerSectorServeEveryEmployee)
{
    QString sql = base() + productTime("P1", "02", 30) + productTime("P1", "03", 30) +
                  shift({"2026-11-04", "02", QString()}) + // sector row, employee null
                  shift({"2026-11-04", "03", "001"}) +     // employee row only: no sector row
                  ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}) +
                  ticket(1, 2, "02", "2026-11-04 10:00", "10:00", 1, "002", {"P1"}) +
                  ticket(1, 3, "03", "2026-11-04 10:00", "10:00", 1, "001", {"P1"});
    Factory f(sql);
    f.dm.setExpedienteProducaoPorFunc(false);
    f.dm.GerarCdsEficiencia();
    EXPECT_EQ(f.dm.TabelaTempoSetor().recordCount(), 2);
    for (const char* func : {"001", "002"}) {
        f.row(kYesterday, "02", func);
        EXPECT_EQ(f.field("MINUTOS_EXPEDIENTE"), 570);
    }
}

TEST(Generation, EachRowHasItsOwnShiftWhenShiftsDifferByOneValue)
{
    // Shift rows of one day alike but for one value each: a row takes its
    // own, and two alike give the same minutes.
    Shift igual{"2026-11-04", "02", "001"}, inativo{"2026-11-04", "02", "002"}, extra{"2026-11-04", "02", "003"},
        almoco{"2026-11-04", "02", "004"}, mesmo{"2026-11-04", "02", "005"};
    inativo.inativo = 30;
    extra.inicioHe = "17:30";
    extra.fimHe = "18:30";
    extra.qtdeHe = 1;
    almoco.almoco = 30;
    QString sql = base() + employee("003", "C") + employee("004", "D") + employee("005", "E") +
                  productTime("P1", "02", 30);
    int n = 0;
    for (const Shift& s : {igual, inativo, extra, almoco, mesmo})
        sql += shift(s) + ticket(1, ++n, "02", "2026-11-04 10:00", "10:00", 1, s.func, {"P1"});
    Factory f(sql);
    f.dm.GerarCdsEficiencia();
    struct Esperado {
        const char* func;
        double expediente, inativo, extras, qtdeHe;
    };
    for (const Esperado& e : std::initializer_list<Esperado>{
             {"001", 570, 0, 0, 0}, {"002", 570, 30, 0, 0}, {"003", 570, 0, 60, 1}, {"004", 600, 0, 0, 0},
             {"005", 570, 0, 0, 0}}) {
        SCOPED_TRACE(e.func);
        f.row(kYesterday, "02", e.func);
        EXPECT_EQ(f.field("MINUTOS_EXPEDIENTE"), e.expediente);
        EXPECT_EQ(f.field("MINUTOS_INATIVO"), e.inativo);
        EXPECT_EQ(f.field("MINUTOS_EXTRAS"), e.extras);
        EXPECT_EQ(f.field("QTDE_FUNCIONARIOS_HE"), e.qtdeHe);
    }
}

TEST(Generation, RecordsWithoutStaffedShiftAreSkipped)
{
    Shift noStaff{"2026-11-04", "02", "002"};
    noStaff.qtde = 0;
    Factory f(base() + productTime("P1", "02", 30) + shift(noStaff) +
              ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}) + // no shift row
              ticket(1, 2, "02", "2026-11-04 10:00", "10:00", 1, "002", {"P1"}) + // no staff
              ticket(1, 3, "02", "2026-10-05 10:00", "10:00", 1, "002", {"P1"})); // outside the period
    std::vector<std::tuple<int, int, QString, bool>> progress;
    f.dm.setProgressEvent([&](int max, int value, const QString& msg, bool reset) {
        progress.emplace_back(max, value, msg, reset);
    });
    f.dm.GerarCdsEficiencia();
    EXPECT_EQ(f.dm.TabelaTempoSetor().recordCount(), 0);
    EXPECT_EQ(f.dm.cdsSetores.recordCount(), 0);
    // Two records in the period, both visited; the empty stages make no call.
    ASSERT_EQ(progress.size(), 2u);
    EXPECT_EQ(progress[0], std::make_tuple(2, 1, QString("Processando o Produto/Setor"), true));
    EXPECT_EQ(progress[1], std::make_tuple(2, 2, QString("Processando o Produto/Setor"), false));
}

TEST(Generation, PeriodCoversTheReadingDayAndThirtyBefore)
{
    Factory f(base() + productTime("P1", "02", 30) + shift({"2026-10-06", "02", "001"}) +
              shift({"2026-10-05", "02", "001"}) + shift({"2026-11-05", "02", "001"}) +
              ticket(1, 1, "02", "2026-10-06 00:00:00", "00:00", 1, "001", {"P1"}) +
              ticket(1, 2, "02", "2026-10-05 23:59:59", "23:59", 1, "001", {"P1"}) +
              ticket(1, 3, "02", "2026-11-05 23:59:59", "23:59", 1, "001", {"P1"}));
    f.dm.GerarCdsEficiencia();
    EXPECT_EQ(f.dm.PeriodoProducao()->DataIni(), kDay - 30);
    EXPECT_EQ(f.dm.PeriodoProducao()->DataFim(), kDay);
    EXPECT_EQ(f.dm.TabelaTempoSetor().recordCount(), 2);
}

TEST(Generation, RowsAreTheSameWhateverTheLengthOfThePeriod)
{
    // Two employees' records interleaved over two days, so that each row is
    // found again after another's; a period of over a year is kept by the
    // whole key, a month by day.
    const QString sql = base() + productTime("P1", "02", 30) + shift({"2026-11-04", "02", "001"}) +
                        shift({"2026-11-04", "02", "002"}) + shift({"2026-11-05", "02", "001"}) +
                        ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}) +
                        ticket(1, 2, "02", "2026-11-04 10:05", "10:05", 2, "002", {"P1"}) +
                        ticket(1, 3, "02", "2026-11-05 10:10", "10:10", 3, "001", {"P1"}) +
                        ticket(1, 4, "02", "2026-11-04 10:15", "10:15", 4, "001", {"P1"}) +
                        ticket(1, 5, "02", "2026-11-04 10:20", "10:20", 5, "002", {"P1"});
    auto rowsOf = [&](double ini, double fim) {
        Factory f(sql);
        f.dm.setDataLeitura(0);
        f.dm.setDataInicial(ini);
        f.dm.setDataFinal(fim);
        f.dm.GerarCdsEficiencia();
        return tableRows(f.dm.TabelaTempoSetor());
    };
    const QStringList month = rowsOf(kDay - 30, kDay);
    ASSERT_EQ(month.size(), 3);
    EXPECT_EQ(month, rowsOf(kDay - 500, kDay));
    Factory f(sql);
    f.dm.GerarCdsEficiencia();
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 2);
    EXPECT_EQ(f.field("TEMPO_TOT"), (1 + 4) * 30 + 2 * 5);
    f.row(kYesterday, "02", "002");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 2);
}

TEST(Generation, TheRunsRowsShownOneAtATimeAreTheTablesAndLeaveItEmpty)
{
    // A row with a percentage and one without (no staff minutes: a shift
    // with its lunch as long as itself).
    Shift semMinutos{"2026-11-04", "02", "002"};
    semMinutos.inicio = "07:00";
    semMinutos.fim = "08:00";
    Factory f(base() + productTime("P1", "02", 30) + shift({"2026-11-04", "02", "001"}) + shift(semMinutos) +
              ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}) +
              ticket(1, 2, "02", "2026-11-04 10:05", "10:05", 2, "002", {"P1"}));
    f.dm.GerarCdsEficiencia();
    ASSERT_EQ(f.dm.LinhasTempo().size(), 2u);
    EXPECT_EQ(f.dm.cdsTempoSetor.recordCount(), 0); // the run's rows are not table rows

    QStringList umAUm;
    f.dm.PercorrerTempoSetor([&](const WorkTable& t) {
        EXPECT_EQ(t.recordCount(), 1);
        QStringList cells;
        for (const auto& field : t.fields())
            cells << (field->isNull() ? QStringLiteral("null") : field->asString());
        umAUm << cells.join(QLatin1Char('|'));
    });
    EXPECT_EQ(f.dm.cdsTempoSetor.recordCount(), 0);
    const QStringList tabela = tableRows(f.dm.TabelaTempoSetor());
    EXPECT_EQ(umAUm, tabela);
    ASSERT_EQ(tabela.size(), 2);
    EXPECT_TRUE(tabela[1].contains("|null|Costura|")) << tabela[1].toStdString(); // no percentage

    // Worked out again after the run, the percentages are the same, and the
    // table filled before is filled again with them.
    f.dm.CalcularEficiencia();
    EXPECT_EQ(f.dm.cdsTempoSetor.recordCount(), 0);
    EXPECT_EQ(tableRows(f.dm.TabelaTempoSetor()), tabela);

    // Emptied, the table no longer stands for the run's rows: a row written
    // into it by hand is the one calculated.
    f.dm.LimparCds(f.dm.cdsTempoSetor);
    EXPECT_TRUE(f.dm.LinhasTempo().empty());
    f.dm.cdsTempoSetor.append();
    f.dm.cdsTempoSetorDATA->setAsDateTime(kDay);
    f.dm.cdsTempoSetorSETOR->setAsString("03");
    f.dm.cdsTempoSetorFUNCIONARIO->setAsString("001");
    f.dm.cdsTempoSetorTEMPO_TOT->setAsFloat(1200);
    f.dm.cdsTempoSetorMINUTOS_EXPEDIENTE->setAsInteger(40);
    f.dm.cdsTempoSetorQTDE_FUNCIONARIOS->setAsInteger(1);
    f.dm.cdsTempoSetor.post();
    f.dm.CalcularEficiencia();
    ASSERT_EQ(f.dm.TabelaTempoSetor().recordCount(), 1);
    EXPECT_EQ(f.dm.cdsTempoSetorPERC_EFICIENCIA->asFloat(), 50);
}

TEST(Generation, NamesReachThePagesWholeUpToTheirSourceColumns)
{
    // Names as long as their source columns (SETOR.NOME_SE 40, TABELA.DESC_TA
    // 60) reach the pages whole: two sectors whose names start alike are
    // never shown as one. A longer one is cut to the column's room.
    const QString setor06 = QStringLiteral("Pré-Fabricação e Preparação de Cabed 06");
    const QString setor14 = QStringLiteral("Pré-Fabricação e Preparação de Cabed 14");
    const QString longName = QStringLiteral("Maria Aparecida da Conceição Rodrigues de Albuquerque Santos");
    ASSERT_EQ(longName.size(), 60);
    Factory f(sector("06", setor06, 6, "06") + sector("14", setor14, 14, "14") + employee("009", longName) +
              productTime("P1", "06", 30) + productTime("P1", "14", 30) + shift({"2026-11-05", "06", "009"}) +
              shift({"2026-11-05", "14", "009"}) +
              ticket(1, 1, "06", "2026-11-05 10:00", "10:00", 1, "009", {"P1"}) +
              ticket(2, 1, "14", "2026-11-05 10:00", "10:00", 1, "009", {"P1"}));
    f.dm.GerarCdsEficiencia();
    f.row(kDay, "06", "009");
    EXPECT_EQ(f.dm.cdsTempoSetorNOME_SETOR->asString(), setor06);
    EXPECT_EQ(f.dm.cdsTempoSetorNOME_FUNCIONARIO->asString(), longName);
    QStringList setores, funcionarios;
    for (const LinhaSetor& s : f.dm.LinhasSetores())
        setores << s.nome;
    for (const LinhaSetorFuncionario& l : f.dm.LinhasSetorFuncionario())
        funcionarios << l.nomeFuncionario;
    EXPECT_EQ(setores, QStringList({setor06, setor14}));
    EXPECT_EQ(funcionarios, QStringList({longName, longName}));
}

TEST(Generation, DiferencaMinutosReadsClockTexts)
{
    struct Case {
        const char* from;
        const char* to;
        int minutes;
    };
    for (const Case& c : {Case{"08:00", "07:30", -30}, Case{"", "07:30", 0}, Case{"07:00", "", 0},
                          Case{"07:00", "ab:30", -390}, Case{"7:30", "00:00", 0}, Case{"07:30", "17:18", 588},
                          Case{" 7:05", "08:00", 55}}) {
        EXPECT_EQ(TdmMarvessa::DiferencaMinutos(c.from, c.to), c.minutes) << c.from << "-" << c.to;
    }
    EXPECT_EQ(TdmMarvessa::TextoParaInteiro(" 12 "), 12);
    EXPECT_EQ(TdmMarvessa::TextoParaInteiro("1a"), 0);
}

TEST(Generation, DamagedShiftRowsAreSkippedAndLoggedTheRestComputed)
{
    Shift minutes{"2026-11-04", "02", "001"};
    minutes.almoco = -2147483647; // out of range minutes
    Shift clock{"2026-11-04", "03", "001"};
    clock.fim = "99:99";
    Shift staff{"2026-11-03", "02", "001"};
    staff.qtde = -5;
    Factory f(base() + productTime("P1", "02", 30) + productTime("P1", "03", 30) + shift(minutes) + shift(clock) +
              shift(staff) + shift({"2026-11-04", "02", "002"}) +
              ticket(1, 1, "02", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}) +
              ticket(1, 2, "03", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}) +
              ticket(1, 3, "02", "2026-11-03 10:00", "10:00", 1, "001", {"P1"}) +
              ticket(1, 4, "02", "2026-11-04 10:00", "10:00", 1, "002", {"P1"}));
    QStringList log;
    logfmt::setSink([&](const QString& l) { log << l; });
    EXPECT_NO_THROW(f.dm.GerarCdsEficiencia());
    logfmt::setSink({});
    // Only the employee with a sound shift row has figures.
    ASSERT_EQ(f.dm.TabelaTempoSetor().recordCount(), 1);
    f.row(kYesterday, "02", "002");
    EXPECT_EQ(f.field("MINUTOS_EXPEDIENTE"), 570);
    ASSERT_EQ(log.size(), 3) << log.join('\n').toStdString();
    const QStringList expected = {
        "day=2026-11-03 sector=02 employee=001 reason=\"staff count out of range\"",
        "day=2026-11-04 sector=02 employee=001 reason=\"minutes out of range\"",
        "day=2026-11-04 sector=03 employee=001 reason=\"clock time\"",
    };
    for (const QString& e : expected)
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const QString& l) {
            return l.contains("event=row-skipped table=PRODUCAO_EXPEDIENTE " + e);
        })) << e.toStdString();
}

TEST(Generation, ADamagedShiftRowIsLoggedOnceNotAtEveryRun)
{
    Shift clock{"2026-11-04", "03", "001"};
    clock.fim = "25:99";
    Factory f(base() + productTime("P1", "03", 30) + shift(clock) +
              ticket(1, 1, "03", "2026-11-04 10:00", "10:00", 1, "001", {"P1"}));
    QStringList log;
    logfmt::setSink([&](const QString& l) { log << l; });
    for (int i = 0; i < 3; ++i)
        f.dm.GerarCdsEficiencia();
    logfmt::setSink({});
    EXPECT_EQ(log.filter("event=row-skipped").size(), 1);
}

TEST(Generation, AbsurdRecordsAreCountedAsTheyAreAndLoggedWithTheirTicket)
{
    Factory f(base() + productTime("P1", "02", 30) + productTime("P2", "02", 90000) +
              shift({"2026-11-04", "02", "001"}) +
              ticket(7, 1, "02", "2026-11-04 10:00", "10:00", 200000, "001", {"P1"}) +
              ticket(7, 2, "02", "2026-11-04 11:00", "11:00", 1, "001", {"P2"}) +
              ticket(7, 3, "02", "2026-11-04 12:00", "12:00", 10, "001", {"P1"}));
    QStringList log;
    logfmt::setSink([&](const QString& l) { log << l; });
    f.dm.GerarCdsEficiencia();
    f.dm.GerarCdsEficiencia();
    logfmt::setSink({});
    // Each run names each of them once, with its ticket.
    const QStringList absurd = log.filter("event=record-absurd");
    ASSERT_EQ(absurd.size(), 4) << log.join('\n').toStdString();
    EXPECT_TRUE(absurd[0].contains("source=producao ticket=7/1 day=2026-11-04 sector=02 employee=001 "
                                   "quantity=200000 time=30"))
        << absurd[0].toStdString();
    EXPECT_TRUE(absurd[1].contains("ticket=7/2")) << absurd[1].toStdString();
    EXPECT_EQ(f.dm.RegistrosAbsurdos(), 2);
    // The figures stay as the records make them.
    f.row(kYesterday, "02", "001");
    EXPECT_EQ(f.field("QTDE_FICHAS"), 3);
    EXPECT_DOUBLE_EQ(f.field("TEMPO_TOT"), (200000.0 * 30 + 5) + (90000 + 5) + (10 * 30 + 5));
}

