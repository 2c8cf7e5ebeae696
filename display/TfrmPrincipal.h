#pragma once

#include "display/CicloIndicador.h"
#include "display/TfrmRelatorio.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <optional>

#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QWidget>

class QLabel;
class ExecutorGeracao;
class ExecutorLocal;
class GenerationWorker;
class StatusFile;
class TfrmRelatorio;
class TfrmResumo;
class TdmMarvessa;
class TdmPrinc;

// The main window: the top bar with the logo and the sector's name, and the
// sector page below it. It draws what the cycle (CicloIndicador) hands it:
// the state, and the page of the sector on show. Escape, or any other
// request to close, asks before the program ends.
class TfrmPrincipal : public QWidget, public TelaCiclo {
    Q_OBJECT
public:
    // What the screen shows, by name (pages.json, tests): "atual" (pages of
    // current figures), "dados-antigos", "configuracao-recusada", "aguarde",
    // "sem-conexao", "chame-o-responsavel" or "sem-indicadores".
    QString estadoTela() const;
    // With figures already computed into calc (rendering to pictures): runs
    // execute on the window's thread after each cycle.
    TfrmPrincipal(TdmPrinc& princ, TdmMarvessa& calc, QWidget* parent = nullptr);
    // Without figures yet: iniciar() has the worker attach (if need be) and
    // compute the first figures.
    TfrmPrincipal(TdmPrinc& princ, QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    void iniciar(const QString& erroInicial = {}, CausaFalha causaInicial = CausaFalha::Outra);
    void setIntervaloConexao(int ms) { FCiclo->setIntervaloConexao(ms); }
    // Retry interval of the no-indicators state, in milliseconds.
    void setIntervaloNovaTentativa(int ms) { FCiclo->setIntervaloNovaTentativa(ms); }

    // Start with the figures in calc: the first sector shows.
    void FormCreate();
    // Shows the next sector; after the last, the cycle ends.
    void ProximaPagina() { FCiclo->proximaPagina(); }
    void reiniciarRotacao() { FCiclo->reiniciarRotacao(); }
    // The employee filter text for a sector.
    QString filtroFuncionarios(const QString& codigo) const;

    // With a worker, new figures are computed off the display thread.
    void setWorker(GenerationWorker* worker);
    CicloIndicador& ciclo() { return *FCiclo; }
    bool dadosAntigos() const { return FCiclo->dadosAntigos(); }
    void atualizarIdade() { FCiclo->tick(); }
    bool aguardandoGeracao() const { return FCiclo->geracaoEmAndamento(); }
    // Called once the first sector page shows.
    std::function<void()> onPrimeiraPagina;

    bool showBg() const { return FShowBg; }
    // Code of the sector on show.
    QString codigoAtual() const { return FCiclo->rotacao().codigoAtual(); }
    TfrmRelatorio* frmRelatorio() const { return FRelatorio; }
    // The overview, once a rotation has shown it.
    TfrmResumo* frmResumo() const;
    StatusFile& status() { return *FStatus; }

    // What the cycle asks of the window.
    void mostrarPagina(const PaginaSetor& pagina) override;
    void mostrarResumo(const PaginaRotacao& pagina) override;
    void esconderPagina() override;
    void mostrarEstado() override;
    // The screen changed to this size in device pixels: the window is laid
    // out again as it would have been had the program started on it (the
    // device scale included), with the sector on show shown again.
    void seguirTela(const QSize& fisico);
    // The clock in the top bar shows the clock seam's time (hh:mm).
    void atualizarRelogio();
    // The cycle's settings as a main module holds them.
    static ConfigCiclo configCiclo(const TdmPrinc& princ);
    // The main module took settings read again. The cycle takes its own
    // (see CicloIndicador::reconfigurar). With exibicao, the pages are made
    // again with the new layout, page time, target and clock at the next
    // page: the page on show stays no longer than the new page time; with
    // pages that no longer turn, it is drawn again at once.
    void aplicarConfiguracoes(bool exibicao, std::function<void()> antesDaGeracao = {}, bool outroBanco = false);

    QWidget* panelTop;
    QLabel* lblTItulo;
    QWidget* Shape1;
    QLabel* imgLogo;
    QLabel* lblIndicadores;
    QWidget* faixaMensagem; // the message heading's colour
    QLabel* lblDetalhe;
    QLabel* lblInfo;     // reading day and page, at the top bar's right
    QLabel* lblRelogio;  // the time of day, when the settings ask for it
    QWidget* panelAviso; // the stale-figures or refused-settings banner across the page
    QLabel* lblAviso;
    QLabel* lblAvisoDetalhe;
    QPixmap imgBackgroundPrincipal;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void construir();
    void layoutChildren();
    void criarPagina();
    void esconderResumo();
    // A page's time ended: the cycle shows the next one.
    void fimDaPagina();
    // How a message page looks: each kind in its own colour and words, so
    // that "wait" and "call someone" never look alike from across the floor.
    enum class Tom { Aguarde, SemConexao, ChamePessoa, SemIndicadores };
    void mostrarMensagem(const QString& titulo, const QString& detalhe, Tom tom);
    // Whether the figures on show are old (drawn grey, under the banner).
    bool figurasAntigas() const;
    // "Chame o responsável", with the Contato setting's name when set.
    QString chameResponsavel() const;
    void atualizarAviso();
    void atualizarInfo();
    int alturaAviso() const;
    void novoCiclo(ExecutorGeracao& executor);
    // After new settings: the page on show gives way to the next (or, with
    // mesma, is drawn again) in pages made with the new settings.
    void virarPagina(bool mesma);
    // The pages and the clock as the settings now say, before a page shows.
    void refazerPaginas();
    // The page timer of the page on show; none without one.
    QTimer* trocaEmExibicao() const;
    // The rows of the page on show (employees, or sectors of an overview page).
    int linhasEmExibicao() const;

    TdmPrinc& FPrinc;
    Tom FTom = Tom::Aguarde; // the message page's kind
    TdmMarvessa* FCalc = nullptr;
    std::unique_ptr<ExecutorLocal> FExecutorLocal; // runs into FCalc, on this thread
    std::unique_ptr<StatusFile> FStatus;
    CicloIndicador* FCiclo = nullptr;
    QPointer<TfrmRelatorio> FRelatorio;
    QPointer<TfrmResumo> FResumo;
    // The overview page on show and how many there are (0: none on show).
    int FPaginaResumo = 0, FPaginasResumo = 0;
    bool FShowBg = false;
    bool FPerguntaFechar = false; // the close question shows
    QTimer* FRelogio = nullptr;  // the clock's check, every second while shown
    QTimer* FVirada = nullptr;   // the page on show after new settings
    bool FRefazer = false;       // new settings: the pages are made again
};
