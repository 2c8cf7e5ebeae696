#include "calc/TdmMarvessa.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    double data;
    QString setor, func;
    double tempo, tempoHe;
    int expediente, inativo, extras, qtde, qtdeHe;
};

const double kDay = 46331;

// A module whose cdsTempoSetor holds the given rows; the reading day is kDay.
class Efficiency : public ::testing::Test {
protected:
    void fill(const std::vector<Row>& rows)
    {
        dm.setDataLeitura(kDay);
        for (WorkTable* t : {&dm.cdsTempoSetor, &dm.cdsSetores, &dm.cdsSetorFunc})
            dm.LimparCds(*t);
        for (const Row& r : rows) {
            dm.cdsTempoSetor.append();
            dm.cdsTempoSetorDATA->setAsDateTime(r.data);
            dm.cdsTempoSetorSETOR->setAsString(r.setor);
            dm.cdsTempoSetorNOME_SETOR->setAsString("Setor " + r.setor);
            dm.cdsTempoSetorORDEM_SETOR->setAsInteger(r.setor.toInt());
            dm.cdsTempoSetorFUNCIONARIO->setAsString(r.func);
            dm.cdsTempoSetorNOME_FUNCIONARIO->setAsString("Func " + r.func);
            dm.cdsTempoSetorTEMPO_TOT->setAsFloat(r.tempo);
            dm.cdsTempoSetorTEMPO_TOT_HE->setAsFloat(r.tempoHe);
            dm.cdsTempoSetorMINUTOS_EXPEDIENTE->setAsInteger(r.expediente);
            dm.cdsTempoSetorMINUTOS_INATIVO->setAsInteger(r.inativo);
            dm.cdsTempoSetorMINUTOS_EXTRAS->setAsInteger(r.extras);
            dm.cdsTempoSetorQTDE_FUNCIONARIOS->setAsInteger(r.qtde);
            dm.cdsTempoSetorQTDE_FUNCIONARIOS_HE->setAsInteger(r.qtdeHe);
            dm.cdsTempoSetor.post();
        }
    }
    WorkTable& percentOf(int n)
    {
        dm.cdsTempoSetor.first();
        for (int i = 0; i < n; ++i)
            dm.cdsTempoSetor.next();
        return dm.cdsTempoSetor;
    }
    WorkTable& employee(const char* setor, const char* func)
    {
        EXPECT_TRUE(dm.cdsSetorFunc.locate("SETOR;FUNCIONARIO", {fb::Value::text(setor), fb::Value::text(func)}));
        return dm.cdsSetorFunc;
    }
    WorkTable& sector(const char* setor)
    {
        EXPECT_TRUE(dm.cdsSetores.locate("COD", {fb::Value::text(setor)}));
        return dm.cdsSetores;
    }
    TdmMarvessa dm;
};

} // namespace

TEST_F(Efficiency, PercentagesSetStandardAgainstStaffSeconds)
{
    fill({{kDay, "02", "001", 14040, 0, 480, 12, 0, 1, 0},
          {kDay, "02", "002", 28080, 3600, 480, 12, 120, 1, 1},
          {kDay, "02", "003", 500, 0, 30, 30, 0, 1, 0},   // no net minutes: no percentage
          {kDay, "02", "004", 500, 0, 0, 0, 10, 1, 0}}); // overtime without overtime staff: no percentage
    dm.CalcularEficiencia();
    EXPECT_DOUBLE_EQ(percentOf(0).fieldByName("PERC_EFICIENCIA").asFloat(), 50);
    EXPECT_NEAR(percentOf(1).fieldByName("PERC_EFICIENCIA").asFloat(), 31680.0 / 35280 * 100, 1e-9);
    EXPECT_TRUE(percentOf(2).fieldByName("PERC_EFICIENCIA").isNull());
    EXPECT_TRUE(percentOf(3).fieldByName("PERC_EFICIENCIA").isNull());
    // Rows without a percentage still count, with 0.
    employee("02", "003");
    EXPECT_EQ(dm.cdsSetorFuncQTDE_EFICIENCIA->asInteger(), 1);
    EXPECT_EQ(dm.cdsSetorFuncSOMA_EFICIENCIA->asFloat(), 0);
    sector("02");
    EXPECT_EQ(dm.cdsSetoresQTDE_EFICIENCIA->asInteger(), 4);
    EXPECT_NEAR(dm.cdsSetoresMEDIA_EFICIENCIA->asFloat(), (50 + 31680.0 / 35280 * 100) / 4, 1e-9);
}

TEST_F(Efficiency, DailyAndPeriodMeans)
{
    // Employee 001: 90 on the reading day, 60 and 30 before. Employee 002:
    // 100 on the reading day. Employee 003: only earlier days.
    fill({{kDay, "02", "001", 25920, 0, 480, 0, 0, 1, 0},
          {kDay - 1, "02", "001", 17280, 0, 480, 0, 0, 1, 0},
          {kDay - 9, "02", "001", 8640, 0, 480, 0, 0, 1, 0},
          {kDay, "02", "002", 28800, 0, 480, 0, 0, 1, 0},
          {kDay - 2, "03", "003", 14400, 0, 480, 0, 0, 1, 0}});
    int calls = 0;
    dm.setProgressEvent([&](int max, int value, const QString& msg, bool reset) {
        ++calls;
        EXPECT_EQ(max, 5);
        EXPECT_EQ(value, calls);
        EXPECT_EQ(msg, "Calculando Eficiência");
        EXPECT_EQ(reset, calls == 1);
    });
    dm.CalcularEficiencia();
    EXPECT_EQ(calls, 5);

    employee("02", "001");
    EXPECT_DOUBLE_EQ(dm.cdsSetorFuncMEDIA_EFICIENCIA->asFloat(), 90);
    EXPECT_EQ(dm.cdsSetorFuncQTDE_EFICIENCIA->asInteger(), 1);
    EXPECT_DOUBLE_EQ(dm.cdsSetorFuncMEDIA_EFICIENCIA_MES->asFloat(), 60);
    EXPECT_EQ(dm.cdsSetorFuncQTDE_EFICIENCIA_MES->asInteger(), 3);
    EXPECT_EQ(dm.cdsSetorFuncNOME_FUNCIONARIO->asString(), "Func 001");

    employee("03", "003");
    EXPECT_EQ(dm.cdsSetorFuncQTDE_EFICIENCIA->asInteger(), 0);
    EXPECT_TRUE(dm.cdsSetorFuncSOMA_EFICIENCIA->isNull());
    EXPECT_TRUE(dm.cdsSetorFuncMEDIA_EFICIENCIA->isNull());
    EXPECT_DOUBLE_EQ(dm.cdsSetorFuncMEDIA_EFICIENCIA_MES->asFloat(), 50);

    sector("02");
    EXPECT_DOUBLE_EQ(dm.cdsSetoresMEDIA_EFICIENCIA->asFloat(), 95); // (90 + 100) / 2, whatever the hours
    EXPECT_DOUBLE_EQ(dm.cdsSetoresMEDIA_EFICIENCIA_MES->asFloat(), (90 + 60 + 30 + 100) / 4.0);
    EXPECT_EQ(dm.cdsSetoresNOME->asString(), "Setor 02");
    EXPECT_EQ(dm.cdsSetoresORDEM->asInteger(), 2);

    // Summary rows in the order their keys first appear.
    dm.cdsSetorFunc.first();
    EXPECT_EQ(dm.cdsSetorFuncFUNCIONARIO->asString(), "001");
    dm.cdsSetorFunc.last();
    EXPECT_EQ(dm.cdsSetorFuncFUNCIONARIO->asString(), "003");
}

TEST_F(Efficiency, ExplicitPeriodMakesEveryRowDaily)
{
    fill({{kDay, "02", "001", 28800, 0, 480, 0, 0, 1, 0}, {kDay - 3, "02", "001", 14400, 0, 480, 0, 0, 1, 0}});
    dm.setDataLeitura(0);
    dm.setDataInicial(kDay - 10);
    dm.setDataFinal(kDay);
    dm.CalcularEficiencia();
    employee("02", "001");
    EXPECT_DOUBLE_EQ(dm.cdsSetorFuncMEDIA_EFICIENCIA->asFloat(), 75);
    EXPECT_DOUBLE_EQ(dm.cdsSetorFuncMEDIA_EFICIENCIA_MES->asFloat(), 75);
}

TEST_F(Efficiency, ReadingDayWithATimeIsItsDate)
{
    fill({{kDay - 1, "02", "001", 14400, 0, 480, 0, 0, 1, 0}, {kDay, "02", "001", 28800, 0, 480, 0, 0, 1, 0}});
    dm.setDataLeitura(kDay + 0.5);
    dm.CalcularEficiencia();
    sector("02");
    EXPECT_EQ(dm.cdsSetoresQTDE_EFICIENCIA->asInteger(), 1);
    EXPECT_DOUBLE_EQ(dm.cdsSetoresMEDIA_EFICIENCIA->asFloat(), 100);
    EXPECT_DOUBLE_EQ(dm.cdsSetoresMEDIA_EFICIENCIA_MES->asFloat(), 75);
}

TEST_F(Efficiency, EmptyTableLeavesSummariesEmptyWithoutProgress)
{
    fill({});
    bool called = false;
    dm.setProgressEvent([&](int, int, const QString&, bool) { called = true; });
    dm.CalcularEficiencia();
    EXPECT_EQ(dm.cdsSetores.recordCount(), 0);
    EXPECT_EQ(dm.cdsSetorFunc.recordCount(), 0);
    EXPECT_FALSE(called);
}
