#pragma once

#include "data/CausaFalha.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>

class PlanoGeracao;
class SqlConnection;
class TdmMarvessa;

// What one generation run did, as the display, the log and the status file
// tell it.
struct ExecucaoGeracao {
    bool ok = false;
    bool completa = true;  // a full run, or a refresh of the reading day
    QString erro;
    CausaFalha causa = CausaFalha::Outra; // of a failed run
    double dia = 0;        // reading day of the run
    QDateTime inicio;      // clock time at the start
    double segundos = 0;   // duration, measured on a monotonic timer
    std::int64_t registros = 0;
    int linhas = 0;        // rows of the day-sector-employee table
    bool cancelada = false;
};

// One generation run on the module: full or a refresh of the day, as the
// plan says; attaches first when the connection is closed, and closes it
// after a failure so that the next run attaches again. Writes the run's log
// line. antes runs first (tests slow runs down with it); cancelada, when it
// answers true after a failure, marks the run as cancelled.
// conectou runs once a closed connection has attached.
ExecucaoGeracao executarGeracao(TdmMarvessa& calc, SqlConnection& connection, PlanoGeracao& plano, double dia,
                                const QDateTime& inicio, const std::function<void()>& antes = {},
                                const std::function<bool()>& cancelada = {},
                                const std::function<void()>& conectou = {});
