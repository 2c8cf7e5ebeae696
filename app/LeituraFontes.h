#pragma once

#include <QStringList>

class SqlConnection;

// The source tables the configured user may not read (no SELECT granted), in
// the statements' order; empty when every one can be read. Each is counted
// with a condition that holds for no row: the server checks the grant and
// reads nothing (a constant selected would need no grant at all). Any other
// failure (a table missing) passes through as the client's error.
QStringList tabelasSemLeitura(SqlConnection& con);
