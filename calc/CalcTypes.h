#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// Keep only the listed codes (ApenasExceto 0) or all but them (any other
// value). Filtros is the list as it goes between the parentheses of an IN
// list, quotes and commas included; empty means no filter.
struct TFiltroApenasExceto {
    std::int32_t ApenasExceto = 0;
    QString Filtros;
};

// Progress of a stage: the number of steps, the step reached, the stage's
// title, and whether the receiver starts counting anew.
using TProgressoEvento =
    std::function<void(std::int32_t Maximo, std::int32_t Valor, const QString& Mensagem, bool ZerarContador)>;

// Description of the capacity-balance source, filled by a calling program.
class TRegCalcTempoProd {
public:
    TRegCalcTempoProd() = default;
};
