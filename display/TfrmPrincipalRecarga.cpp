// The main window's part of a reload: settings read again while it runs.
#include "display/TfrmPrincipal.h"

#include "app/TdmPrinc.h"
#include "display/TfrmRelatorio.h"
#include "display/TfrmResumo.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

void TfrmPrincipal::aplicarConfiguracoes(bool exibicao, std::function<void()> antesDaGeracao, bool outroBanco)
{
    FCiclo->reconfigurar(configCiclo(FPrinc), std::move(antesDaGeracao), outroBanco);
    if (!exibicao)
        return;
    FRefazer = true;
    QTimer* trocaPagina = trocaEmExibicao();
    if (!trocaPagina) {
        // No page on show: the clock at once, the pages when one shows.
        refazerPaginas();
        return;
    }
    const int restante = trocaPagina->isActive() ? trocaPagina->remainingTime() : -1;
    trocaPagina->stop();
    if (FCiclo->trocaParada()) {
        virarPagina(true);
        return;
    }
    const int novo = FCiclo->rotacao().tempoPagina(linhasEmExibicao());
    FVirada->start(restante < 0 ? novo : std::min(restante, novo));
}

int TfrmPrincipal::linhasEmExibicao() const
{
    if (FResumo && FResumo->isVisibleTo(this)) {
        int n = 0;
        for (const TfrmResumo::Linha& l : FResumo->linhasMostradas())
            n += l.codigo.isEmpty() ? 0 : 1;
        return n;
    }
    return FRelatorio ? FRelatorio->LinhasPagina(FRelatorio->PaginaAtual()) : 0;
}

QTimer* TfrmPrincipal::trocaEmExibicao() const
{
    if (FCiclo->estado() != CicloIndicador::Estado::Rotacao)
        return nullptr;
    if (FResumo && FResumo->isVisibleTo(this))
        return FResumo->trocaPagina;
    if (FRelatorio && FRelatorio->isVisibleTo(this))
        return FRelatorio->trocaPagina;
    return nullptr;
}

void TfrmPrincipal::virarPagina(bool mesma)
{
    FVirada->stop();
    if (FCiclo->estado() != CicloIndicador::Estado::Rotacao)
        return;
    const std::optional<PaginaRotacao> p = FCiclo->rotacao().atual();
    if (p && p->setor && FRelatorio && FRelatorio->isVisibleTo(this)) {
        // A sector of several pages goes on from the page after the one on
        // show, in a page made with the new settings.
        const int proxima = FRelatorio->PaginaAtual() + (mesma ? 0 : 1);
        if (mesma || proxima < FRelatorio->Paginas()) {
            mostrarPagina(*p->setor);
            if (proxima > 0 && proxima < FRelatorio->Paginas())
                FRelatorio->setPaginaAtual(proxima);
            return;
        }
    } else if (p && mesma) {
        p->setor ? mostrarPagina(*p->setor) : mostrarResumo(*p);
        return;
    }
    fimDaPagina();
}

void TfrmPrincipal::refazerPaginas()
{
    FVirada->stop();
    if (!std::exchange(FRefazer, false))
        return;
    // The page widgets hold the layout, the page time and the target they
    // were made with.
    delete FRelatorio.data();
    delete FResumo.data();
    lblRelogio->setVisible(FPrinc.Relogio());
    if (FPrinc.Relogio()) {
        atualizarRelogio();
        FRelogio->start();
    } else {
        FRelogio->stop();
    }
    layoutChildren();
}
