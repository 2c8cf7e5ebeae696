// Statements sent to the factory database, their dump files and the lookups
// of the calculation module.
#include "calc/SourceStatements.h"
#include "calc/TdmMarvessa.h"
#include "data/ArquivoGravado.h"
#include "data/Charset.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"
#include "data/TextLists.h"

#include <QFile>

#include <optional>
#include <stdexcept>

namespace {

using V = fb::Value;

} // namespace

FiltrosFonte TdmMarvessa::filtrosFonte() const
{
    return {FApenasExcetoFuncionarios, FApenasExcetoSetor, FExcetoSetoresProducao, FSetoresNumericos};
}

void TdmMarvessa::setPeriodParams(SqlQuery& q) const
{
    q.setParam(QStringLiteral("DATA_INI"), V::timestamp(FPeriodoProducao->SqlDataIni()));
    q.setParam(QStringLiteral("DATA_FIM"), V::timestamp(FPeriodoProducao->SqlDataFim()));
}

// A statement's text is written to its trace file once the server took it,
// except the unit labels', written first.
void TdmMarvessa::MontarSqlProdSetor()
{
    sqlProdSetor.close();
    sqlProdSetor.sql() = sourcesql::prodSetor(filtrosFonte());
    setPeriodParams(sqlProdSetor);
}

void TdmMarvessa::MontarSqlCorteSetor()
{
    sqlCorteSetor.close();
    sqlCorteSetor.sql() = sourcesql::corteSetor(filtrosFonte());
    setPeriodParams(sqlCorteSetor);
}

void TdmMarvessa::MontarSqlCodCxUnitSetor()
{
    sqlCodCxUnitSetor.close();
    sqlCodCxUnitSetor.sql() = sourcesql::codCxUnitSetor(filtrosFonte());
    setPeriodParams(sqlCodCxUnitSetor);
    gravarConsulta(2);
}

void TdmMarvessa::gravarConsulta(int fonte)
{
    static const char* const arquivos[3] = {"sqlProdSetor.sql", "sqlCorteSetor.sql", "sqlCodCxUnitSetor.sql"};
    SqlQuery* fontes[3] = {&sqlProdSetor, &sqlCorteSetor, &sqlCodCxUnitSetor};
    FArquivosConsulta.gravar(*fontes[fonte], QString::fromLatin1(arquivos[fonte]));
}

void TdmMarvessa::AbrirSqlProdSetor()
{
    MontarSqlProdSetor();
    sqlProdSetor.open();
    gravarConsulta(0);
}

void TdmMarvessa::AbrirSqlCorteSetor()
{
    MontarSqlCorteSetor();
    sqlCorteSetor.open();
    gravarConsulta(1);
}

void TdmMarvessa::AbrirSqlCodCxUnitSetor()
{
    MontarSqlCodCxUnitSetor();
    sqlCodCxUnitSetor.open();
}

void TdmMarvessa::AbrirCdsProdExped()
{
    FShiftFields.reset(); // the table's fields are made anew by the opening
    cdsProdExped.close();
    sqlProdExped.close();
    sqlProdExped.sql() = sourcesql::prodExped(filtrosFonte());
    setPeriodParams(sqlProdExped);
    cdsProdExped.open();
    RemoverExpedientesDanificados();
    cdsProdExped.setIndexFieldNames(QStringLiteral("DATA_PE;SETOR_PE;FUNCIONARIO_PE"));
}

namespace {

// "hh:mm" with hours 00 to 24 and minutes 00 to 59; an empty text is no time.
bool horaValida(const QString& t)
{
    if (t.isEmpty())
        return true;
    if (t.size() != 5 || t[2] != QLatin1Char(':'))
        return false;
    for (int i : {0, 1, 3, 4})
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
    return t.left(2).toInt() <= 24 && t.mid(3, 2).toInt() <= 59;
}

} // namespace

void TdmMarvessa::RemoverExpedientesDanificados()
{
    cdsProdExped.first();
    while (!cdsProdExped.eof()) {
        if (ExpedienteDanificado())
            cdsProdExped.deleteRecord();
        else
            cdsProdExped.next();
    }
}

bool TdmMarvessa::ExpedienteDanificado()
{
    // A damaged shift row (a clock text that is no time, minutes or staff
    // counts out of range) would give its day a figure that means nothing,
    // or fail the whole run: the row is left out, the log says which.
    const ShiftFields& pe = shiftFields();
    auto minutos = [](const WorkField* f) { return f->isNull() || (f->asInteger() >= 0 && f->asInteger() <= 24 * 60); };
    auto pessoas = [](const WorkField* f) { return f->isNull() || (f->asInteger() >= 0 && f->asInteger() <= 100000); };
    const char* falha = nullptr;
    for (const WorkField* f : {pe.inicio, pe.fim, pe.inicioHe, pe.fimHe})
        if (!falha && !horaValida(regra::relogio(f->asString())))
            falha = "clock time";
    if (!falha && !(minutos(pe.almoco) && minutos(pe.inativo)))
        falha = "minutes out of range";
    if (!falha && !(pessoas(pe.qtde) && pessoas(pe.qtdeHe)))
        falha = "staff count out of range";
    if (!falha)
        return false;
    // Named once, not at every run: the set is bounded, and starts again
    // should a damaged table name more rows than it holds.
    const QString dia = daynum::toDate(pe.data->asDateTime()).toString(Qt::ISODate);
    const QString chave = dia + QLatin1Char('/') + pe.setor->asString() + QLatin1Char('/') +
                          pe.funcionario->asString() + QLatin1Char('/') + QString::fromLatin1(falha);
    if (FLinhasAvisadas.size() > 10000)
        FLinhasAvisadas.clear();
    if (!FLinhasAvisadas.contains(chave)) {
        FLinhasAvisadas.insert(chave);
        logfmt::write(QStringLiteral("row-skipped"), {{"table", QStringLiteral("PRODUCAO_EXPEDIENTE")},
                                                      {"day", dia},
                                                      {"sector", pe.setor->asString()},
                                                      {"employee", pe.funcionario->asString()},
                                                      {"reason", QString::fromLatin1(falha)}});
    }
    return true;
}

const TdmMarvessa::ShiftFields& TdmMarvessa::shiftFields()
{
    if (!FShiftFields) {
        auto f = [&](const char* name) { return &cdsProdExped.fieldByName(QString::fromLatin1(name)); };
        FShiftFields = std::make_unique<ShiftFields>(ShiftFields{
            f("DATA_PE"), f("SETOR_PE"), f("FUNCIONARIO_PE"), f("HORA_INICIO_PE"), f("HORA_FIM_PE"), f("MINUTOS_INTERVALO_ALMOCO_PE"), f("HORA_INICIO_HE_PE"),
            f("HORA_FIM_HE_PE"), f("MINUTOS_INATIVO_PE"), f("QTDE_FUNCIONARIOS_PE"), f("QTDE_FUNCIONARIOS_HE_PE")});
    }
    return *FShiftFields;
}

regra::Turno TdmMarvessa::turno(const ShiftFields& pe)
{
    return regra::Turno::de(regra::relogio(pe.inicio->asString()), regra::relogio(pe.fim->asString()),
                            regra::relogio(pe.inicioHe->asString()), regra::relogio(pe.fimHe->asString()),
                            pe.almoco->asInteger(), pe.inativo->asInteger(),
                            pe.qtde->asInteger(), pe.qtdeHe->asInteger());
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
    if (FRun) {
        auto it = FRun->temposTroca.constFind(Setor);
        if (it != FRun->temposTroca.cend())
            return *it;
    }
    double tempo = 0;
    if (cdsOperacaoSetor.findKey({V::text(FCodOperacaoTrocaFicha), V::text(Setor)}))
        tempo = cdsOperacaoSetor.fieldByName(QStringLiteral("TEMPO_PS")).asFloat();
    if (FRun)
        FRun->temposTroca.insert(Setor, tempo);
    return tempo;
}

double TdmMarvessa::getTempoProdutoSetor(const QString& Produto, const QString& Setor)
{
    auto quoted = [&] {
        QString q = Produto;
        q.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + q + QLatin1Char('\'');
    };

    // During a run each product's rows are read once and kept by sector,
    // each sector's grouping sector is looked up once, and each product and
    // sector pair is worked out once.
    if (FRun) {
        AcumulacaoTempos* a = acumulacao();
        if (a)
            if (const double* t = a->tempoProduto(Produto, Setor))
                return *t;
        auto it = FRun->temposProduto.constFind(Produto);
        if (it == FRun->temposProduto.cend()) {
            AbrirCdsProdTempo(quoted());
            FProdutosLidos << Produto;
            QHash<QString, double> bySector;
            WorkField& prod = cdsProdTempo.fieldByName(QStringLiteral("PRODUTO_PT"));
            WorkField& setor = cdsProdTempo.fieldByName(QStringLiteral("SETOR_PT"));
            WorkField& tempo = cdsProdTempo.fieldByName(QStringLiteral("TEMPO_PT"));
            for (cdsProdTempo.first(); !cdsProdTempo.eof(); cdsProdTempo.next())
                if (prod.asString() == Produto && !bySector.contains(setor.asString()))
                    bySector.insert(setor.asString(), tempo.asFloat());
            it = FRun->temposProduto.insert(Produto, bySector);
        }
        auto g = FRun->gruposSetor.constFind(Setor);
        if (g == FRun->gruposSetor.cend()) {
            std::optional<QString> grupo;
            if (cdsSetorAg.findKey({V::text(Setor)}))
                grupo = cdsSetorAg.fieldByName(QStringLiteral("setor_agrup_se")).asString();
            g = FRun->gruposSetor.insert(Setor, grupo);
        }
        double resultado = 0;
        if (g.value()) {
            auto t = it.value().constFind(*g.value());
            if (t != it.value().cend())
                resultado = ConverterTempoProduto(t.value());
        }
        if (a)
            a->guardarTempoProduto(Produto, Setor, resultado);
        return resultado;
    }

    AbrirCdsProdTempo(quoted());
    if (!cdsSetorAg.findKey({V::text(Setor)}))
        return 0;
    const QString grupo = cdsSetorAg.fieldByName(QStringLiteral("setor_agrup_se")).asString();
    if (!cdsProdTempo.findKey({V::text(Produto), V::text(grupo)}))
        return 0;
    return ConverterTempoProduto(cdsProdTempo.fieldByName(QStringLiteral("TEMPO_PT")).asFloat());
}
