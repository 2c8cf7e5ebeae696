#pragma once

#include "data/WorkField.h"

// The fields of the sector-employee table, in order: what the calculation
// makes and what the employee filter of the pages may name. A field added
// here is one the filter language accepts.
// Which code a field holds: such a field compares by value when the
// database keeps that code in a numeric column.
enum class CodigoCampo { Nenhum, Setor, Funcionario };

struct CampoDeclarado {
    const char* nome;
    FieldType tipo;
    int tamanho; // texts: the most characters kept
    CodigoCampo codigo = CodigoCampo::Nenhum;
};

inline constexpr CampoDeclarado kCamposSetorFunc[] = {
    {"SETOR", FieldType::Text, 2, CodigoCampo::Setor},
    {"FUNCIONARIO", FieldType::Text, 3, CodigoCampo::Funcionario},
    {"NOME_FUNCIONARIO", FieldType::Text, 50},
    {"MEDIA_EFICIENCIA", FieldType::Float, 0},
    {"MEDIA_EFICIENCIA_MES", FieldType::Float, 0},
    {"SOMA_EFICIENCIA", FieldType::Float, 0},
    {"SOMA_EFICIENCIA_MES", FieldType::Float, 0},
    {"QTDE_EFICIENCIA", FieldType::Integer, 0},
    {"QTDE_EFICIENCIA_MES", FieldType::Integer, 0},
};
