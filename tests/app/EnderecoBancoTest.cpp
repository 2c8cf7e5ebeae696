// "DB" in every form a site writes it: what it names, or why it cannot work.
#include "app/EnderecoBanco.h"
#include "app/TdmPrinc.h"

#include <gtest/gtest.h>

TEST(EnderecoBanco, EachFormOfDbNamesAFileHereOrADatabaseOnAServer)
{
    const struct {
        const char* db;
        bool local;
        const char* servidor;
        const char* porta;
        const char* caminho;
        const char* tela; // the connecting screen's server text
    } casos[] = {
        {"/var/lib/firebird/data/FABRICA.FDB", true, "", "", "/var/lib/firebird/data/FABRICA.FDB", ""},
        {"/dados/Produção/Fábrica.fdb", true, "", "", "/dados/Produção/Fábrica.fdb", ""},
        {"/dados/a:b.fdb", true, "", "", "/dados/a:b.fdb", ""},
        {"FABRICA", true, "", "", "FABRICA", ""},
        {"servidor:/dados/FABRICA.FDB", false, "servidor", "", "/dados/FABRICA.FDB", "servidor"},
        {"servidor:FABRICA", false, "servidor", "", "FABRICA", "servidor"},
        {"servidor:C:\\Dados\\FABRICA.FDB", false, "servidor", "", "C:\\Dados\\FABRICA.FDB", "servidor"},
        {"192.168.0.10/3051:/dados/F.FDB", false, "192.168.0.10", "3051", "/dados/F.FDB", "192.168.0.10/3051"},
        {"servidor/gds_db:F", false, "servidor", "gds_db", "F", "servidor/gds_db"},
        {"[::1]/3050:/dados/F.FDB", false, "::1", "3050", "/dados/F.FDB", "[::1]/3050"},
        {"[fe80::1]:F", false, "fe80::1", "", "F", "[fe80::1]"},
        {"inet://servidor:3051/dados/F.FDB", false, "servidor", "3051", "dados/F.FDB", "servidor/3051"},
        {"inet://servidor/C:\\Dados\\F.FDB", false, "servidor", "", "C:\\Dados\\F.FDB", "servidor"},
        {"INET4://10.0.0.2/FABRICA", false, "10.0.0.2", "", "FABRICA", "10.0.0.2"},
        {"inet6://[::1]:3050//dados/F.FDB", false, "::1", "3050", "/dados/F.FDB", "[::1]/3050"},
        {"  servidor:/x.fdb  ", false, "servidor", "", "/x.fdb", "servidor"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.db);
        const EnderecoBanco e = lerEnderecoBanco(QString::fromUtf8(c.db));
        EXPECT_TRUE(e.erro.isEmpty()) << e.erro.toStdString();
        EXPECT_EQ(e.local, c.local);
        EXPECT_EQ(e.servidor.toStdString(), c.servidor);
        EXPECT_EQ(e.porta.toStdString(), c.porta);
        EXPECT_EQ(e.caminho.toStdString(), c.caminho);
        EXPECT_EQ(bancoNestePC(QString::fromUtf8(c.db)), c.local);
        EXPECT_EQ(servidorDoBanco(QString::fromUtf8(c.db)).toStdString(), c.tela);
    }
}

TEST(EnderecoBanco, FormsThatCannotWorkFromThisPcSayWhatToWriteInstead)
{
    const struct {
        const char* db;
        const char* erro;
    } casos[] = {
        {"C:\\Dados\\FABRICA.FDB", "é um caminho do Windows sem o servidor: este PC não tem o disco C:. Escreva o "
                                   "servidor onde o arquivo está antes do caminho: servidor:C:\\Dados\\FABRICA.FDB"},
        {"d:/dados/f.fdb", "é um caminho do Windows sem o servidor"},
        {"\\\\servidor\\dados\\x.fdb", "é um compartilhamento de rede do Windows"},
        {"//servidor/dados/x.fdb", "é um compartilhamento de rede do Windows"},
        {"xnet://FABRICA", "o protocolo xnet:// não existe neste PC"},
        {"inet://servidor", "falta o caminho do banco depois do servidor"},
        {"inet://:3050/x.fdb", "falta o nome do servidor"},
        {"servidor:", "falta o caminho do banco depois de \"servidor:\""},
        {"[::1/3050:/x.fdb", "escreva [endereço IPv6]:caminho"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.db);
        const EnderecoBanco e = lerEnderecoBanco(QString::fromUtf8(c.db));
        EXPECT_TRUE(e.erro.contains(QString::fromUtf8(c.erro))) << e.erro.toStdString();
        EXPECT_FALSE(bancoNestePC(QString::fromUtf8(c.db)));
    }
}
