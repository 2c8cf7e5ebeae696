// A Firebird 4 server's own types in the source columns: the figures are
// those of the same month in the types of earlier servers.
#include "tests/app/IniFixture.h"
#include "tests/common/FirebirdServer.h"
#include "tests/common/FixtureDb.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QByteArray tabelas(const QString& database)
{
    IniFolder folder(QStringLiteral("[Tolvaneo]\nDataBase=05/11/2026\nSetores=01,02,03\n[Paths]\nDB=%1\n[Banco]\nChave=1\n")
                         .arg(database)
                         .toUtf8());
    QProcess p;
    p.start(TOLVANEO_EXE, {"--report", "--dir", folder.path()});
    EXPECT_TRUE(p.waitForFinished(300000));
    const QByteArray err = p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 0) << err.toStdString();
    const QJsonObject out = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    QByteArray t;
    for (const char* nome : {"tempo_setor", "setores", "setor_func"})
        t += QJsonDocument(out[nome].toArray()).toJson(QJsonDocument::Indented);
    return t;
}

} // namespace

TEST(ServerTypes, AMonthInFirebird4sTypesGivesTheTablesOfTheSameMonthInTheOldOnes)
{
    if (installedFirebirdMajor() < 4)
        GTEST_SKIP() << "no Firebird 4 engine here (Debian 13 has one)";
    QProcess gen;
    gen.start(TOLVANEO_DEMO_DB, {"--end", "2026-11-05", "--now", "15:40", "--sectors", "3"});
    ASSERT_TRUE(gen.waitForFinished(60000));
    ASSERT_EQ(gen.exitCode(), 0);
    const QString mes = QString::fromUtf8(gen.readAllStandardOutput());
    const FixtureDb antigo(mes);
    // The same columns in the types a Firebird 4 database may have: times
    // with a time zone, DECFLOAT and NUMERIC(38).
    const FixtureDb novo(QStringLiteral(R"(
alter table PRODUCAO_SETOR drop DTSAIDA_PS;
alter table PRODUCAO_SETOR drop QTDE_PS;
alter table PRODUCAO_SETOR add DTSAIDA_PS timestamp with time zone;
alter table PRODUCAO_SETOR add QTDE_PS numeric(38,4);
alter table PRODUCAO_SETOR alter DTSAIDA_PS position 4;
alter table PRODUCAO_SETOR alter QTDE_PS position 6;
alter table FICHA_CORTE_ATU_SETOR drop DATA_SAIDA_FS;
alter table FICHA_CORTE_ATU_SETOR add DATA_SAIDA_FS timestamp with time zone;
alter table FICHA_CORTE_ATU_SETOR alter DATA_SAIDA_FS position 3;
alter table PRODUTO_TEMPO drop TEMPO_PT;
alter table PRODUTO_TEMPO add TEMPO_PT decfloat(16);
commit;
)") + mes);
    FirebirdServer server("plonqubir");
    const QByteArray esperadas = tabelas(server.url(antigo.path()));
    ASSERT_GT(esperadas.size(), 1000);
    const QByteArray lidas = tabelas(server.url(novo.path()));
    EXPECT_TRUE(lidas == esperadas) << lidas.left(2000).toStdString();
}
