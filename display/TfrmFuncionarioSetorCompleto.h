#pragma once

#include "display/TfrmFuncionarioSetorSimplificado.h"

// The row of the full layout: rank and name as the base row, the daily and
// monthly percentages under the full layout's headings.
class TfrmFuncionarioSetorCompleto : public TfrmFuncionarioSetorSimplificado {
    Q_OBJECT
public:
    explicit TfrmFuncionarioSetorCompleto(QWidget* parent = nullptr);
    // Centres the percentages too: the full layout's rows are tall.
    void Redimensionar() override;
};
