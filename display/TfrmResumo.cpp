#include "display/TfrmResumo.h"

#include "display/Colunas.h"
#include "display/Rotacao.h"
#include "display/Screen.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"
#include "display/TfrmRelatorio.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

TfrmResumo::TfrmResumo(int tempoTroca, std::optional<double> meta, QWidget* parent, bool comTendencia)
    : QWidget(parent), meta_(meta)
{
    setObjectName(QStringLiteral("frmResumo"));
    setFill(this, storedColor(13421772));
    trocaPagina = new QTimer(this);
    trocaPagina->setSingleShot(true);
    trocaPagina->setInterval(std::max(0, tempoTroca));
    connect(trocaPagina, &QTimer::timeout, this, [this] {
        if (onFim)
            onFim();
    });
    barra_ = new TGradiente(this);
    barra_->setCores(storedColor(14597308), storedColor(12615808));
    auto heading = [&](const QString& texto) {
        auto* l = new QLabel(texto, barra_);
        l->setAlignment(Qt::AlignCenter);
        setTextColor(l, Qt::black);
        return l;
    };
    lblDiario_ = heading(QStringLiteral("Desempenho diário"));
    lblMensal_ = heading(QStringLiteral("Desempenho mensal"));
    for (int i = 0; i < linhas; ++i) {
        Linha l;
        l.fundo = new QWidget(this);
        setFill(l.fundo, i % 2 == 0 ? storedColor(14869218) : storedColor(13421772));
        auto label = [&](Qt::Alignment a) {
            auto* t = new QLabel(l.fundo);
            t->setTextFormat(Qt::PlainText);
            t->setAlignment(a | Qt::AlignTop);
            setTextColor(t, Qt::black);
            return t;
        };
        l.nome = label(Qt::AlignLeft);
        l.metaDiario = new FundoMeta(l.fundo);
        l.metaMensal = new FundoMeta(l.fundo);
        l.diario = label(Qt::AlignHCenter);
        l.mensal = label(Qt::AlignHCenter);
        l.tendencia = nullptr;
        if (comTendencia) {
            l.tendencia = new GraficoTendencia(l.fundo, true);
            l.tendencia->setMeta(meta);
        }
        linhas_.push_back(l);
    }
    valores_.assign(2 * linhas, std::nullopt);
    dispor();
}

void TfrmResumo::mostrar(const PaginaRotacao& pagina)
{
    for (int i = 0; i < linhas; ++i) {
        Linha& l = linhas_[size_t(i)];
        const PaginaSetor* s = i < int(pagina.resumo.size()) ? pagina.resumo[size_t(i)] : nullptr;
        l.codigo = s ? s->codigo : QString();
        // The code first: two sectors whose names start alike never read
        // the same, however the name is cut to fit.
        l.nomeCompleto = !s ? QString() : s->nome.isEmpty() ? s->codigo : s->codigo + QStringLiteral(" · ") + s->nome;
        l.nome->setText(l.nomeCompleto);
        valores_[size_t(2 * i)] = s ? TfrmFuncionarioSetorSimplificado::percentual(s->diario, 100) : std::nullopt;
        valores_[size_t(2 * i + 1)] = s ? TfrmFuncionarioSetorSimplificado::percentual(s->mensal, 100) : std::nullopt;
        l.diario->setText(s ? TfrmFuncionarioSetorSimplificado::formatPercent(s->diario, 100) : QString());
        l.mensal->setText(s ? TfrmFuncionarioSetorSimplificado::formatPercent(s->mensal, 100) : QString());
        if (l.tendencia) {
            l.tendencia->setDias(s ? s->tendencia : std::vector<std::optional<double>>(), QDate());
            l.tendencia->setVisible(s != nullptr);
        }
    }
    dispor();
    if (tempoPagina)
        trocaPagina->setInterval(std::max(0, tempoPagina(int(std::min<size_t>(pagina.resumo.size(), linhas)))));
    // An interval of 0 would fire without pause: such a timer never runs.
    if (trocaPagina->interval() > 0)
        trocaPagina->start();
}

void TfrmResumo::setAntigos(bool v)
{
    if (antigos_ == v)
        return;
    antigos_ = v;
    dispor();
}

void TfrmResumo::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    dispor();
}

void TfrmResumo::dispor()
{
    // The sector page's heading bar and columns; rows share the height
    // below it, the remainder stays as background at the bottom.
    const float f = displayScaleFactor();
    const Colunas& c = colunas(true);
    const int w = width();
    barra_->setGeometry(0, 0, w, 45);
    for (QLabel* h : {lblDiario_, lblMensal_})
        h->setFont(fontPt(QStringLiteral("Georgia"), scaled(24, f), false));
    lblDiario_->setGeometry(scaled(c.xDiario, f), 0, scaledSize(c.largura, f), 45);
    lblMensal_->setGeometry(scaled(c.xMensal, f), 0, scaledSize(c.largura, f), 45);
    const int h = std::max(1, (height() - 45) / linhas);
    QFont figura(QStringLiteral("Arial"));
    figura.setBold(true);
    figura.setPixelSize(std::max(8, h * 3 / 4));
    // Three digits and the mark's chip fit the column: a narrow screen draws
    // the figures smaller rather than over each other.
    const int coluna = scaledSize(c.largura, f);
    const int larga = QFontMetrics(figura).horizontalAdvance(QStringLiteral("100%"));
    if (larga > coluna * 7 / 10)
        figura.setPixelSize(std::max(8, int(figura.pixelSize() * (coluna * 7 / 10.0) / larga)));
    QFont nome = figura;
    nome.setPixelSize(std::max(8, std::min(h / 2, figura.pixelSize() * 2 / 3)));
    for (int i = 0; i < linhas; ++i) {
        Linha& l = linhas_[size_t(i)];
        l.fundo->setGeometry(0, 45 + i * h, w, h);
        l.nome->setFont(nome);
        l.nome->setProperty("tolvaneoBasePixelSize", nome.pixelSize()); // fitted from this size
        const int xNome = scaled(c.xNome, f) / 2;
        int fimNome = scaled(c.xDiario, f) - 10;
        if (meta_) {
            // Short of where the widest chip may reach.
            const int largura = QFontMetrics(figura).horizontalAdvance(FundoMeta::maiorTexto());
            fimNome = std::min(fimNome, scaled(c.xDiario, f) + (coluna - largura) / 2 -
                                            FundoMeta::alcance(figura).esquerda - std::max(8, h / 10));
        }
        if (l.tendencia) {
            // The 31 days' strip stands between the name and the figures.
            const int barra = std::max(4, h / 10);
            const int larguraFaixa = barra * Figuras::kDiasTendencia;
            fimNome -= larguraFaixa;
            l.tendencia->setGeometry(fimNome, h / 5, larguraFaixa, h * 3 / 5);
            fimNome -= std::max(8, h / 5);
            l.tendencia->setApagado(antigos_);
        }
        const int larguraNome = std::max(1, fimNome - xNome);
        // The name stands on the figures' baseline.
        const int alturaFigura = QFontMetrics(figura).height();
        const int yFigura = (h - alturaFigura) / 2 + h / 20;
        const int yNome = yFigura + QFontMetrics(figura).ascent() - QFontMetrics(nome).ascent();
        l.nome->setGeometry(xNome, yNome, larguraNome, QFontMetrics(nome).height());
        setFittedText(l.nome, l.nomeCompleto, larguraNome);
        for (auto [label, fundo, x, valor] :
             {std::tuple{l.diario, l.metaDiario, c.xDiario, valores_[size_t(2 * i)]},
              std::tuple{l.mensal, l.metaMensal, c.xMensal, valores_[size_t(2 * i + 1)]}}) {
            label->setFont(figura);
            label->setGeometry(scaled(x, f), yFigura, scaledSize(c.largura, f), alturaFigura);
            marcarPercentual(*label, *fundo, valor, meta_, Qt::black, antigos_);
        }
    }
}
