#include "calc/BalancoCapacidade.h"
#include "calc/TdmMarvessa.h"
#include "data/SqlConnection.h"
#include "tests/common/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

using V = fb::Value;

QString layout(const WorkTable& t)
{
    QStringList parts;
    for (const auto& f : t.fields()) {
        const char* type = f->type() == FieldType::Date      ? "date"
                           : f->type() == FieldType::Text    ? "text"
                           : f->type() == FieldType::Integer ? "integer"
                                                             : "float";
        parts << QStringLiteral("%1:%2%3").arg(f->name(), type, f->size() ? QString::number(f->size()) : QString());
    }
    return parts.join(' ');
}

} // namespace

TEST(CalcModule, CreationValues)
{
    TdmMarvessa dm;
    EXPECT_EQ(dm.DataLeitura(), 0);
    EXPECT_EQ(dm.DataInicial(), 0);
    EXPECT_EQ(dm.DataFinal(), 0);
    EXPECT_FALSE(dm.ExpedienteProducaoPorFunc());
    EXPECT_EQ(dm.SQLCOnnection(), nullptr);
    EXPECT_FALSE(dm.ProgressEvent());
    EXPECT_EQ(dm.ApenasExcetoSetor().ApenasExceto, 0);
    EXPECT_EQ(dm.ApenasExcetoSetor().Filtros, "");
    EXPECT_EQ(dm.ExcetoSetoresProducao(), "");
    ASSERT_NE(dm.PeriodoProducao(), nullptr);
    EXPECT_EQ(dm.PeriodoProducao()->DataIni(), 0);
    EXPECT_EQ(dm.CodOperacaoTrocaFicha(), "TR");
    for (const WorkTable* t : {&dm.cdsTempoSetor, &dm.cdsSetores, &dm.cdsSetorFunc, &dm.cdsProdExped,
                               &dm.cdsOperacaoSetor, &dm.cdsSetorAg, &dm.cdsProdTempo})
        EXPECT_FALSE(t->active()) << t->name().toStdString();

    // The capacity balance, a class of its own over the module's sources.
    BalancoCapacidade b(dm);
    EXPECT_NE(b.RegCalcTempoProd(), nullptr);
    for (const WorkTable* t : {&b.cdsSetorData, &b.cdsSetorProdTempo})
        EXPECT_FALSE(t->active()) << t->name().toStdString();
    EXPECT_EQ(b.cdsSetorProdTempo.masterSource(), &b.cdsSetorData);
    EXPECT_EQ(b.cdsSetorProdTempo.masterFields(), "COD_SETOR");
    EXPECT_EQ(b.dtsSetorData.DataSet, &b.cdsSetorData);
}

TEST(CalcModule, BuiltTablesHaveTheirDeclaredFieldsInOrder)
{
    TdmMarvessa dm;
    EXPECT_EQ(layout(dm.cdsTempoSetor),
              "DATA:date SETOR:text2 FUNCIONARIO:text3 NOME_FUNCIONARIO:text60 TEMPO_TOT:float TEMPO_TOT_HE:float "
              "MINUTOS_EXPEDIENTE:integer MINUTOS_EXTRAS:integer MINUTOS_INATIVO:integer QTDE_FUNCIONARIOS:integer "
              "QTDE_FUNCIONARIOS_HE:integer PERC_EFICIENCIA:float NOME_SETOR:text40 ORDEM_SETOR:integer "
              "QTDE_FICHAS:integer");
    EXPECT_EQ(layout(dm.cdsSetores),
              "COD:text2 NOME:text40 ORDEM:integer MEDIA_EFICIENCIA:float MEDIA_EFICIENCIA_MES:float "
              "SOMA_EFICIENCIA:float SOMA_EFICIENCIA_MES:float QTDE_EFICIENCIA:integer QTDE_EFICIENCIA_MES:integer");
    EXPECT_EQ(layout(dm.cdsSetorFunc),
              "SETOR:text2 FUNCIONARIO:text3 NOME_FUNCIONARIO:text60 MEDIA_EFICIENCIA:float "
              "MEDIA_EFICIENCIA_MES:float SOMA_EFICIENCIA:float SOMA_EFICIENCIA_MES:float QTDE_EFICIENCIA:integer "
              "QTDE_EFICIENCIA_MES:integer");
    BalancoCapacidade b(dm);
    EXPECT_EQ(layout(b.cdsSetorData),
              "COD_SETOR:text2 NOME_SETOR:text30 DATA_SETOR:date EXPEDIENTE:integer QTDE_FUNC:integer "
              "TOT_MIN_EXPED:integer MIN_HE:integer QTDE_FUNC_HE:integer TOT_MIN_HE:integer TOT_MIN_DISP:integer "
              "QTDE_PRODUCAO:integer TEMPO_NECES:integer SALDO_TEMPO:integer PESSOAL_NECES:float "
              "SALDO_PESSOAL:float QTDE_DIAS:integer");
    EXPECT_EQ(layout(b.cdsSetorProdTempo), "SETOR:text2 PROD:text8 TEMPO:float QTDE:integer TEMPO_POR_PAR:float");

    EXPECT_EQ(dm.cdsTempoSetorQTDE_FICHAS->name(), "QTDE_FICHAS");
    EXPECT_EQ(b.cdsSetorData_TOT_MIN_DISP->displayLabel, "Tempo Disponível (Min)");
    EXPECT_EQ(b.cdsSetorData_PESSOAL_NECES->displayFormat, "#,##0.00");
    EXPECT_EQ(b.cdsSetorData_DATA_SETOR->displayFormat, "dd\"/\"mm\"/\"yyyy");
    EXPECT_EQ(b.cdsSetorData_QTDE_DIAS->displayWidth, 3);
    for (WorkField* f : {b.cdsSetorData_EXPEDIENTE, b.cdsSetorData_QTDE_FUNC, b.cdsSetorData_MIN_HE,
                         b.cdsSetorData_QTDE_FUNC_HE})
        EXPECT_TRUE(bool(f->onChange)) << f->name().toStdString();
    EXPECT_FALSE(bool(b.cdsSetorData_TOT_MIN_HE->onChange));
}

TEST(CalcModule, LimparCdsCreatesOrEmptiesTheVisibleRows)
{
    TdmMarvessa dm;
    dm.LimparCds(dm.cdsSetores);
    ASSERT_TRUE(dm.cdsSetores.active());
    EXPECT_EQ(dm.cdsSetores.recordCount(), 0);
    EXPECT_FALSE(dm.cdsSetores.logChanges());

    const QString longName = QString(45, 'S');
    for (const char* cod : {"01", "02", "03"}) {
        dm.cdsSetores.append();
        dm.cdsSetoresCOD->setAsString(cod);
        dm.cdsSetoresNOME->setAsString(longName);
        dm.cdsSetores.post();
    }
    EXPECT_EQ(dm.cdsSetoresNOME->asString(), QString(40, 'S'));
    dm.cdsSetores.setFilter("COD IN('01','03')");
    dm.cdsSetores.setFiltered(true);
    dm.LimparCds(dm.cdsSetores);
    EXPECT_TRUE(dm.cdsSetores.active());
    EXPECT_EQ(dm.cdsSetores.recordCount(), 0);
    dm.cdsSetores.setFiltered(false);
    ASSERT_EQ(dm.cdsSetores.recordCount(), 1);
    dm.cdsSetores.first();
    EXPECT_EQ(dm.cdsSetoresCOD->asString(), "02");
}

TEST(CalcModule, NamesAreCutToTheRoomOfEachTable)
{
    TdmMarvessa dm;
    dm.LimparCds(dm.cdsTempoSetor);
    dm.cdsTempoSetor.append();
    dm.cdsTempoSetorNOME_SETOR->setAsString(QString(45, 'x'));
    dm.cdsTempoSetorNOME_FUNCIONARIO->setAsString(QString(65, 'y'));
    dm.cdsTempoSetor.post();
    EXPECT_EQ(dm.cdsTempoSetorNOME_SETOR->asString().size(), 40);
    EXPECT_EQ(dm.cdsTempoSetorNOME_FUNCIONARIO->asString().size(), 60);
}

TEST(CalcModule, AssigningTheConnectionMovesEveryStatement)
{
    FixtureDb a, b;
    SqlConnection first({"User_Name=SYSDBA", "Database=" + a.path()});
    SqlConnection second({"User_Name=SYSDBA", "Database=" + b.path()});
    TdmMarvessa dm;
    dm.setSQLCOnnection(&first);
    for (SqlQuery* q : {&dm.sqlProdSetor, &dm.sqlCorteSetor, &dm.sqlCodCxUnitSetor, &dm.sqlProdExped,
                        &dm.sqlOperacaoSetor, &dm.sqlSetorAg, &dm.sqlProdTempo, &dm.sqlAux})
        EXPECT_EQ(q->connection(), &first);
    dm.setSQLCOnnection(&second);
    EXPECT_EQ(dm.SQLCOnnection(), &second);
    for (SqlQuery* q : {&dm.sqlProdSetor, &dm.sqlCorteSetor, &dm.sqlCodCxUnitSetor, &dm.sqlProdExped,
                        &dm.sqlOperacaoSetor, &dm.sqlSetorAg, &dm.sqlProdTempo, &dm.sqlAux})
        EXPECT_EQ(q->connection(), &second);
}

TEST(CalcModule, PrepararCdsEficienciaResetsTablesAndReopensOperationTimes)
{
    FixtureDb db("insert into PRODUCAO_OPERACAO_SETOR values ('TR', '01', 5);"
                 "insert into PRODUCAO_OPERACAO_SETOR values ('CO', '01', 9);");
    SqlConnection con({"User_Name=SYSDBA", "Database=" + db.path()});
    con.open();
    TdmMarvessa dm;
    dm.setSQLCOnnection(&con);
    dm.PrepararCdsEficiencia();
    for (WorkTable* t : {&dm.cdsTempoSetor, &dm.cdsSetores, &dm.cdsSetorFunc}) {
        EXPECT_TRUE(t->active());
        EXPECT_EQ(t->recordCount(), 0);
    }
    EXPECT_EQ(dm.cdsOperacaoSetor.indexFieldNames(), "OPERACAO_PS;SETOR_PS");
    ASSERT_TRUE(dm.cdsOperacaoSetor.findKey({V::text("TR"), V::text("01")}));
    EXPECT_EQ(dm.cdsOperacaoSetor.fieldByName("TEMPO_PS").asFloat(), 5.0);

    dm.cdsSetores.append();
    dm.cdsSetoresCOD->setAsString("01");
    dm.cdsSetores.post();
    dm.PrepararCdsEficiencia();
    EXPECT_EQ(dm.cdsSetores.recordCount(), 0);
}

TEST(CalcModule, DestroyingBeforeAnyRunFreesItsCompanions)
{
    auto dm = std::make_unique<TdmMarvessa>();
    dm->DataModuleDestroy();
    EXPECT_EQ(dm->PeriodoProducao(), nullptr);
    dm.reset(); // a second destruction finds nothing left to free
}
