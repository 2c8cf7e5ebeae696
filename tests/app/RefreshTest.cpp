// Refresh runs: the reading day read again, the days before kept from the
// last full run, on a factory reached through a private server.
#include "app/Geracao.h"
#include "app/Report.h"
#include "calc/PlanoGeracao.h"
#include "calc/TdmMarvessa.h"
#include "data/Log.h"
#include "data/SqlConnection.h"
#include "tests/app/IniFixture.h"
#include "tests/app/RelatorioGerado.h"
#include "tests/common/Fakes.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"
#include "tests/common/Isql.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

#include <map>

namespace {

const double kDay = 46331.0; // 2026-11-05

QString ticket(int ficha, const QString& setor, const QString& when, int qtde, const QString& func)
{
    return QStringLiteral("insert into ITENSPV values (1, %1, 1, 'P1');\n"
                          "insert into PRODUCAO_SETOR values (1, %1, '%2', '%3', '%4', %5, '%6');\n")
        .arg(ficha)
        .arg(setor, when, when.right(5))
        .arg(qtde)
        .arg(func);
}

QString shift(const QString& day, const QString& setor, const QString& func)
{
    return QStringLiteral("insert into PRODUCAO_EXPEDIENTE values ('%1', '%2', '%3', '08:00', '16:00', 0, null, null, "
                          "0, 1, 0);\n")
        .arg(day, setor, func);
}

// A month with two sectors, employees in both, grouped sectors and earlier days.
QString month()
{
    QString sql = "insert into SETOR values ('03', 'Costura', 3, '03');\n"
                  "insert into SETOR values ('11', 'Montagem', 11, '03');\n"
                  "insert into TABELA values ('38', '001', 'Ana');\n"
                  "insert into TABELA values ('38', '002', 'Bruno');\n"
                  "insert into PRODUTO_TEMPO values ('P1', '03', 60);\n";
    int ficha = 1;
    for (const char* day : {"2026-10-10", "2026-11-01", "2026-11-04", "2026-11-05"}) {
        for (const char* func : {"001", "002"}) {
            for (const char* setor : {"03", "11"}) {
                sql += shift(day, setor, func);
                sql += shift(day, setor, QString());
                sql += ticket(ficha, setor, QString(day) + " 10:00", 30 + ficha * 7, func);
                ++ficha;
            }
        }
    }
    return sql;
}

// The rows of a table keyed by the fields that name them.
std::map<QString, QJsonObject> keyed(WorkTable& table, const QStringList& keys)
{
    std::map<QString, QJsonObject> out;
    for (const QJsonValue& v : tableJson(table)) {
        const QJsonObject row = v.toObject();
        QStringList k;
        for (const QString& key : keys)
            k << row[key].toVariant().toString();
        out[k.join('/')] = row;
    }
    return out;
}

void expectSameTables(TdmMarvessa& a, TdmMarvessa& b)
{
    const std::pair<WorkTable*, WorkTable*> tables[] = {
        {&a.TabelaTempoSetor(), &b.TabelaTempoSetor()}, {&a.cdsSetores, &b.cdsSetores}, {&a.cdsSetorFunc, &b.cdsSetorFunc}};
    const QStringList keys[] = {{"DATA", "SETOR", "FUNCIONARIO"}, {"COD"}, {"SETOR", "FUNCIONARIO"}};
    for (int t = 0; t < 3; ++t) {
        const auto x = keyed(*tables[t].first, keys[t]), y = keyed(*tables[t].second, keys[t]);
        ASSERT_EQ(x.size(), y.size()) << tables[t].first->name().toStdString();
        for (const auto& [key, row] : x) {
            ASSERT_TRUE(y.count(key)) << key.toStdString();
            for (auto it = row.begin(); it != row.end(); ++it) {
                const QJsonValue other = y.at(key)[it.key()];
                if (it->isDouble())
                    EXPECT_NEAR(it->toDouble(), other.toDouble(), 1e-9 * std::max(1.0, std::abs(it->toDouble())))
                        << key.toStdString() << " " << it.key().toStdString();
                else
                    EXPECT_EQ(*it, other) << key.toStdString() << " " << it.key().toStdString();
            }
        }
    }
}

class Refresh : public ::testing::Test {
protected:
    Refresh() { fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0))); }
    void connect(TdmMarvessa& calc, SqlConnection& con, bool porFuncionario)
    {
        con.open();
        calc.setSQLCOnnection(&con);
        calc.setExpedienteProducaoPorFunc(porFuncionario);
    }
    ExecucaoGeracao run(TdmMarvessa& calc, SqlConnection& con, PlanoGeracao& plano, double day = kDay)
    {
        const ExecucaoGeracao e = executarGeracao(calc, con, plano, day, fakes.clock.now());
        EXPECT_TRUE(e.ok) << e.erro.toStdString();
        return e;
    }
    void sql(const QString& s) { runIsql(server.url(db.path()), s + "commit;", "SYSDBA", "plonqubir"); }
    QStringList params() const
    {
        return {"User_Name=SYSDBA", "Password=plonqubir", "SQLDialect=3", "Database=" + server.url(db.path())};
    }

    PlatformFakes fakes;
    IniFolder folder;
    FixtureDb db{month()};
    FirebirdServer server{"plonqubir"};
};

} // namespace

TEST_F(Refresh, RecordsOfTheReadingDayAppearAfterARefreshEarlierOnesAfterTheNextFullRun)
{
    SqlConnection con(params());
    TdmMarvessa calc;
    connect(calc, con, true);
    PlanoGeracao plano(30);
    EXPECT_TRUE(run(calc, con, plano).completa);
    const double tempo = [&] {
        calc.cdsSetores.locate("COD", {fb::Value::text("03")});
        return calc.cdsSetoresMEDIA_EFICIENCIA->asFloat();
    }();

    sql(ticket(100, "03", "2026-11-05 11:00", 480, "001"));
    fakes.clock.set(fakes.clock.now().addSecs(600));
    const ExecucaoGeracao dia = run(calc, con, plano);
    EXPECT_FALSE(dia.completa);
    EXPECT_EQ(dia.registros, 5); // the reading day's four records and the new one
    calc.cdsSetores.locate("COD", {fb::Value::text("03")});
    EXPECT_GT(calc.cdsSetoresMEDIA_EFICIENCIA->asFloat(), tempo);

    // A record of an earlier day waits for the next full run.
    sql(ticket(101, "11", "2026-11-04 12:00", 900, "002"));
    const auto row = [&] {
        EXPECT_TRUE(calc.TabelaTempoSetor().locate("DATA;SETOR;FUNCIONARIO",
                                              {fb::Value::date(kDay - 1), fb::Value::text("11"), fb::Value::text("002")}));
        return calc.cdsTempoSetorQTDE_FICHAS->asInteger();
    };
    fakes.clock.set(fakes.clock.now().addSecs(600));
    EXPECT_FALSE(run(calc, con, plano).completa);
    EXPECT_EQ(row(), 1);
    fakes.clock.set(fakes.clock.now().addSecs(30 * 60));
    EXPECT_TRUE(run(calc, con, plano).completa);
    EXPECT_EQ(row(), 2);
}

TEST_F(Refresh, FullThenTwoRefreshesEqualOneFullRunInBothShiftGroupings)
{
    for (const bool porFuncionario : {true, false}) {
        SqlConnection con(params());
        TdmMarvessa calc;
        connect(calc, con, porFuncionario);
        PlanoGeracao plano(30);
        EXPECT_TRUE(run(calc, con, plano).completa);
        sql(ticket(200 + porFuncionario * 10, "03", "2026-11-05 13:00", 120, "002") +
            shift("2026-11-05", "03", "003") + ticket(201 + porFuncionario * 10, "03", "2026-11-05 13:30", 60, "003"));
        EXPECT_FALSE(run(calc, con, plano).completa);
        sql(ticket(202 + porFuncionario * 10, "11", "2026-11-05 14:00", 30, "001"));
        EXPECT_FALSE(run(calc, con, plano).completa);

        SqlConnection con2(params());
        TdmMarvessa full;
        connect(full, con2, porFuncionario);
        PlanoGeracao novo(30);
        EXPECT_TRUE(run(full, con2, novo).completa);
        SCOPED_TRACE(porFuncionario ? "per employee" : "per sector");
        expectSameTables(calc, full);
    }
}

TEST_F(Refresh, ANewReadingDayAFailedRunAndZeroMinutesMakeFullRuns)
{
    SqlConnection con(params());
    TdmMarvessa calc;
    connect(calc, con, true);
    PlanoGeracao plano(30);
    EXPECT_TRUE(run(calc, con, plano).completa);
    EXPECT_FALSE(run(calc, con, plano).completa);
    EXPECT_TRUE(run(calc, con, plano, kDay + 1).completa); // the day moved on
    EXPECT_FALSE(run(calc, con, plano, kDay + 1).completa);

    // A failed run: the next is full.
    server.stop();
    const ExecucaoGeracao falhou = executarGeracao(calc, con, plano, kDay + 1, fakes.clock.now());
    EXPECT_FALSE(falhou.ok);
    server.start();
    EXPECT_TRUE(run(calc, con, plano, kDay + 1).completa);

    PlanoGeracao sempre(0);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(run(calc, con, sempre).completa);
}

TEST_F(Refresh, ReportCyclesSayWhatEachRunWas)
{
    for (const auto& [minutos, tipos] : {std::pair<QString, QStringList>{"", {"completa", "dia", "dia"}},
                                         std::pair<QString, QStringList>{"MinutosCompleto=0\n",
                                                                         {"completa", "completa", "completa"}}}) {
        folder.write(QStringLiteral("[Tolvaneo]\nDataBase=2026-11-05\nSetores=03,11\n%1[Paths]\nDB=%2\n")
                         .arg(minutos, server.url(db.path()))
                         .toUtf8());
        QProcess p;
        p.start(TOLVANEO_EXE, {"--report", "--ciclos", "3", "--dir", folder.path()});
        ASSERT_TRUE(p.waitForFinished(120000));
        const QByteArray err = p.readAllStandardError();
        ASSERT_EQ(p.exitCode(), 0) << err.toStdString();
        const QJsonObject out = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        const QJsonArray execucoes = out["execucoes"].toArray();
        ASSERT_EQ(execucoes.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(execucoes[i].toObject()["tipo"].toString(), tipos[i]);
            EXPECT_GE(execucoes[i].toObject()["segundos"].toDouble(), 0);
        }
        EXPECT_EQ(execucoes[0].toObject()["registros"].toInt(), 16);
        EXPECT_EQ(execucoes[1].toObject()["registros"].toInt(), tipos[1] == "dia" ? 4 : 16);
        EXPECT_FALSE(out["setores"].toArray().isEmpty());
        // The log says the same.
        const QString log = QString::fromUtf8(err);
        EXPECT_EQ(log.count(" event=run kind=full "), tipos.count("completa")) << log.toStdString();
        EXPECT_EQ(log.count(" event=run kind=day "), tipos.count("dia")) << log.toStdString();
    }
}


// A generated month whose reading day introduces a sector and an employee in
// every sector, with employees not yet at work when it was read (ties on the
// day's figure), all three sources, overtime and accented names.
TEST(RefreshGeneratedMonth, RefreshRunsLeaveAFullRunsTablesByteForByteWithOrWithoutATime)
{
    const FixtureDb db(mesGerado());
    IniFolder folder;

    const Relatorio unica = relatorio(folder, db.path(), "2026-11-05", 1);
    ASSERT_EQ(unica.tipos, QStringList{"completa"});
    // The reading day brings a sector and an employee that no earlier day has.
    QSet<QString> setores[2], funcionarios[2];
    for (const QJsonValue& v : unica.tempoSetor) {
        const int dia = v["DATA"].toString() == "2026-11-05";
        setores[dia] << v["SETOR"].toString();
        funcionarios[dia] << v["FUNCIONARIO"].toString();
    }
    EXPECT_FALSE(setores[1].subtract(setores[0]).isEmpty());
    EXPECT_FALSE(funcionarios[1].subtract(funcionarios[0]).isEmpty());
    for (const QString& dataBase : {QStringLiteral("2026-11-05"), QStringLiteral("2026-11-05 08:30")}) {
        SCOPED_TRACE(dataBase.toStdString());
        const Relatorio ciclos = relatorio(folder, db.path(), dataBase, 3);
        EXPECT_EQ(ciclos.tipos, (QStringList{"completa", "dia", "dia"}));
        EXPECT_TRUE(ciclos.tabelas == unica.tabelas) << primeiraDiferenca(ciclos.tabelas, unica.tabelas);
        // A time in DataBase changes no figure.
        const QByteArray umaSo = relatorio(folder, db.path(), dataBase, 1).tabelas;
        EXPECT_TRUE(umaSo == unica.tabelas) << primeiraDiferenca(umaSo, unica.tabelas);
    }
}
