#pragma once

#include <QStringList>

class SqlConnection;

// The source tables the configured user may not read (no SELECT granted), in
// the statements' order; empty when every one can be read. Each is counted
// with a condition that holds for no row: the server checks the grant and
// reads nothing (a constant selected would need no grant at all). Any other
// failure (a table missing) passes through as the client's error.
QStringList tabelasSemLeitura(SqlConnection& con);

// What the types of the source columns, as the database declares them, do
// to the figures. recusas: columns the program cannot read right (a run
// stops on them and --check fails), each naming TABLE.COLUMN, the type found
// and what is expected; avisos: what is read but loses something (an exit
// column typed DATE has no hour).
struct TiposFontes {
    QStringList recusas;
    QStringList avisos;
    // Codes held in whole-number columns: compared by value in the filters.
    bool setoresNumericos = false;
    bool funcionariosNumericos = false;
};
TiposFontes lerTiposFontes(SqlConnection& con);
