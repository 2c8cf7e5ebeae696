#pragma once

#include "display/TfrmRelatorio.h"

#include <QDateTime>

#include <functional>

#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;
class GenerationWorker;
class TfrmRelatorio;
class TdmMarvessa;
class TdmPrinc;

// The main window: the top bar with the logo and the sector's name, the
// sector page below it, and the sector rotation. Escape, or any other
// request to close, asks before the program ends.
class TfrmPrincipal : public QWidget {
    Q_OBJECT
public:
    TfrmPrincipal(TdmPrinc& princ, TdmMarvessa& calc, QWidget* parent = nullptr);
    // Without figures yet: iniciar() has the worker attach (if need be) and
    // compute the first figures, showing "Calculando…" or the error meanwhile
    // and trying again every 30 seconds; the rotation starts with the first
    // good run.
    TfrmPrincipal(TdmPrinc& princ, QWidget* parent = nullptr);
    void iniciar(const QString& erroInicial = {});
    void setIntervaloConexao(int ms) { FIntervaloConexao = ms; }
    ~TfrmPrincipal() override;

    // Start: filter the sectors, create the page, show the first sector.
    void FormCreate();
    // Shows the next sector; after the last, recomputes and starts over;
    // with no sector to show, the no-indicators state.
    void ProximaPagina();
    void FiltrarSetores();
    void CarregarFuncionarios(const QString& codigo, const QString& nome);
    void LimparFiltros();
    // The employee filter text for a sector.
    QString filtroFuncionarios(const QString& codigo) const;

    // With a worker, new figures are computed off the display thread: the
    // last page stays (and the window answers) until the run ends, a failed
    // run shows a notice in the top bar and the rotation goes on with the
    // last good figures, and the no-indicators state tries again every
    // minute.
    void setWorker(GenerationWorker* worker);
    void onGeracaoConcluida(bool ok, const QString& erro);
    // Retry interval of the no-indicators state, in milliseconds.
    void setIntervaloNovaTentativa(int ms);
    // The figures are stale when the last run failed, or when they are older
    // than two full cycles (a run that does not end).
    bool dadosAntigos() const;
    void atualizarIdade() { atualizarAviso(); }
    bool aguardandoGeracao() const { return FAguardandoGeracao; }
    // Called once the first sector page shows.
    std::function<void()> onPrimeiraPagina;

    bool showBg() const { return FShowBg; }
    // Code of the sector on show.
    const QString& codigoAtual() const { return FCodigoAtual; }
    TfrmRelatorio* frmRelatorio() const { return FRelatorio; }

    QWidget* panelTop;
    QLabel* lblTItulo;
    QWidget* Shape1;
    QLabel* imgLogo;
    QLabel* lblIndicadores;
    QLabel* lblAviso;
    QPixmap imgBackgroundPrincipal;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void proximaPaginaGuarded();
    void layoutChildren();
    void entrarSemIndicadores();
    void atualizarAviso();
    void gravarStatus() const;
    void construir();
    void primeiraGeracao(bool ok, const QString& erro);
    // Takes the worker's finished tables in place of the shown ones.
    void aceitarNovosDados();
    void registrarErro(const QString& erro);

    TdmPrinc& FPrinc;
    TdmMarvessa* FCalc = nullptr;
    int FIntervaloConexao = 30000;
    QPointer<TfrmRelatorio> FRelatorio;
    bool FShowBg = false;
    QString FCodigoAtual;
    GenerationWorker* FWorker = nullptr;
    QTimer* FNovaTentativa = nullptr;
    bool FAguardandoGeracao = false;
    QDateTime FUltimaGeracao;
    QDateTime FFimCicloAnterior; // when the previous cycle ended
    qint64 FDuracaoCicloMs = 0;
    QTimer* FVerificaIdade = nullptr;
    QString FUltimoErro;
    QDateTime FHoraErro;
};
