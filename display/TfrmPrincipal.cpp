#include "display/TfrmPrincipal.h"

#include "app/ErrorReport.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/Platform.h"
#include "display/Screen.h"
#include "display/TfrmRelatorio.h"
#include "display/TfrmResumo.h"
#include "app/ExecutorGeracao.h"
#include "app/GenerationWorker.h"
#include "app/DescricaoErro.h"
#include "app/FiltroFuncionarios.h"
#include "app/StatusFile.h"
#include "data/DayNumber.h"
#include "data/Log.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QTimer>


namespace {

// A plain-text label of the window's design.
QLabel* rotulo(QWidget* pai, const char* nome, const QFont& fonte, Qt::Alignment alinhamento, const QColor& cor,
               const QString& texto = {})
{
    auto* l = new QLabel(texto, pai);
    l->setObjectName(QString::fromLatin1(nome));
    l->setFont(fonte);
    l->setAlignment(alinhamento);
    l->setTextFormat(Qt::PlainText);
    setTextColor(l, cor);
    return l;
}

} // namespace

TfrmPrincipal::TfrmPrincipal(TdmPrinc& princ, TdmMarvessa& calc, QWidget* parent)
    : QWidget(parent), FPrinc(princ), FCalc(&calc)
{
    construir();
}

TfrmPrincipal::TfrmPrincipal(TdmPrinc& princ, QWidget* parent) : QWidget(parent), FPrinc(princ)
{
    construir();
}

void TfrmPrincipal::construir()
{
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(QStringLiteral("Tolvaneo"));
    setWindowFlag(Qt::FramelessWindowHint);
    setFill(this, storedColor(13421772));

    Q_INIT_RESOURCE(pictures);
    imgBackgroundPrincipal.load(QStringLiteral(":/display/background.png"));

    // Behind a message's heading: its kind's colour, across the page.
    faixaMensagem = new QWidget(this);
    faixaMensagem->setObjectName(QStringLiteral("faixaMensagem"));
    faixaMensagem->hide();
    lblIndicadores = rotulo(this, "lblIndicadores", fontPt(QStringLiteral("Tahoma"), 26, false),
                            Qt::AlignHCenter | Qt::AlignVCenter, Qt::black, QStringLiteral("Sem indicadores."));
    lblIndicadores->setAttribute(Qt::WA_TranslucentBackground);
    lblIndicadores->hide();

    lblDetalhe = rotulo(this, "lblDetalhe", fontPt(QStringLiteral("Tahoma"), 14, false), Qt::AlignHCenter | Qt::AlignTop,
                        Qt::black);
    lblDetalhe->setWordWrap(true);
    lblDetalhe->setAttribute(Qt::WA_TranslucentBackground);
    lblDetalhe->hide();

    panelTop = new QWidget(this);
    panelTop->setObjectName(QStringLiteral("panelTop"));
    setFill(panelTop, storedColor(13210401));

    lblTItulo = rotulo(panelTop, "lblTItulo", fontPt(QStringLiteral("Georgia"), 24, true), Qt::AlignHCenter | Qt::AlignTop,
                       Qt::white);
    setFill(lblTItulo, storedColor(13210401));

    Shape1 = new QWidget(panelTop);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    setFill(Shape1, storedColor(11895838));

    imgLogo = new QLabel(panelTop);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/display/logo.png")));
    imgLogo->setAttribute(Qt::WA_TranslucentBackground);
    imgLogo->raise();

    // Reading day and page, small at the right of the top bar.
    lblInfo = rotulo(panelTop, "lblInfo", fontPt(QStringLiteral("Tahoma"), 16, true), Qt::AlignRight | Qt::AlignVCenter,
                     Qt::white);

    // The time of day, as large as the sector's name, left of the reading
    // day: a screen that froze shows a time that stands still.
    lblRelogio = rotulo(panelTop, "lblRelogio", fontPt(QStringLiteral("Georgia"), 24, true),
                        Qt::AlignLeft | Qt::AlignVCenter, Qt::white);
    FRelogio = new QTimer(this);
    FRelogio->setInterval(1000);
    connect(FRelogio, &QTimer::timeout, this, &TfrmPrincipal::atualizarRelogio);
    lblRelogio->setVisible(FPrinc.Relogio());
    if (FPrinc.Relogio()) {
        FRelogio->start();
        atualizarRelogio();
    }
    FVirada = new QTimer(this);
    FVirada->setSingleShot(true);
    connect(FVirada, &QTimer::timeout, this, [this] { virarPagina(false); });

    // Stale figures, or refused settings: a banner across the page as tall
    // as a row's name, white on dark grey or on blue, with the words; what
    // follows them in a smaller type. The client's own text goes to the log.
    panelAviso = new QWidget(this);
    panelAviso->setObjectName(QStringLiteral("panelAviso"));
    const int nome = scaled(48, displayScaleFactor());
    lblAviso = rotulo(panelAviso, "lblAviso", fontPt(QStringLiteral("Arial"), nome, true), Qt::AlignLeft | Qt::AlignVCenter,
                      Qt::white);
    lblAvisoDetalhe = rotulo(panelAviso, "lblAvisoDetalhe", fontPt(QStringLiteral("Arial"), nome * 2 / 3, true),
                             Qt::AlignLeft | Qt::AlignVCenter, Qt::white);
    panelAviso->hide();

    FStatus = std::make_unique<StatusFile>(FPrinc.Versao());
    FStatus->setInicio(platform::clock().now());
    // Without a worker, runs go on this thread into the module the window
    // shows (the one the attach created when none was given).
    FExecutorLocal = std::make_unique<ExecutorLocal>(FCalc ? FCalc : dmMarvessa);
    novoCiclo(*FExecutorLocal);

    // Escape works whatever child has the focus.
    qApp->installEventFilter(this);
    layoutChildren();
}

TfrmPrincipal::~TfrmPrincipal()
{
    qApp->removeEventFilter(this);
}

void TfrmPrincipal::setWorker(GenerationWorker* worker)
{
    novoCiclo(worker ? static_cast<ExecutorGeracao&>(*worker) : *FExecutorLocal);
}

void TfrmPrincipal::novoCiclo(ExecutorGeracao& executor)
{
    delete FCiclo;
    FCiclo = new CicloIndicador(*this, executor, *FStatus, configCiclo(FPrinc), this);
}

ConfigCiclo TfrmPrincipal::configCiclo(const TdmPrinc& princ)
{
    return {princ.ConnectionParams().Database, princ.Setores(), princ.Funcionarios(), princ.TempoTroca(),
            princ.Resumo() ? TfrmResumo::linhas : 0};
}

void TfrmPrincipal::layoutChildren()
{
    const int w = width(), h = height();
    panelTop->setGeometry(0, 0, w, 83);
    Shape1->setGeometry(0, 82, w, 1);
    imgLogo->setGeometry(8, 5, 305, 70);
    // The clock, when shown, stands at the right end, the reading day and
    // the page left of it; the title keeps clear of the logo and of both,
    // centred between equal margins.
    const int larguraRelogio = lblRelogio->fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + 8;
    const int relogio = lblRelogio->isVisibleTo(this) ? larguraRelogio + 16 : 0;
    lblRelogio->setGeometry(std::max(0, w - 20 - larguraRelogio), 18, larguraRelogio, 45);
    lblInfo->setGeometry(std::max(0, w - 330 - relogio), 18, 310, 45);
    const int margem = 330 + relogio;
    lblTItulo->setGeometry(margem, 18, std::max(0, w - 2 * margem), 45);
    const int aviso = alturaAviso();
    panelAviso->setGeometry(0, 83, w, aviso);
    lblAviso->setGeometry(20, 0, std::max(0, w - 40), aviso);
    lblIndicadores->setGeometry(0, (h - lblIndicadores->height()) / 2, w, lblIndicadores->height());
    faixaMensagem->setGeometry(lblIndicadores->geometry());
    lblDetalhe->setGeometry(w / 10, lblIndicadores->geometry().bottom() + 20, w * 8 / 10,
                            std::max(0, h - lblIndicadores->geometry().bottom() - 40));
    const int top = 83 + (panelAviso->isVisibleTo(this) ? aviso : 0);
    if (FRelatorio && FRelatorio->parentWidget() == this)
        FRelatorio->setGeometry(0, top, w, std::max(0, h - top));
    if (FResumo)
        FResumo->setGeometry(0, top, w, std::max(0, h - top));
}

void TfrmPrincipal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

// ---- start ------------------------------------------------------------------

void TfrmPrincipal::FormCreate()
{
    FCiclo->iniciarComDados(*FExecutorLocal);
}

void TfrmPrincipal::iniciar(const QString& erroInicial, CausaFalha causaInicial)
{
    FCiclo->iniciar(erroInicial, causaInicial);
}

void TfrmPrincipal::criarPagina()
{
    if (FRelatorio)
        return;
    FRelatorio = new TfrmRelatorio(FPrinc.Simplificado(), FPrinc.TempoTroca(), this, FPrinc.Tendencia());
    FRelatorio->setMeta(FPrinc.Meta());
    FRelatorio->onPagina = [this] { atualizarInfo(); };
    FRelatorio->onFimSetor = [this] { fimDaPagina(); };
    FRelatorio->tempoPagina = [this](int linhas) { return FCiclo->rotacao().tempoPagina(linhas); };
    // A page made while the figures are old (a reload, a new screen) is
    // grey from its first page.
    FRelatorio->setAntigos(figurasAntigas());
    layoutChildren();
}

void TfrmPrincipal::fimDaPagina()
{
    try {
        FCiclo->proximaPagina();
    } catch (const std::exception& e) {
        reportException(e);
    }
}

void TfrmPrincipal::seguirTela(const QSize& fisico)
{
    const double escala = deviceScaleFromScreen() ? deviceScale(fisico) : currentDeviceScale();
    if (escala != currentDeviceScale()) {
        // Qt takes a new device scale only while the window has no native
        // window: it is made again when the window shows.
        hide();
        destroy();
        setDeviceScale(escala);
    }
    // The page is sized from the screen as it is made: made again, with the
    // page on show.
    if (FRelatorio) {
        const bool visivel = FRelatorio->isVisibleTo(this);
        delete FRelatorio.data();
        criarPagina();
        FRelatorio->setVisible(visivel);
    }
    delete FResumo.data();
    layoutChildren();
    if (FCiclo->estado() == CicloIndicador::Estado::Rotacao) {
        // A page whose sector the last figures no longer have goes on to
        // the next: a new page without rows would never turn.
        if (const std::optional<PaginaRotacao> p = FCiclo->rotacao().atual())
            p->setor ? mostrarPagina(*p->setor) : mostrarResumo(*p);
        else
            FCiclo->proximaPagina();
    }
    mostrarEstado();
    logfmt::write(QStringLiteral("screen"), {{"width", QString::number(fisico.width())},
                                             {"height", QString::number(fisico.height())},
                                             {"scale", QString::number(escala, 'g', 6)}});
}

QString TfrmPrincipal::filtroFuncionarios(const QString& codigo) const
{
    return ::filtroFuncionarios(FPrinc.Funcionarios(), codigo);
}

// ---- the sector page ----------------------------------------------------------

void TfrmPrincipal::mostrarResumo(const PaginaRotacao& pagina)
{
    esconderPagina();
    refazerPaginas();
    if (!FResumo) {
        FResumo = new TfrmResumo(FPrinc.TempoTroca(), FPrinc.Meta(), this, FPrinc.Tendencia());
        FResumo->onFim = [this] { fimDaPagina(); };
        FResumo->tempoPagina = [this](int linhas) { return FCiclo->rotacao().tempoPagina(linhas); };
        FResumo->setAntigos(figurasAntigas());
        layoutChildren();
    }
    FShowBg = false;
    FPaginaResumo = pagina.paginaResumo;
    FPaginasResumo = pagina.paginasResumo;
    FResumo->show();
    FResumo->raise();
    setFittedText(lblTItulo, QStringLiteral("Visão geral"), lblTItulo->width());
    FResumo->mostrar(pagina);
    atualizarInfo();
    if (onPrimeiraPagina)
        std::exchange(onPrimeiraPagina, nullptr)();
}

TfrmResumo* TfrmPrincipal::frmResumo() const { return FResumo.data(); }

void TfrmPrincipal::esconderResumo()
{
    if (FResumo) {
        FResumo->trocaPagina->stop();
        FResumo->hide();
    }
    FPaginaResumo = FPaginasResumo = 0;
}

void TfrmPrincipal::mostrarPagina(const PaginaSetor& pagina)
{
    esconderResumo();
    refazerPaginas();
    criarPagina();
    FShowBg = false;
    if (!FRelatorio->isVisibleTo(this)) {
        FRelatorio->show();
        FRelatorio->raise();
    }
    FRelatorio->Clear();
    setFittedText(lblTItulo, pagina.nome, lblTItulo->width());
    for (const LinhaSetorFuncionario& l : pagina.funcionarios)
        FRelatorio->AddFuncionario(new TFuncionario(l));
    FRelatorio->setPaginaAtual(0);
    if (FPrinc.Simplificado())
        FRelatorio->AtualizarSetor(pagina.diario, pagina.mensal);
    FRelatorio->setOrdemSetor(pagina.ordem);
    FRelatorio->setTendencia(pagina.tendencia, daynum::toDate(FCiclo->rotacao().figuras().dia));
    if (onPrimeiraPagina)
        std::exchange(onPrimeiraPagina, nullptr)();
}

void TfrmPrincipal::esconderPagina()
{
    FVirada->stop();
    esconderResumo(); // both pages: the overview's and the sector's
    if (FRelatorio) {
        FRelatorio->trocaPagina->stop();
        FRelatorio->hide();
    }
}

// ---- what is shown ----------------------------------------------------------

bool TfrmPrincipal::figurasAntigas() const
{
    return FCiclo->estado() == CicloIndicador::Estado::Rotacao && FCiclo->dadosAntigos();
}

QString TfrmPrincipal::chameResponsavel() const
{
    return FPrinc.Contato().isEmpty() ? QStringLiteral("Chame o responsável.")
                                      : QStringLiteral("Chame o responsável: %1.").arg(FPrinc.Contato());
}

void TfrmPrincipal::mostrarMensagem(const QString& titulo, const QString& detalhe, Tom tom)
{
    // "Sem indicadores." as designed; what is wrong, larger, to be read
    // from across the floor, on a heading of its kind's colour: blue to
    // wait, amber for a lost connection that is tried again, dark red when
    // a person must act.
    FTom = tom;
    const bool semIndicadores = tom == Tom::SemIndicadores;
    lblIndicadores->setFont(semIndicadores ? fontPt(QStringLiteral("Tahoma"), 26, false)
                                           : fontPt(QStringLiteral("Tahoma"), 40, true));
    const QColor fundo = tom == Tom::Aguarde      ? QColor(0x21, 0x60, 0xA8)
                         : tom == Tom::SemConexao ? QColor(0xD9, 0x8A, 0x00)
                         : tom == Tom::ChamePessoa ? QColor(0x8E, 0x1B, 0x1B)
                                                   : QColor();
    if (fundo.isValid())
        setFill(faixaMensagem, fundo);
    faixaMensagem->setVisible(fundo.isValid());
    setTextColor(lblIndicadores, fundo.isValid() ? textoSobre(fundo) : QColor(Qt::black));
    // Who to call, bold and larger: the line a person acts on.
    lblDetalhe->setFont(fontPt(QStringLiteral("Tahoma"), semIndicadores ? 16 : tom == Tom::ChamePessoa ? 28 : 24,
                               tom == Tom::ChamePessoa));
    lblIndicadores->resize(lblIndicadores->width(), semIndicadores ? 39 : lblIndicadores->fontMetrics().height() * 2);
    setFittedText(lblIndicadores, titulo, width() - 40);
    lblIndicadores->show();
    faixaMensagem->raise();
    lblIndicadores->raise();
    lblDetalhe->setText(detalhe);
    lblDetalhe->setVisible(!detalhe.isEmpty());
    lblDetalhe->raise();
    layoutChildren();
}

void TfrmPrincipal::mostrarEstado()
{
    using E = CicloIndicador::Estado;
    const E estado = FCiclo->estado();
    FShowBg = estado == E::SemIndicadores;
    if (estado == E::Rotacao) {
        lblIndicadores->hide();
        lblDetalhe->hide();
        faixaMensagem->hide();
    } else {
        lblTItulo->clear();
        if (FRelatorio)
            FRelatorio->hide();
        if (FResumo)
            FResumo->hide();
    }
    switch (estado) {
    case E::Calculando: {
        const QString db = FPrinc.ConnectionParams().Database;
        if (FCiclo->conectando())
            mostrarMensagem(QStringLiteral("Conectando ao banco de dados — aguarde"),
                            bancoNestePC(db) ? QStringLiteral("Arquivo %1").arg(db)
                                             : QStringLiteral("Servidor %1").arg(servidorDoBanco(db)),
                            Tom::Aguarde);
        else if (FCiclo->duracaoGeracaoMs() >= 5000 && FCiclo->registrosLidos() >= 0)
            mostrarMensagem(QStringLiteral("Calculando — aguarde"),
                            QStringLiteral("%1 registros lidos em %2 s")
                                .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(qlonglong(FCiclo->registrosLidos())))
                                .arg(FCiclo->duracaoGeracaoMs() / 1000),
                            Tom::Aguarde);
        else
            mostrarMensagem(QStringLiteral("Calculando — aguarde"), {}, Tom::Aguarde);
        break;
    }
    case E::SemDados: {
        // The cause in Portuguese; the client's own text is in the log and
        // in --check.
        const DescricaoErro d = descreverErro(FCiclo->ultimaCausa());
        const QString proxima =
            FCiclo->geracaoEmAndamento()
                ? QStringLiteral("Tentando novamente…")
                : QStringLiteral("Nova tentativa às %1.").arg(FCiclo->proximaTentativa().toString(QStringLiteral("HH:mm:ss")));
        if (d.chamarPessoa)
            mostrarMensagem(d.titulo, chameResponsavel() + QStringLiteral("\n\n") + proxima, Tom::ChamePessoa);
        else
            mostrarMensagem(d.titulo, proxima + QStringLiteral(" Aguarde."), Tom::SemConexao);
        break;
    }
    case E::SemIndicadores:
        mostrarMensagem(QStringLiteral("Sem indicadores."), FCiclo->motivo(), Tom::SemIndicadores);
        break;
    case E::ErroConfiguracao:
        mostrarMensagem(QStringLiteral("Erro na configuração"), FCiclo->motivo() + QStringLiteral("\n\n") + chameResponsavel(),
                        Tom::ChamePessoa);
        break;
    case E::Rotacao:
        break;
    }
    atualizarAviso();
    update();
}

int TfrmPrincipal::alturaAviso() const
{
    // At least as tall as the heading bar and its text.
    return std::max(56, lblAviso->fontMetrics().height() + 12);
}

QString TfrmPrincipal::estadoTela() const
{
    using E = CicloIndicador::Estado;
    switch (FCiclo->estado()) {
    case E::Rotacao:
        if (FCiclo->dadosAntigos())
            return QStringLiteral("dados-antigos");
        return FCiclo->avisoRecarga().isEmpty() ? QStringLiteral("atual") : QStringLiteral("configuracao-recusada");
    case E::Calculando:
        return QStringLiteral("aguarde");
    case E::SemDados:
        return FTom == Tom::ChamePessoa ? QStringLiteral("chame-o-responsavel") : QStringLiteral("sem-conexao");
    case E::ErroConfiguracao:
        return QStringLiteral("chame-o-responsavel");
    case E::SemIndicadores:
        break;
    }
    return QStringLiteral("sem-indicadores");
}

void TfrmPrincipal::atualizarAviso()
{
    // Stale figures first; otherwise, for one rotation, a settings file a
    // reload refused.
    const bool antes = panelAviso->isVisibleTo(this);
    const bool antigos = figurasAntigas();
    // Old figures are drawn grey: only the banner's words still stand out.
    if (FRelatorio)
        FRelatorio->setAntigos(antigos);
    if (FResumo)
        FResumo->setAntigos(antigos);
    if (!antigos && FCiclo->avisoRecarga().isEmpty()) {
        panelAviso->hide();
    } else {
        const QString texto =
            antigos ? QStringLiteral("DADOS ANTIGOS — desde %1")
                          .arg(FCiclo->ultimaGeracao().toString(QStringLiteral("HH:mm")))
                    : QStringLiteral("CONFIGURAÇÃO RECUSADA");
        setFill(panelAviso, antigos ? QColor(0x3A, 0x3A, 0x3A) : QColor(0x1F, 0x4E, 0x9A));
        const int w = width() - 40;
        setFittedText(lblAviso, texto, w);
        const int usado = lblAviso->fontMetrics().horizontalAdvance(lblAviso->text());
        lblAviso->setGeometry(20, 0, usado + 4, alturaAviso());
        // The cause in Portuguese (the client's text is in the log); a
        // refused file's own reason is the program's, in Portuguese too.
        QString detalhe;
        if (antigos) {
            detalhe = FCiclo->motivoAviso();
            if (!FCiclo->ultimoErro().isEmpty() && descreverErro(FCiclo->ultimaCausa()).chamarPessoa)
                detalhe += QStringLiteral(" — ") + chameResponsavel();
        } else {
            detalhe = QStringLiteral("a tela segue as anteriores: ") +
                      FCiclo->avisoRecarga().section(QLatin1Char('\n'), 0, 0).simplified();
        }
        const int resto = w - usado - 30;
        lblAvisoDetalhe->setGeometry(20 + usado + 30, 0, std::max(0, resto), alturaAviso());
        setFittedText(lblAvisoDetalhe, detalhe, std::max(1, resto));
        lblAvisoDetalhe->setVisible(resto > 40 && !detalhe.isEmpty());
        panelAviso->show();
        panelAviso->raise();
    }
    if (antes != panelAviso->isVisibleTo(this))
        layoutChildren();
    atualizarInfo();
}

void TfrmPrincipal::atualizarInfo()
{
    // The reading day of the figures on show and, for a sector of several
    // pages, which page this is.
    QString texto;
    if (FCiclo->estado() == CicloIndicador::Estado::Rotacao) {
        texto = daynum::toDate(FCiclo->rotacao().figuras().dia).toString(QStringLiteral("dd/MM/yyyy"));
        if (FResumo && FResumo->isVisibleTo(this)) {
            if (FPaginasResumo > 1)
                texto += QStringLiteral("   %1/%2").arg(FPaginaResumo + 1).arg(FPaginasResumo);
        } else if (FRelatorio && FRelatorio->Paginas() > 1) {
            texto += QStringLiteral("   %1/%2").arg(FRelatorio->PaginaAtual() + 1).arg(FRelatorio->Paginas());
        }
    }
    lblInfo->setText(texto);
}

void TfrmPrincipal::atualizarRelogio()
{
    const QString hora = platform::clock().now().toString(QStringLiteral("HH:mm"));
    if (lblRelogio->text() != hora)
        lblRelogio->setText(hora);
}

void TfrmPrincipal::paintEvent(QPaintEvent* event)
{
    if (!FShowBg || imgBackgroundPrincipal.isNull()) {
        QWidget::paintEvent(event);
        return;
    }
    QPainter p(this);
    p.drawTiledPixmap(rect(), imgBackgroundPrincipal);
}
