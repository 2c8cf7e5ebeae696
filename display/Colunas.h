#pragma once

// The sector page's columns as designed (in design pixels of a 1920-wide
// screen, scaled with the screen where the page scales them): where the
// rank, the name and the two percentages stand, and how many employee rows
// a page holds, for each layout. The headings and both row kinds take their
// places from here.
struct Colunas {
    int larguraRank; // the rank's box, from the left edge
    int xNome;       // the name's left edge
    int xDiario;     // the daily percentage's column
    int xMensal;     // the monthly percentage's column
    int largura;     // each percentage column's width
    int linhasPorPagina;
};

inline const Colunas& colunas(bool simplificado)
{
    static constexpr Colunas kSimplificado{153, 170, 1036, 1450, 370, 5};
    static constexpr Colunas kCompleto{100, 124, 708, 1203, 370, 3};
    return simplificado ? kSimplificado : kCompleto;
}
