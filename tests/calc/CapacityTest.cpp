#include "calc/TCalcExpediente.h"
#include "calc/BalancoCapacidade.h"
#include "tests/calc/Factory.h"

#include <gtest/gtest.h>

using namespace rows;

namespace {

// A shift table of one row, with the given columns.
struct ShiftRow {
    WorkTable table;
    explicit ShiftRow(const QStringList& values, bool withBreaks = true)
    {
        const QStringList names = {"HORA_INICIO_PE", "HORA_FIM_PE", "HORA_INICIO_HE_PE", "HORA_FIM_HE_PE"};
        for (const QString& n : names)
            table.addField(n, FieldType::Text, 5);
        if (withBreaks) {
            table.addField("MINUTOS_INTERVALO_ALMOCO_PE", FieldType::Integer);
            table.addField("MINUTOS_INATIVO_PE", FieldType::Integer);
        }
        table.createDataSet();
        table.append();
        for (int i = 0; i < values.size(); ++i)
            if (!values[i].isNull())
                table.fields()[size_t(i)]->setAsString(values[i]);
        table.post();
    }
};

// The capacity balance's sources: sector rows (code, name, date, days) and
// product rows (code, quantity).
struct Sources {
    WorkTable setores, produtos;
    Sources()
    {
        setores.addField("COD", FieldType::Text, 2);
        setores.addField("NOME", FieldType::Text, 30);
        setores.addField("DATA", FieldType::DateTime);
        setores.addField("DIAS", FieldType::Integer);
        setores.createDataSet();
        produtos.addField("PROD", FieldType::Text, 8);
        produtos.addField("QTDE", FieldType::Integer);
        produtos.createDataSet();
    }
    void sector(const QString& cod, double data, int dias)
    {
        setores.append();
        setores.fieldByName("COD").setAsString(cod);
        setores.fieldByName("NOME").setAsString("Setor " + cod);
        setores.fieldByName("DATA").setAsDateTime(data);
        setores.fieldByName("DIAS").setAsInteger(dias);
        setores.post();
    }
    void product(const QString& prod, int qtde)
    {
        produtos.append();
        produtos.fieldByName("PROD").setAsString(prod);
        produtos.fieldByName("QTDE").setAsInteger(qtde);
        produtos.post();
    }
    void describe(TRegCalcTempoProd& r)
    {
        r.dsSetorData = &setores;
        r.dsProdQtde = &produtos;
        r.NomeCpCodSetor = "COD";
        r.NomeCpDescSetor = "NOME";
        r.NomeCpDataSetor = "DATA";
        r.NomeCpDiasSetor = "DIAS";
        r.NomeCpProd = "PROD";
        r.NomeCpQtde = "QTDE";
    }
};

const double kNov5 = 46331; // 2026-11-05

QString shiftSql(const QString& day, const QString& setor, int qtde, const QString& he = {}, int qtdeHe = 0)
{
    Shift s{day, setor, QString()};
    s.inicio = "08:00";
    s.fim = "16:00";
    s.almoco = 0;
    s.qtde = qtde;
    if (!he.isEmpty()) {
        s.inicioHe = he.section('-', 0, 0);
        s.fimHe = he.section('-', 1, 1);
    }
    s.qtdeHe = qtdeHe;
    return shift(s);
}

} // namespace

TEST(ShiftCalculator, MinutesOfTheCurrentRow)
{
    PlatformFakes fakes;
    TCalcExpediente calc;
    ShiftRow row({"07:30", "17:18", "17:30", "17:30"});
    row.table.edit();
    row.table.fieldByName("MINUTOS_INTERVALO_ALMOCO_PE").setAsInteger(60);
    row.table.fieldByName("MINUTOS_INATIVO_PE").setAsInteger(8);
    row.table.post();
    calc.setDataSetExped(&row.table);
    EXPECT_EQ(calc.MinExpedienteNormal(), 520);
    EXPECT_EQ(calc.MinExpedienteHE(), 0);

    struct Case {
        QStringList values;
        int normal, he;
    };
    const Case cases[] = {
        {{"08:00", "12:00", "13:00", "15:00"}, 240, 120},
        {{"08:00", "12:00", QString(), QString()}, 240, 0},
        {{"08:00", "12:00", QString(), "17:30"}, 240, 1050},
        {{"08:00", "12:00", "17:30", QString()}, 240, -1050},
        {{"7:30", "17:18", QString(), QString()}, 1038, 0},
        {{"22:00", "06:00", QString(), QString()}, -960, 0},
    };
    for (const Case& c : cases) {
        ShiftRow r(c.values, false); // no break columns: nothing subtracted, no warning
        calc.setDataSetExped(&r.table);
        EXPECT_EQ(calc.MinExpedienteNormal(), c.normal) << c.values.join(' ').toStdString();
        EXPECT_EQ(calc.MinExpedienteHE(), c.he) << c.values.join(' ').toStdString();
        EXPECT_EQ(calc.MinExpedienteTotal(), c.normal + c.he);
    }
    EXPECT_EQ(TCalcExpediente::getQtdeMinutosEntreHoras("08:00", "7:30"), -480);
    EXPECT_EQ(TCalcExpediente::getHora(" 7:30"), 7);
    EXPECT_EQ(TCalcExpediente::getHora("+1"), 1);
    EXPECT_EQ(TCalcExpediente::getHora("7 "), 0);
    EXPECT_TRUE(fakes.boxes.shown.empty());
}

TEST(ShiftCalculator, WarnsAboutAMissingTableOrFields)
{
    PlatformFakes fakes;
    TCalcExpediente calc;
    EXPECT_EQ(calc.MinExpedienteTotal(), 0);
    ASSERT_EQ(fakes.boxes.shown.size(), 2u); // once per part
    EXPECT_EQ(fakes.boxes.shown[0].text, "DataSet dos dados do Expediente não configurado.");
    EXPECT_EQ(fakes.boxes.shown[0].icon, platform::MsgIcon::Warning);

    WorkTable partial;
    partial.addField("HORA_INICIO_PE", FieldType::Text, 5);
    partial.createDataSet();
    calc.setDataSetExped(&partial);
    fakes.boxes.shown.clear();
    EXPECT_EQ(calc.MinExpedienteNormal(), 0);
    ASSERT_EQ(fakes.boxes.shown.size(), 1u);
    EXPECT_EQ(fakes.boxes.shown[0].text, "Campos HORA_INICIO_PE e HORA_FIM_PE não encontrados no DataSet.");
}

TEST(CapacityBalance, ValidationStopsAtTheFirstGap)
{
    Factory f(sector("01", "Corte", 1, "01"));
    BalancoCapacidade b(f.dm);
    Sources src;
    TRegCalcTempoProd& r = *b.RegCalcTempoProd();
    const QStringList expected = {"DataSet dsSetorData não configurado.",   "DataSet dsProdQtde não configurado.",
                                  "Nome do campo CodSetor não informado.",  "Nome do campo DescSetor não informado.",
                                  "Nome do campo DataSetor não informado.", "Nome do campo NomeCpProd não informado.",
                                  "Nome do campo NomeCpQtde não informado."};
    std::vector<std::function<void()>> fillNext = {
        [&] { r.dsSetorData = &src.setores; },   [&] { r.dsProdQtde = &src.produtos; },
        [&] { r.NomeCpCodSetor = "COD"; },       [&] { r.NomeCpDescSetor = "NOME"; },
        [&] { r.NomeCpDataSetor = "DATA"; },     [&] { r.NomeCpProd = "PROD"; },
        [&] { r.NomeCpQtde = "QTDE"; },
    };
    for (int i = 0; i < expected.size(); ++i) {
        f.fakes.boxes.shown.clear();
        b.GerarCdsSetorData();
        ASSERT_EQ(f.fakes.boxes.shown.size(), 1u);
        EXPECT_EQ(f.fakes.boxes.shown[0].text, expected[i]);
        EXPECT_FALSE(b.cdsSetorData.active()); // nothing has changed
        fillNext[size_t(i)]();
    }
    f.fakes.boxes.shown.clear();
    r.NomeCpDiasSetor = "DIAS";
    b.GerarCdsSetorData();
    EXPECT_TRUE(f.fakes.boxes.shown.empty());
    EXPECT_TRUE(b.cdsSetorData.active());
}

TEST(CapacityBalance, DaysCountTheStartDaysShiftAndLookAhead)
{
    // 02: shift on Nov 5 (480 min, 10 staff). 03: none on Nov 5, one on Nov 6 with 7 staff.
    Factory f(param("S") + shiftSql("2026-11-05", "02", 10) + shiftSql("2026-11-06", "03", 7) +
              shiftSql("2026-11-07", "02", 99));
    BalancoCapacidade b(f.dm);
    struct Case {
        QString setor;
        int dias, expediente, qtdeFunc, totMinExped;
    };
    const Case cases[] = {
        {"02", 0, 0, 0, 0},         {"02", 1, 480, 10, 4800},  {"02", 2, 960, 10, 9600},
        {"02", 3, 1440, 10, 14400}, {"03", 1, 0, 0, 0},       {"03", 2, 480, 3, 1440},
    };
    for (const Case& c : cases) {
        Sources src;
        src.sector(c.setor, kNov5 + 0.4, c.dias);
        src.describe(*b.RegCalcTempoProd());
        b.GerarCdsSetorData();
        b.cdsSetorData.first();
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(c.setor).arg(c.dias).toStdString());
        EXPECT_EQ(b.cdsSetorData_DATA_SETOR->asDateTime(), kNov5);
        EXPECT_EQ(b.cdsSetorData_EXPEDIENTE->asInteger(), c.expediente);
        EXPECT_EQ(b.cdsSetorData_QTDE_FUNC->asInteger(), c.qtdeFunc);
        EXPECT_EQ(b.cdsSetorData_TOT_MIN_EXPED->asInteger(), c.totMinExped);
        if (c.dias == 0) {
            EXPECT_TRUE(b.cdsSetorData_EXPEDIENTE->isNull());
            EXPECT_EQ(b.cdsSetorData_PESSOAL_NECES->asFloat(), 0);
            EXPECT_EQ(b.cdsSetorData_SALDO_PESSOAL->asFloat(), 0);
        }
    }
    EXPECT_FALSE(b.GerandoCdsSetorData());
}

TEST(CapacityBalance, StaffBalanceAndProductTimes)
{
    Factory f(param("S") + shiftSql("2026-11-05", "02", 10, "17:00-18:00", 5) + productTime("P1", "02", 40) +
              productTime("P2", "02", 10.5) + productTime("P3", "02", 11.5) + productTime("P1", "03", 1));
    BalancoCapacidade b(f.dm);
    Sources src;
    src.sector("02", kNov5, 1);
    src.product("P1", 100);
    src.product("P9", 30); // no time in the sector
    src.describe(*b.RegCalcTempoProd());
    b.GerarCdsSetorData();
    b.cdsSetorData.first();
    EXPECT_EQ(b.cdsSetorData_EXPEDIENTE->asInteger(), 480);
    EXPECT_EQ(b.cdsSetorData_MIN_HE->asInteger(), 60);
    EXPECT_EQ(b.cdsSetorData_QTDE_FUNC_HE->asInteger(), 5);
    EXPECT_EQ(b.cdsSetorData_TOT_MIN_DISP->asInteger(), 5100);
    EXPECT_EQ(b.cdsSetorData_QTDE_PRODUCAO->asInteger(), 130);
    EXPECT_EQ(b.cdsSetorData_TEMPO_NECES->asInteger(), 4000);
    EXPECT_EQ(b.cdsSetorData_SALDO_TEMPO->asInteger(), 1100);
    EXPECT_NEAR(b.cdsSetorData_PESSOAL_NECES->asFloat(), 8.3333, 1e-4);
    EXPECT_NEAR(b.cdsSetorData_SALDO_PESSOAL->asFloat(), 2.2917, 1e-4);
    ASSERT_EQ(b.cdsSetorProdTempo.recordCount(), 2);
    b.cdsSetorProdTempo.last();
    EXPECT_EQ(b.cdsSetorProdTempo_PROD->asString(), "P9");
    EXPECT_EQ(b.cdsSetorProdTempo_TEMPO_POR_PAR->asFloat(), 0);
    EXPECT_EQ(b.cdsSetorProdTempo_QTDE->asInteger(), 30);

    // An edit of the staff recomputes the row at once.
    b.cdsSetorData.edit();
    b.cdsSetorData_QTDE_FUNC->setAsInteger(12);
    EXPECT_EQ(b.cdsSetorData_TOT_MIN_DISP->asInteger(), 480 * 12 + 300);
    EXPECT_EQ(b.cdsSetorData_SALDO_TEMPO->asInteger(), 480 * 12 + 300 - 4000);
    b.cdsSetorData.post();

    // Needed minutes round halves to the even neighbour.
    for (auto [prod, expected] : {std::pair{"P2", 10}, std::pair{"P3", 12}}) {
        Sources one;
        one.sector("02", kNov5, 1);
        one.product(prod, 1);
        one.describe(*b.RegCalcTempoProd());
        b.GerarCdsSetorData();
        b.cdsSetorData.first();
        EXPECT_EQ(b.cdsSetorData_TEMPO_NECES->asInteger(), expected) << prod;
    }
}

TEST(CapacityBalance, ProductRowsFollowTheSectorRow)
{
    Factory f(param("S") + shiftSql("2026-11-05", "02", 1) + productTime("P1", "02", 2));
    BalancoCapacidade b(f.dm);
    Sources src;
    src.sector("02", kNov5, 1);
    src.sector("02", kNov5 + 1, 1);
    src.sector("04", kNov5, 1);
    src.product("P1", 10);
    src.describe(*b.RegCalcTempoProd());
    b.GerarCdsSetorData();
    EXPECT_EQ(b.cdsSetorData.recordCount(), 3);
    b.cdsSetorData.first();
    EXPECT_EQ(b.cdsSetorProdTempo.recordCount(), 2); // both start days of sector 02
    b.cdsSetorData.last();
    EXPECT_EQ(b.cdsSetorProdTempo.recordCount(), 1);
    EXPECT_EQ(b.cdsSetorProdTempo_SETOR->asString(), "04");
}

TEST(CapacityBalance, FailingSourceFieldLeavesTheMasterLinkOff)
{
    Factory f(param("S") + shiftSql("2026-11-05", "02", 1));
    BalancoCapacidade b(f.dm);
    Sources src;
    src.sector("02", kNov5, 1);
    src.product("P1", 10);
    src.describe(*b.RegCalcTempoProd());
    b.RegCalcTempoProd()->NomeCpDiasSetor = "NO_SUCH_FIELD";
    EXPECT_THROW(b.GerarCdsSetorData(), WorkTableError);
    EXPECT_EQ(b.cdsSetorProdTempo.masterSource(), nullptr);
    EXPECT_FALSE(b.GerandoCdsSetorData());
}
