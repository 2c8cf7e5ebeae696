#pragma once

#include "data/FilterExpression.h"

#include <QString>

#include <vector>

// The employee filter of the sector pages: "Setor=" + the sector's code +
// the "Funcionarios" setting + ")". The setting continues the condition and
// opens the parenthesis that the program closes, for example
//     and (FUNCIONARIO IN ('001','002')
// A code of digits goes in unquoted; any other code is quoted, so that the
// filter still reads it as a constant.
QString filtroFuncionarios(const QString& funcionarios, const QString& codigo);

// Compiles the filter as the sector pages do: empty when it compiles, else
// the message the screen shows, in Portuguese, with the reason and where in
// the setting (as the technician wrote it) the fault is; when the setting
// closes its own parenthesis, the message says that the program closes it
// and shows the form that works.
QString erroFiltroFuncionarios(const QString& funcionarios);

// The fields the employee filter names, in the order of the employee
// table's declared fields; codes of a numeric column compare by value.
std::vector<FilterExpression::FieldInfo> camposFiltroFuncionarios(bool setoresPorValor = false,
                                                                  bool funcionariosPorValor = false);
