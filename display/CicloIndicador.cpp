#include "display/CicloIndicador.h"

#include "app/DescricaoErro.h"

#include "app/ErrorReport.h"
#include "app/ExecutorGeracao.h"
#include "app/StatusFile.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"

#include <QTimer>

#include <algorithm>
#include <utility>

QString CicloIndicador::nome(Estado e)
{
    switch (e) {
    case Estado::Calculando:
        return QStringLiteral("calculando");
    case Estado::SemDados:
        return QStringLiteral("sem-dados");
    case Estado::Rotacao:
        return QStringLiteral("rotacao");
    case Estado::SemIndicadores:
        return QStringLiteral("sem-indicadores");
    case Estado::ErroConfiguracao:
        return QStringLiteral("erro-configuracao");
    }
    return {};
}

CicloIndicador::CicloIndicador(TelaCiclo& tela, ExecutorGeracao& executor, StatusFile& status, ConfigCiclo config,
                               QObject* parent)
    : QObject(parent), tela_(tela), executor_(executor), status_(status), config_(std::move(config)),
      relogio_(new QTimer(this))
{
    rotacao_.setResumo(config_.setoresPorResumo);
    rotacao_.setTempoTroca(config_.tempoTroca);
    relogio_->setInterval(1000);
    connect(relogio_, &QTimer::timeout, this, [this] {
        try {
            tick();
        } catch (const std::exception& e) {
            falhou(exceptionText(e), causaDe(e));
        }
    });
    connect(&executor_, &ExecutorGeracao::concluida, this, &CicloIndicador::geracaoConcluida);
    connect(&executor_, &ExecutorGeracao::conectou, this, [this] {
        if (std::exchange(conectando_, false))
            mudou();
    });
}

void CicloIndicador::setIntervaloConexao(int ms)
{
    intervaloConexao_ = ms;
    intervalosMudaram();
}

void CicloIndicador::setIntervaloNovaTentativa(int ms)
{
    intervaloNovaTentativa_ = ms;
    intervalosMudaram();
}

void CicloIndicador::intervalosMudaram()
{
    // The timer ticks often enough for the shortest interval, and a try
    // already due later than the new interval allows comes sooner.
    relogio_->setInterval(std::clamp(std::min(intervaloConexao_, intervaloNovaTentativa_) / 4, 10, 1000));
    const int ms = estado_ == Estado::SemDados ? intervaloConexao_ : intervaloNovaTentativa_;
    if (proximaTentativa_.restante() > ms)
        proximaTentativa_.setRestante(ms);
}

void CicloIndicador::setLimiteSemResposta(int semRespostaMs, int abortarAposMs)
{
    limiteSemRespostaMs_ = semRespostaMs;
    abortarAposMs_ = abortarAposMs;
}

// ---- events ---------------------------------------------------------------

void CicloIndicador::iniciar(const QString& erroInicial, CausaFalha causaInicial)
{
    relogio_->start();
    if (!erroInicial.isEmpty()) {
        // The attach was refused at start: the error shows, and the worker
        // tries again at once (the server may be up by now).
        ultimoErro_ = erroInicial;
        ultimaCausa_ = causaInicial;
        horaErro_ = platform::clock().now();
        entrar(Estado::SemDados, erroInicial);
    } else {
        // Settings that cannot work are shown from the first second; nothing
        // runs.
        if (const QString erro = erroConfiguracaoInicial(); !erro.isEmpty()) {
            status_.setErro(erro, platform::clock().now());
            entrar(Estado::ErroConfiguracao, erro);
            return;
        }
        conectando_ = executor_.precisaConectar();
        entrar(Estado::Calculando);
    }
    iniciarGeracao();
}

void CicloIndicador::iniciarComDados(ExecutorGeracao& fonte)
{
    relogio_->start();
    desdeInicioGeracao_.start();
    ultimaGeracao_ = platform::clock().now();
    status_.setGeracao(ultimaGeracao_, std::nullopt);
    if (erroConfiguracao().isEmpty())
        aceitarNovosDados(fonte.figuras(config_.setores, config_.funcionarios));
    aceitar();
}

const QString& CicloIndicador::erroConfiguracao()
{
    // The settings are read once: they are checked with the first figures,
    // and figures are read only with settings that work.
    if (!erroConfiguracao_)
        erroConfiguracao_ = erroConfiguracaoInicial();
    return *erroConfiguracao_;
}

void CicloIndicador::proximaPagina()
{
    if (estado_ != Estado::Rotacao)
        return;
    if (const std::optional<PaginaRotacao> p = rotacao_.proxima()) {
        passarAvisoRecarga(true);
        if (p->setor)
            tela_.mostrarPagina(*p->setor);
        else
            tela_.mostrarResumo(*p);
        setorExibido(p->setor ? p->setor->codigo : QString());
        return;
    }
    fimDoCiclo();
}

void CicloIndicador::reiniciarRotacao()
{
    if (estado_ != Estado::Rotacao || rotacao_.setores() == 0)
        return;
    rotacao_.reiniciar();
    proximaPagina();
}

void CicloIndicador::iniciarRotacao()
{
    rotacao_.reiniciar();
    proximaPagina();
    tela_.mostrarEstado();
}

void CicloIndicador::pararRotacao()
{
    rotacao_.parar();
    tela_.esconderPagina();
}

void CicloIndicador::aceitarNovosDados(Figuras figuras)
{
    diaDados_ = figuras.dia;
    rotacao_.carregar(std::move(figuras));
    // The rotation goes on from the sector after the one on show; pages
    // that never turn show the first sector with the new figures.
    if (estado_ == Estado::Rotacao && trocaParada())
        reiniciarRotacao();
}

void CicloIndicador::fimDoCiclo()
{
    const QDateTime agora = platform::clock().now();
    if (fimCicloAnterior_.isValid())
        duracaoCicloMs_ = fimCicloAnterior_.msecsTo(agora);
    fimCicloAnterior_ = agora;
    if (!emAndamento_)
        iniciarGeracao();
    // The rotation goes on with the figures it has; new ones come in when
    // the run ends.
    if (estado_ == Estado::Rotacao)
        reiniciarRotacao();
}

void CicloIndicador::geracaoConcluida(bool ok, const QString& erro)
{
    concluir(ok, erro);
    // A reload asked for a run while this one went on: it follows at once.
    if (antesDaGeracao_ && !emAndamento_)
        iniciarGeracao();
}

void CicloIndicador::concluir(bool ok, const QString& erro)
{
    emAndamento_ = false;
    conectando_ = false;
    const bool eraCancelada = cancelada_;
    cancelada_ = abortada_ = false;
    if (numeroGeracao_ < numeroFiguras_) {
        // Begun under settings a reload has replaced (another database,
        // other sectors): neither its figures nor its failure are this
        // screen's. The run of the new settings follows at once.
        logfmt::write(QStringLiteral("run-discarded"), {{"reason", QStringLiteral("settings-changed")},
                                                        {"ok", ok ? QStringLiteral("true") : QStringLiteral("false")}});
        mudou();
        return;
    }
    if (!ok) {
        falhou(erro, executor_.ultima().causa);
        return;
    }
    const bool medida = executor_.emOutraThread();
    const bool primeiros = !ultimaGeracao_.isValid();
    ultimaGeracao_ = platform::clock().now();
    status_.setGeracao(ultimaGeracao_, medida ? std::optional(executor_.ultima().segundos) : std::nullopt);
    const bool haviaErro = !ultimoErro_.isEmpty() || eraCancelada;
    ultimoErro_.clear();
    status_.limparErro();
    try {
        if (erroConfiguracao().isEmpty())
            aceitarNovosDados(executor_.figuras(config_.setores, config_.funcionarios));
    } catch (const std::exception& e) {
        falhou(exceptionText(e), causaDe(e));
        return;
    }
    numeroDados_ = numeroGeracao_;
    if (primeiros)
        logfmt::write(QStringLiteral("first-figures"), {});
    else if (haviaErro)
        logfmt::write(QStringLiteral("recovered"), {});
    aceitar();
}

void CicloIndicador::tick()
{
    // A status file that could not be written (a full disk) is tried again
    // until it is.
    if (status_.falhando())
        status_.gravar();
    passarAvisoRecarga(false);
    verificarDemora();
    verificarAntigos(true);
    // A long first run: the screen counts the records read.
    if (emAndamento_ && estado_ == Estado::Calculando && !conectando_)
        mudou();
    if (emAndamento_)
        return;
    switch (estado_) {
    case Estado::SemDados:
    case Estado::SemIndicadores:
        if (proximaTentativa_.expirou())
            iniciarGeracao();
        break;
    case Estado::Rotacao:
        // Pages that never turn (a page time of 0, or beyond the timer's
        // range) never end a cycle: the figures are computed again anyway.
        if (trocaParada() && desdeInicioGeracao_.isValid() &&
            desdeInicioGeracao_.elapsed() >= intervaloRecalculo_)
            fimDoCiclo();
        break;
    case Estado::Calculando:
    case Estado::ErroConfiguracao:
        break;
    }
}

void CicloIndicador::setorExibido(const QString& codigo)
{
    status_.setSetor(codigo);
    status_.gravar();
}

void CicloIndicador::reconfigurar(ConfigCiclo config, std::function<void()> antesDaGeracao, bool outroBanco)
{
    config_ = std::move(config);
    // Each applied set of settings has a number; figures and runs begun
    // before the last set that changes the figures are old.
    ++numeroConfig_;
    if (antesDaGeracao)
        numeroFiguras_ = numeroConfig_;
    if (antesDaGeracao && outroBanco)
        numeroBanco_ = numeroConfig_;
    erroConfiguracao_.reset();
    rotacao_.setResumo(config_.setoresPorResumo);
    rotacao_.setTempoTroca(config_.tempoTroca);
    // A later reload replaces what an earlier one left for the executor.
    antesDaGeracao_ = std::move(antesDaGeracao);
    avisoRecarga_.clear();
    status_.setRecargaRecusada({}, {});
    if (estado_ == Estado::ErroConfiguracao) {
        if (!erroConfiguracao().isEmpty()) {
            mudou();
            return;
        }
        // Settings that work at last: the first run, as at start.
        status_.limparErro();
        entrar(Estado::Calculando);
    }
    if (antesDaGeracao_ && !emAndamento_)
        iniciarGeracao();
    else
        mudou();
}

void CicloIndicador::recargaRecusada(const QString& erro)
{
    avisoRecarga_ = erro;
    avisoPaginas_ = std::max(1, rotacao_.paginas());
    avisoPrazo_.setRestante(intervaloRecalculo_);
    status_.setRecargaRecusada(erro, platform::clock().now());
    mudou();
}

// The notice of a refused reload lasts one rotation: as many new pages as a
// rotation has; a minute when no page turns.
void CicloIndicador::passarAvisoRecarga(bool paginaNova)
{
    if (avisoRecarga_.isEmpty())
        return;
    const bool paginasViram = estado_ == Estado::Rotacao && !trocaParada();
    const bool acabou = paginasViram ? paginaNova && avisoPaginas_-- <= 0 : avisoPrazo_.expirou();
    if (!acabou)
        return;
    avisoRecarga_.clear();
    mudou();
}

// ---- transitions ------------------------------------------------------------

void CicloIndicador::entrar(Estado novo, const QString& motivo)
{
    const bool mesmo = novo == estado_ && motivo == motivo_;
    const Estado antigo = estado_;
    estado_ = novo;
    motivo_ = motivo;
    if (novo == Estado::SemDados)
        proximaTentativa_.setRestante(intervaloConexao_);
    else if (novo == Estado::SemIndicadores)
        proximaTentativa_.setRestante(intervaloNovaTentativa_);
    if (!mesmo) {
        if (novo == Estado::ErroConfiguracao)
            logfmt::write(QStringLiteral("config-error"), {{"error", motivo}});
        else if (novo == Estado::SemIndicadores && antigo != novo)
            logfmt::write(QStringLiteral("no-indicators"), {{"reason", motivo}});
        logfmt::write(QStringLiteral("state"), {{"from", nome(antigo)}, {"to", nome(novo)}});
    }
    if (novo != Estado::Rotacao)
        status_.setSetor({});
    mudou();
}

void CicloIndicador::iniciarGeracao()
{
    if (emAndamento_ || estado_ == Estado::ErroConfiguracao)
        return;
    // A reload's settings reach the executor while it is idle.
    if (antesDaGeracao_) {
        std::exchange(antesDaGeracao_, nullptr)();
        if (estado_ == Estado::Calculando)
            conectando_ = executor_.precisaConectar();
    }
    emAndamento_ = true;
    numeroGeracao_ = numeroConfig_;
    cancelada_ = abortada_ = false;
    desdeInicioGeracao_.start();
    semResposta_.start();
    desdeProgressoLog_.start();
    ultimaAtividade_ = executor_.emOutraThread() ? executor_.atividade() : -1;
    ultimasRespostas_ = -1;
    if (diaDados_ == 0 && executor_.diaLeitura() > 0)
        status_.setDiaLeitura(daynum::toDate(executor_.diaLeitura()));
    mudou();
    // A run on this thread ends (concluida) before iniciar returns.
    executor_.iniciar();
}

void CicloIndicador::aceitar()
{
    // New figures: the configuration is checked against them, then the
    // rotation starts (or goes on), or nothing is configured to show.
    const QString erroConfig = erroConfiguracao();
    if (!erroConfig.isEmpty()) {
        pararRotacao();
        status_.setErro(erroConfig, platform::clock().now());
        entrar(Estado::ErroConfiguracao, erroConfig);
        return;
    }
    if (rotacao_.setores() == 0) {
        pararRotacao();
        entrar(Estado::SemIndicadores, motivoSemIndicadores());
        return;
    }
    if (estado_ != Estado::Rotacao) {
        entrar(Estado::Rotacao);
        iniciarRotacao();
    } else {
        mudou();
    }
}

void CicloIndicador::falhou(const QString& erro, CausaFalha causa)
{
    ultimoErro_ = erro;
    ultimaCausa_ = causa;
    horaErro_ = platform::clock().now();
    status_.setErro(erro, horaErro_);
    switch (estado_) {
    case Estado::Calculando:
    case Estado::SemDados:
        entrar(Estado::SemDados, erro);
        break;
    case Estado::SemIndicadores:
        // Tried again a minute later, as before.
        entrar(Estado::SemIndicadores, motivo_);
        break;
    case Estado::Rotacao:
    case Estado::ErroConfiguracao:
        // The rotation goes on with the last good figures, marked stale.
        mudou();
        break;
    }
}
