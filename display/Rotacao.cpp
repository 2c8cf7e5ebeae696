#include "display/Rotacao.h"

#include <algorithm>
#include <utility>

int Rotacao::paginasResumo() const
{
    if (porResumo_ <= 0 || setores() == 0)
        return 0;
    return (setores() + porResumo_ - 1) / porResumo_;
}

int Rotacao::tempoPagina(int) const
{
    return tempoTroca_;
}

void Rotacao::setResumo(int setoresPorResumo)
{
    if (setoresPorResumo == porResumo_)
        return;
    const QString codigo = codigoAtual();
    const bool resumo = atual_ >= 0 && atual_ < paginasResumo();
    porResumo_ = setoresPorResumo;
    reposicionar(resumo, codigo);
}

void Rotacao::carregar(Figuras figuras)
{
    const QString codigo = codigoAtual();
    const bool resumo = atual_ >= 0 && atual_ < paginasResumo();
    figuras_ = std::move(figuras);
    reposicionar(resumo, codigo);
}

void Rotacao::reposicionar(bool resumo, const QString& codigo)
{
    const int antes = atual_;
    atual_ = -1;
    proximo_ = 0;
    if (resumo) {
        // An overview page stays on show (the last one, should there now be
        // fewer); the next page follows it. Without an overview any more,
        // the next page is the first sector.
        if (paginasResumo() > 0) {
            atual_ = std::min(antes, paginasResumo() - 1);
            proximo_ = atual_ + 1;
        }
        return;
    }
    if (codigo.isEmpty())
        return;
    for (int i = 0; i < setores(); ++i)
        if (figuras_.setores[size_t(i)].codigo == codigo) {
            // Still on show, now with the new figures or pages.
            atual_ = paginasResumo() + i;
            proximo_ = atual_ + 1;
            return;
        }
}

PaginaRotacao Rotacao::pagina(int posicao) const
{
    PaginaRotacao p;
    const int resumos = paginasResumo();
    if (posicao >= resumos) {
        p.setor = &figuras_.setores[size_t(posicao - resumos)];
        return p;
    }
    p.paginaResumo = posicao;
    p.paginasResumo = resumos;
    const int inicio = posicao * porResumo_;
    for (int i = inicio; i < std::min(setores(), inicio + porResumo_); ++i)
        p.resumo.push_back(&figuras_.setores[size_t(i)]);
    return p;
}

std::optional<PaginaRotacao> Rotacao::proxima()
{
    if (proximo_ >= paginas())
        return std::nullopt;
    atual_ = proximo_++;
    return pagina(atual_);
}

void Rotacao::parar()
{
    atual_ = -1;
    proximo_ = 0;
}

std::optional<PaginaRotacao> Rotacao::atual() const
{
    if (atual_ < 0 || atual_ >= paginas())
        return std::nullopt;
    return pagina(atual_);
}

QString Rotacao::codigoAtual() const
{
    const std::optional<PaginaRotacao> p = atual();
    return p && p->setor ? p->setor->codigo : QString();
}
