#include "app/DescricaoErro.h"

#include <ibase.h>

#include <QSet>

#include <gtest/gtest.h>

TEST(DescricaoErro, TheClientsCodesDecideTheCause)
{
    const std::pair<std::vector<long>, CausaFalha> cases[] = {
        {{isc_network_error, isc_net_connect_err}, CausaFalha::Conexao},
        {{isc_net_read_err}, CausaFalha::Conexao},
        // The first failure after the server stopped, on a statement prepared before.
        {{isc_req_sync}, CausaFalha::Conexao},
        {{isc_io_error, isc_io_open_err}, CausaFalha::Arquivo},
        {{isc_login}, CausaFalha::Senha},
        {{isc_sys_request, isc_lock_dir_access}, CausaFalha::PastaTrava},
        {{isc_shutdown}, CausaFalha::Desligado},
        {{isc_cancelled}, CausaFalha::TempoEsgotado},
        // A read-only user without a grant on one of the source tables.
        {{isc_dsql_error, isc_no_priv}, CausaFalha::SemPermissao},
        // A server that answered and cannot open the database is reachable.
        {{isc_unavailable}, CausaFalha::Indisponivel},
        {{isc_network_error, isc_unavailable}, CausaFalha::Conexao},
        {{isc_random}, CausaFalha::Outra},
        {{}, CausaFalha::Outra},
    };
    for (const auto& [codes, causa] : cases)
        EXPECT_EQ(causaDosCodigos(codes), causa) << (codes.empty() ? 0 : codes[0]);
}

TEST(DescricaoErro, EachCauseHasWordsOfItsOwn)
{
    QSet<QString> titulos, motivos;
    for (CausaFalha c : {CausaFalha::Outra, CausaFalha::Conexao, CausaFalha::Senha, CausaFalha::Arquivo,
                         CausaFalha::PastaTrava, CausaFalha::Desligado, CausaFalha::TempoEsgotado,
                         CausaFalha::SemPermissao, CausaFalha::Indisponivel, CausaFalha::TipoColuna}) {
        titulos << descreverErro(c).titulo;
        motivos << descreverErro(c).motivo;
    }
    EXPECT_EQ(titulos.size(), 10);
    EXPECT_EQ(motivos.size(), 10);
    EXPECT_EQ(descreverErro(CausaFalha::Conexao).motivo, "sem conexão com o banco de dados");
}
