#pragma once

#include "app/Figuras.h"

#include <QString>

// The settings the indicator's cycle works with.
struct ConfigCiclo {
    QString banco;        // [Paths] DB
    QString setores;      // the quoted sector list
    QString funcionarios; // the employee filter's continuation
    int tempoTroca = 0;   // the page time, in milliseconds
    int setoresPorResumo = 0; // sectors on each overview page; 0: no overview

    // Pages that never turn: a page time of 0 or less, or beyond the
    // timer's range.
    bool trocaParada() const;
    // What makes the settings unusable before any figures exist, in
    // Portuguese; empty when nothing does.
    QString erroInicial() const;
    // Why no configured sector has figures, in Portuguese.
    QString motivoSemIndicadores(const Figuras& figuras) const;
};
