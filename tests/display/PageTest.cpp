#include "display/Screen.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmRelatorio.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TFuncionario* employee(const QString& nome, double diario, double mensal = 0)
{
    auto* f = new TFuncionario;
    f->setNome(nome);
    f->setValorDiario(diario);
    f->setValorMensal(mensal);
    return f;
}

void fill(TfrmRelatorio& page, int n)
{
    page.Clear();
    for (int i = 0; i < n; ++i)
        page.AddFuncionario(employee(QStringLiteral("F%1").arg(i), 100 - i));
}

} // namespace

TEST(Page, RankedInsertKeepsArrivalOrderAmongEquals)
{
    TfrmRelatorio page(true, 1000);
    page.AddFuncionario(employee("a", 80));
    page.AddFuncionario(employee("b", 90));
    page.AddFuncionario(employee("c", 90));
    page.AddFuncionario(employee("d", 70));
    QStringList order;
    for (const auto& f : page.Funcionarios())
        order << QStringLiteral("%1:%2").arg(f->Nome()).arg(f->Rank());
    EXPECT_EQ(order, QStringList({"b:1", "c:2", "a:3", "d:4"}));
}

TEST(Page, PagesOfFiveInTheSimplifiedLayout)
{
    TfrmRelatorio page(true, 1000);
    page.resize(1920, 997);
    struct Case {
        int employees, pages;
    };
    for (Case c : {Case{0, 0}, Case{5, 1}, Case{6, 2}, Case{12, 3}}) {
        fill(page, c.employees);
        EXPECT_EQ(page.Paginas(), c.pages) << c.employees;
    }
    fill(page, 6);
    page.ExibirPagina(1);
    EXPECT_TRUE(page.linhas[0]->ExibirConteudo());
    EXPECT_EQ(page.linhas[0]->lblNome->text(), "F5");
    for (int i = 1; i < 5; ++i)
        EXPECT_FALSE(page.linhas[i]->ExibirConteudo());
    fill(page, 12);
    page.ExibirPagina(2);
    EXPECT_EQ(page.linhas[1]->lblRank->text(), "012");
    EXPECT_FALSE(page.linhas[2]->ExibirConteudo());

    TfrmRelatorio full(false, 1000);
    fill(full, 7);
    EXPECT_EQ(full.FuncionariosPorPagina(), 3);
    EXPECT_EQ(full.Paginas(), 3);
}

TEST(Page, TimerTurnsPagesThenHandsOver)
{
    TfrmRelatorio page(true, 20);
    fill(page, 12);
    int handedOver = 0;
    page.onFimSetor = [&] { ++handedOver; };
    page.setPaginaAtual(0);
    EXPECT_TRUE(page.trocaPagina->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(handedOver, 1, 5000);
    EXPECT_EQ(page.PaginaAtual(), 2);
    EXPECT_FALSE(page.trocaPagina->isActive());

    // No employees: the first tick hands over.
    fill(page, 0);
    page.setPaginaAtual(0);
    QTRY_COMPARE_WITH_TIMEOUT(handedOver, 2, 5000);
}

TEST(Page, EachPageAsksHowLongItShowsByItsRows)
{
    // 12 employees in pages of five: 5, 5 and 2 rows. A page time that
    // grows with the rows is the rotation's to decide; the page asks it
    // for every page it shows.
    TfrmRelatorio page(true, 1000);
    fill(page, 12);
    QList<int> pedidos;
    page.tempoPagina = [&](int linhas) {
        pedidos << linhas;
        return 100 * linhas;
    };
    struct Case {
        int pagina, linhas, intervalo;
    };
    for (Case c : {Case{0, 5, 500}, Case{1, 5, 500}, Case{2, 2, 200}}) {
        page.setPaginaAtual(c.pagina);
        EXPECT_EQ(page.LinhasPagina(c.pagina), c.linhas);
        EXPECT_EQ(page.trocaPagina->interval(), c.intervalo) << c.pagina;
        EXPECT_TRUE(page.trocaPagina->isActive());
    }
    EXPECT_EQ(pedidos, QList<int>({5, 5, 2}));
    EXPECT_EQ(page.LinhasPagina(3), 0);

    // A page the rotation holds still (0) stops the timer from starting.
    page.trocaPagina->stop();
    page.tempoPagina = [](int) { return 0; };
    page.setPaginaAtual(0);
    EXPECT_FALSE(page.trocaPagina->isActive());
}

TEST(Page, ZeroIntervalNeverStartsTheTimer)
{
    TfrmRelatorio page(true, 0);
    fill(page, 12);
    page.setPaginaAtual(0);
    EXPECT_FALSE(page.trocaPagina->isActive());
}

TEST(Page, PaletteEntryFromTheSectorOrder)
{
    TfrmRelatorio page(true, 1000);
    ASSERT_EQ(page.Cores().size(), 15);
    struct Case {
        int ordem, entry;
    };
    for (Case c : {Case{0, 0}, Case{14, 14}, Case{15, 0}, Case{16, 1}, Case{31, 1}, Case{-1, 14}, Case{-16, 14}}) {
        page.setOrdemSetor(c.ordem);
        EXPECT_EQ(page.OrdemSetor(), c.entry) << c.ordem;
        EXPECT_EQ(page.BarraTitulo->Inicio(), page.Cores()[c.entry].Inicio);
        EXPECT_EQ(page.BarraTitulo->Fim(), page.Cores()[c.entry].Fim);
    }
    page.setOrdemSetor(3);
    EXPECT_EQ(page.BarraTitulo->Inicio().name(), "#ffffff");
    EXPECT_EQ(page.BarraTitulo->Fim().name(), "#ff8080");
    EXPECT_EQ(page.faixaSetor->palette().color(QPalette::Window).name(), "#ff8080");
    EXPECT_EQ(page.lblDiario->palette().color(QPalette::WindowText).name(), "#000000");
}

TEST(Page, BandShowsTheSectorFigures)
{
    TfrmRelatorio page(true, 1000);
    EXPECT_EQ(page.faixaSetor->lblNome->text(), "Eficiência do setor");
    EXPECT_EQ(page.faixaSetor->lblDia->text(), "0%");
    page.AtualizarSetor(37.6, 41.2);
    EXPECT_EQ(page.faixaSetor->lblDia->text(), "38%");
    EXPECT_EQ(page.faixaSetor->lblMes->text(), "41%");
    EXPECT_FALSE(page.faixaSetor->lblRank->isVisibleTo(page.faixaSetor));
}

TEST(Page, RowHeightsSettleForEveryHeight)
{
    TfrmRelatorio page(true, 1000);
    page.show();
    for (int H : {952, 953, 957, 958, 600, 5}) {
        page.resize(1920, H + 45);
        const int h = H / 6;
        EXPECT_EQ(page.panelSetor->height(), h) << H;
        for (auto* row : page.linhas)
            EXPECT_EQ(row->height(), h) << H;
    }
    TfrmRelatorio full(false, 1000);
    full.show();
    full.resize(1920, 997);
    EXPECT_FALSE(full.panelSetor->isVisibleTo(&full));
    EXPECT_EQ(full.linhas[0]->height(), 952 / 3);
}

TEST(Page, HeadingsSitAtTheScaledLeftEdges)
{
    setScreenWidth(1366);
    TfrmRelatorio simple(true, 1000);
    EXPECT_EQ(simple.lblDiario->x(), 737);
    EXPECT_EQ(simple.lblMensal->x(), 1031);
    EXPECT_EQ(simple.lblDiario->font().pixelSize(), 23); // 17 pt
    TfrmRelatorio full(false, 1000);
    EXPECT_EQ(full.lblDiario->x(), 503);
    EXPECT_EQ(full.lblMensal->x(), 855);
    setScreenWidth(0);
}
