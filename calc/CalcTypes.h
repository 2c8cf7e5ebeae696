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

class WorkTable;

// Description of the capacity-balance source, filled by a calling program:
// its two tables (neither opened, closed nor freed here) and their field names.
class TRegCalcTempoProd {
public:
    QString NomeCpCodSetor;
    QString NomeCpDescSetor;
    QString NomeCpDataSetor;
    QString NomeCpDiasSetor;
    QString NomeCpProd;
    QString NomeCpQtde;
    WorkTable* dsSetorData = nullptr; // sector code, sector name, start date, number of days
    WorkTable* dsProdQtde = nullptr;  // product code, quantity
};
