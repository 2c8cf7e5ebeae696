#include "display/TfrmFuncionarioSetorSimplificado.h"

#include "display/Screen.h"
#include "display/TFuncionario.h"

#include <QLabel>

#include <cmath>

TfrmFuncionarioSetorSimplificado::TfrmFuncionarioSetorSimplificado(QWidget* parent)
    : TfrmfuncionarioSetorBase(parent)
{
    setObjectName(QStringLiteral("frmFuncionarioSetorSimplificado"));
    resize(1640, 147);
    const float f = scaleFactor(screenWidth());
    const int nameSize = scaled(48, f);
    const int percentSize = scaled(90, f);

    lblRank->setFont(fontPt(QStringLiteral("Arial"), nameSize, true));
    lblRank->setGeometry(0, 0, 153, 72);
    lblNome->setFont(fontPt(QStringLiteral("Arial"), nameSize, true));
    lblNome->move(170, 0);
    lblNome->adjustSize();

    auto percent = [&](const char* name, int left) {
        auto* label = new QLabel(QStringLiteral("0%"), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(fontPt(QStringLiteral("Arial"), percentSize, true));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        setTextColor(label, Qt::black);
        label->setGeometry(scaled(left, f), 17, 370, 139);
        return label;
    };
    lblDia = percent("lblDia", 1036);
    lblMes = percent("lblMes", 1450);
    Redimensionar();
}

QString TfrmFuncionarioSetorSimplificado::formatPercent(double value, double maximum)
{
    const double v = 100 * value / maximum;
    if (!std::isfinite(v))
        return QStringLiteral("0%");
    return QString::number(std::llround(v)) + QLatin1Char('%');
}

void TfrmFuncionarioSetorSimplificado::setFuncionario(TFuncionario* v)
{
    TfrmfuncionarioSetorBase::setFuncionario(v);
    UPdate();
}

void TfrmFuncionarioSetorSimplificado::setExibirConteudo(bool v)
{
    TfrmfuncionarioSetorBase::setExibirConteudo(v);
    lblDia->setVisible(v);
    lblMes->setVisible(v);
    if (FTitulo)
        lblRank->setVisible(false);
}

void TfrmFuncionarioSetorSimplificado::UPdate()
{
    if (!FFuncionario)
        return;
    lblDia->setText(formatPercent(FFuncionario->ValorDiario(), FFuncionario->MaximoDiario()));
    lblMes->setText(formatPercent(FFuncionario->ValorMensal(), FFuncionario->MaximoMensal()));
}
