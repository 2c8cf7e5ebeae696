#include "calc/TPeriodoProducao.h"
#include "data/DatabaseError.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "tests/calc/Factory.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace rows;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QByteArray crlf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out;
}

} // namespace

TEST(Statements, DumpFilesHoldTheStatementsWithTheirClauses)
{
    Factory f(sector("01", "Corte", 1, "01"));
    f.dm.setApenasExcetoFuncionarios({0, "'001','002'"});
    f.dm.setApenasExcetoSetor({5, "'09'"});
    f.dm.setExcetoSetoresProducao("01, 05");
    f.dm.GerarCdsEficiencia();

    const QString dir = f.folder.path() + "/";
    EXPECT_EQ(fileBytes(dir + "sqlProdSetor.sql"),
              crlf({"select PROG_PS, FICHA_PS, SETOR_PS, DTSAIDA_PS, HORASAIDA_PS, QTDE_PS, FUNCIONAR_PS,",
                    "   (select max(PROD_IT) from ITENSPV IT where IT.PROG_IT = PS.PROG_PS and IT.FICHA_IT = PS.FICHA_PS) as PROD,",
                    "   (select TEMPO_PT from PRODUTO_TEMPO PT where PT.PRODUTO_PT = (select first 1 PROD_IT from ITENSPV IT where IT.PROG_IT = PS.PROG_PS and IT.FICHA_IT = PS.FICHA_PS) and SETOR_PT = PS.SETOR_PS) as TEMPO,",
                    "   (select DESC_TA from TABELA where NUM_TA='38' and COD_TA = PS.FUNCIONAR_PS) as NOME_FUNCIONARIO,",
                    "   (select NOME_SE from SETOR where COD_SE = PS.SETOR_PS) as NOME_SETOR,",
                    "   (select ORDEM_SE from SETOR where COD_SE = PS.SETOR_PS) as ORDEM_SETOR",
                    "from PRODUCAO_SETOR PS",
                    "where DTSAIDA_PS BETWEEN :DATA_INI AND :DATA_FIM",
                    " and PS.FUNCIONAR_PS IN ('001','002')",
                    " and ((PS.SETOR_PS NOT IN ('09')) OR (PS.SETOR_PS IS NULL))",
                    " and ((PS.SETOR_PS NOT IN ('01', '05')) OR (PS.SETOR_PS IS NULL))"}));
    EXPECT_EQ(fileBytes(dir + "sqlCorteSetor.sql"),
              crlf({"select FCAS.setor_fs, FCAS.data_saida_fs, FCAS.funcionario_fs,",
                    "   FC.qtde_tot_fc as QTDE,",
                    "   F2.tempo_producao_fc as TEMPO,",
                    "   (select DESC_TA from TABELA where NUM_TA='38' and COD_TA = FCAS.funcionario_fs) as NOME_FUNCIONARIO,",
                    "   (select NOME_SE from SETOR where COD_SE = FCAS.setor_fs) as NOME_SETOR,",
                    "   (select ORDEM_SE from SETOR where COD_SE = FCAS.setor_fs) as ORDEM_SETOR",
                    "from  FICHA_CORTE_ATU_SETOR FCAS",
                    "left join FICHA_CORTE FC ON FCAS.id_ficha_corte_fs = FC.id_fc",
                    "left join FICHA_CORTE_PROGRAMACOES FCPROG on FCPROG.id_ficha_corte_fp = FC.id_fc",
                    "left join FACA F2 ON F2.cod_fc = FC.faca_fc",
                    "where FCAS.data_saida_fs BETWEEN :DATA_INI AND :DATA_FIM",
                    " and FCAS.funcionario_fs IN ('001','002')",
                    " and ((FCAS.setor_fs NOT IN ('09')) OR (FCAS.setor_fs IS NULL))",
                    "group by FCAS.setor_fs, FCAS.data_saida_fs, FC.qtde_tot_fc, FCAS.funcionario_fs,",
                    " F2.tempo_producao_fc, FCAS.id_ficha_corte_fs"}));
    EXPECT_EQ(fileBytes(dir + "sqlCodCxUnitSetor.sql"),
              crlf({"select CX.prog_cx, CX.ficha_cx, CX.setor_cx, CX.dtbaixa_cx, CX.funcionario_cx, CX.prod_cx, COUNT(*) AS QTDE,",
                    "   (select TEMPO_PT from PRODUTO_TEMPO PT where PT.PRODUTO_PT = CX.prod_cx and SETOR_PT = CX.setor_cx) as TEMPO,",
                    "   (select DESC_TA from TABELA where NUM_TA='38' and COD_TA = CX.funcionario_cx) as NOME_FUNCIONARIO,",
                    "   (select NOME_SE from SETOR where COD_SE = CX.setor_cx) as NOME_SETOR,",
                    "   (select ORDEM_SE from SETOR where COD_SE = CX.setor_cx) as ORDEM_SETOR",
                    "from CODCXUNIT CX",
                    "where CX.dtbaixa_cx BETWEEN :DATA_INI AND :DATA_FIM",
                    "AND CX.setor_cx <> '' AND CX.setor_cx IS NOT NULL",
                    " AND CX.funcionario_cx IN ('001','002')",
                    " and ((CX.setor_cx NOT IN ('09')) OR (CX.setor_cx IS NULL))",
                    "GROUP BY CX.prog_cx, CX.ficha_cx, CX.setor_cx, CX.dtbaixa_cx, CX.funcionario_cx, CX.prod_cx"}));
    EXPECT_EQ(f.dm.sqlProdExped.sql(),
              QStringList({"select PE.* from PRODUCAO_EXPEDIENTE PE", "where DATA_PE>=:DATA_INI",
                           "and DATA_PE<=:DATA_FIM", " and ((PE.SETOR_PE NOT IN ('09')) OR (PE.SETOR_PE IS NULL))"}));
}

TEST(Statements, ClausesAppearOnlyWhenTheirListIsGiven)
{
    Factory f(sector("01", "Corte", 1, "01"));
    f.dm.setApenasExcetoFuncionarios({1, ""});
    f.dm.setApenasExcetoSetor({0, "'01'"});
    f.dm.AbrirSqlProdSetor();
    EXPECT_EQ(f.dm.sqlProdSetor.sql().size(), 9);
    EXPECT_EQ(f.dm.sqlProdSetor.sql().last(), " and PS.SETOR_PS IN ('01')");
    f.dm.setExcetoSetoresProducao("01,,02");
    f.dm.AbrirSqlProdSetor();
    EXPECT_EQ(f.dm.sqlProdSetor.sql().last(), " and ((PS.SETOR_PS NOT IN ('01', '', '02')) OR (PS.SETOR_PS IS NULL))");
    f.dm.setExcetoSetoresProducao("01 02");
    f.dm.AbrirSqlProdSetor();
    EXPECT_EQ(f.dm.sqlProdSetor.sql().last(), " and ((PS.SETOR_PS NOT IN ('01', '02')) OR (PS.SETOR_PS IS NULL))");
    f.dm.AbrirCdsProdTempo("");
    EXPECT_EQ(f.dm.sqlProdTempo.sql(), QStringList({"select * from PRODUTO_TEMPO where PRODUTO_PT in ('')"}));
    EXPECT_EQ(f.dm.cdsProdTempo.recordCount(), 0);
}

TEST(Statements, RejectedStatementKeepsTheEarlierDumpExceptForUnitLabels)
{
    Factory f(sector("01", "Corte", 1, "01"));
    f.dm.GerarCdsEficiencia();
    const QString dir = f.folder.path() + "/";
    const QByteArray goodProd = fileBytes(dir + "sqlProdSetor.sql");
    f.dm.setApenasExcetoSetor({0, "'01',,"});
    EXPECT_THROW(f.dm.AbrirSqlProdSetor(), fb::DatabaseError);
    EXPECT_EQ(fileBytes(dir + "sqlProdSetor.sql"), goodProd);
    EXPECT_THROW(f.dm.AbrirSqlCodCxUnitSetor(), fb::DatabaseError);
    EXPECT_TRUE(fileBytes(dir + "sqlCodCxUnitSetor.sql").contains("IN ('01',,)"));
}

TEST(Statements, DumpFileThatCannotBeWrittenIsLoggedAndTheRunGoesOn)
{
    Factory f(sector("01", "Corte", 1, "01"));
    QStringList log;
    logfmt::setSink([&](const QString& l) { log << l; });
    QTemporaryDir outra;
    const QString pasta = outra.path() + "/depois/";
    platform::setAppFolder(pasta);
    EXPECT_NO_THROW(f.dm.AbrirSqlCorteSetor());
    EXPECT_TRUE(f.dm.sqlCorteSetor.active());
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains("event=dump-failed file=" + pasta + "sqlCorteSetor.sql error=")) << log[0].toStdString();
    // Failing again says nothing more; writing again says so once.
    for (int i = 0; i < 3; ++i)
        f.dm.AbrirSqlCorteSetor();
    EXPECT_EQ(log.size(), 1);
    ASSERT_TRUE(QDir().mkpath(pasta));
    f.dm.AbrirSqlCorteSetor();
    f.dm.AbrirSqlCorteSetor();
    logfmt::setSink({});
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[1].contains("event=dump-recovered file=" + pasta + "sqlCorteSetor.sql")) << log[1].toStdString();
}

namespace {

// A trace file with "old" in it, its mode and its folder's; writeTraceFile
// then runs in a child process as an unprivileged user, for whom the modes
// hold. The child's exit status: 0 written, 1 failed, 4 the folder took a new
// file though it should not.
int writeAsAnotherUser(const QTemporaryDir& dir, const QString& path, mode_t fileMode, mode_t dirMode,
                       bool folderRefuses)
{
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return -1;
        f.write("old");
    }
    if (::chmod(QFile::encodeName(path).constData(), fileMode) != 0 ||
        ::chmod(QFile::encodeName(dir.path()).constData(), dirMode) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        QFile probe(dir.path() + "/probe");
        if (folderRefuses && probe.open(QIODevice::WriteOnly))
            ::_exit(4);
        ::_exit(writeTraceFile(path, "select 1\r\n").isEmpty() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Statements, TraceFilesAreRewrittenInAFolderThatRefusesNewFiles)
{
    // An administrator made the files beforehand and locked the folder.
    QTemporaryDir dir;
    const QString path = dir.path() + "/sqlProdSetor.sql";
    EXPECT_EQ(writeAsAnotherUser(dir, path, 0666, 0555, true), 0);
    EXPECT_EQ(fileBytes(path), "select 1\r\n");
}

TEST(Statements, TraceFilesLeftByAnotherUserAreReplaced)
{
    // A run as root left the file, which the service's user may not write;
    // the folder is the service's own.
    QTemporaryDir dir;
    const QString path = dir.path() + "/sqlProdSetor.sql";
    EXPECT_EQ(writeAsAnotherUser(dir, path, 0444, 0777, false), 0);
    EXPECT_EQ(fileBytes(path), "select 1\r\n");
}

TEST(Statements, PeriodTimestamps)
{
    TPeriodoProducao p;
    p.setDataIni(46331.75);
    p.setDataFim(46331.25);
    EXPECT_DOUBLE_EQ(p.SqlDataIni(), 46331.0);
    EXPECT_DOUBLE_EQ(p.SqlDataFim(), 46331.0 + 86399.0 / 86400.0);
    EXPECT_THROW(DataToSQLTimeStamp(46331, 65536, 0, 0), std::range_error);
    EXPECT_THROW(DataToSQLTimeStamp(46331, 0, -1, 0), std::range_error);
}
