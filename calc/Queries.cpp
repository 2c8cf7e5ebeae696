// Statements sent to the factory database, their dump files and the lookups
// of the calculation module.
#include "calc/SourceStatements.h"
#include "calc/TdmMarvessa.h"
#include "data/Charset.h"
#include "data/Platform.h"
#include "data/TextLists.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace {

using V = fb::Value;

QString inClause(const TFiltroApenasExceto& f, const QString& column, const QString& inPrefix)
{
    if (f.ApenasExceto == 0)
        return inPrefix + column + QStringLiteral(" IN (") + f.Filtros + QStringLiteral(")");
    return QStringLiteral(" and ((") + column + QStringLiteral(" NOT IN (") + f.Filtros + QStringLiteral(")) OR (") +
           column + QStringLiteral(" IS NULL))");
}

} // namespace

void TdmMarvessa::addFilterClauses(QStringList& sql, const QString& funcColumn, const QString& funcInPrefix,
                                   const QString& setorColumn) const
{
    if (!funcColumn.isEmpty() && !FApenasExcetoFuncionarios.Filtros.isEmpty())
        sql << inClause(FApenasExcetoFuncionarios, funcColumn, funcInPrefix);
    if (!FApenasExcetoSetor.Filtros.isEmpty())
        sql << inClause(FApenasExcetoSetor, setorColumn, QStringLiteral(" and "));
}

void TdmMarvessa::setPeriodParams(SqlQuery& q) const
{
    q.setParam(QStringLiteral("DATA_INI"), V::timestamp(FPeriodoProducao->SqlDataIni()));
    q.setParam(QStringLiteral("DATA_FIM"), V::timestamp(FPeriodoProducao->SqlDataFim()));
}

void TdmMarvessa::dumpStatement(const SqlQuery& q, const QString& fileName) const
{
    const QString path = platform::appFolder() + fileName;
    QByteArray bytes;
    for (const QString& line : q.sql())
        bytes += fb::toWindows1252(line) + "\r\n";
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()).toStdString());
}

void TdmMarvessa::AbrirSqlProdSetor()
{
    sqlProdSetor.close();
    QStringList& sql = sqlProdSetor.sql();
    sql = sourcesql::kProdSetor;
    addFilterClauses(sql, QStringLiteral("PS.FUNCIONAR_PS"), QStringLiteral(" and "), QStringLiteral("PS.SETOR_PS"));
    if (!FExcetoSetoresProducao.isEmpty()) {
        QStringList quoted;
        for (const QString& item : splitCommaText(FExcetoSetoresProducao))
            quoted << QLatin1Char('\'') + item + QLatin1Char('\'');
        sql << QStringLiteral(" and ((PS.SETOR_PS NOT IN (") + quoted.join(QStringLiteral(", ")) +
                   QStringLiteral(")) OR (PS.SETOR_PS IS NULL))");
    }
    setPeriodParams(sqlProdSetor);
    sqlProdSetor.open();
    dumpStatement(sqlProdSetor, QStringLiteral("sqlProdSetor.sql"));
}

void TdmMarvessa::AbrirSqlCorteSetor()
{
    sqlCorteSetor.close();
    QStringList& sql = sqlCorteSetor.sql();
    sql = sourcesql::kCorteSetor;
    addFilterClauses(sql, QStringLiteral("FCAS.funcionario_fs"), QStringLiteral(" and "), QStringLiteral("FCAS.setor_fs"));
    sql << sourcesql::kCorteSetorGroupBy;
    setPeriodParams(sqlCorteSetor);
    sqlCorteSetor.open();
    dumpStatement(sqlCorteSetor, QStringLiteral("sqlCorteSetor.sql"));
}

void TdmMarvessa::AbrirSqlCodCxUnitSetor()
{
    sqlCodCxUnitSetor.close();
    QStringList& sql = sqlCodCxUnitSetor.sql();
    sql = sourcesql::kCodCxUnitSetor;
    addFilterClauses(sql, QStringLiteral("CX.funcionario_cx"), QStringLiteral(" AND "), QStringLiteral("CX.setor_cx"));
    sql << sourcesql::kCodCxUnitSetorGroupBy;
    setPeriodParams(sqlCodCxUnitSetor);
    dumpStatement(sqlCodCxUnitSetor, QStringLiteral("sqlCodCxUnitSetor.sql"));
    sqlCodCxUnitSetor.open();
}

void TdmMarvessa::AbrirCdsProdExped()
{
    FShiftFields.reset(); // the table's fields are made anew by the opening
    cdsProdExped.close();
    sqlProdExped.close();
    QStringList& sql = sqlProdExped.sql();
    sql = sourcesql::kProdExped;
    addFilterClauses(sql, {}, {}, QStringLiteral("PE.SETOR_PE"));
    setPeriodParams(sqlProdExped);
    cdsProdExped.open();
    cdsProdExped.setIndexFieldNames(QStringLiteral("DATA_PE;SETOR_PE;FUNCIONARIO_PE"));
}

void TdmMarvessa::AbrirCdsSetorAg()
{
    sqlSetorAg.close();
    cdsSetorAg.close();
    cdsSetorAg.open();
}

void TdmMarvessa::AbrirCdsProdTempo(const QString& Lista)
{
    cdsProdTempo.close();
    sqlProdTempo.close();
    sqlProdTempo.sql() = QStringList{sourcesql::kProdTempoPrefix + (Lista.isEmpty() ? QStringLiteral("''") : Lista) +
                                     QStringLiteral(")")};
    cdsProdTempo.open();
    cdsProdTempo.setIndexFieldNames(QStringLiteral("PRODUTO_PT;SETOR_PT"));
}

QString TdmMarvessa::getProdTempoDecimal()
{
    if (FProdTempoDecimal != QLatin1String("-"))
        return FProdTempoDecimal;
    sqlAux.close();
    sqlAux.sql() = QStringList{sourcesql::kParam};
    sqlAux.setParam(QStringLiteral("GRUPO"), V::text(QStringLiteral("PRODUTO_TEMPO")));
    sqlAux.setParam(QStringLiteral("PARAM"), V::text(QStringLiteral("TEMPO_DECIMAL")));
    sqlAux.open();
    QString value = sqlAux.eof() ? QString() : sqlAux.fieldByName(QStringLiteral("VALOR_PA")).asText();
    sqlAux.close();
    FProdTempoDecimal = value;
    return FProdTempoDecimal;
}

double TdmMarvessa::ConverterTempoProduto(double Tempo)
{
    if (getProdTempoDecimal() == QLatin1String("S"))
        return Tempo;
    return Tempo / 60;
}

double TdmMarvessa::getTempoTrocaFicha(const QString& Setor)
{
    // Within a run the operation times do not change: each sector is looked up once.
    if (FTemposTrocaRun) {
        auto it = FTemposTrocaRun->constFind(Setor);
        if (it != FTemposTrocaRun->cend())
            return *it;
    }
    double tempo = 0;
    if (cdsOperacaoSetor.findKey({V::text(FCodOperacaoTrocaFicha), V::text(Setor)}))
        tempo = cdsOperacaoSetor.fieldByName(QStringLiteral("TEMPO_PS")).asFloat();
    if (FTemposTrocaRun)
        FTemposTrocaRun->insert(Setor, tempo);
    return tempo;
}

double TdmMarvessa::getTempoProdutoSetor(const QString& Produto, const QString& Setor)
{
    QString quotedProduct = Produto;
    quotedProduct.replace(QLatin1Char('\''), QStringLiteral("''"));
    quotedProduct = QLatin1Char('\'') + quotedProduct + QLatin1Char('\'');

    // During a run each product's rows are read once and kept by sector.
    const QHash<QString, double>* cached = nullptr;
    if (FTemposProdutoRun) {
        auto it = FTemposProdutoRun->find(Produto);
        if (it == FTemposProdutoRun->end()) {
            AbrirCdsProdTempo(quotedProduct);
            QHash<QString, double> bySector;
            WorkField& prod = cdsProdTempo.fieldByName(QStringLiteral("PRODUTO_PT"));
            WorkField& setor = cdsProdTempo.fieldByName(QStringLiteral("SETOR_PT"));
            WorkField& tempo = cdsProdTempo.fieldByName(QStringLiteral("TEMPO_PT"));
            for (cdsProdTempo.first(); !cdsProdTempo.eof(); cdsProdTempo.next())
                if (prod.asString() == Produto && !bySector.contains(setor.asString()))
                    bySector.insert(setor.asString(), tempo.asFloat());
            it = FTemposProdutoRun->insert(Produto, bySector);
        }
        cached = &it.value();
    } else {
        AbrirCdsProdTempo(quotedProduct);
    }

    if (!cdsSetorAg.findKey({V::text(Setor)}))
        return 0;
    const QString grupo = cdsSetorAg.fieldByName(QStringLiteral("setor_agrup_se")).asString();
    if (cached) {
        auto t = cached->find(grupo);
        return t == cached->end() ? 0 : ConverterTempoProduto(t.value());
    }
    if (!cdsProdTempo.findKey({V::text(Produto), V::text(grupo)}))
        return 0;
    return ConverterTempoProduto(cdsProdTempo.fieldByName(QStringLiteral("TEMPO_PT")).asFloat());
}
