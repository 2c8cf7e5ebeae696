#include "display/TfrmFuncionarioSetorCompleto.h"

#include "display/Colunas.h"
#include "display/Screen.h"

#include <QLabel>

TfrmFuncionarioSetorCompleto::TfrmFuncionarioSetorCompleto(QWidget* parent) : TfrmFuncionarioSetorSimplificado(parent)
{
    setObjectName(QStringLiteral("frmFuncionarioSetorCompleto"));
    const float f = displayScaleFactor();
    lblRank->setFont(fontPt(QStringLiteral("Arial"), 24, true));
    const Colunas& c = colunas(false);
    lblRank->setGeometry(0, 0, c.larguraRank, 38);
    lblNome->setFont(fontPt(QStringLiteral("Arial"), 24, true));
    lblNome->move(c.xNome, 0);
    lblNome->adjustSize();
    lblDia->move(scaled(c.xDiario, f), lblDia->y());
    lblMes->move(scaled(c.xMensal, f), lblMes->y());
    setColunas(lblDia->x(), lblMes->x());
    Redimensionar();
}

void TfrmFuncionarioSetorCompleto::Redimensionar()
{
    TfrmFuncionarioSetorSimplificado::Redimensionar();
    // Centred in the row.
    lblDia->move(lblDia->x(), (height() - lblDia->height()) / 2);
    lblMes->move(lblMes->x(), (height() - lblMes->height()) / 2);
    marcarMeta();
}
