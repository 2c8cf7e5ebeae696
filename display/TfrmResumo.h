#pragma once

#include "display/GraficoTendencia.h"
#include "display/MarcaMeta.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QTimer;
class TGradiente;
struct PaginaRotacao;

// The overview: every sector with figures, in the rotation's order, each
// with its name and its daily and monthly figures, in type readable from
// across the floor; a fixed number of sectors per page (linhas). Shown for
// the page time, then onFim.
class TfrmResumo : public QWidget {
    Q_OBJECT
public:
    static constexpr int linhas = 12;

    // With tendencia, each sector's 31 days as a small strip of bars
    // between its name and its figures.
    TfrmResumo(int tempoTroca, std::optional<double> meta, QWidget* parent = nullptr, bool tendencia = false);

    // Shows one overview page and starts its page time.
    void mostrar(const PaginaRotacao& pagina);
    // Old figures: every percentage grey.
    void setAntigos(bool v);
    std::function<void()> onFim;
    // How long a page of this many sectors shows, in milliseconds; unset:
    // the page time the overview was made with.
    std::function<int(int linhas)> tempoPagina;

    // What each row draws, for pages.json.
    struct Linha {
        QWidget* fundo;
        QLabel* nome;
        QLabel* diario;
        QLabel* mensal;
        FundoMeta* metaDiario;
        FundoMeta* metaMensal;
        GraficoTendencia* tendencia; // none without the bars
        QString codigo;
        QString nomeCompleto; // before fitting
    };
    const std::vector<Linha>& linhasMostradas() const { return linhas_; }
    QTimer* trocaPagina;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void dispor();

    TGradiente* barra_;
    QLabel* lblDiario_;
    QLabel* lblMensal_;
    std::vector<Linha> linhas_;
    std::vector<std::optional<long long>> valores_; // diario, mensal per row, as drawn
    std::optional<double> meta_;
    bool antigos_ = false;
};
