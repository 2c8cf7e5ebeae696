#include "calc/SourceStatements.h"

#include "data/ArquivoGravado.h"
#include "data/Charset.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "data/SqlQuery.h"
#include "data/TextLists.h"

namespace sourcesql {

const QStringList kTabelasLidas = {
    QStringLiteral("PRODUCAO_SETOR"),        QStringLiteral("ITENSPV"),
    QStringLiteral("PRODUTO_TEMPO"),         QStringLiteral("TABELA"),
    QStringLiteral("SETOR"),                 QStringLiteral("FICHA_CORTE_ATU_SETOR"),
    QStringLiteral("FICHA_CORTE"),           QStringLiteral("FICHA_CORTE_PROGRAMACOES"),
    QStringLiteral("FACA"),                  QStringLiteral("CODCXUNIT"),
    QStringLiteral("PRODUCAO_EXPEDIENTE"),   QStringLiteral("PRODUCAO_OPERACAO_SETOR"),
    QStringLiteral("PARAM"),
};

const QStringList kProdSetor = {
    QStringLiteral("select PROG_PS, FICHA_PS, SETOR_PS, DTSAIDA_PS, HORASAIDA_PS, QTDE_PS, FUNCIONAR_PS,"),
    QStringLiteral("   (select max(PROD_IT) from ITENSPV IT where IT.PROG_IT = PS.PROG_PS and IT.FICHA_IT = PS.FICHA_PS) as PROD,"),
    QStringLiteral("   (select TEMPO_PT from PRODUTO_TEMPO PT where PT.PRODUTO_PT = (select first 1 PROD_IT from ITENSPV IT where IT.PROG_IT = PS.PROG_PS and IT.FICHA_IT = PS.FICHA_PS) and SETOR_PT = PS.SETOR_PS) as TEMPO,"),
    QStringLiteral("   (select DESC_TA from TABELA where NUM_TA='38' and COD_TA = PS.FUNCIONAR_PS) as NOME_FUNCIONARIO,"),
    QStringLiteral("   (select NOME_SE from SETOR where COD_SE = PS.SETOR_PS) as NOME_SETOR,"),
    QStringLiteral("   (select ORDEM_SE from SETOR where COD_SE = PS.SETOR_PS) as ORDEM_SETOR"),
    QStringLiteral("from PRODUCAO_SETOR PS"),
    QStringLiteral("where DTSAIDA_PS BETWEEN :DATA_INI AND :DATA_FIM")
};

const QStringList kCorteSetor = {
    QStringLiteral("select FCAS.setor_fs, FCAS.data_saida_fs, FCAS.funcionario_fs,"),
    QStringLiteral("   FC.qtde_tot_fc as QTDE,"),
    QStringLiteral("   F2.tempo_producao_fc as TEMPO,"),
    QStringLiteral("   (select DESC_TA from TABELA where NUM_TA='38' and COD_TA = FCAS.funcionario_fs) as NOME_FUNCIONARIO,"),
    QStringLiteral("   (select NOME_SE from SETOR where COD_SE = FCAS.setor_fs) as NOME_SETOR,"),
    QStringLiteral("   (select ORDEM_SE from SETOR where COD_SE = FCAS.setor_fs) as ORDEM_SETOR"),
    QStringLiteral("from  FICHA_CORTE_ATU_SETOR FCAS"),
    QStringLiteral("left join FICHA_CORTE FC ON FCAS.id_ficha_corte_fs = FC.id_fc"),
    QStringLiteral("left join FICHA_CORTE_PROGRAMACOES FCPROG on FCPROG.id_ficha_corte_fp = FC.id_fc"),
    QStringLiteral("left join FACA F2 ON F2.cod_fc = FC.faca_fc"),
    QStringLiteral("where FCAS.data_saida_fs BETWEEN :DATA_INI AND :DATA_FIM")
};

// The grouping folds the programme rows of one ticket (the join with
// FICHA_CORTE_PROGRAMACOES gives one per programme); the ticket itself is in
// it, so that two tickets of the same day, quantity, die and employee still
// count twice.
const QStringList kCorteSetorGroupBy = {
    QStringLiteral("group by FCAS.setor_fs, FCAS.data_saida_fs, FC.qtde_tot_fc, FCAS.funcionario_fs,"),
    QStringLiteral(" F2.tempo_producao_fc, FCAS.id_ficha_corte_fs")
};

const QStringList kCodCxUnitSetor = {
    QStringLiteral("select CX.prog_cx, CX.ficha_cx, CX.setor_cx, CX.dtbaixa_cx, CX.funcionario_cx, CX.prod_cx, COUNT(*) AS QTDE,"),
    QStringLiteral("   (select TEMPO_PT from PRODUTO_TEMPO PT where PT.PRODUTO_PT = CX.prod_cx and SETOR_PT = CX.setor_cx) as TEMPO,"),
    QStringLiteral("   (select DESC_TA from TABELA where NUM_TA='38' and COD_TA = CX.funcionario_cx) as NOME_FUNCIONARIO,"),
    QStringLiteral("   (select NOME_SE from SETOR where COD_SE = CX.setor_cx) as NOME_SETOR,"),
    QStringLiteral("   (select ORDEM_SE from SETOR where COD_SE = CX.setor_cx) as ORDEM_SETOR"),
    QStringLiteral("from CODCXUNIT CX"),
    QStringLiteral("where CX.dtbaixa_cx BETWEEN :DATA_INI AND :DATA_FIM"),
    QStringLiteral("AND CX.setor_cx <> '' AND CX.setor_cx IS NOT NULL")
};

const QStringList kCodCxUnitSetorGroupBy = {
    QStringLiteral("GROUP BY CX.prog_cx, CX.ficha_cx, CX.setor_cx, CX.dtbaixa_cx, CX.funcionario_cx, CX.prod_cx")
};

const QStringList kProdExped = {
    QStringLiteral("select PE.* from PRODUCAO_EXPEDIENTE PE"),
    QStringLiteral("where DATA_PE>=:DATA_INI"),
    QStringLiteral("and DATA_PE<=:DATA_FIM")
};

const QString kProdTempoPrefix = QStringLiteral("select * from PRODUTO_TEMPO where PRODUTO_PT in (");
const QString kParam = QStringLiteral("select VALOR_PA from PARAM where GRUPO_PA=:GRUPO and PARAM_PA=:PARAM");

} // namespace sourcesql

namespace sourcesql {

namespace {

QString inClause(const TFiltroApenasExceto& f, const QString& column, const QString& inPrefix)
{
    if (f.ApenasExceto == 0)
        return inPrefix + column + QStringLiteral(" IN (") + f.Filtros + QStringLiteral(")");
    return QStringLiteral(" and ((") + column + QStringLiteral(" NOT IN (") + f.Filtros + QStringLiteral(")) OR (") +
           column + QStringLiteral(" IS NULL))");
}

void addFilterClauses(QStringList& sql, const FiltrosFonte& f, const QString& funcColumn, const QString& funcInPrefix,
                      const QString& setorColumn)
{
    if (!funcColumn.isEmpty() && !f.funcionarios.Filtros.isEmpty())
        sql << inClause(f.funcionarios, funcColumn, funcInPrefix);
    if (!f.setor.Filtros.isEmpty())
        sql << inClause(f.setor, setorColumn, QStringLiteral(" and "));
}

} // namespace

QStringList prodSetor(const FiltrosFonte& f)
{
    QStringList sql = kProdSetor;
    addFilterClauses(sql, f, QStringLiteral("PS.FUNCIONAR_PS"), QStringLiteral(" and "), QStringLiteral("PS.SETOR_PS"));
    if (!f.excetoSetoresProducao.isEmpty()) {
        QStringList quoted;
        for (const QString& item : splitCommaText(f.excetoSetoresProducao))
            quoted << QLatin1Char('\'') + item + QLatin1Char('\'');
        sql << QStringLiteral(" and ((PS.SETOR_PS NOT IN (") + quoted.join(QStringLiteral(", ")) +
                   QStringLiteral(")) OR (PS.SETOR_PS IS NULL))");
    }
    return sql;
}

QStringList corteSetor(const FiltrosFonte& f)
{
    QStringList sql = kCorteSetor;
    addFilterClauses(sql, f, QStringLiteral("FCAS.funcionario_fs"), QStringLiteral(" and "), QStringLiteral("FCAS.setor_fs"));
    sql << kCorteSetorGroupBy;
    return sql;
}

QStringList codCxUnitSetor(const FiltrosFonte& f)
{
    QStringList sql = kCodCxUnitSetor;
    // A label without a sector is an empty text or no value; a number column
    // has no empty text, and the database cannot set '' against it at all.
    if (f.setoresNumericos)
        sql.last() = QStringLiteral("AND CX.setor_cx IS NOT NULL");
    addFilterClauses(sql, f, QStringLiteral("CX.funcionario_cx"), QStringLiteral(" AND "), QStringLiteral("CX.setor_cx"));
    sql << kCodCxUnitSetorGroupBy;
    return sql;
}

QStringList prodExped(const FiltrosFonte& f)
{
    QStringList sql = kProdExped;
    addFilterClauses(sql, f, {}, {}, QStringLiteral("PE.SETOR_PE"));
    return sql;
}

} // namespace sourcesql

QString writeTraceFile(const QString& path, const QByteArray& bytes)
{
    return gravarArquivo(path, bytes);
}

void ArquivosConsulta::gravar(const SqlQuery& q, const QString& nomeArquivo)
{
    if (!ativo_)
        return;
    const QString path = platform::appFolder() + nomeArquivo;
    QByteArray bytes;
    for (const QString& line : q.sql())
        bytes += fb::toWindows1252(line) + "\r\n";
    const QString error = writeTraceFile(path, bytes);
    if (!error.isEmpty() && !falhas_.contains(path)) {
        falhas_.insert(path);
        logfmt::write(QStringLiteral("dump-failed"), {{"file", path}, {"error", error}});
    } else if (error.isEmpty() && falhas_.remove(path)) {
        logfmt::write(QStringLiteral("dump-recovered"), {{"file", path}});
    }
}
