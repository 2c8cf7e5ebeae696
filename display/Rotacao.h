#pragma once

#include "app/Figuras.h"

#include <QString>

#include <optional>
#include <vector>

// One page of the rotation: a sector's page, or one page of the overview of
// all the sectors.
struct PaginaRotacao {
    const PaginaSetor* setor = nullptr;     // a sector's page
    std::vector<const PaginaSetor*> resumo; // an overview page's sectors, in order
    int paginaResumo = 0;                   // which overview page (from 0)
    int paginasResumo = 0;                  // of how many
};

// The sector rotation without its widgets: the figures of the last good run
// and the cursor over their pages. With an overview, each rotation starts
// with its pages, setoresPorResumo sectors on each. The screen draws the
// page it is given.
class Rotacao {
public:
    // 0: no overview.
    void setResumo(int setoresPorResumo);
    // The page time of the settings, in milliseconds.
    void setTempoTroca(int ms) { tempoTroca_ = ms; }
    // How long a page that shows this many rows (employees, or sectors of
    // an overview) stays on show, in milliseconds; 0 or less: it does not
    // turn. Every page shows for the page time of the settings.
    int tempoPagina(int linhas) const;

    // New figures, or an overview switched on or off. The rotation goes on
    // from the page after the one on show: the sector after it, or the
    // first sector when it is gone; after an overview page, the next page
    // (the first sector when there is no overview any more).
    void carregar(Figuras figuras);
    const Figuras& figuras() const { return figuras_; }
    int setores() const { return int(figuras_.setores.size()); }
    int paginasResumo() const;
    // Every page of a rotation: the overview's and the sectors'.
    int paginas() const { return paginasResumo() + setores(); }

    // The next page, now on show; nullopt once the last one has been shown
    // (the cycle ends).
    std::optional<PaginaRotacao> proxima();
    // The next page is the first.
    void reiniciar() { proximo_ = 0; }
    // Nothing on show.
    void parar();
    // The page on show; nullopt when none.
    std::optional<PaginaRotacao> atual() const;
    // The sector on show; empty on an overview page or none.
    QString codigoAtual() const;

private:
    PaginaRotacao pagina(int posicao) const;
    // The cursor after the pages changed, from what was on show.
    void reposicionar(bool resumo, const QString& codigo);

    Figuras figuras_;
    int porResumo_ = 0;
    int tempoTroca_ = 0;
    int proximo_ = 0;
    int atual_ = -1;
};
