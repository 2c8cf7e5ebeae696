#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include "data/CausaFalha.h"
#include "data/Cronometro.h"
#include "display/ConfigCiclo.h"
#include "display/Rotacao.h"

#include <cstdint>
#include <functional>
#include <optional>

class ExecutorGeracao;
class StatusFile;
class QTimer;

// What the cycle asks of the screen.
class TelaCiclo {
public:
    virtual ~TelaCiclo() = default;
    // Draws a sector page and starts its page time; after the sector's last
    // page the screen calls CicloIndicador::proximaPagina().
    virtual void mostrarPagina(const PaginaSetor& pagina) = 0;
    // Draws a page of the overview and starts its page time, after which
    // the screen calls CicloIndicador::proximaPagina().
    virtual void mostrarResumo(const PaginaRotacao& pagina) = 0;
    // No sector page: the rotation stopped.
    virtual void esconderPagina() = 0;
    // Shows what the cycle's state calls for; called on every change.
    virtual void mostrarEstado() = 0;
};

// The cycle of the indicator's window, whole in one place.
//
// States (what the screen shows):
//   Calculando        no figures yet, the first run is going on: "Calculando…"
//   SemDados          no figures yet, the last try failed: what is wrong, and
//                     when the next try is (every intervaloConexao)
//   Rotacao           the sectors rotate; a run may go on meanwhile, and the
//                     rotation keeps the last good figures until it ends
//   SemIndicadores    figures, but no configured sector has any: tried again
//                     every intervaloNovaTentativa
//   ErroConfiguracao  a setting that cannot work (the employee filter does
//                     not compile, no sector configured): shown, nothing runs
//
// Beside the state, two flags: a run in progress, and stale figures (the last
// run failed, or the figures are older than two cycle lengths).
//
// Events: iniciar (the window is up), proximaPagina (a sector's page time
// ended), fimDoCiclo (the rotation passed its last sector), geracaoConcluida
// (the run ended), tick (the cycle's one timer: retries, the stale rule, a
// run whose server stops answering, and the periodic run when the pages do
// not turn).
// Each transition is logged in one line and written to the status file.
//
// The cycle owns the rotation: it hands the screen plain page descriptions,
// and reads the figures from the executor when a run ends. Durations are
// measured on the clock seam's monotonic time.
class CicloIndicador : public QObject {
    Q_OBJECT
public:
    enum class Estado { Calculando, SemDados, Rotacao, SemIndicadores, ErroConfiguracao };
    static QString nome(Estado e);

    CicloIndicador(TelaCiclo& tela, ExecutorGeracao& executor, StatusFile& status, ConfigCiclo config,
                   QObject* parent = nullptr);

    // Events.
    void iniciar(const QString& erroInicial = {}, CausaFalha causaInicial = CausaFalha::Outra);
    // The window was built with figures already computed: they are read
    // from fonte.
    void iniciarComDados(ExecutorGeracao& fonte);
    // The page on show has had its time: the next sector, or the cycle ends.
    void proximaPagina();
    // The rotation starts again from its first sector.
    void reiniciarRotacao();
    void fimDoCiclo();
    void geracaoConcluida(bool ok, const QString& erro);
    void tick();
    // Settings read again and taken. The cycle's own take effect at once:
    // the overview's pages at the next page, the employee filter and the
    // sectors with the next figures. With antesDaGeracao, the new settings
    // change the figures: a run starts (once the one going on has ended),
    // and antesDaGeracao hands the executor its new settings just before,
    // with no run going on. A reload that makes unusable settings usable
    // leaves the configuration error. A run begun before settings that
    // change the figures is discarded when it ends. With outroBanco (another
    // database, user or password) the figures on show are marked old until
    // the new database's come.
    void reconfigurar(ConfigCiclo config, std::function<void()> antesDaGeracao = {}, bool outroBanco = false);
    // A settings file a reload refused: the settings in force stay; the
    // status file gives the reason, and the screen a notice for one
    // rotation (a minute when the pages do not turn).
    void recargaRecusada(const QString& erro);
    // The notice of a refused reload; empty when none shows.
    const QString& avisoRecarga() const { return avisoRecarga_; }
    void setorExibido(const QString& codigo);

    Estado estado() const { return estado_; }
    const Rotacao& rotacao() const { return rotacao_; }
    const ConfigCiclo& config() const { return config_; }
    // Pages that never turn: a page time of 0, or beyond the timer's range.
    bool trocaParada() const { return config_.trocaParada(); }
    // What makes the settings unusable before any figures exist; empty when
    // nothing does.
    QString erroConfiguracaoInicial() const { return config_.erroInicial(); }
    // Why no configured sector has figures, in Portuguese.
    QString motivoSemIndicadores() const { return config_.motivoSemIndicadores(rotacao_.figuras()); }
    bool geracaoEmAndamento() const { return emAndamento_; }
    // The first attach is going on (the worker has not connected yet).
    bool conectando() const { return conectando_; }
    bool dadosAntigos() const;
    // Time of the figures on show (invalid before the first good run).
    const QDateTime& ultimaGeracao() const { return ultimaGeracao_; }
    const QString& ultimoErro() const { return ultimoErro_; }
    CausaFalha ultimaCausa() const { return ultimaCausa_; }
    const QString& motivo() const { return motivo_; }
    // The cause the screen gives, in Portuguese: the page area's title
    // without figures, the stale banner's reason with old ones, the reason
    // of no indicators or of a configuration error; empty otherwise.
    QString motivoNaTela() const;
    // The stale banner's reason.
    QString motivoAviso() const;
    // When the next try runs, in the SemDados and SemIndicadores states.
    QDateTime proximaTentativa() const;
    // False once a run has not come back long after it was cut off: the
    // service manager's watchdog then restarts the program.
    bool saudavel() const;

    // Intervals, in milliseconds (tests shorten them).
    void setIntervaloConexao(int ms);
    void setIntervaloNovaTentativa(int ms);
    void setIntervaloRecalculo(int ms) { intervaloRecalculo_ = ms; }
    // A run against a server that neither brings a row nor answers the
    // questions asked on the side for semRespostaMs (default two minutes)
    // is cancelled; abortarAposMs later, still running, its connection is
    // cut (default 10 s).
    void setLimiteSemResposta(int semRespostaMs, int abortarAposMs = 10000);
    // While a run goes on: the records read so far, and for how long it has
    // run (ms); -1 records when no run goes on or it has not read yet.
    std::int64_t registrosLidos() const;
    qint64 duracaoGeracaoMs() const { return emAndamento_ ? desdeInicioGeracao_.elapsed() : 0; }

private:
    void entrar(Estado novo, const QString& motivo = {});
    void concluir(bool ok, const QString& erro);
    void iniciarGeracao();
    void intervalosMudaram();
    void aceitar();
    void aceitarNovosDados(Figuras figuras);
    const QString& erroConfiguracao();
    void iniciarRotacao();
    void pararRotacao();
    void falhou(const QString& erro, CausaFalha causa);
    // Logs a change of the stale flag; with avisar, the screen follows.
    void verificarAntigos(bool avisar);
    void verificarDemora();
    void atualizarStatus();
    void mudou();
    void registrarProgresso();
    void passarAvisoRecarga(bool paginaNova);

    TelaCiclo& tela_;
    ExecutorGeracao& executor_;
    StatusFile& status_;
    ConfigCiclo config_;
    QTimer* relogio_;
    Rotacao rotacao_;
    std::optional<QString> erroConfiguracao_; // checked once, with the first figures

    Estado estado_ = Estado::Calculando;
    bool emAndamento_ = false;
    bool conectando_ = false;
    bool antigos_ = false;
    QString motivo_;
    QDateTime ultimaGeracao_;
    double diaDados_ = 0;
    QString ultimoErro_;
    CausaFalha ultimaCausa_ = CausaFalha::Outra;
    QDateTime horaErro_;

    // Cycle length: between the last two cycle ends, on the clock.
    QDateTime fimCicloAnterior_;
    qint64 duracaoCicloMs_ = 0;

    int intervaloConexao_ = 30000;
    int intervaloNovaTentativa_ = 60000;
    int intervaloRecalculo_ = 60000;
    int abortarAposMs_ = 10000;
    int limiteSemRespostaMs_ = 120000;
    std::int64_t ultimaAtividade_ = -1;
    std::int64_t ultimasRespostas_ = -1;
    Cronometro semResposta_;
    Cronometro desdeProgressoLog_;
    Prazo proximaTentativa_;
    Cronometro desdeInicioGeracao_;
    Cronometro desdeCancelamento_;
    bool cancelada_ = false;
    bool abortada_ = false;

    // Applied sets of settings, numbered: the current one, the last that
    // changed the figures, the last that changed the database, the one the
    // run going on began under, and the one of the figures on show.
    unsigned numeroConfig_ = 0;
    unsigned numeroFiguras_ = 0;
    unsigned numeroBanco_ = 0;
    unsigned numeroGeracao_ = 0;
    unsigned numeroDados_ = 0;
    // A reload's settings for the executor, taken before the next run.
    std::function<void()> antesDaGeracao_;
    QString avisoRecarga_;
    int avisoPaginas_ = 0; // pages the notice still shows on
    Prazo avisoPrazo_;     // when the pages do not turn
};
