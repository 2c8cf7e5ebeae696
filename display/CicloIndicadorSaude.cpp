// The cycle's watch over itself: whether the figures on show are old, a
// run's signs of life and its slowness, and what the screen and status.json
// say of it.
#include "display/CicloIndicador.h"

#include "app/DescricaoErro.h"
#include "app/ExecutorGeracao.h"
#include "app/StatusFile.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/Platform.h"

#include <algorithm>

// The stale rule: the last run failed, or the figures are older than two
// cycle lengths.
bool CicloIndicador::dadosAntigos() const
{
    if (!ultimaGeracao_.isValid())
        return false;
    if (!ultimoErro_.isEmpty() || numeroDados_ < numeroBanco_)
        return true;
    // Pages that never turn end no cycle of their own: their cycle is the
    // recompute interval.
    const qint64 ciclo = trocaParada() ? std::max<qint64>(duracaoCicloMs_, intervaloRecalculo_) : duracaoCicloMs_;
    return ciclo > 0 && ultimaGeracao_.msecsTo(platform::clock().now()) > 2 * ciclo;
}

void CicloIndicador::verificarAntigos(bool avisar)
{
    const bool antigos = dadosAntigos();
    if (antigos == antigos_)
        return;
    antigos_ = antigos;
    // One line when the figures on show become old, with why; one when new
    // ones replace them.
    const QString desde = ultimaGeracao_.toString(Qt::ISODate);
    if (antigos && ultimoErro_.isEmpty()) {
        logfmt::write(QStringLiteral("stale"), {{"since", desde}, {"reason", motivoAviso()}});
    } else if (antigos) {
        logfmt::write(QStringLiteral("stale"), {{"since", desde}, {"reason", motivoAviso()}, {"error", ultimoErro_}});
    } else {
        logfmt::write(QStringLiteral("fresh"), {{"since", desde}});
    }
    if (avisar)
        mudou();
}

std::int64_t CicloIndicador::registrosLidos() const
{
    if (!emAndamento_ || !executor_.emOutraThread() || executor_.tipoExecucao() < 0)
        return -1;
    return executor_.registrosLidos();
}

// A run's signs of life, looked at every tick: the time since a row came or
// the server answered, and a log line every 30 s of a long run.
void CicloIndicador::registrarProgresso()
{
    if (!executor_.emOutraThread())
        return;
    const std::int64_t atividade = executor_.atividade();
    const std::int64_t respostas = executor_.respostasServidor();
    if (atividade != ultimaAtividade_ || respostas != ultimasRespostas_) {
        ultimaAtividade_ = atividade;
        ultimasRespostas_ = respostas;
        semResposta_.start();
    }
    if (desdeProgressoLog_.elapsed() >= 30000) {
        desdeProgressoLog_.start();
        logfmt::write(QStringLiteral("run-progress"),
                      {{"seconds", QString::number(desdeInicioGeracao_.elapsed() / 1000)},
                       {"records", QString::number(std::max<std::int64_t>(0, registrosLidos()))}});
    }
}

// Slow is not dead: a run goes on as long as it needs while its server
// answers, asked on the side. One whose server stops answering (no row and
// no answer for the limit) is cancelled; if the statement does not stop, the
// connection is cut. A local file has no server to hang: its runs are not
// cut.
void CicloIndicador::verificarDemora()
{
    if (!emAndamento_ || !executor_.emOutraThread())
        return;
    registrarProgresso();
    const bool semResposta = ultimasRespostas_ >= 0 && semResposta_.isValid() &&
                             semResposta_.elapsed() > limiteSemRespostaMs_;
    if (!cancelada_ && semResposta) {
        cancelada_ = true;
        desdeCancelamento_.start();
        logfmt::write(QStringLiteral("run-cancel"),
                      {{"seconds", QString::number(desdeInicioGeracao_.elapsed() / 1000)},
                       {"reason", QStringLiteral("no-answer")},
                       {"limit_seconds", QString::number(limiteSemRespostaMs_ / 1000)}});
        executor_.cancelar(false);
        return;
    }
    if (cancelada_ && !abortada_ && desdeCancelamento_.elapsed() > abortarAposMs_) {
        abortada_ = true;
        logfmt::write(QStringLiteral("run-abort"), {});
        executor_.cancelar(true);
        // Counted as failed now, whether or not the worker comes back soon.
        falhou(QStringLiteral("Geração cancelada após %1 s: o servidor não responde")
                   .arg(desdeInicioGeracao_.elapsed() / 1000),
               CausaFalha::TempoEsgotado);
    }
}

bool CicloIndicador::saudavel() const
{
    return !(abortada_ && emAndamento_ && desdeCancelamento_.elapsed() > 10 * 60 * 1000);
}

QDateTime CicloIndicador::proximaTentativa() const
{
    return platform::clock().now().addMSecs(std::max<qint64>(0, proximaTentativa_.restante()));
}

QString CicloIndicador::motivoAviso() const
{
    if (!ultimoErro_.isEmpty())
        return descreverErro(ultimaCausa_).motivo;
    if (numeroDados_ < numeroBanco_)
        return QStringLiteral("banco de dados novo em cálculo");
    return emAndamento_ ? QStringLiteral("cálculo demorando") : QStringLiteral("cálculo atrasado");
}

QString CicloIndicador::motivoNaTela() const
{
    switch (estado_) {
    case Estado::Calculando:
        return {};
    case Estado::SemDados:
        return descreverErro(ultimaCausa_).titulo;
    case Estado::SemIndicadores:
    case Estado::ErroConfiguracao:
        return motivo_;
    case Estado::Rotacao:
        return dadosAntigos() ? motivoAviso() : QString();
    }
    return {};
}

void CicloIndicador::atualizarStatus()
{
    status_.setEstado(nome(estado_));
    status_.setDadosAntigos(estado_ == Estado::Rotacao && dadosAntigos());
    status_.setMotivo(motivoNaTela());
    if (diaDados_ > 0)
        status_.setDiaLeitura(daynum::toDate(diaDados_));
    status_.gravar();
}

void CicloIndicador::mudou()
{
    verificarAntigos(false);
    atualizarStatus();
    tela_.mostrarEstado();
}

