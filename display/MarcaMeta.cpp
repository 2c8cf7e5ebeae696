#include "display/MarcaMeta.h"

#include "display/Screen.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

ClasseMeta classeMeta(long long percentual, std::optional<double> meta)
{
    if (!meta)
        return ClasseMeta::Nenhuma;
    if (double(percentual) >= *meta)
        return ClasseMeta::Acima;
    if (double(percentual) >= *meta - 10)
        return ClasseMeta::Perto;
    return ClasseMeta::Abaixo;
}

QString nomeClasseMeta(ClasseMeta c)
{
    switch (c) {
    case ClasseMeta::Acima:
        return QStringLiteral("acima");
    case ClasseMeta::Perto:
        return QStringLiteral("perto");
    case ClasseMeta::Abaixo:
        return QStringLiteral("abaixo");
    case ClasseMeta::Nenhuma:
        break;
    }
    return {};
}

EstiloMeta estiloMeta(ClasseMeta c)
{
    switch (c) {
    case ClasseMeta::Acima:
        return {QColor(0x9B, 0xE3, 0x9B), Qt::black, QStringLiteral("▲")};
    case ClasseMeta::Perto:
        return {QColor(0xD9, 0x8A, 0x00), Qt::black, QStringLiteral("►")};
    case ClasseMeta::Abaixo:
        return {QColor(0x8E, 0x1B, 0x1B), Qt::white, QStringLiteral("▼")};
    case ClasseMeta::Nenhuma:
        break;
    }
    return {QColor(), Qt::black, QString()};
}

EstiloMeta estiloApagado(ClasseMeta c)
{
    return {QColor(0xBD, 0xBD, 0xBD), QColor(0x40, 0x40, 0x40), estiloMeta(c).marca};
}

ClasseMeta marcarPercentual(QLabel& label, FundoMeta& fundo, std::optional<long long> percentual,
                            std::optional<double> meta, const QColor& semClasse, bool apagado,
                            const QColor& apagadoSemClasse)
{
    const ClasseMeta c = percentual ? classeMeta(*percentual, meta) : ClasseMeta::Nenhuma;
    fundo.cobrir(label, label.font(), label.text(), c, apagado);
    if (c == ClasseMeta::Nenhuma)
        setTextColor(&label, apagado ? apagadoSemClasse : semClasse);
    else
        setTextColor(&label, (apagado ? estiloApagado(c) : estiloMeta(c)).texto);
    return c;
}

FundoMeta::FundoMeta(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void FundoMeta::cobrir(const QWidget& label, const QFont& fonte, const QString& texto, ClasseMeta c, bool apagado)
{
    classe_ = c;
    apagado_ = apagado;
    if (c == ClasseMeta::Nenhuma || texto.isEmpty()) {
        hide();
        return;
    }
    const QFontMetrics fm(fonte);
    const int largura = fm.horizontalAdvance(texto);
    const int altura = fm.capHeight();
    const Alcance a = alcance(fonte);
    const int folga = a.direita;
    margemMarca_ = a.esquerda - folga;
    const int x = label.x() + (label.width() - largura) / 2 - a.esquerda;
    const int y = label.y() + fm.ascent() - altura - folga;
    setGeometry(x, y, largura + a.esquerda + a.direita, altura + 2 * folga);
    stackUnder(const_cast<QWidget*>(&label));
    show();
    update();
}

FundoMeta::Alcance FundoMeta::alcance(const QFont& fonte)
{
    const int altura = QFontMetrics(fonte).capHeight();
    const int folga = std::max(4, altura / 5);
    return {altura * 3 / 4 + 2 * folga, folga};
}

void FundoMeta::paintEvent(QPaintEvent*)
{
    const EstiloMeta e = apagado_ ? estiloApagado(classe_) : estiloMeta(classe_);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal raio = height() / 5.0;
    const qreal borda = std::max(2.0, height() / 30.0);
    const QRectF caixa = QRectF(rect()).adjusted(borda / 2, borda / 2, -borda / 2, -borda / 2);
    p.setPen(QPen(Qt::white, borda));
    p.setBrush(e.fundo);
    p.drawRoundedRect(caixa, raio, raio);
    if (apagado_) {
        // Hatched: old, at a glance.
        p.setPen(Qt::NoPen);
        p.setBrush(QBrush(QColor(0x9A, 0x9A, 0x9A), Qt::BDiagPattern));
        p.drawRoundedRect(caixa, raio, raio);
    }
    QFont marca = font();
    marca.setPixelSize(std::max(6, height() * 2 / 5));
    p.setFont(marca);
    p.setPen(e.texto);
    p.drawText(QRect(0, 0, margemMarca_ + height() / 8, height()), Qt::AlignCenter, e.marca);
}
