// The employee filter setting as the sector pages compile it, and what the
// technician is told when it does not compile.
#include "app/FiltroFuncionarios.h"

#include "app/Figuras.h"
#include "calc/TdmMarvessa.h"

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
        // A character beyond the first plane: named whole, in Portuguese.
        {"\xf3\xb9\xaa\xa1", "posição 1: caractere inesperado '\xf3\xb9\xaa\xa1'"},
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

namespace {

// A calculation of three employees: 001 and 002 with figures of the reading
// day in sector 02, 003 with figures of an earlier day only, in sector 03.
void calcular(TdmMarvessa& dm)
{
    const double dia = 46331;
    dm.setDataLeitura(dia);
    for (WorkTable* t : {&dm.cdsTempoSetor, &dm.cdsSetores, &dm.cdsSetorFunc})
        dm.LimparCds(*t);
    struct Row {
        double data;
        const char *setor, *func;
        double tempo;
    };
    for (const Row& r : {Row{dia, "02", "001", 25920}, Row{dia, "02", "002", 28800}, Row{dia - 2, "03", "003", 14400}}) {
        dm.cdsTempoSetor.append();
        dm.cdsTempoSetorDATA->setAsDateTime(r.data);
        dm.cdsTempoSetorSETOR->setAsString(r.setor);
        dm.cdsTempoSetorNOME_SETOR->setAsString(QStringLiteral("Setor ") + r.setor);
        dm.cdsTempoSetorFUNCIONARIO->setAsString(r.func);
        dm.cdsTempoSetorNOME_FUNCIONARIO->setAsString(QStringLiteral("Func ") + r.func);
        dm.cdsTempoSetorTEMPO_TOT->setAsFloat(r.tempo);
        dm.cdsTempoSetorMINUTOS_EXPEDIENTE->setAsInteger(480);
        dm.cdsTempoSetorQTDE_FUNCIONARIOS->setAsInteger(1);
        dm.cdsTempoSetorQTDE_FUNCIONARIOS_HE->setAsInteger(0);
        dm.cdsTempoSetor.post();
    }
    dm.CalcularEficiencia();
}

QStringList paginas(const Figuras& f)
{
    QStringList out;
    for (const PaginaSetor& p : f.setores) {
        QString linha = p.codigo + ":";
        for (const LinhaSetorFuncionario& l : p.funcionarios)
            linha += QStringLiteral(" %1 %2/%3").arg(l.nomeFuncionario).arg(l.mediaEficiencia.value_or(0)).arg(l.mediaEficienciaMes);
        out << linha;
    }
    return out;
}

} // namespace

// The pages come from the run's rows: a row without a figure of the reading
// day is empty to the filter (IS NULL) and 0 on the page, and codes of a
// numeric column match the settings' codes by value.
TEST(FiltroFuncionarios, ThePagesTakeTheRunsRowsThroughTheSectorListAndTheFilter)
{
    TdmMarvessa dm;
    calcular(dm);
    const std::vector<LinhaSetorFuncionario> linhas = dm.LinhasSetorFuncionario();
    ASSERT_EQ(linhas.size(), 3u);
    EXPECT_DOUBLE_EQ(*linhas[0].mediaEficiencia, 90);
    EXPECT_FALSE(linhas[2].mediaEficiencia.has_value());
    EXPECT_EQ(linhas[2].qtdeEficienciaMes, 1);

    struct Case {
        const char *setores, *funcionarios;
        bool porValor;
        QStringList esperado;
    };
    const Case cases[] = {
        {"'02','03'", "", false, {"02: Func 001 90/90 Func 002 100/100", "03: Func 003 0/50"}},
        {"'03'", "", false, {"03: Func 003 0/50"}},
        {"'02','03'", " and (MEDIA_EFICIENCIA IS NULL", false, {"02:", "03: Func 003 0/50"}},
        {"'02'", " and (QTDE_EFICIENCIA_MES = 1 and NOME_FUNCIONARIO <> 'Func 001'", false, {"02: Func 002 100/100"}},
        // As text, '2' is not '02' and '1' is not '001'; by value they are.
        {"'2','3'", " and (FUNCIONARIO IN ('1','3')", false, {}},
        {"'2','3'", " and (FUNCIONARIO IN ('1','3')", true, {"02: Func 001 90/90", "03: Func 003 0/50"}},
    };
    for (const Case& c : cases) {
        dm.setCodigosNumericos(c.porValor, c.porValor);
        EXPECT_EQ(paginas(lerFiguras(dm, c.setores, c.funcionarios)), c.esperado) << c.setores << c.funcionarios;
    }
}
