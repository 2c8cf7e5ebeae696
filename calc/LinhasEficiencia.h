#pragma once

#include "data/Cell.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// What a generation run leaves for the pages, row by row: each sector's
// figures, and each employee's in each sector. A daily figure is empty when
// the reading day (or the explicit period) gave the row no percentage.

// A row of the sector table.
struct LinhaSetor {
    QString codigo;
    QString nome;
    std::int32_t ordem = 0;
    std::optional<double> mediaEficiencia; // of the reading day
    double mediaEficienciaMes = 0;          // of the whole period
};

// A row of the sector-employee table.
struct LinhaSetorFuncionario {
    QString setor;
    QString funcionario;
    QString nomeFuncionario;
    std::optional<double> mediaEficiencia, somaEficiencia; // of the reading day
    double mediaEficienciaMes = 0, somaEficienciaMes = 0;   // of the whole period
    std::int32_t qtdeEficiencia = 0, qtdeEficienciaMes = 0;  // percentages summed
};

// A sector's figure of one day: the mean of its employees' percentages of
// that day, as the sector's daily figure is of the reading day's.
struct LinhaSetorDia {
    QString setor;
    double data = 0;
    double mediaEficiencia = 0;
    std::int32_t qtdeEficiencia = 0;
};

// The row's values in the order of the table's declared fields, as the
// employee filter of the pages reads them.
std::vector<Cell> celulas(const LinhaSetorFuncionario& l);
