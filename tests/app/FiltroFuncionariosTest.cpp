// The employee filter setting as the sector pages compile it, and what the
// technician is told when it does not compile.
#include "app/FiltroFuncionarios.h"

#include <gtest/gtest.h>

TEST(FiltroFuncionarios, TheSettingContinuesTheSectorsCondition)
{
    EXPECT_EQ(filtroFuncionarios({}, "03"), "Setor=03");
    EXPECT_EQ(filtroFuncionarios(" and (FUNCIONARIO IN ('001')", "03"), "Setor=03 and (FUNCIONARIO IN ('001'))");
    EXPECT_EQ(filtroFuncionarios({}, "A'1"), "Setor='A''1'");
    for (const char* ok : {"", " and (FUNCIONARIO IN ('001','002')", "and (FUNCIONARIO = 001", " or (1=1"})
        EXPECT_EQ(erroFiltroFuncionarios(ok), "") << ok;
}

TEST(FiltroFuncionarios, ErrorsGiveAReasonAndAPlaceInTheTextAsWritten)
{
    const QString prefixo = "Configuração inválida em \"Funcionarios\", ";
    const std::pair<const char*, QString> cases[] = {
        // The text closes its own parenthesis: the program closes it.
        {"and (FUNCIONARIO = 001)",
         "no fim do texto: ')' a mais: o programa já fecha o parêntese. O programa fecha o último parêntese: "
         "escreva \"and (FUNCIONARIO = 001\""},
        {" and (FUNCIONARIO IN (001,002", "no fim do texto: falta fechar um parêntese"},
        {"and (NOME LIKE 'Lu%')",
         "posição 6: campo desconhecido 'NOME' (os campos são, por exemplo, FUNCIONARIO e NOME_FUNCIONARIO)"},
        {" and (FUNCIONARIO IN (", "no fim do texto: lista de IN vazia"},
        {" and (FUNCIONARIO IN ()", "posição 23: lista de IN vazia"},
        {" and (NOME_FUNCIONARIO = 'Ana", "posição 26: texto sem a aspa que o fecha"},
    };
    for (const auto& [setting, expected] : cases)
        EXPECT_EQ(erroFiltroFuncionarios(setting).toStdString(), (prefixo + expected).toStdString()) << setting;
}
