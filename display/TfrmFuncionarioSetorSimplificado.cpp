#include "display/TfrmFuncionarioSetorSimplificado.h"

#include "display/Colunas.h"
#include "display/Screen.h"
#include "display/TFuncionario.h"

#include <QFontMetrics>
#include <QLabel>

#include <cmath>

TfrmFuncionarioSetorSimplificado::TfrmFuncionarioSetorSimplificado(QWidget* parent, bool layoutSimplificado)
    : TfrmfuncionarioSetorBase(parent)
{
    setObjectName(layoutSimplificado ? QStringLiteral("frmFuncionarioSetorSimplificado")
                                     : QStringLiteral("frmFuncionarioSetorCompleto"));
    resize(1640, 147);
    const float f = displayScaleFactor();
    const Colunas& c = colunas(layoutSimplificado);
    const int nameSize = c.escalaNome ? scaled(c.pontosNome, f) : c.pontosNome;
    FNomeCresce = c.escalaNome;
    const int percentSize = scaled(90, f);

    lblRank->setFont(fontPt(QStringLiteral("Arial"), nameSize, true));
    lblRank->setGeometry(0, 0, c.larguraRank, c.escalaNome ? scaledSize(c.alturaRank, f) : c.alturaRank);
    lblNome->setFont(fontPt(QStringLiteral("Arial"), nameSize, true));
    lblNome->move(c.xNome, 0);
    lblNome->adjustSize();

    fundoDia = new FundoMeta(this);
    fundoMes = new FundoMeta(this);
    auto percent = [&](const char* name, int left) {
        auto* label = new QLabel(QStringLiteral("0%"), this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(fontPt(QStringLiteral("Arial"), percentSize, true));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        setTextColor(label, Qt::black);
        label->setGeometry(scaled(left, f), 17, scaledSize(c.largura, f), scaledSize(139, f));
        return label;
    };
    lblDia = percent("lblDia", c.xDiario);
    lblMes = percent("lblMes", c.xMensal);
    FAjustePercentual = scaledSize(c.ajustePercentual, f);
    FFontePercentual = FFonteDesenho = lblDia->font();
    FLargura = scaledSize(c.largura, f);
    FXDia = lblDia->x();
    FXMes = lblMes->x();
    Redimensionar();
}

int TfrmFuncionarioSetorSimplificado::larguraNome() const
{
    // Up to the daily column, less the half gap a wide percentage may take.
    const int gap = std::max(0, FXMes - FXDia - FLargura);
    const int ate = FXDia - gap / 2 - lblNome->x() - 10;
    if (!FMeta)
        return ate;
    // With a target, up to where the widest chip may reach, and a clear gap.
    const int largura = QFontMetrics(FFontePercentual).horizontalAdvance(FundoMeta::maiorTexto());
    const int chip = FXDia + FLargura / 2 - largura / 2 - FundoMeta::alcance(FFontePercentual).esquerda;
    return std::min(ate, chip - folgaChips() - lblNome->x());
}

int TfrmFuncionarioSetorSimplificado::folgaChips() const
{
    return std::max(8, QFontMetrics(FFontePercentual).capHeight() / 3);
}

void TfrmFuncionarioSetorSimplificado::ajustarFontePercentual()
{
    // With a target, the figures are drawn small enough that two of the
    // widest chips side by side keep a clear gap between them.
    QFont fonte = FFonteDesenho;
    if (FMeta) {
        const int minimo = fonte.pixelSize() * 6 / 10;
        auto cabem = [&](const QFont& f) {
            const int largura = QFontMetrics(f).horizontalAdvance(FundoMeta::maiorTexto());
            const FundoMeta::Alcance a = FundoMeta::alcance(f);
            const int folga = std::max(8, QFontMetrics(f).capHeight() / 3);
            return FXMes - FXDia >= largura + a.esquerda + a.direita + folga;
        };
        while (fonte.pixelSize() > minimo && !cabem(fonte))
            fonte.setPixelSize(fonte.pixelSize() - 1);
    }
    FFontePercentual = fonte;
}

void TfrmFuncionarioSetorSimplificado::Redimensionar()
{
    TfrmfuncionarioSetorBase::Redimensionar();
    // The percentages stand on the line of the name: centred in the row as
    // it is, a little low, as the designed row has them (17 px down in 158).
    for (QLabel* l : {lblDia, lblMes})
        l->move(l->x(), (height() - l->height() + FAjustePercentual) / 2);
    marcarMeta();
}

std::optional<long long> TfrmFuncionarioSetorSimplificado::percentual(double value, double maximum)
{
    const double v = 100 * value / maximum;
    if (!std::isfinite(v))
        return std::nullopt;
    return std::llround(v);
}

QString TfrmFuncionarioSetorSimplificado::formatPercent(double value, double maximum)
{
    const std::optional<long long> p = percentual(value, maximum);
    return p ? QString::number(*p) + QLatin1Char('%') : QStringLiteral("0%");
}

void TfrmFuncionarioSetorSimplificado::setCor(const QColor& color)
{
    setBackground(color);
    FCorTexto = textoSobre(color);
    for (QLabel* l : {lblRank, lblNome, lblDia, lblMes})
        setTextColor(l, FCorTexto);
    marcarMeta();
}

void TfrmFuncionarioSetorSimplificado::setApagado(bool v)
{
    if (FApagado == v)
        return;
    FApagado = v;
    marcarMeta();
}

void TfrmFuncionarioSetorSimplificado::setMeta(std::optional<double> meta)
{
    FMeta = meta;
    ajustarFontePercentual();
    if (FFuncionario)
        UPdate();
    Redimensionar();
}

void TfrmFuncionarioSetorSimplificado::marcarMeta()
{
    // Each percentage in its class's colours on its chip; as designed
    // without a target or without a record; grey when old.
    // On the band (a title row) grey text stays readable on its grey.
    const QColor apagada = FTitulo ? QColor(0x40, 0x40, 0x40) : QColor(0x66, 0x66, 0x66);
    if (!FMeta && !fundoDia->isVisibleTo(this) && !fundoMes->isVisibleTo(this)) {
        for (QLabel* l : {lblDia, lblMes})
            setTextColor(l, FApagado ? apagada : FCorTexto);
        return;
    }
    const bool visivel = FFuncionario && ExibirConteudo();
    marcarPercentual(*lblDia, *fundoDia,
                     visivel ? percentual(FFuncionario->ValorDiario(), FFuncionario->MaximoDiario()) : std::nullopt,
                     FMeta, FCorTexto, FApagado, apagada);
    marcarPercentual(*lblMes, *fundoMes,
                     visivel ? percentual(FFuncionario->ValorMensal(), FFuncionario->MaximoMensal()) : std::nullopt,
                     FMeta, FCorTexto, FApagado, apagada);
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
    marcarMeta();
    if (FTitulo)
        lblRank->setVisible(false);
}

void TfrmFuncionarioSetorSimplificado::UPdate()
{
    if (!FFuncionario)
        return;
    colocarPercentual(lblDia, FXDia, formatPercent(FFuncionario->ValorDiario(), FFuncionario->MaximoDiario()));
    colocarPercentual(lblMes, FXMes, formatPercent(FFuncionario->ValorMensal(), FFuncionario->MaximoMensal()));
    marcarMeta();
}

void TfrmFuncionarioSetorSimplificado::colocarPercentual(QLabel* label, int x, const QString& texto)
{
    // A percentage that fits its column is shown as designed. A wider one
    // may take the gap to the next column too, its box growing around the
    // column's centre; past that it is drawn smaller, or elided.
    if (label->font().pixelSize() != FFontePercentual.pixelSize())
        label->setFont(FFontePercentual);
    if (label->x() != x || label->width() != FLargura)
        label->setGeometry(x, label->y(), FLargura, label->height());
    if (label->fontMetrics().horizontalAdvance(texto) <= FLargura) {
        label->setText(texto);
        return;
    }
    const int gap = std::max(0, FXMes - FXDia - FLargura);
    setFittedText(label, texto, FLargura + gap);
    const int advance = label->fontMetrics().horizontalAdvance(label->text());
    int extra = std::max(0, advance - FLargura);
    extra += extra % 2;
    label->setGeometry(x - extra / 2, label->y(), FLargura + extra, label->height());
}
