#pragma once

#include "data/CausaFalha.h"

#include <QString>

// What a failed run means, in words a supervisor reads from across the
// floor: a title for the page area and a short reason for the stale-figures
// banner. The client's own text goes below them, smaller.
// Whether it needs a person: a cause that trying again does not mend (a
// password, a permission, a missing file) calls someone; a lost connection
// or a server that does not answer is waited for.
struct DescricaoErro {
    QString titulo;
    QString motivo;
    bool chamarPessoa = false;
};

DescricaoErro descreverErro(CausaFalha causa);
