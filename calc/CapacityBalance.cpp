// The sector capacity balance: available staff minutes over a number of days
// against the standard minutes of a product list, per sector and start day.
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"

namespace {

using V = fb::Value;

// Later than any date a source can hold (9999-12-31).
constexpr double kAfterAnyDate = 2958465;

} // namespace

void TdmMarvessa::GerarCdsSetorData()
{
    if (!ValidarRegCalcTempoProd())
        return;
    cdsSetorProdTempo.setMasterSource(nullptr, {});
    LimparCds(cdsSetorData);
    LimparCds(cdsSetorProdTempo);
    AbrirCdsProdTempo(getListaProdutos());
    FCalcExpediente = std::make_unique<TCalcExpediente>();
    FGerandoCdsSetorData = true;
    try {
        ProcessarSetorData();
    } catch (...) {
        FCalcExpediente.reset();
        FGerandoCdsSetorData = false;
        throw;
    }
    FCalcExpediente.reset();
    FGerandoCdsSetorData = false;
    cdsSetorProdTempo.setMasterSource(dtsSetorData.DataSet, QStringLiteral("COD_SETOR"));
}

bool TdmMarvessa::ValidarRegCalcTempoProd()
{
    const TRegCalcTempoProd& r = *FRegCalcTempoProd;
    const std::pair<bool, const char*> checks[] = {
        {r.dsSetorData == nullptr, "DataSet dsSetorData não configurado."},
        {r.dsProdQtde == nullptr, "DataSet dsProdQtde não configurado."},
        {r.NomeCpCodSetor.isEmpty(), "Nome do campo CodSetor não informado."},
        {r.NomeCpDescSetor.isEmpty(), "Nome do campo DescSetor não informado."},
        {r.NomeCpDataSetor.isEmpty(), "Nome do campo DataSetor não informado."},
        {r.NomeCpProd.isEmpty(), "Nome do campo NomeCpProd não informado."},
        {r.NomeCpQtde.isEmpty(), "Nome do campo NomeCpQtde não informado."},
    };
    for (const auto& [gap, text] : checks) {
        if (gap) {
            avisoCalculo(QString::fromUtf8(text));
            return false;
        }
    }
    return true;
}

QString TdmMarvessa::getListaProdutos()
{
    WorkTable& produtos = *FRegCalcTempoProd->dsProdQtde;
    WorkField& prod = produtos.fieldByName(FRegCalcTempoProd->NomeCpProd);
    QString lista;
    for (produtos.first(); !produtos.eof(); produtos.next()) {
        if (!lista.isEmpty())
            lista += QLatin1Char(',');
        lista += QLatin1Char('\'') + prod.asString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    }
    return lista;
}

void TdmMarvessa::ProcessarSetorData()
{
    ObterPeriodoSetorData();
    AbrirCdsProdExped();
    FCalcExpediente->setDataSetExped(&cdsProdExped);
    WorkTable& setores = *FRegCalcTempoProd->dsSetorData;
    for (setores.first(); !setores.eof(); setores.next()) {
        GerarLinhaSetorData();
        GerarProdutosSetor(cdsSetorData_COD_SETOR->asString());
    }
}

void TdmMarvessa::ObterPeriodoSetorData()
{
    WorkTable& setores = *FRegCalcTempoProd->dsSetorData;
    WorkField& data = setores.fieldByName(FRegCalcTempoProd->NomeCpDataSetor);
    WorkField* dias = setores.findField(FRegCalcTempoProd->NomeCpDiasSetor);
    double inicio = kAfterAnyDate, fim = 0;
    for (setores.first(); !setores.eof(); setores.next()) {
        const double d = data.asDateTime();
        inicio = std::min(inicio, d);
        // The span reaches every day the shift search may look at: each day
        // after the first can move the search up to five days on.
        const std::int32_t n = dias ? dias->asInteger() : 0;
        fim = std::max(fim, std::min(kAfterAnyDate, d + 5.0 * std::max(0, n - 1)));
    }
    FPeriodoProducao->setDataIni(inicio);
    FPeriodoProducao->setDataFim(fim);
}

void TdmMarvessa::GerarLinhaSetorData()
{
    const TRegCalcTempoProd& r = *FRegCalcTempoProd;
    WorkTable& fonte = *r.dsSetorData;
    cdsSetorData.append();
    cdsSetorData_COD_SETOR->setAsString(fonte.fieldByName(r.NomeCpCodSetor).asString());
    cdsSetorData_NOME_SETOR->setAsString(fonte.fieldByName(r.NomeCpDescSetor).asString());
    cdsSetorData_DATA_SETOR->setAsDateTime(fonte.fieldByName(r.NomeCpDataSetor).asDateTime());
    cdsSetorData_QTDE_DIAS->setAsInteger(fonte.fieldByName(r.NomeCpDiasSetor).asInteger());

    double cursor = cdsSetorData_DATA_SETOR->asDateTime();
    const std::int32_t dias = cdsSetorData_QTDE_DIAS->asInteger();
    const QString setor = cdsSetorData_COD_SETOR->asString();
    for (std::int32_t dia = 1; dia <= dias; ++dia) {
        if (!LocalizarExpediente(dia, cursor, setor))
            continue;
        auto add = [](WorkField* f, std::int64_t v) { f->setAsInteger(std::int64_t(f->asInteger()) + v); };
        add(cdsSetorData_EXPEDIENTE, FCalcExpediente->MinExpedienteNormal());
        add(cdsSetorData_QTDE_FUNC, cdsProdExped.fieldByName(QStringLiteral("QTDE_FUNCIONARIOS_PE")).asInteger());
        add(cdsSetorData_MIN_HE, FCalcExpediente->MinExpedienteHE());
        add(cdsSetorData_QTDE_FUNC_HE, cdsProdExped.fieldByName(QStringLiteral("QTDE_FUNCIONARIOS_HE_PE")).asInteger());
    }
    if (dias > 1) {
        cdsSetorData_QTDE_FUNC->setAsInteger(cdsSetorData_QTDE_FUNC->asInteger() / dias);
        cdsSetorData_QTDE_FUNC_HE->setAsInteger(cdsSetorData_QTDE_FUNC_HE->asInteger() / dias);
    }
    RecalcTempo();
    cdsSetorData.post();
}

bool TdmMarvessa::LocalizarExpediente(std::int32_t Dia, double& Cursor, const QString& Setor)
{
    for (int tentativa = 1; tentativa <= 5; ++tentativa) {
        if (cdsProdExped.locate(QStringLiteral("DATA_PE;SETOR_PE"), {V::date(Cursor), V::text(Setor)}) &&
            cdsProdExped.fieldByName(QStringLiteral("QTDE_FUNCIONARIOS_PE")).asInteger() > 0)
            return true;
        if (Dia == 1)
            return false;
        Cursor += 1;
    }
    return false;
}

void TdmMarvessa::GerarProdutosSetor(const QString& Setor)
{
    const TRegCalcTempoProd& r = *FRegCalcTempoProd;
    WorkTable& produtos = *r.dsProdQtde;
    WorkField& prod = produtos.fieldByName(r.NomeCpProd);
    WorkField& qtde = produtos.fieldByName(r.NomeCpQtde);
    double total = 0;
    std::int64_t somaQtde = 0;
    for (produtos.first(); !produtos.eof(); produtos.next()) {
        const QString produto = prod.asString();
        double tempoPar = 0;
        if (cdsProdTempo.findKey({V::text(produto), V::text(Setor)}))
            tempoPar = ConverterTempoProduto(cdsProdTempo.fieldByName(QStringLiteral("TEMPO_PT")).asFloat());
        const std::int32_t q = qtde.asInteger();
        total += q * tempoPar;
        somaQtde += q;
        cdsSetorProdTempo.append();
        cdsSetorProdTempo_SETOR->setAsString(Setor);
        cdsSetorProdTempo_PROD->setAsString(produto);
        cdsSetorProdTempo_TEMPO->setAsFloat(q * tempoPar);
        cdsSetorProdTempo_TEMPO_POR_PAR->setAsFloat(tempoPar);
        cdsSetorProdTempo_QTDE->setAsInteger(q);
        cdsSetorProdTempo.post();
    }
    cdsSetorData.edit();
    cdsSetorData_QTDE_PRODUCAO->setAsInteger(somaQtde);
    cdsSetorData_TEMPO_NECES->setAsFloat(total); // halves to the even neighbour
    cdsSetorData_SALDO_TEMPO->setAsInteger(std::int64_t(cdsSetorData_TOT_MIN_DISP->asInteger()) -
                                           cdsSetorData_TEMPO_NECES->asInteger());
    cdsSetorData_PESSOAL_NECES->setAsFloat(getPessoalNecessario());
    cdsSetorData_SALDO_PESSOAL->setAsFloat(getSaldoPessoal());
    cdsSetorData.post();
}

void TdmMarvessa::RecalcTempo()
{
    auto i64 = [](WorkField* f) { return std::int64_t(f->asInteger()); };
    cdsSetorData_TOT_MIN_EXPED->setAsInteger(i64(cdsSetorData_EXPEDIENTE) * i64(cdsSetorData_QTDE_FUNC));
    cdsSetorData_TOT_MIN_HE->setAsInteger(i64(cdsSetorData_MIN_HE) * i64(cdsSetorData_QTDE_FUNC_HE));
    cdsSetorData_TOT_MIN_DISP->setAsInteger(i64(cdsSetorData_TOT_MIN_HE) + i64(cdsSetorData_TOT_MIN_EXPED));
    cdsSetorData_SALDO_TEMPO->setAsInteger(i64(cdsSetorData_TOT_MIN_DISP) - i64(cdsSetorData_TEMPO_NECES));
    cdsSetorData_PESSOAL_NECES->setAsFloat(getPessoalNecessario());
    cdsSetorData_SALDO_PESSOAL->setAsFloat(getSaldoPessoal());
}

double TdmMarvessa::getPessoalNecessario()
{
    const std::int32_t expediente = cdsSetorData_EXPEDIENTE->asInteger();
    return expediente == 0 ? 0 : double(cdsSetorData_TEMPO_NECES->asInteger()) / expediente;
}

double TdmMarvessa::getSaldoPessoal()
{
    const std::int32_t expediente = cdsSetorData_EXPEDIENTE->asInteger();
    return expediente == 0 ? 0
                           : double(cdsSetorData_TOT_MIN_DISP->asInteger()) / expediente -
                                 cdsSetorData_PESSOAL_NECES->asFloat();
}

void TdmMarvessa::cdsSetorData_CamposTempoChange(WorkField&)
{
    if (!FGerandoCdsSetorData)
        RecalcTempo();
}
