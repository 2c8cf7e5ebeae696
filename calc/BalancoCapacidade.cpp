// The sector capacity balance: available staff minutes over a number of days
// against the standard minutes of a product list, per sector and start day.
#include "calc/BalancoCapacidade.h"

#include "data/DayNumber.h"

namespace {

using V = fb::Value;

// Later than any date a source can hold (9999-12-31).
constexpr double kAfterAnyDate = 2958465;

} // namespace

BalancoCapacidade::BalancoCapacidade(TdmMarvessa& fontes)
    : cdsSetorData("cdsSetorData"), cdsSetorProdTempo("cdsSetorProdTempo"), FFontes(fontes)
{
    declararCampos();
    dtsSetorData.DataSet = &cdsSetorData;
    cdsSetorProdTempo.setIndexFieldNames(QStringLiteral("SETOR"));
    cdsSetorProdTempo.setMasterSource(dtsSetorData.DataSet, QStringLiteral("COD_SETOR"));
}

void BalancoCapacidade::declararCampos()
{
    auto date = FieldType::Date;
    auto text = FieldType::Text;
    auto integer = FieldType::Integer;
    auto real = FieldType::Float;

    WorkTable& sd = cdsSetorData;
    const QString whole = QStringLiteral("###,##0");
    const QString twoDecimals = QStringLiteral("#,##0.00");
    auto field = [&](const char* name, FieldType type, int size, const QString& label, const QString& format) {
        WorkField& f = sd.addField(QString::fromLatin1(name), type, size);
        f.displayLabel = label;
        f.displayFormat = format;
        return &f;
    };
    auto onTimeChange = [this](WorkField& f) { cdsSetorData_CamposTempoChange(f); };
    cdsSetorData_COD_SETOR = field("COD_SETOR", text, 2, QStringLiteral("Setor"), {});
    cdsSetorData_NOME_SETOR = field("NOME_SETOR", text, 30, QStringLiteral("Nome Setor"), {});
    cdsSetorData_DATA_SETOR = field("DATA_SETOR", date, 0, QStringLiteral("Data"), QStringLiteral("dd\"/\"mm\"/\"yyyy"));
    cdsSetorData_EXPEDIENTE = field("EXPEDIENTE", integer, 0, QStringLiteral("Expediente (Min)"), whole);
    cdsSetorData_QTDE_FUNC = field("QTDE_FUNC", integer, 0, QStringLiteral("Qtde Func."), whole);
    cdsSetorData_TOT_MIN_EXPED = field("TOT_MIN_EXPED", integer, 0, QStringLiteral("Tempo Disp. (Min)"), whole);
    cdsSetorData_MIN_HE = field("MIN_HE", integer, 0, QStringLiteral("Exp. H.E."), whole);
    cdsSetorData_QTDE_FUNC_HE = field("QTDE_FUNC_HE", integer, 0, QStringLiteral("Qtde Func. H.E."), whole);
    cdsSetorData_TOT_MIN_HE = field("TOT_MIN_HE", integer, 0, QStringLiteral("Tempo H.E."), whole);
    cdsSetorData_TOT_MIN_DISP = field("TOT_MIN_DISP", integer, 0, QStringLiteral("Tempo Disponível (Min)"), whole);
    cdsSetorData_QTDE_PRODUCAO = field("QTDE_PRODUCAO", integer, 0, QStringLiteral("Qtde Produção"), whole);
    cdsSetorData_TEMPO_NECES = field("TEMPO_NECES", integer, 0, QStringLiteral("Tempo Necessário (Min)"), whole);
    cdsSetorData_SALDO_TEMPO = field("SALDO_TEMPO", integer, 0, QStringLiteral("Saldo Tempo (Min)"), whole);
    cdsSetorData_PESSOAL_NECES = field("PESSOAL_NECES", real, 0, QStringLiteral("Pessoal Neces."), twoDecimals);
    cdsSetorData_SALDO_PESSOAL = field("SALDO_PESSOAL", real, 0, QStringLiteral("Saldo Pessoal"), twoDecimals);
    cdsSetorData_QTDE_DIAS = field("QTDE_DIAS", integer, 0, QStringLiteral("Dias"), {});
    cdsSetorData_QTDE_DIAS->displayWidth = 3;
    for (WorkField* f : {cdsSetorData_EXPEDIENTE, cdsSetorData_QTDE_FUNC, cdsSetorData_MIN_HE, cdsSetorData_QTDE_FUNC_HE})
        f->onChange = onTimeChange;

    WorkTable& sp = cdsSetorProdTempo;
    cdsSetorProdTempo_SETOR = &sp.addField(QStringLiteral("SETOR"), text, 2);
    cdsSetorProdTempo_PROD = &sp.addField(QStringLiteral("PROD"), text, 8);
    cdsSetorProdTempo_TEMPO = &sp.addField(QStringLiteral("TEMPO"), real);
    cdsSetorProdTempo_QTDE = &sp.addField(QStringLiteral("QTDE"), integer);
    cdsSetorProdTempo_TEMPO_POR_PAR = &sp.addField(QStringLiteral("TEMPO_POR_PAR"), real);
}

void BalancoCapacidade::GerarCdsSetorData()
{
    if (!ValidarRegCalcTempoProd())
        return;
    cdsSetorProdTempo.setMasterSource(nullptr, {});
    FFontes.LimparCds(cdsSetorData);
    FFontes.LimparCds(cdsSetorProdTempo);
    FFontes.AbrirCdsProdTempo(getListaProdutos());
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

bool BalancoCapacidade::ValidarRegCalcTempoProd()
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

QString BalancoCapacidade::getListaProdutos()
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

void BalancoCapacidade::ProcessarSetorData()
{
    ObterPeriodoSetorData();
    FFontes.AbrirCdsProdExped();
    FCalcExpediente->setDataSetExped(&FFontes.cdsProdExped);
    WorkTable& setores = *FRegCalcTempoProd->dsSetorData;
    for (setores.first(); !setores.eof(); setores.next()) {
        GerarLinhaSetorData();
        GerarProdutosSetor(cdsSetorData_COD_SETOR->asString());
    }
}

void BalancoCapacidade::ObterPeriodoSetorData()
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
    FFontes.PeriodoProducao()->setDataIni(inicio);
    FFontes.PeriodoProducao()->setDataFim(fim);
}

void BalancoCapacidade::GerarLinhaSetorData()
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
        add(cdsSetorData_QTDE_FUNC, FFontes.cdsProdExped.fieldByName(QStringLiteral("QTDE_FUNCIONARIOS_PE")).asInteger());
        add(cdsSetorData_MIN_HE, FCalcExpediente->MinExpedienteHE());
        add(cdsSetorData_QTDE_FUNC_HE, FFontes.cdsProdExped.fieldByName(QStringLiteral("QTDE_FUNCIONARIOS_HE_PE")).asInteger());
    }
    if (dias > 1) {
        cdsSetorData_QTDE_FUNC->setAsInteger(cdsSetorData_QTDE_FUNC->asInteger() / dias);
        cdsSetorData_QTDE_FUNC_HE->setAsInteger(cdsSetorData_QTDE_FUNC_HE->asInteger() / dias);
    }
    RecalcTempo();
    cdsSetorData.post();
}

bool BalancoCapacidade::LocalizarExpediente(std::int32_t Dia, double& Cursor, const QString& Setor)
{
    for (int tentativa = 1; tentativa <= 5; ++tentativa) {
        if (FFontes.cdsProdExped.locate(QStringLiteral("DATA_PE;SETOR_PE"), {V::date(Cursor), V::text(Setor)}) &&
            FFontes.cdsProdExped.fieldByName(QStringLiteral("QTDE_FUNCIONARIOS_PE")).asInteger() > 0)
            return true;
        if (Dia == 1)
            return false;
        Cursor += 1;
    }
    return false;
}

void BalancoCapacidade::GerarProdutosSetor(const QString& Setor)
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
        if (FFontes.cdsProdTempo.findKey({V::text(produto), V::text(Setor)}))
            tempoPar = FFontes.ConverterTempoProduto(FFontes.cdsProdTempo.fieldByName(QStringLiteral("TEMPO_PT")).asFloat());
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

void BalancoCapacidade::RecalcTempo()
{
    auto i64 = [](WorkField* f) { return std::int64_t(f->asInteger()); };
    cdsSetorData_TOT_MIN_EXPED->setAsInteger(i64(cdsSetorData_EXPEDIENTE) * i64(cdsSetorData_QTDE_FUNC));
    cdsSetorData_TOT_MIN_HE->setAsInteger(i64(cdsSetorData_MIN_HE) * i64(cdsSetorData_QTDE_FUNC_HE));
    cdsSetorData_TOT_MIN_DISP->setAsInteger(i64(cdsSetorData_TOT_MIN_HE) + i64(cdsSetorData_TOT_MIN_EXPED));
    cdsSetorData_SALDO_TEMPO->setAsInteger(i64(cdsSetorData_TOT_MIN_DISP) - i64(cdsSetorData_TEMPO_NECES));
    cdsSetorData_PESSOAL_NECES->setAsFloat(getPessoalNecessario());
    cdsSetorData_SALDO_PESSOAL->setAsFloat(getSaldoPessoal());
}

double BalancoCapacidade::getPessoalNecessario()
{
    const std::int32_t expediente = cdsSetorData_EXPEDIENTE->asInteger();
    return expediente == 0 ? 0 : double(cdsSetorData_TEMPO_NECES->asInteger()) / expediente;
}

double BalancoCapacidade::getSaldoPessoal()
{
    const std::int32_t expediente = cdsSetorData_EXPEDIENTE->asInteger();
    return expediente == 0 ? 0
                           : double(cdsSetorData_TOT_MIN_DISP->asInteger()) / expediente -
                                 cdsSetorData_PESSOAL_NECES->asFloat();
}

void BalancoCapacidade::cdsSetorData_CamposTempoChange(WorkField&)
{
    if (!FGerandoCdsSetorData)
        RecalcTempo();
}
