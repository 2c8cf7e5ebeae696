// A run's accumulation without a database: which shift row a record finds,
// rows in order of their first record, days inside and outside the period.
#include "calc/AcumulacaoTempos.h"

#include <gtest/gtest.h>

namespace {

regra::Turno turno(int qtde)
{
    return regra::Turno::de("08:00", "17:00", {}, {}, 60, 0, qtde, 0);
}

TEST(AcumulacaoTempos, RecordsFindTheirShiftAndMakeRowsInOrderOfTheirFirstRecord)
{
    for (bool porFuncionario : {true, false}) {
        AcumulacaoTempos a(100, 130, {200, "10:00"}, porFuncionario);
        const QString func = porFuncionario ? QStringLiteral("001") : QString();
        a.adicionarTurno({110, "02", func}, [] { return turno(1); });
        a.adicionarTurno({110, "02", func}, [] { return turno(9); }); // the first row of a key is kept
        a.adicionarTurno({111, "02", func}, [] { return turno(1); });
        a.adicionarTurno({300, "02", func}, [] { return turno(1); }); // outside the period
        int trocas = 0;
        auto troca = [&](const QString&) {
            ++trocas;
            return 5.0;
        };
        struct Registro {
            double dia;
            const char* funcionario;
            double qtde;
        };
        for (const Registro& r : {Registro{111, "001", 2}, Registro{110, "001", 1}, Registro{111, "001", 3},
                                  Registro{300, "001", 1}, Registro{112, "001", 1}}) {
            AcumulacaoTempos::Entrada& e = a.entrada(r.dia, "02", r.funcionario);
            if (r.dia == 112) {
                EXPECT_EQ(e.turno, nullptr); // no shift row that day
                continue;
            }
            ASSERT_NE(e.turno, nullptr) << r.dia;
            EXPECT_EQ(e.turno->qtde, 1);
            a.somar(e, "Costura", 2, "Ana", r.qtde, 10, "09:00", troca);
        }
        ASSERT_EQ(a.linhas().size(), 3u);
        EXPECT_EQ(a.linhas()[0].chave.data, 111);
        EXPECT_EQ(a.linhas()[0].soma.qtdeFichas, 2);
        EXPECT_EQ(a.linhas()[0].soma.tempoTot, (2 * 10 + 5) + 3 * 10 + 5);
        EXPECT_EQ(a.linhas()[1].chave.data, 110);
        EXPECT_EQ(a.linhas()[2].chave.data, 300);
        EXPECT_EQ(a.linhas()[2].chave.funcionario, "001");
        EXPECT_EQ(trocas, 3); // once per row
    }
}

TEST(AcumulacaoTempos, ProductTimesAreKeptByProductAndSector)
{
    AcumulacaoTempos a(100, 130, {}, true);
    EXPECT_EQ(a.tempoProduto("P1", "02"), nullptr);
    a.guardarTempoProduto("P1", "02", 1.5);
    a.guardarTempoProduto("P1", "03", 0);
    ASSERT_NE(a.tempoProduto("P1", "02"), nullptr);
    EXPECT_EQ(*a.tempoProduto("P1", "02"), 1.5);
    EXPECT_EQ(*a.tempoProduto("P1", "03"), 0);
    EXPECT_EQ(a.tempoProduto("P2", "02"), nullptr);
}

} // namespace
