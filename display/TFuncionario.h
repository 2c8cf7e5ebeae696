#pragma once

#include "calc/LinhasEficiencia.h"

#include <QString>

#include <cstdint>

// The record behind one displayed row: name, rank and efficiency figures.
class TFuncionario {
public:
    TFuncionario() = default;
    // The record of one employee row of the run's figures: no daily figure
    // reads as 0.
    explicit TFuncionario(const LinhaSetorFuncionario& l)
        : FValorMensal(l.mediaEficienciaMes), FNome(l.nomeFuncionario), FValorDiario(l.mediaEficiencia.value_or(0)),
          FLinha(l)
    {
    }
    // The run's row behind the record (empty for the sector band's).
    const LinhaSetorFuncionario& Linha() const { return FLinha; }

    double MinimoDiario() const { return FMinimoDiario; }
    void setMinimoDiario(double v) { FMinimoDiario = v; }
    double MaximoDiario() const { return FMaximoDiario; }
    void setMaximoDiario(double v) { FMaximoDiario = v; }
    double ValorDiario() const { return FValorDiario; }
    void setValorDiario(double v) { FValorDiario = v; }
    double MinimoMensal() const { return FMinimoMensal; }
    void setMinimoMensal(double v) { FMinimoMensal = v; }
    double MaximoMensal() const { return FMaximoMensal; }
    void setMaximoMensal(double v) { FMaximoMensal = v; }
    double ValorMensal() const { return FValorMensal; }
    void setValorMensal(double v) { FValorMensal = v; }
    std::int32_t Rank() const { return FRank; }
    void setRank(std::int32_t v) { FRank = v; }
    const QString& Nome() const { return FNome; }
    void setNome(const QString& v) { FNome = v; }

private:
    std::int32_t FRank = 0;
    double FValorMensal = 0.0;
    double FMaximoDiario = 100.0;
    double FMaximoMensal = 100.0;
    double FMinimoDiario = 0.0;
    double FMinimoMensal = 0.0;
    QString FNome;
    double FValorDiario = 0.0;
    LinhaSetorFuncionario FLinha;
};
