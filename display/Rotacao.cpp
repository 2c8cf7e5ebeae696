#include "display/Rotacao.h"

#include <utility>

void Rotacao::carregar(Figuras figuras)
{
    const QString codigo = codigoAtual();
    figuras_ = std::move(figuras);
    atual_ = -1;
    proximo_ = 0;
    if (codigo.isEmpty())
        return;
    for (int i = 0; i < setores(); ++i)
        if (figuras_.setores[size_t(i)].codigo == codigo) {
            // Still on show, now with the new figures.
            atual_ = i;
            proximo_ = i + 1;
            return;
        }
}

const PaginaSetor* Rotacao::proxima()
{
    if (proximo_ >= setores())
        return nullptr;
    atual_ = proximo_++;
    return &figuras_.setores[size_t(atual_)];
}

void Rotacao::parar()
{
    atual_ = -1;
    proximo_ = 0;
}

const PaginaSetor* Rotacao::atual() const
{
    return atual_ >= 0 && atual_ < setores() ? &figuras_.setores[size_t(atual_)] : nullptr;
}

QString Rotacao::codigoAtual() const
{
    const PaginaSetor* p = atual();
    return p ? p->codigo : QString();
}
