// Efficiency percentages per day, sector and employee, and their daily and
// period means per sector and per employee.
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"

namespace {

using V = fb::Value;

// A row's percentage: its standard time over its available time in
// staff-seconds; none for a row without any.
std::optional<double> percentual(const regra::Soma& s)
{
    const double tempo = (s.temTempoTot ? s.tempoTot : 0) + (s.temTempoTotHe ? s.tempoTotHe : 0);
    const double n = double(s.minutosExpediente) - s.minutosInativo;
    const double x = s.minutosExtras;
    const double f = s.qtdeFuncionarios;
    const double fh = s.qtdeFuncionariosHe;
    const double disponivel = n * 60 * f + x * 60 * fh;
    if (n + x > 0 && f + fh > 0 && disponivel != 0)
        return tempo / disponivel * 100;
    return std::nullopt;
}

} // namespace

void TdmMarvessa::CalcularEficiencia()
{
    FSomaSetorDia.clear();
    if (FRun || !FTempos.empty())
        CalcularEficienciaLinhas();
    else
        CalcularEficienciaTabela();
}

void TdmMarvessa::CalcularEficienciaLinhas()
{
    if (FTemposNaTabela) {
        // The table's copy would no longer hold the percentages.
        esvaziar(cdsTempoSetor);
        FTemposNaTabela = false;
    }
    const auto total = std::int32_t(FTempos.size());
    std::int32_t handled = 0;
    for (LinhaTempo& l : FTempos) {
        if (const std::optional<double> p = percentual(l.soma))
            l.percEficiencia = p;
        const double eficiencia = l.percEficiencia.value_or(0);
        AcumularSetor(l.chave.setor, l.nomeSetor, l.ordem, l.chave.data, eficiencia);
        auto& [soma, qtde] = FSomaSetorDia[l.chave.setor][daynum::datePart(l.chave.data)];
        soma += eficiencia;
        ++qtde;
        AcumularSetorFuncionario(l.chave.setor, l.chave.funcionario, l.nomeFuncionario, l.chave.data, eficiencia);
        ++handled;
        FAtividade.fetch_add(1, std::memory_order_relaxed);
        if (FProgressEvent)
            FProgressEvent(total, handled, QStringLiteral("Calculando Eficiência"), handled == 1);
    }
}

void TdmMarvessa::CalcularEficienciaTabela()
{
    const auto total = std::int32_t(cdsTempoSetor.recordCount());
    std::int32_t handled = 0;
    for (cdsTempoSetor.first(); !cdsTempoSetor.eof(); cdsTempoSetor.next()) {
        regra::Soma s;
        s.temTempoTot = !cdsTempoSetorTEMPO_TOT->isNull();
        s.tempoTot = cdsTempoSetorTEMPO_TOT->asFloat();
        s.temTempoTotHe = !cdsTempoSetorTEMPO_TOT_HE->isNull();
        s.tempoTotHe = cdsTempoSetorTEMPO_TOT_HE->asFloat();
        s.minutosExpediente = cdsTempoSetorMINUTOS_EXPEDIENTE->asInteger();
        s.minutosInativo = cdsTempoSetorMINUTOS_INATIVO->asInteger();
        s.minutosExtras = cdsTempoSetorMINUTOS_EXTRAS->asInteger();
        s.qtdeFuncionarios = cdsTempoSetorQTDE_FUNCIONARIOS->asInteger();
        s.qtdeFuncionariosHe = cdsTempoSetorQTDE_FUNCIONARIOS_HE->asInteger();
        if (const std::optional<double> p = percentual(s)) {
            cdsTempoSetor.edit();
            cdsTempoSetorPERC_EFICIENCIA->setAsFloat(*p);
            cdsTempoSetor.post();
        }
        const double eficiencia = cdsTempoSetorPERC_EFICIENCIA->asFloat();
        const double data = cdsTempoSetorDATA->asDateTime();
        const QString setor = cdsTempoSetorSETOR->asString();
        AcumularSetor(setor, cdsTempoSetorNOME_SETOR->asString(), cdsTempoSetorORDEM_SETOR->asInteger(), data, eficiencia);
        auto& [soma, qtde] = FSomaSetorDia[setor][daynum::datePart(data)];
        soma += eficiencia;
        ++qtde;
        AcumularSetorFuncionario(setor, cdsTempoSetorFUNCIONARIO->asString(), cdsTempoSetorNOME_FUNCIONARIO->asString(),
                                 data, eficiencia);
        ++handled;
        FAtividade.fetch_add(1, std::memory_order_relaxed);
        if (FProgressEvent)
            FProgressEvent(total, handled, QStringLiteral("Calculando Eficiência"), handled == 1);
    }
}

namespace {

// Adds one percentage to a summary row that stands current and editable.
void acumular(bool diaria, double eficiencia, WorkField* qtde, WorkField* soma, WorkField* media, WorkField* qtdeMes,
              WorkField* somaMes, WorkField* mediaMes)
{
    if (diaria) {
        qtde->setAsInteger(std::int64_t(qtde->asInteger()) + 1);
        soma->setAsFloat(soma->asFloat() + eficiencia);
        media->setAsFloat(soma->asFloat() / qtde->asInteger());
    }
    qtdeMes->setAsInteger(std::int64_t(qtdeMes->asInteger()) + 1);
    somaMes->setAsFloat(somaMes->asFloat() + eficiencia);
    mediaMes->setAsFloat(somaMes->asFloat() / qtdeMes->asInteger());
}

} // namespace

// A percentage of the reading day, or of the explicit period when one is set.
bool TdmMarvessa::EhDiaria(double Data) const
{
    // The reading day is a date, whatever time of day it was given with.
    return Data == daynum::datePart(FDataLeitura) || (FDataInicial <= Data && Data <= FDataFinal);
}

void TdmMarvessa::AcumularSetor(const QString& Setor, const QString& NomeSetor, std::int32_t Ordem, double Data,
                                double Eficiencia)
{
    if (cdsSetores.locate(QStringLiteral("COD"), {V::text(Setor)})) {
        cdsSetores.edit();
    } else {
        cdsSetores.append();
        cdsSetoresCOD->setAsString(Setor);
        cdsSetoresNOME->setAsString(NomeSetor);
        cdsSetoresORDEM->setAsInteger(Ordem);
        cdsSetoresQTDE_EFICIENCIA->setAsInteger(0);
        cdsSetoresQTDE_EFICIENCIA_MES->setAsInteger(0);
    }
    acumular(EhDiaria(Data), Eficiencia, cdsSetoresQTDE_EFICIENCIA, cdsSetoresSOMA_EFICIENCIA, cdsSetoresMEDIA_EFICIENCIA,
             cdsSetoresQTDE_EFICIENCIA_MES, cdsSetoresSOMA_EFICIENCIA_MES, cdsSetoresMEDIA_EFICIENCIA_MES);
    cdsSetores.post();
}

void TdmMarvessa::AcumularSetorFuncionario(const QString& Setor, const QString& Funcionario,
                                           const QString& NomeFuncionario, double Data, double Eficiencia)
{
    if (cdsSetorFunc.locate(QStringLiteral("SETOR;FUNCIONARIO"), {V::text(Setor), V::text(Funcionario)})) {
        cdsSetorFunc.edit();
    } else {
        cdsSetorFunc.append();
        cdsSetorFuncSETOR->setAsString(Setor);
        cdsSetorFuncFUNCIONARIO->setAsString(Funcionario);
        cdsSetorFuncNOME_FUNCIONARIO->setAsString(NomeFuncionario);
        cdsSetorFuncQTDE_EFICIENCIA->setAsInteger(0);
        cdsSetorFuncQTDE_EFICIENCIA_MES->setAsInteger(0);
    }
    acumular(EhDiaria(Data), Eficiencia, cdsSetorFuncQTDE_EFICIENCIA, cdsSetorFuncSOMA_EFICIENCIA, cdsSetorFuncMEDIA_EFICIENCIA,
             cdsSetorFuncQTDE_EFICIENCIA_MES, cdsSetorFuncSOMA_EFICIENCIA_MES, cdsSetorFuncMEDIA_EFICIENCIA_MES);
    cdsSetorFunc.post();
}

void TdmMarvessa::LimparCds(WorkTable& Tabela)
{
    // The day-sector-employee table stands for the run's rows: emptied,
    // they go too.
    if (&Tabela == &cdsTempoSetor) {
        FTempos.clear();
        FTemposNaTabela = false;
    }
    esvaziar(Tabela);
}

void TdmMarvessa::esvaziar(WorkTable& Tabela)
{
    if (Tabela.active()) {
        Tabela.deleteVisible();
        return;
    }
    Tabela.createDataSet();
    Tabela.setLogChanges(false);
}

void TdmMarvessa::PrepararCdsEficiencia()
{
    LimparCds(cdsTempoSetor);
    LimparCds(cdsSetores);
    LimparCds(cdsSetorFunc);
    cdsOperacaoSetor.close();
    cdsOperacaoSetor.open();
    cdsOperacaoSetor.setIndexFieldNames(QStringLiteral("OPERACAO_PS;SETOR_PS"));
}
