#pragma once

#include <QStringList>

class TdmPrinc;

// What reading the settings again changes, and what each change calls for.
struct MudancasConfiguracao {
    // The settings whose values changed, by key, in the settings list's
    // order; "senha" when the password read changed.
    QStringList chaves;
    // The pages: layout, page time, target, clock, overview.
    bool exibicao = false;
    // The figures: sectors, employee filter, database, credentials, reading
    // day, grouping, minutes between full runs. A run follows.
    bool geracao = false;
    // The database or its credentials: the next run attaches again.
    bool conexao = false;
};

MudancasConfiguracao compararConfiguracoes(const TdmPrinc& antes, const TdmPrinc& depois);
