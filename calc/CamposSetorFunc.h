#pragma once

#include "calc/LinhasEficiencia.h"
#include "data/WorkField.h"

#include <variant>

// Which code a field holds: such a field compares by value when the
// database keeps that code in a numeric column.
enum class CodigoCampo { Nenhum, Setor, Funcionario };

// Where a field's value lives in the typed row.
using MembroLinha = std::variant<QString LinhaSetorFuncionario::*, std::optional<double> LinhaSetorFuncionario::*,
                                 double LinhaSetorFuncionario::*, std::int32_t LinhaSetorFuncionario::*>;

struct CampoDeclarado {
    const char* nome;
    FieldType tipo;
    int tamanho; // texts: the most characters kept
    MembroLinha membro;
    CodigoCampo codigo = CodigoCampo::Nenhum;
};

// The fields of the sector-employee table, in order: what the calculation
// makes, what its typed rows hold and what the employee filter of the pages
// may name. A field added here is one the filter language accepts.
inline constexpr CampoDeclarado kCamposSetorFunc[] = {
    {"SETOR", FieldType::Text, 2, &LinhaSetorFuncionario::setor, CodigoCampo::Setor},
    {"FUNCIONARIO", FieldType::Text, 3, &LinhaSetorFuncionario::funcionario, CodigoCampo::Funcionario},
    {"NOME_FUNCIONARIO", FieldType::Text, 60, &LinhaSetorFuncionario::nomeFuncionario},
    {"MEDIA_EFICIENCIA", FieldType::Float, 0, &LinhaSetorFuncionario::mediaEficiencia},
    {"MEDIA_EFICIENCIA_MES", FieldType::Float, 0, &LinhaSetorFuncionario::mediaEficienciaMes},
    {"SOMA_EFICIENCIA", FieldType::Float, 0, &LinhaSetorFuncionario::somaEficiencia},
    {"SOMA_EFICIENCIA_MES", FieldType::Float, 0, &LinhaSetorFuncionario::somaEficienciaMes},
    {"QTDE_EFICIENCIA", FieldType::Integer, 0, &LinhaSetorFuncionario::qtdeEficiencia},
    {"QTDE_EFICIENCIA_MES", FieldType::Integer, 0, &LinhaSetorFuncionario::qtdeEficienciaMes},
};
