#include "app/DescricaoErro.h"

#include <gtest/gtest.h>

TEST(DescricaoErro, TheClientsTextsInWordsOfTheFloor)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Unable to complete network request to host \"127.0.0.1\".\nFailed to establish a connection.",
         "sem conexão com o banco de dados"},
        {"Error reading data from the connection.", "sem conexão com o banco de dados"},
        {"connection shutdown", "sem conexão com o banco de dados"},
        {"I/O error during \"open\" operation for file \"/x.fdb\"\nError while trying to open file\nNo such file or directory",
         "arquivo do banco de dados não encontrado"},
        {"Your user name and password are not defined. Ask your database administrator to set up a Firebird login.",
         "senha do banco de dados recusada"},
        {"Geração cancelada após 130 s: operation was cancelled", "servidor do banco de dados não responde"},
        {"Value of field 'X' out of range for an integer", "erro ao calcular"},
        {"", "erro ao calcular"},
    };
    for (const auto& [erro, motivo] : cases)
        EXPECT_EQ(descreverErro(QString::fromUtf8(erro)).motivo.toStdString(), motivo) << erro;
}
