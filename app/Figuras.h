#pragma once

#include "calc/LinhasEficiencia.h"

#include <QSet>
#include <QString>

#include <optional>

#include <vector>

class TdmMarvessa;

// What one sector page shows: the sector, its figures and its employees in
// the order of the run's table (the page ranks them).
struct PaginaSetor {
    QString codigo;
    QString nome;
    int ordem = 0;
    double diario = 0;
    double mensal = 0;
    std::vector<LinhaSetorFuncionario> funcionarios; // as the run left them
    // The sector's figure of each of the 31 days ending on the reading day
    // (the last one); empty for a day without one.
    std::vector<std::optional<double>> tendencia;
};

// The figures a good run leaves for the screen: the configured sectors that
// have figures, in the rotation's order, and the codes of the sector table.
struct Figuras {
    static constexpr int kDiasTendencia = 31;
    double dia = 0; // the reading day
    std::vector<PaginaSetor> setores;
    QSet<QString> setoresExistentes; // empty when the sector table was not read
    bool setoresPorValor = false;    // sector codes of a numeric column

    // Whether the sector table has the code as the settings write it ('01'
    // is the sector 1 when the codes are numbers); true when it was not read.
    bool setorExiste(const QString& codigo) const;
};

// Reads the efficiency tables of a finished run into pages. setores is the
// quoted sector list of the settings, funcionarios the employee filter's
// continuation. The tables are left unfiltered.
Figuras lerFiguras(TdmMarvessa& calc, const QString& setores, const QString& funcionarios);
