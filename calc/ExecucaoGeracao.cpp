// The generation run: the period, the three source stages and the
// accumulation of standard time and shift minutes per day, sector and
// employee.
#include "calc/TdmMarvessa.h"
#include "calc/BuscaParalela.h"
#include "calc/LeitorFonte.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/FbValue.h"
#include "data/Log.h"
#include "data/Platform.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <algorithm>
#include <limits>
#include <vector>

namespace {

using V = fb::Value;

// The three sources, as the log names them.
const char* const kFontes[] = {"producao", "corte", "etiquetas"};

} // namespace

// How one source stage reads its statement.
struct TdmMarvessa::SourceStage {
    ColunasFonte colunas;
    const char* mensagem;
    std::int32_t estagio; // 0, 1, 2 in the order of the run
};

void TdmMarvessa::GerarCdsEficiencia()
{
    // Period rule.
    if (FDataInicial > 0)
        FPeriodoProducao->setDataIni(FDataInicial);
    if (FDataFinal > 0)
        FPeriodoProducao->setDataFim(FDataFinal);
    if (FDataLeitura > 0) {
        FPeriodoProducao->setDataIni(FDataLeitura - 30);
        FPeriodoProducao->setDataFim(FDataLeitura);
    }
    Gerar(true);
}

void TdmMarvessa::AtualizarDiaEficiencia()
{
    if (!TemBaseDia(FDataLeitura))
        throw std::logic_error("a refresh run needs a full run of the same reading day");
    // The same statements, over the reading day alone.
    FPeriodoProducao->setDataIni(FDataLeitura);
    FPeriodoProducao->setDataFim(FDataLeitura);
    try {
        Gerar(false);
    } catch (...) {
        // The earlier rows went out of the table with the run: a full run next.
        DescartarBaseDia();
        throw;
    }
}

void TdmMarvessa::Gerar(bool completa)
{
    // Everything the run holds lives in one object, dropped however the run ends.
    FRun = std::make_unique<Execucao>();
    struct FimDaExecucao {
        std::unique_ptr<Execucao>& run;
        ~FimDaExecucao() { run.reset(); }
    } fim{FRun};

    FRegistrosLidos = 0;
    FRegistrosAbsurdos = 0;
    FProgressoLeitura.store(0, std::memory_order_relaxed);
    FExecucaoCompleta.store(completa ? 1 : 0, std::memory_order_relaxed);
    FProdutosLidos.clear();
    // The sources first: those read beside the run start at once.
    AbrirFontes();
    if (!completa)
        TomarBaseDia();
    PrepararCdsEficiencia();
    devolverMemoriaLivre(); // the last run's rows
    if (completa)
        DescartarBaseDia();
    AbrirCdsSetorAg();
    IniciarAcumulacao();
    ProcessarProducao();
    GravarAcumulacao(completa);
    CalcularEficiencia();
    if (completa && FDataLeitura > 0 && FDataInicial == 0 && FDataFinal == 0)
        GuardarBaseDia();
    if (FRegistrosAbsurdos > kAbsurdosNomeados)
        logfmt::write(QStringLiteral("records-absurd"), {{"count", QString::number(FRegistrosAbsurdos)}});
}

// Large blocks freed in the middle of a run go back to the system at once:
// the allocator would otherwise keep them, and a program that runs for
// weeks would hold each run's most.
void TdmMarvessa::devolverMemoriaLivre()
{
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}

void TdmMarvessa::DescartarBaseDia()
{
    FBaseDia = 0;
    FBase.clear();
    FBaseLinhas = 0;
    FBaseAncoras.clear();
}

void TdmMarvessa::TomarBaseDia()
{
    // The last run's rows: the earlier days' of the full run, in its order,
    // and the reading day's.
    const double dia = daynum::datePart(FDataLeitura);
    FBase.clear();
    FBase.reserve(size_t(FBaseLinhas));
    for (LinhaTempo& l : FTempos) {
        if (l.chave.data < dia)
            FBase.push_back(std::move(l));
    }
    FTempos.clear();
    if (qsizetype(FBase.size()) != FBaseLinhas)
        throw std::logic_error("the earlier days' rows of the last full run are not among its rows");
}

void TdmMarvessa::GuardarBaseDia()
{
    // The reading day is a date: a time in it changes which rows are kept.
    // The rows stay the run's; a refresh run takes them from there.
    const double dia = daynum::datePart(FDataLeitura);
    DescartarBaseDia();
    std::fill(std::begin(FBaseFimEstagio), std::end(FBaseFimEstagio), 0);
    for (const LinhaTempo& l : FTempos) {
        if (l.chave.data >= dia) {
            FBaseAncoras.insert(l.chave, FBaseLinhas);
            continue;
        }
        for (std::int32_t s = std::clamp(l.estagio, 0, 2); s < 3; ++s)
            ++FBaseFimEstagio[s];
        ++FBaseLinhas;
    }
    FBaseDia = FDataLeitura;
}

void TdmMarvessa::ProcessarProducao()
{
    ProcessarProdutoSetor();
    ProcessarCorteSetor();
    ProcessarEtiquetasUnitarias();
}

const TdmMarvessa::SourceStage& TdmMarvessa::estagio(int i)
{
    static const SourceStage estagios[3] = {
        {{"DTSAIDA_PS", "SETOR_PS", "FUNCIONAR_PS", "QTDE_PS", "PROD", "HORASAIDA_PS", "PROG_PS", "FICHA_PS"},
         "Processando o Produto/Setor",
         0},
        {{"data_saida_fs", "setor_fs", "funcionario_fs", "QTDE", nullptr, nullptr, nullptr, nullptr},
         "Processando o Corte/Setor",
         1},
        {{"dtbaixa_cx", "setor_cx", "funcionario_cx", "QTDE", "prod_cx", nullptr, "prog_cx", "ficha_cx"},
         "Processando as Etiquetas Unitarias",
         2},
    };
    return estagios[i];
}

void TdmMarvessa::ProcessarProdutoSetor()
{
    processStage(sqlProdSetor, estagio(0));
}

void TdmMarvessa::ProcessarCorteSetor()
{
    processStage(sqlCorteSetor, estagio(1));
}

void TdmMarvessa::ProcessarEtiquetasUnitarias()
{
    processStage(sqlCodCxUnitSetor, estagio(2));
}

SqlQuery& TdmMarvessa::fonte(int i)
{
    SqlQuery* fontes[3] = {&sqlProdSetor, &sqlCorteSetor, &sqlCodCxUnitSetor};
    return *fontes[i];
}

void TdmMarvessa::AbrirFontes()
{
    MontarSqlProdSetor();
    MontarSqlCorteSetor();
    MontarSqlCodCxUnitSetor();
    const bool paralelas = FConsultasParalelas && FSQLConnection && FSQLConnection->connected();
    for (int i = 0; i < 3; ++i) {
        if (!paralelas || i == 0) {
            fonte(i).open();
            if (i < 2)
                gravarConsulta(i);
        } else {
            FRun->buscas[i] = std::make_unique<BuscaParalela>(
                *FSQLConnection, fonte(i), estagio(i).colunas,
                BuscaParalela::Contadores{FProgressoLeitura, FAtividade},
                FAoBuscar ? std::function<void(SqlConnection&)>([this, i](SqlConnection& c) { FAoBuscar(i, c); })
                          : std::function<void(SqlConnection&)>());
        }
    }
}

void TdmMarvessa::VerificarBuscas()
{
    if (!FRun)
        return;
    for (std::unique_ptr<BuscaParalela>& b : FRun->buscas)
        if (b && b->falhou())
            b->registros(); // its failure, now
}

void TdmMarvessa::processStage(SqlQuery& q, const SourceStage& stage)
{
    const std::function<double(const QString&)> trocaFicha = [this](const QString& setor) {
        return getTempoTrocaFicha(setor);
    };
    // A record that cannot be real is counted as it is, and logged: the first
    // ones of a run each, the rest in the run's count.
    auto avisarAbsurdo = [&](const RegistroFonte& r, const QString& ticket) {
        if (++FRegistrosAbsurdos > kAbsurdosNomeados)
            return;
        logfmt::write(QStringLiteral("record-absurd"),
                      {{"source", QString::fromLatin1(kFontes[std::clamp(stage.estagio, 0, 2)])},
                       {"ticket", ticket},
                       {"day", daynum::toDate(r.dateTime).toString(Qt::ISODate)},
                       {"sector", *r.setor},
                       {"employee", *r.funcionario},
                       {"quantity", QString::number(r.qtde, 'g', 15)},
                       {"time", QString::number(r.tempo, 'g', 15)}});
    };
    auto accumulate = [&](const RegistroFonte& r, const QString& ticket) {
        ++FRegistrosLidos;
        if (registroAbsurdo(r.qtde, r.tempo)) [[unlikely]]
            avisarAbsurdo(r, ticket);
        const double day = daynum::datePart(r.dateTime);
        double tempo = r.tempo;
        AcumulacaoTempos* a = acumulacao();
        if (!a) {
            if (!TemExpediente(*r.setor, *r.funcionario, day))
                return;
            if (tempo == 0 && stage.colunas.prod)
                tempo = getTempoProdutoSetor(*r.prod, *r.setor);
            const QString hora = stage.colunas.horaSaida ? *r.horaSaida : daynum::clockText(r.dateTime);
            AdicionarTempoSetor(*r.setor, *r.nomeSetor, day, r.ordem, *r.funcionario, *r.nomeFuncionario, r.qtde,
                                tempo, hora);
            return;
        }
        // Within a run: TemExpediente and AdicionarTempoSetor on the entry
        // of the record's day, sector and employee, found once.
        AcumulacaoTempos::Entrada& e = a->entrada(day, *r.setor, *r.funcionario);
        if (!e.turno || e.turno->qtde <= 0)
            return;
        if (tempo == 0 && stage.colunas.prod)
            tempo = getTempoProdutoSetor(*r.prod, *r.setor);
        // The clock text of a stage without one is made from the date-time,
        // and only when the shift has overtime to set it against.
        if (stage.colunas.horaSaida || e.turno->inicioHe.isEmpty())
            a->somar(e, *r.nomeSetor, r.ordem, *r.nomeFuncionario, r.qtde, tempo, *r.horaSaida, trocaFicha);
        else
            a->somar(e, *r.nomeSetor, r.ordem, *r.nomeFuncionario, r.qtde, tempo, daynum::clockText(r.dateTime),
                     trocaFicha);
    };
    // Kept records are walked with the progress receiver, which needs their
    // count first.
    auto percorrer = [&](const RegistrosGuardados& g) {
        const auto total = std::int32_t(g.size());
        std::int32_t visited = 0;
        g.percorrer([&](const RegistroFonte& r, const QString& ticket) {
            accumulate(r, ticket);
            ++visited;
            if (FProgressEvent)
                FProgressEvent(total, visited, QString::fromUtf8(stage.mensagem), visited == 1);
        });
    };

    if (AcumulacaoTempos* a = acumulacao())
        a->setEstagio(stage.estagio);
    // A source fetched beside the run: its records, in its order.
    if (FRun && FRun->buscas[stage.estagio]) {
        const RegistrosGuardados& registros = FRun->buscas[stage.estagio]->registros();
        if (stage.estagio < 2)
            gravarConsulta(stage.estagio);
        percorrer(registros);
        FRun->buscas[stage.estagio].reset();
        devolverMemoriaLivre();
        return;
    }
    // The statement runs once. With a progress receiver its records are kept
    // for the walk; without one they are accumulated as they are read.
    RegistrosGuardados kept;
    const bool keep = bool(FProgressEvent);
    if (q.active() && !q.eof()) {
        LeitorFonte leitor(q, stage.colunas);
        std::int64_t lidos = 0;
        for (; !q.eof(); q.next()) {
            const RegistroFonte& r = leitor.ler();
            // Plain counts: the display only looks for a change.
            FProgressoLeitura.fetch_add(1, std::memory_order_relaxed);
            FAtividade.fetch_add(1, std::memory_order_relaxed);
            const QString ticket = registroAbsurdo(r.qtde, r.tempo) ? leitor.ticket() : QString();
            if (keep)
                kept.guardar(r, ticket);
            else
                accumulate(r, ticket);
            // A source fetched beside this one that fails ends the run now.
            if (++lidos % 4096 == 0)
                VerificarBuscas();
        }
    }
    q.close();
    VerificarBuscas();
    percorrer(kept);
}

void TdmMarvessa::IniciarAcumulacao()
{
    // The shift rows, each read once: the first of a day, sector and employee
    // in the statement's order (a find on the table's index gives the same
    // one), damaged rows left out.
    FRun->acumulacao = std::make_unique<AcumulacaoTempos>(
        daynum::datePart(FPeriodoProducao->DataIni()), FPeriodoProducao->DataFim(),
        regra::Agora::de(platform::clock().now()), FExpedienteProducaoPorFunc);
    AcumulacaoTempos& a = *FRun->acumulacao;
    FShiftFields.reset(); // the table's fields are made anew by the opening
    cdsProdExped.close();
    sqlProdExped.close();
    sqlProdExped.sql() = sourcesql::prodExped(filtrosFonte());
    setPeriodParams(sqlProdExped);
    cdsProdExped.openEach([&] {
        if (ExpedienteDanificado())
            return;
        const ShiftFields& pe = shiftFields();
        a.adicionarTurno(ChaveLinha{pe.data->asDateTime(), pe.setor->asString(), pe.funcionario->asString()},
                         [&] { return turno(pe); });
    });
    cdsProdExped.close();
}

LinhaTempo TdmMarvessa::comoNaTabela(LinhaTempo l) const
{
    auto cortar = [](QString& texto, const WorkField* f) {
        if (f->size() > 0 && texto.size() > f->size())
            texto.truncate(f->size());
    };
    cortar(l.chave.setor, cdsTempoSetorSETOR);
    cortar(l.chave.funcionario, cdsTempoSetorFUNCIONARIO);
    cortar(l.nomeSetor, cdsTempoSetorNOME_SETOR);
    cortar(l.nomeFuncionario, cdsTempoSetorNOME_FUNCIONARIO);
    return l;
}

WorkTable& TdmMarvessa::TabelaTempoSetor()
{
    if (!FTemposNaTabela && !FTempos.empty()) {
        esvaziar(cdsTempoSetor);
        for (const LinhaTempo& l : FTempos)
            gravarLinha(l);
        FTemposNaTabela = true;
        cdsTempoSetor.first();
    }
    return cdsTempoSetor;
}

void TdmMarvessa::PercorrerTempoSetor(const std::function<void(const WorkTable&)>& cadaLinha)
{
    if (FTemposNaTabela || FTempos.empty()) {
        if (!cdsTempoSetor.active())
            return;
        for (cdsTempoSetor.first(); !cdsTempoSetor.eof(); cdsTempoSetor.next())
            cadaLinha(cdsTempoSetor);
        return;
    }
    // The table holds each row alone while it is shown, and is left empty.
    for (const LinhaTempo& l : FTempos) {
        esvaziar(cdsTempoSetor);
        gravarLinha(l);
        cadaLinha(cdsTempoSetor);
    }
    esvaziar(cdsTempoSetor);
}

void TdmMarvessa::gravarLinha(const LinhaTempo& l)
{
    cdsTempoSetor.append();
    cdsTempoSetorDATA->setAsDateTime(l.chave.data);
    cdsTempoSetorSETOR->setAsString(l.chave.setor);
    cdsTempoSetorNOME_SETOR->setAsString(l.nomeSetor);
    cdsTempoSetorORDEM_SETOR->setAsInteger(l.ordem);
    cdsTempoSetorFUNCIONARIO->setAsString(l.chave.funcionario);
    cdsTempoSetorNOME_FUNCIONARIO->setAsString(l.nomeFuncionario);
    gravarSoma(l.soma);
    if (l.percEficiencia)
        cdsTempoSetorPERC_EFICIENCIA->setAsFloat(*l.percEficiencia);
    cdsTempoSetor.post();
}

void TdmMarvessa::gravarSoma(const regra::Soma& s)
{
    cdsTempoSetorQTDE_FICHAS->setAsInteger(s.qtdeFichas);
    if (s.temTempoTot)
        cdsTempoSetorTEMPO_TOT->setAsFloat(s.tempoTot);
    if (s.temTempoTotHe)
        cdsTempoSetorTEMPO_TOT_HE->setAsFloat(s.tempoTotHe);
    cdsTempoSetorMINUTOS_EXPEDIENTE->setAsInteger(s.minutosExpediente);
    cdsTempoSetorMINUTOS_EXTRAS->setAsInteger(s.minutosExtras);
    cdsTempoSetorMINUTOS_INATIVO->setAsInteger(s.minutosInativo);
    cdsTempoSetorQTDE_FUNCIONARIOS->setAsInteger(s.qtdeFuncionarios);
    cdsTempoSetorQTDE_FUNCIONARIOS_HE->setAsInteger(s.qtdeFuncionariosHe);
}

void TdmMarvessa::GravarAcumulacao(bool completa)
{
    if (!acumulacao())
        return;
    // Only the rows are kept: the shift rows and the lookups go first.
    std::vector<LinhaTempo> linhas = FRun->acumulacao->tomarLinhas();
    FRun->acumulacao.reset();
    devolverMemoriaLivre();
    FTempos.clear();
    FTemposNaTabela = false;
    if (completa) {
        // Rows in the order of their first record, each with its stage for
        // the days a refresh run takes from this run.
        FTempos = std::move(linhas);
        for (LinhaTempo& l : FTempos)
            l = comoNaTabela(std::move(l));
        return;
    }

    // A refresh run: the reading day's rows stand, among the earlier days'
    // rows, where a full run on the same records puts them. A source lists
    // the reading day's records in the order it lists them within the whole
    // period, so rows the full run had keep their place; a row it did not
    // have comes after the earlier rows of its stage (its records are the
    // newest), after those of the day before it.
    std::vector<std::pair<qsizetype, size_t>> ordem; // anchor, row of the run
    ordem.reserve(linhas.size());
    for (size_t i = 0; i < linhas.size(); ++i) {
        const LinhaTempo& l = linhas[i];
        auto it = FBaseAncoras.constFind(l.chave);
        const qsizetype ancora =
            it != FBaseAncoras.cend() ? it.value() : FBaseFimEstagio[std::clamp(l.estagio, 0, 2)];
        ordem.emplace_back(ancora, i);
    }
    std::stable_sort(ordem.begin(), ordem.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    FTempos.reserve(FBase.size() + linhas.size());
    auto gravar = [&](size_t i) { FTempos.push_back(comoNaTabela(std::move(linhas[i]))); };
    size_t j = 0;
    for (size_t i = 0; i < FBase.size(); ++i) {
        for (; j < ordem.size() && ordem[j].first <= qsizetype(i); ++j)
            gravar(ordem[j].second);
        FTempos.push_back(std::move(FBase[i]));
    }
    FBase.clear();
    for (; j < ordem.size(); ++j)
        gravar(ordem[j].second);
}

bool TdmMarvessa::TemExpediente(const QString& Setor, const QString& Funcionario, double Data)
{
    if (AcumulacaoTempos* a = acumulacao()) {
        const regra::Turno* t = a->entrada(Data, Setor, Funcionario).turno;
        return t && t->qtde > 0;
    }
    const QString func = FExpedienteProducaoPorFunc ? Funcionario : QString();
    if (!cdsProdExped.active() || !cdsProdExped.findKey({V::date(Data), V::text(Setor), V::text(func)}))
        return false;
    return shiftFields().qtde->asInteger() > 0;
}

void TdmMarvessa::AdicionarTempoSetor(const QString& Setor, const QString& NomeSetor, double Data, std::int32_t Ordem,
                                      const QString& Funcionario, const QString& NomeFuncionario, double Qtde,
                                      double Tempo, const QString& HoraSaida)
{
    if (AcumulacaoTempos* a = acumulacao()) {
        AcumulacaoTempos::Entrada& e = a->entrada(Data, Setor, Funcionario);
        if (e.turno) {
            a->somar(e, NomeSetor, Ordem, NomeFuncionario, Qtde, Tempo, HoraSaida,
                     [this](const QString& setor) { return getTempoTrocaFicha(setor); });
            return;
        }
    }
    // Outside a run: the same rule, on the table's row.
    const regra::Turno pe = turno(shiftFields());
    regra::Soma soma;
    if (cdsTempoSetor.locate(QStringLiteral("DATA;SETOR;FUNCIONARIO"), {V::date(Data), V::text(Setor), V::text(Funcionario)})) {
        cdsTempoSetor.edit();
        soma.qtdeFichas = cdsTempoSetorQTDE_FICHAS->asInteger();
        soma.temTempoTot = !cdsTempoSetorTEMPO_TOT->isNull();
        soma.tempoTot = cdsTempoSetorTEMPO_TOT->asFloat();
        soma.temTempoTotHe = !cdsTempoSetorTEMPO_TOT_HE->isNull();
        soma.tempoTotHe = cdsTempoSetorTEMPO_TOT_HE->asFloat();
    } else {
        cdsTempoSetor.append();
        cdsTempoSetorDATA->setAsDateTime(Data);
        cdsTempoSetorSETOR->setAsString(Setor);
        cdsTempoSetorNOME_SETOR->setAsString(NomeSetor);
        cdsTempoSetorORDEM_SETOR->setAsInteger(Ordem);
        cdsTempoSetorFUNCIONARIO->setAsString(Funcionario);
        cdsTempoSetorNOME_FUNCIONARIO->setAsString(NomeFuncionario);
    }
    regra::somarRegistro(soma, pe, Data, regra::Agora::de(platform::clock().now()), Qtde, Tempo,
                         getTempoTrocaFicha(Setor), HoraSaida);
    gravarSoma(soma);
    cdsTempoSetor.post();
}

std::int32_t TdmMarvessa::TextoParaInteiro(const QString& Texto)
{
    bool ok = false;
    int v = Texto.trimmed().toInt(&ok);
    return ok ? v : 0;
}

std::int32_t TdmMarvessa::DiferencaMinutos(const QString& HoraInicial, const QString& HoraFinal)
{
    return regra::diferencaMinutos(HoraInicial, HoraFinal);
}
