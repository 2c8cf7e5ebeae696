#pragma once

// The sector page's columns and rows as designed (in design pixels of a
// 1920-wide screen, scaled with the screen where the page scales them):
// where the rank, the name and the two percentages stand, how large rank and
// name are drawn, and how many employee rows a page holds, for each layout.
// The headings and the rows of both layouts take their places from here.
struct Colunas {
    int larguraRank; // the rank's box, from the left edge
    int xNome;       // the name's left edge
    int xDiario;     // the daily percentage's column
    int xMensal;     // the monthly percentage's column
    int largura;     // each percentage column's width
    int linhasPorPagina;
    int pontosNome;       // rank and name, in points
    bool escalaNome;      // whether rank and name grow with the screen
    int alturaRank;       // the rank's box height
    int ajustePercentual; // the percentages stand this much below the row's centre, twice over
};

inline const Colunas& colunas(bool simplificado)
{
    static constexpr Colunas kSimplificado{153, 170, 1036, 1450, 370, 5, 48, true, 72, 15};
    static constexpr Colunas kCompleto{100, 124, 708, 1203, 370, 3, 24, false, 38, 0};
    return simplificado ? kSimplificado : kCompleto;
}
