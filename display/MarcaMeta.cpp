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
        return {QColor(0x1B, 0x6E, 0x2F), Qt::white, QStringLiteral("▲")};
    case ClasseMeta::Perto:
        return {QColor(0xFF, 0xC4, 0x0C), Qt::black, QStringLiteral("►")};
    case ClasseMeta::Abaixo:
        return {QColor(0xB7, 0x1C, 0x1C), Qt::white, QStringLiteral("▼")};
    case ClasseMeta::Nenhuma:
        break;
    }
    return {QColor(), Qt::black, QString()};
}

ClasseMeta marcarPercentual(QLabel& label, FundoMeta& fundo, std::optional<long long> percentual,
                            std::optional<double> meta)
{
    const ClasseMeta c = percentual ? classeMeta(*percentual, meta) : ClasseMeta::Nenhuma;
    fundo.cobrir(label, label.font(), label.text(), c);
    setTextColor(&label, c == ClasseMeta::Nenhuma ? QColor(Qt::black) : estiloMeta(c).texto);
    return c;
}

FundoMeta::FundoMeta(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void FundoMeta::cobrir(const QWidget& label, const QFont& fonte, const QString& texto, ClasseMeta c)
{
    classe_ = c;
    if (c == ClasseMeta::Nenhuma || texto.isEmpty()) {
        hide();
        return;
    }
    const QFontMetrics fm(fonte);
    const int largura = fm.horizontalAdvance(texto);
    const int altura = fm.capHeight();
    const int folga = std::max(4, altura / 5);
    margemMarca_ = altura * 3 / 4 + folga;
    const int x = label.x() + (label.width() - largura) / 2 - folga - margemMarca_;
    const int y = label.y() + fm.ascent() - altura - folga;
    setGeometry(x, y, largura + 2 * folga + margemMarca_, altura + 2 * folga);
    stackUnder(const_cast<QWidget*>(&label));
    show();
    update();
}

void FundoMeta::paintEvent(QPaintEvent*)
{
    const EstiloMeta e = estiloMeta(classe_);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal raio = height() / 5.0;
    const qreal borda = std::max(2.0, height() / 30.0);
    p.setPen(QPen(Qt::white, borda));
    p.setBrush(e.fundo);
    p.drawRoundedRect(QRectF(rect()).adjusted(borda / 2, borda / 2, -borda / 2, -borda / 2), raio, raio);
    QFont marca = font();
    marca.setPixelSize(std::max(6, height() * 2 / 5));
    p.setFont(marca);
    p.setPen(e.texto);
    p.drawText(QRect(0, 0, margemMarca_ + height() / 8, height()), Qt::AlignCenter, e.marca);
}
