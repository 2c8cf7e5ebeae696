#pragma once

#include "display/Colunas.h"
#include "display/GraficoTendencia.h"
#include "display/TFuncionario.h"

#include <QColor>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QTimer;
class TfrmfuncionarioSetorBase;
class TfrmFuncionarioSetorSimplificado;

struct TCor {
    QColor Inicio;
    QColor Fim;
    bool Escuro = false;
};

// The heading bar's vertical two-colour gradient.
class TGradiente : public QWidget {
    Q_OBJECT
public:
    explicit TGradiente(QWidget* parent = nullptr);
    void setCores(const QColor& inicio, const QColor& fim);
    QColor Inicio() const { return FInicio; }
    QColor Fim() const { return FFim; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor FInicio, FFim;
};

// The sector page: heading bar in the sector's colours, the sector band (in
// the simplified layout) and one page of ranked employee rows, turned by the
// page timer.
class TfrmRelatorio : public QWidget {
    Q_OBJECT
public:
    // With tendencia, the last row's place holds the sector's 31 days as bars.
    TfrmRelatorio(bool simplificado, int tempoTroca, QWidget* parent = nullptr, bool tendencia = false);
    ~TfrmRelatorio() override;

    // Takes ownership of the record and inserts it by descending daily value.
    void AddFuncionario(TFuncionario* F);
    void Clear();
    void AtualizarSetor(double diario, double mensal);
    // The target every percentage of the page is drawn against (none: as designed).
    void setMeta(std::optional<double> meta);
    // Old figures: every percentage and the band grey.
    void setAntigos(bool v);
    void ExibirPagina(int pagina);
    int Paginas() const;
    // The rows a page shows.
    int LinhasPagina(int pagina) const;
    int PaginaAtual() const { return FPagina; }
    void setPaginaAtual(int v);
    int OrdemSetor() const { return FOrdemSetor; }
    void setOrdemSetor(int v);
    void AddCor(const QColor& inicio, const QColor& fim, bool escuro);
    int FuncionariosPorPagina() const { return colunas(FSimplificado).linhasPorPagina - (FTendencia ? 1 : 0); }
    // The sector's days, the last being the reading day; nothing without
    // the bars.
    void setTendencia(const std::vector<std::optional<double>>& dias, const QDate& ultimo);
    void AtualizarRank();
    const std::vector<std::unique_ptr<TFuncionario>>& Funcionarios() const { return FFuncionarios; }
    const QList<TCor>& Cores() const { return FCores; }
    bool Simplificado() const { return FSimplificado; }

    // Called after the last page of a sector, with the timer already off.
    std::function<void()> onFimSetor;
    // Called whenever a page shows.
    std::function<void()> onPagina;
    // How long a page of this many rows shows, in milliseconds; unset: the
    // page time the page was made with.
    std::function<int(int linhas)> tempoPagina;
    void trocaTimer();

    QWidget* Panel1;
    TGradiente* BarraTitulo;
    QLabel* lblDiario;
    QLabel* lblMensal;
    QWidget* panelSetor;
    QWidget* panelFuncionarios;
    TfrmFuncionarioSetorSimplificado* faixaSetor = nullptr;
    GraficoTendencia* tendencia = nullptr; // with the bars
    QTimer* trocaPagina;
    // The rows from the top.
    QList<TfrmfuncionarioSetorBase*> linhas;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutRows();
    // The sector band's colour: the sector's, or its class's with a target.
    void pintarFaixa();

    bool FSimplificado;
    bool FTendencia;
    std::vector<std::unique_ptr<TFuncionario>> FFuncionarios;
    std::unique_ptr<TFuncionario> FFuncionarioSetor;
    int FPagina = 0;
    QList<TCor> FCores;
    int FOrdemSetor = 0;
    std::optional<double> FMeta;
    bool FAntigos = false;
};
