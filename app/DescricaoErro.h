#pragma once

#include "data/CausaFalha.h"

#include <QString>

// What a failed run means, in words a supervisor reads from across the
// floor: a title for the page area and a short reason for the stale-figures
// banner. The client's own text goes below them, smaller.
struct DescricaoErro {
    QString titulo;
    QString motivo;
};

DescricaoErro descreverErro(CausaFalha causa);
