#pragma once

#include <QString>

#include <exception>
#include <vector>

// Why a run or an attach failed, decided once from the database client's
// error codes (never from words in its text), for the screen, the log,
// status.json and --check alike.
enum class CausaFalha {
    Outra,         // anything else: an error of the calculation
    Conexao,       // the server cannot be reached, or the connection broke
    Senha,         // the server refused the user or the password
    Arquivo,       // the database file is missing or is no database
    PastaTrava,    // the engine's lock folder cannot be used
    Desligado,     // the database is shut down
    TempoEsgotado, // the server did not answer in time (attach or run)
    SemPermissao,  // the user may not read a table the statements read
    Indisponivel,  // the server answered, but cannot open the database
    TipoColuna,    // a source column of a type the program cannot read right
};

// The cause of a status vector's codes (the client's error codes, in order).
CausaFalha causaDosCodigos(const std::vector<long>& codigos);

// For the log and status: a word, e.g. "conexao".
QString nomeCausa(CausaFalha causa);
