#include "data/CausaFalha.h"

#include <ibase.h>

#include <algorithm>

CausaFalha causaDosCodigos(const std::vector<long>& codigos)
{
    auto tem = [&](std::initializer_list<long> alguns) {
        return std::any_of(codigos.begin(), codigos.end(),
                           [&](long c) { return std::find(alguns.begin(), alguns.end(), c) != alguns.end(); });
    };
    // The most particular first: a refused login also travels over the
    // network, a lock folder's failure is also an I/O error.
    if (tem({isc_login}))
        return CausaFalha::Senha;
    if (tem({isc_lock_dir_access}))
        return CausaFalha::PastaTrava;
    if (tem({isc_shutdown, isc_shutinprog, isc_att_shutdown, isc_net_server_shutdown}))
        return CausaFalha::Desligado;
    if (tem({isc_no_priv}))
        return CausaFalha::SemPermissao;
    if (tem({isc_network_error, isc_net_read_err, isc_net_write_err, isc_net_connect_err, isc_net_connect_listen_err,
             isc_lost_db_connection, isc_conn_lost, isc_net_lookup_err, isc_req_sync, isc_bad_db_handle,
             isc_connect_reject}))
        return CausaFalha::Conexao;
    // Without a network error, the server (or the local engine) answered:
    // it has no way to open that database.
    if (tem({isc_unavailable}))
        return CausaFalha::Indisponivel;
    if (tem({isc_io_error, isc_bad_db_format, isc_io_open_err}))
        return CausaFalha::Arquivo;
    if (tem({isc_sys_request}))
        return CausaFalha::PastaTrava; // an operating system call of the engine's own: its lock files
    if (tem({isc_cancelled}))
        return CausaFalha::TempoEsgotado;
    return CausaFalha::Outra;
}

QString nomeCausa(CausaFalha causa)
{
    switch (causa) {
    case CausaFalha::Conexao:
        return QStringLiteral("conexao");
    case CausaFalha::Senha:
        return QStringLiteral("senha");
    case CausaFalha::Arquivo:
        return QStringLiteral("arquivo");
    case CausaFalha::PastaTrava:
        return QStringLiteral("pasta-trava");
    case CausaFalha::Desligado:
        return QStringLiteral("desligado");
    case CausaFalha::TempoEsgotado:
        return QStringLiteral("tempo-esgotado");
    case CausaFalha::SemPermissao:
        return QStringLiteral("sem-permissao");
    case CausaFalha::Indisponivel:
        return QStringLiteral("indisponivel");
    case CausaFalha::TipoColuna:
        return QStringLiteral("tipo-coluna");
    case CausaFalha::Outra:
        break;
    }
    return QStringLiteral("calculo");
}
