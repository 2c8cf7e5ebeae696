#include "display/TfrmRelatorio.h"

#include "app/ErrorReport.h"
#include "display/Screen.h"
#include "display/TfrmFuncionarioSetorSimplificado.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

TGradiente::TGradiente(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("BarraTitulo"));
    setCores(storedColor(14597308), storedColor(12615808));
}

void TGradiente::setCores(const QColor& inicio, const QColor& fim)
{
    FInicio = inicio;
    FFim = fim;
    update();
}

void TGradiente::paintEvent(QPaintEvent*)
{
    // One colour step per pixel row, top edge to bottom edge.
    QPainter p(this);
    const int h = height();
    for (int y = 0; y < h; ++y) {
        const double t = h > 1 ? double(y) / (h - 1) : 0;
        QColor c = QColor::fromRgbF(FInicio.redF() + (FFim.redF() - FInicio.redF()) * t,
                                    FInicio.greenF() + (FFim.greenF() - FInicio.greenF()) * t,
                                    FInicio.blueF() + (FFim.blueF() - FInicio.blueF()) * t);
        p.fillRect(0, y, width(), 1, c);
    }
}

TfrmRelatorio::TfrmRelatorio(bool simplificado, int tempoTroca, QWidget* parent, bool comTendencia)
    : QWidget(parent), FSimplificado(simplificado), FTendencia(comTendencia)
{
    setObjectName(QStringLiteral("frmRelatorio"));
    setFill(this, storedColor(13421772));

    const float f = displayScaleFactor();

    trocaPagina = new QTimer(this);
    trocaPagina->setObjectName(QStringLiteral("trocaPagina"));
    trocaPagina->setInterval(std::max(0, tempoTroca));
    connect(trocaPagina, &QTimer::timeout, this, [this] {
        try {
            trocaTimer();
        } catch (const std::exception& e) {
            trocaPagina->stop();
            reportException(e);
        }
    });

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    BarraTitulo = new TGradiente(Panel1);
    auto heading = [&](const char* name, const QString& text, int left) {
        auto* label = new QLabel(text, BarraTitulo);
        label->setObjectName(QString::fromLatin1(name));
        label->setAlignment(Qt::AlignCenter);
        label->setFont(fontPt(QStringLiteral("Georgia"), scaled(24, f), false));
        label->setGeometry(scaled(left, f), 0, scaledSize(colunas(simplificado).largura, f), 45);
        setTextColor(label, Qt::black);
        return label;
    };
    lblDiario = heading("lblDiario", QStringLiteral("Desempenho diário"), colunas(simplificado).xDiario);
    lblMensal = heading("lblMensal", QStringLiteral("Desempenho mensal"), colunas(simplificado).xMensal);

    const std::pair<quint32, quint32> palette[15] = {
        {16777215, 13421772}, {16777215, 16744448}, {16711680, 8388608}, {16777215, 8421631}, {65535, 4227200},
        {16777215, 3727616},  {16711935, 7667829},  {16777215, 4210816}, {16777215, 16711808}, {65408, 32768},
        {8421631, 255},       {16777215, 4227327},  {4227327, 13732},    {16777215, 16744703}, {14597308, 12615808},
    };
    for (const auto& [inicio, fim] : palette)
        AddCor(storedColor(inicio), storedColor(fim), false);

    panelSetor = new QWidget(this);
    panelSetor->setObjectName(QStringLiteral("panelSetor"));
    panelSetor->setVisible(simplificado);
    if (simplificado) {
        FFuncionarioSetor = std::make_unique<TFuncionario>();
        FFuncionarioSetor->setNome(QStringLiteral("Eficiência do setor"));
        faixaSetor = new TfrmFuncionarioSetorSimplificado(panelSetor);
        faixaSetor->setObjectName(QStringLiteral("faixaSetor"));
        faixaSetor->setTitulo(true);
        faixaSetor->setFuncionario(FFuncionarioSetor.get());
        faixaSetor->setExibirConteudo(true);
    }

    panelFuncionarios = new QWidget(this);
    panelFuncionarios->setObjectName(QStringLiteral("panelFuncionarios"));
    setFill(panelFuncionarios, storedColor(13421772));
    for (int i = 0; i < FuncionariosPorPagina(); ++i) {
        TfrmfuncionarioSetorBase* row = new TfrmFuncionarioSetorSimplificado(panelFuncionarios, simplificado);
        row->setObjectName(QStringLiteral("linha%1").arg(i));
        linhas.append(row);
    }
    if (FTendencia)
        tendencia = new GraficoTendencia(panelFuncionarios, false);
    layoutRows();
}

TfrmRelatorio::~TfrmRelatorio() = default;

void TfrmRelatorio::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutRows();
}

// Heading bar 45 px; below it, in the simplified layout, the band and the
// rows share one height: H div 6 (the fixed point of "band = row = area div
// 5", and its lower value where that would alternate); in the full layout
// the rows are H div 3 high. The remainder stays as background below.
void TfrmRelatorio::layoutRows()
{
    const int w = width();
    Panel1->setGeometry(0, 0, w, 45);
    BarraTitulo->setGeometry(0, 0, w, 45);
    const int H = std::max(0, height() - 45);
    // The bars, when drawn, take the last row's place: the rows keep their size.
    const int n = colunas(FSimplificado).linhasPorPagina;
    const int h = FSimplificado ? H / (n + 1) : H / n;
    int top = 45;
    if (FSimplificado) {
        panelSetor->setGeometry(0, top, w, h);
        faixaSetor->setGeometry(0, 0, w, h);
        top += h;
    }
    panelFuncionarios->setGeometry(0, top, w, std::max(0, height() - top));
    for (int i = 0; i < linhas.size(); ++i)
        linhas[i]->setGeometry(0, i * h, w, h);
    if (tendencia)
        tendencia->setGeometry(0, int(linhas.size()) * h, w, h);
}

void TfrmRelatorio::setTendencia(const std::vector<std::optional<double>>& dias, const QDate& ultimo)
{
    if (tendencia)
        tendencia->setDias(dias, ultimo);
}

void TfrmRelatorio::AddCor(const QColor& inicio, const QColor& fim, bool escuro)
{
    FCores.append({inicio, fim, escuro});
}

void TfrmRelatorio::AddFuncionario(TFuncionario* F)
{
    std::unique_ptr<TFuncionario> owned(F);
    size_t pos = FFuncionarios.size();
    for (size_t i = 0; i < FFuncionarios.size(); ++i) {
        if (!(FFuncionarios[i]->ValorDiario() >= F->ValorDiario())) {
            pos = i;
            break;
        }
    }
    FFuncionarios.insert(FFuncionarios.begin() + qsizetype(pos), std::move(owned));
    AtualizarRank();
}

void TfrmRelatorio::AtualizarRank()
{
    for (size_t p = 0; p < FFuncionarios.size(); ++p)
        FFuncionarios[p]->setRank(std::int32_t(p + 1));
}

void TfrmRelatorio::Clear()
{
    // Rows may still refer to the records; they do not read them until bound again.
    FFuncionarios.clear();
}

void TfrmRelatorio::setMeta(std::optional<double> meta)
{
    FMeta = meta;
    if (tendencia)
        tendencia->setMeta(meta);
    if (faixaSetor) {
        faixaSetor->setMeta(meta);
        pintarFaixa();
    }
    for (TfrmfuncionarioSetorBase* row : linhas)
        if (auto* s = qobject_cast<TfrmFuncionarioSetorSimplificado*>(row))
            s->setMeta(meta);
}

void TfrmRelatorio::AtualizarSetor(double diario, double mensal)
{
    if (!FFuncionarioSetor)
        return;
    FFuncionarioSetor->setValorDiario(diario);
    FFuncionarioSetor->setValorMensal(mensal);
    faixaSetor->UPdate();
    pintarFaixa();
}

void TfrmRelatorio::pintarFaixa()
{
    if (!faixaSetor || FCores.isEmpty())
        return;
    // With a target the band says the sector's class of the day; without
    // one it wears the sector's colour; old figures, grey.
    QColor cor = FCores[FOrdemSetor].Fim;
    if (const ClasseMeta c = faixaSetor->classeDiario(); FMeta && c != ClasseMeta::Nenhuma)
        cor = estiloMeta(c).fundo;
    if (FAntigos)
        cor = QColor(0xB0, 0xB0, 0xB0);
    faixaSetor->setCor(cor);
}

void TfrmRelatorio::setAntigos(bool v)
{
    if (FAntigos == v)
        return;
    FAntigos = v;
    for (TfrmfuncionarioSetorBase* row : linhas)
        if (auto* s = qobject_cast<TfrmFuncionarioSetorSimplificado*>(row))
            s->setApagado(v);
    if (faixaSetor)
        faixaSetor->setApagado(v);
    if (tendencia)
        tendencia->setApagado(v);
    pintarFaixa();
}

int TfrmRelatorio::Paginas() const
{
    return int(std::ceil(double(FFuncionarios.size()) / FuncionariosPorPagina()));
}

int TfrmRelatorio::LinhasPagina(int pagina) const
{
    const int n = FuncionariosPorPagina();
    return std::clamp(int(FFuncionarios.size()) - pagina * n, 0, n);
}

void TfrmRelatorio::ExibirPagina(int pagina)
{
    const int n = FuncionariosPorPagina();
    const int first = pagina * n;
    const int count = int(FFuncionarios.size());
    for (int i = 0; i < n; ++i) {
        TfrmfuncionarioSetorBase* row = linhas[i];
        row->setIndex(i);
        if (i < count - first) {
            row->setFuncionario(FFuncionarios[size_t(first + i)].get());
            row->setExibirConteudo(true);
        } else {
            row->setExibirConteudo(false);
        }
    }
}

void TfrmRelatorio::setPaginaAtual(int v)
{
    FPagina = v;
    ExibirPagina(v);
    if (onPagina)
        onPagina();
    // Each page's own time; a running timer is only restarted by a change.
    if (tempoPagina) {
        const int ms = std::max(0, tempoPagina(LinhasPagina(v)));
        if (ms != trocaPagina->interval())
            trocaPagina->setInterval(ms);
    }
    // An interval of 0 would fire without pause: such a timer never runs.
    if (v == 0 && !trocaPagina->isActive() && trocaPagina->interval() > 0)
        trocaPagina->start();
}

void TfrmRelatorio::setOrdemSetor(int v)
{
    const int n = int(FCores.size());
    v %= n;
    if (v < 0)
        v += n;
    FOrdemSetor = v;
    const TCor& cor = FCores[v];
    BarraTitulo->setCores(cor.Inicio, cor.Fim);
    if (panelSetor->isVisibleTo(this))
        pintarFaixa();
    for (QLabel* l : {lblDiario, lblMensal})
        setTextColor(l, cor.Escuro ? Qt::white : Qt::black);
}

void TfrmRelatorio::trocaTimer()
{
    if (PaginaAtual() < Paginas() - 1) {
        setPaginaAtual(PaginaAtual() + 1);
        return;
    }
    trocaPagina->stop();
    if (onFimSetor)
        onFimSetor();
}
