#include "display/GraficoTendencia.h"

#include "display/MarcaMeta.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kAzul(0x21, 0x60, 0xA8);

} // namespace

GraficoTendencia::GraficoTendencia(QWidget* parent, bool compacto) : QWidget(parent), compacto_(compacto)
{
    setObjectName(compacto ? QStringLiteral("tendenciaResumo") : QStringLiteral("tendencia"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GraficoTendencia::setDias(std::vector<std::optional<double>> dias, const QDate& ultimo)
{
    dias_ = std::move(dias);
    ultimo_ = ultimo;
    update();
}

void GraficoTendencia::setMeta(std::optional<double> meta)
{
    meta_ = meta;
    update();
}

void GraficoTendencia::setApagado(bool v)
{
    apagado_ = v;
    update();
}

QRect GraficoTendencia::coluna(int i) const
{
    const int n = std::max<int>(1, int(dias_.size()));
    const int margem = compacto_ ? 0 : height() / 8;
    const int largura = (width() - 2 * margem) / n;
    return {margem + i * largura, 0, largura, height()};
}

void GraficoTendencia::paintEvent(QPaintEvent*)
{
    if (dias_.empty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // Room for the figures above and the days below, in the full size.
    QFont fonte = font();
    fonte.setBold(true);
    // Three digits over a bar, two under it: as large as the bar's width lets them.
    fonte.setPixelSize(std::max(8, std::min(height() / 7, coluna(0).width() * 5 / 9)));
    p.setFont(fonte);
    const int texto = compacto_ ? 0 : QFontMetrics(fonte).height();
    const int topo = texto + 2, base = height() - texto - 2;
    const int alturaUtil = std::max(1, base - topo);
    // The scale: 0 at the base, the largest of 100, the target and the
    // days' figures at the top.
    double maximo = std::max(100.0, meta_.value_or(0));
    for (const auto& d : dias_)
        if (d && std::isfinite(*d))
            maximo = std::max(maximo, *d);
    auto altura = [&](double v) { return int(std::lround(std::clamp(v, 0.0, maximo) / maximo * alturaUtil)); };

    const int n = int(dias_.size());
    for (int i = 0; i < n; ++i) {
        const QRect c = coluna(i);
        const int folga = std::max(1, c.width() / 6);
        const QRect caixa(c.x() + folga / 2, topo, c.width() - folga, alturaUtil);
        const std::optional<double>& v = dias_[size_t(i)];
        const bool ultimo = i == n - 1;
        if (v && std::isfinite(*v)) {
            const std::optional<long long> inteiro = TfrmFuncionarioSetorSimplificado::percentual(*v, 100);
            const ClasseMeta classe = inteiro ? classeMeta(*inteiro, meta_) : ClasseMeta::Nenhuma;
            const QColor cor = apagado_ ? estiloApagado(classe).fundo
                                        : classe == ClasseMeta::Nenhuma ? kAzul : estiloMeta(classe).fundo;
            const int h = std::max(1, altura(*v));
            const QRect barra(caixa.x(), base - h, caixa.width(), h);
            p.setPen(ultimo ? QPen(Qt::black, std::max(2, c.width() / 8)) : QPen(Qt::NoPen));
            p.setBrush(cor);
            p.drawRect(barra);
            if (apagado_) {
                p.setPen(Qt::NoPen);
                p.setBrush(QBrush(QColor(0x9A, 0x9A, 0x9A), Qt::BDiagPattern));
                p.drawRect(barra);
            }
            if (!compacto_ && inteiro) {
                p.setPen(apagado_ ? QColor(0x66, 0x66, 0x66) : QColor(Qt::black));
                p.drawText(QRect(c.x(), base - h - texto - 2, c.width(), texto), Qt::AlignCenter, QString::number(*inteiro));
            }
        } else if (ultimo) {
            // The reading day without a figure still shows where it stands.
            p.setPen(QPen(Qt::black, std::max(2, c.width() / 8)));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(caixa.x(), base - 2, caixa.width(), 2));
        }
        if (!compacto_ && ultimo_.isValid()) {
            // The day of the month under each bar.
            p.setPen(Qt::black);
            p.drawText(QRect(c.x(), base + 2, c.width(), texto), Qt::AlignCenter,
                       QString::number(ultimo_.addDays(i - (n - 1)).day()));
        }
    }
    // The base line, and the target's.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.drawLine(coluna(0).x(), base, coluna(n - 1).right(), base);
    if (meta_) {
        const int y = base - altura(*meta_);
        p.setPen(QPen(Qt::black, std::max(2, height() / 60), Qt::DashLine));
        p.drawLine(coluna(0).x(), y, coluna(n - 1).right(), y);
    }
}
