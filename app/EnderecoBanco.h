#pragma once

#include <QString>

// The "DB" setting read once, for every part that needs to know what it
// names: a file or alias on this PC (opened by the embedded engine), or a
// database on a server, in any of the forms the Firebird client takes:
//   /dados/FABRICA.FDB            a file here
//   FABRICA                       an alias here
//   servidor:/dados/FABRICA.FDB   servidor:FABRICA   servidor:C:\Dados\FABRICA.FDB
//   servidor/3051:/dados/F.FDB    [::1]/3051:/dados/F.FDB
//   inet://servidor:3051/dados/F.FDB   inet4://…   inet6://[::1]:3051/…
// Forms that cannot work from this PC (a Windows path with no server, a
// Windows share, Windows-only protocols) carry the reason and the form to
// write instead.
struct EnderecoBanco {
    bool local = false;
    QString servidor; // the host, without brackets
    QString porta;    // port or service; empty: the default
    QString caminho;  // the file, or alias, here or on the server
    QString erro;     // in Portuguese; empty when the form can work

    // The server as the screen names it: "host" or "host/port".
    QString servidorTexto() const;
};

EnderecoBanco lerEnderecoBanco(const QString& db);
