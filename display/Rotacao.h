#pragma once

#include "app/Figuras.h"

#include <QString>

// The sector rotation without its widgets: the figures of the last good run
// and the cursor over their sectors. The screen draws the page it is given.
class Rotacao {
public:
    // New figures. The rotation goes on from the sector after the one on
    // show, or from the first when that sector is gone.
    void carregar(Figuras figuras);
    const Figuras& figuras() const { return figuras_; }
    int setores() const { return int(figuras_.setores.size()); }

    // The next sector's page, now on show; nullptr once the last one has
    // been shown (the cycle ends).
    const PaginaSetor* proxima();
    // The next page is the first.
    void reiniciar() { proximo_ = 0; }
    // Nothing on show.
    void parar();
    // The page on show; nullptr when none.
    const PaginaSetor* atual() const;
    QString codigoAtual() const;

private:
    Figuras figuras_;
    int proximo_ = 0;
    int atual_ = -1;
};
