#include "display/TfrmPrincipal.h"

#include "app/ErrorReport.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/Platform.h"
#include "display/Screen.h"
#include "display/TfrmRelatorio.h"
#include "app/GenerationWorker.h"
#include "app/DescricaoErro.h"
#include "app/FiltroFuncionarios.h"
#include "app/StatusFile.h"
#include "data/DayNumber.h"
#include "data/FilterExpression.h"
#include "data/Log.h"
#include "data/TextLists.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QTimer>

#include <limits>


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

    lblIndicadores = new QLabel(QStringLiteral("Sem indicadores."), this);
    lblIndicadores->setObjectName(QStringLiteral("lblIndicadores"));
    lblIndicadores->setFont(fontPt(QStringLiteral("Tahoma"), 26, false));
    lblIndicadores->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblIndicadores->setTextFormat(Qt::PlainText);
    lblIndicadores->setAttribute(Qt::WA_TranslucentBackground);
    setTextColor(lblIndicadores, Qt::black);
    lblIndicadores->hide();

    lblDetalhe = new QLabel(this);
    lblDetalhe->setObjectName(QStringLiteral("lblDetalhe"));
    lblDetalhe->setFont(fontPt(QStringLiteral("Tahoma"), 14, false));
    lblDetalhe->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblDetalhe->setTextFormat(Qt::PlainText);
    lblDetalhe->setWordWrap(true);
    lblDetalhe->setAttribute(Qt::WA_TranslucentBackground);
    setTextColor(lblDetalhe, Qt::black);
    lblDetalhe->hide();

    panelTop = new QWidget(this);
    panelTop->setObjectName(QStringLiteral("panelTop"));
    setFill(panelTop, storedColor(13210401));

    lblTItulo = new QLabel(panelTop);
    lblTItulo->setObjectName(QStringLiteral("lblTItulo"));
    lblTItulo->setFont(fontPt(QStringLiteral("Georgia"), 24, true));
    lblTItulo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblTItulo->setTextFormat(Qt::PlainText);
    setFill(lblTItulo, storedColor(13210401));
    setTextColor(lblTItulo, Qt::white);

    Shape1 = new QWidget(panelTop);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    setFill(Shape1, storedColor(11895838));

    imgLogo = new QLabel(panelTop);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/display/logo.png")));
    imgLogo->setAttribute(Qt::WA_TranslucentBackground);
    imgLogo->raise();

    // Reading day and page, small at the right of the top bar.
    lblInfo = new QLabel(panelTop);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setFont(fontPt(QStringLiteral("Tahoma"), 16, true));
    lblInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblInfo->setTextFormat(Qt::PlainText);
    setTextColor(lblInfo, Qt::white);

    // Stale figures: a banner across the page, black on yellow, with the
    // time of the figures and the reason; the client's text smaller after.
    panelAviso = new QWidget(this);
    panelAviso->setObjectName(QStringLiteral("panelAviso"));
    setFill(panelAviso, QColor(0xFF, 0xD4, 0x00));
    lblAviso = new QLabel(panelAviso);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setFont(fontPt(QStringLiteral("Tahoma"), 26, true));
    lblAviso->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblAviso->setTextFormat(Qt::PlainText);
    setTextColor(lblAviso, Qt::black);
    lblAvisoDetalhe = new QLabel(panelAviso);
    lblAvisoDetalhe->setObjectName(QStringLiteral("lblAvisoDetalhe"));
    lblAvisoDetalhe->setFont(fontPt(QStringLiteral("Tahoma"), 12, false));
    lblAvisoDetalhe->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblAvisoDetalhe->setTextFormat(Qt::PlainText);
    setTextColor(lblAvisoDetalhe, Qt::black);
    panelAviso->hide();

    FStatus = std::make_unique<StatusFile>(FPrinc.Versao());
    FStatus->setInicio(platform::clock().now());
    FCiclo = new CicloIndicador(*this, nullptr, *FStatus);
    FCiclo->onMudanca = [this] { mostrarEstado(); };

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
    FWorker = worker;
    const auto onMudanca = FCiclo->onMudanca;
    delete FCiclo;
    FCiclo = new CicloIndicador(*this, worker, *FStatus);
    FCiclo->onMudanca = onMudanca;
}

void TfrmPrincipal::layoutChildren()
{
    const int w = width(), h = height();
    panelTop->setGeometry(0, 0, w, 83);
    Shape1->setGeometry(0, 82, w, 1);
    imgLogo->setGeometry(8, 5, 305, 70);
    lblInfo->setGeometry(std::max(0, w - 330), 18, 310, 45);
    // The title keeps clear of the logo and of the reading day.
    lblTItulo->setGeometry(330, 18, std::max(0, w - 660), 45);
    const int aviso = alturaAviso();
    panelAviso->setGeometry(0, 83, w, aviso);
    lblAviso->setGeometry(20, 0, std::max(0, w - 40), aviso);
    lblIndicadores->setGeometry(0, (h - lblIndicadores->height()) / 2, w, lblIndicadores->height());
    lblDetalhe->setGeometry(w / 10, lblIndicadores->geometry().bottom() + 20, w * 8 / 10,
                            std::max(0, h - lblIndicadores->geometry().bottom() - 40));
    if (FRelatorio && FRelatorio->parentWidget() == this) {
        const int top = 83 + (panelAviso->isVisibleTo(this) ? aviso : 0);
        FRelatorio->setGeometry(0, top, w, std::max(0, h - top));
    }
}

void TfrmPrincipal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

// ---- start ------------------------------------------------------------------

void TfrmPrincipal::FormCreate()
{
    FCiclo->iniciarComDados();
}

void TfrmPrincipal::iniciar(const QString& erroInicial, CausaFalha causaInicial)
{
    FCiclo->iniciar(erroInicial, causaInicial);
}

void TfrmPrincipal::criarPagina()
{
    if (FRelatorio)
        return;
    FRelatorio = new TfrmRelatorio(FPrinc.Simplificado(), FPrinc.TempoTroca(), this);
    FRelatorio->onPagina = [this] { atualizarInfo(); };
    FRelatorio->onFimSetor = [this] {
        try {
            ProximaPagina();
        } catch (const std::exception& e) {
            reportException(e);
        }
    };
    layoutChildren();
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
    // The page is sized from the screen as it is made: made again.
    const QString codigo = FCodigoAtual;
    if (FRelatorio) {
        const bool visivel = FRelatorio->isVisibleTo(this);
        delete FRelatorio.data();
        criarPagina();
        FRelatorio->setVisible(visivel);
    }
    layoutChildren();
    if (FRotacaoAtiva && !codigo.isEmpty() && FCalc &&
        FCalc->cdsSetores.locate(QStringLiteral("COD"), {fb::Value::text(codigo)})) {
        FRelatorio->raise();
        ProximaPagina();
    }
    mostrarEstado();
    logfmt::write(QStringLiteral("screen"), {{"width", QString::number(fisico.width())},
                                             {"height", QString::number(fisico.height())},
                                             {"scale", QString::number(escala, 'g', 6)}});
}

bool TfrmPrincipal::conectado() const
{
    return FPrinc.sqlCon.connected();
}

// ---- the rotation -----------------------------------------------------------

void TfrmPrincipal::FiltrarSetores()
{
    WorkTable& setores = FCalc->cdsSetores;
    setores.setFiltered(true);
    setores.setFilter(QStringLiteral("COD IN(") + FPrinc.Setores() + QStringLiteral(")"));
    setores.first();
}

QString TfrmPrincipal::filtroFuncionarios(const QString& codigo) const
{
    return ::filtroFuncionarios(FPrinc.Funcionarios(), codigo);
}

void TfrmPrincipal::CarregarFuncionarios(const QString& codigo, const QString& nome)
{
    WorkTable& funcs = FCalc->cdsSetorFunc;
    funcs.setFiltered(true);
    funcs.setFilter(filtroFuncionarios(codigo));
    for (funcs.first(); !funcs.eof(); funcs.next()) {
        auto* f = new TFuncionario;
        f->setNome(funcs.fieldByName(QStringLiteral("NOME_FUNCIONARIO")).asString());
        f->setValorDiario(funcs.fieldByName(QStringLiteral("MEDIA_EFICIENCIA")).asFloat());
        f->setValorMensal(funcs.fieldByName(QStringLiteral("MEDIA_EFICIENCIA_MES")).asFloat());
        FRelatorio->AddFuncionario(f);
    }
    setFittedText(lblTItulo, nome, lblTItulo->width());
}

void TfrmPrincipal::LimparFiltros()
{
    if (!FCalc)
        return;
    FCalc->cdsSetores.setFiltered(false);
    FCalc->cdsSetores.setFilter(QString());
    FCalc->cdsSetorFunc.setFilter(QString());
}

void TfrmPrincipal::ProximaPagina()
{
    if (!FRotacaoAtiva)
        return;
    WorkTable& setores = FCalc->cdsSetores;
    if (!setores.eof()) {
        const QString codigo = setores.fieldByName(QStringLiteral("COD")).asString();
        const QString nome = setores.fieldByName(QStringLiteral("NOME")).asString();
        FRelatorio->Clear();
        FCodigoAtual = codigo;
        setFittedText(lblTItulo, nome, lblTItulo->width());
        CarregarFuncionarios(codigo, nome);
        FRelatorio->setPaginaAtual(0);
        if (FPrinc.Simplificado())
            FRelatorio->AtualizarSetor(setores.fieldByName(QStringLiteral("MEDIA_EFICIENCIA")).asFloat(),
                                       setores.fieldByName(QStringLiteral("MEDIA_EFICIENCIA_MES")).asFloat());
        FRelatorio->setOrdemSetor(setores.fieldByName(QStringLiteral("ORDEM")).asInteger());
        setores.next();
        FCiclo->setorExibido(codigo);
        if (onPrimeiraPagina)
            std::exchange(onPrimeiraPagina, nullptr)();
        return;
    }
    FCiclo->fimDoCiclo();
}

void TfrmPrincipal::iniciarRotacao()
{
    criarPagina();
    FRotacaoAtiva = true;
    FShowBg = false;
    FRelatorio->show();
    FRelatorio->raise();
    FCalc->cdsSetores.first();
    ProximaPagina();
    mostrarEstado();
}

void TfrmPrincipal::reiniciarRotacao()
{
    if (!FRotacaoAtiva || FCalc->cdsSetores.recordCount() == 0)
        return;
    FCalc->cdsSetores.first();
    ProximaPagina();
}

void TfrmPrincipal::pararRotacao()
{
    FRotacaoAtiva = false;
    FCodigoAtual.clear();
    if (FRelatorio) {
        FRelatorio->troca->stop();
        FRelatorio->hide();
    }
}

bool TfrmPrincipal::trocaParada() const
{
    return FPrinc.TempoTroca() <= 0 || FPrinc.TempoTroca() == std::numeric_limits<std::int32_t>::max();
}

// ---- new figures ------------------------------------------------------------

void TfrmPrincipal::aceitarNovosDados()
{
    if (!FCalc) {
        // The first figures: the window takes the module the attach created.
        FCalc = dmMarvessa;
        for (WorkTable* t : {&FCalc->cdsTempoSetor, &FCalc->cdsSetores, &FCalc->cdsSetorFunc})
            if (!t->active())
                FCalc->LimparCds(*t);
    }
    LimparFiltros();
    if (FWorker) {
        // The new figures replace the shown ones only now, complete.
        TdmMarvessa& novo = FWorker->calc();
        FCalc->cdsTempoSetor.swapRows(novo.cdsTempoSetor);
        FCalc->cdsSetores.swapRows(novo.cdsSetores);
        FCalc->cdsSetorFunc.swapRows(novo.cdsSetorFunc);
        FCalc->setDataLeitura(novo.DataLeitura());
    }
    // The sector table's codes, as the run read them: "Sem indicadores."
    // names the configured sectors it does not have.
    lerSetoresExistentes(FWorker ? FWorker->calc().cdsSetorAg : FCalc->cdsSetorAg);
    if (!FRotacaoAtiva)
        return;
    // The rotation goes on from the sector after the one on show; pages
    // that never turn show the first sector with the new figures.
    FiltrarSetores();
    WorkTable& setores = FCalc->cdsSetores;
    if (trocaParada()) {
        reiniciarRotacao();
        return;
    }
    for (setores.first(); !setores.eof(); setores.next())
        if (setores.fieldByName(QStringLiteral("COD")).asString() == FCodigoAtual) {
            setores.next();
            return;
        }
    setores.first();
}

QString TfrmPrincipal::erroConfiguracao()
{
    // The settings are read once: they are checked with the first figures.
    if (!FErroConfiguracao)
        FErroConfiguracao = verificarConfiguracao();
    return *FErroConfiguracao;
}

QString TfrmPrincipal::erroConfiguracaoInicial() const
{
    // Settings that cannot work are found before anything runs: no
    // database, an empty sector list, or an employee filter continuation
    // that does not compile.
    if (FPrinc.ConnectionParams().Database.isEmpty())
        return QStringLiteral("Nenhum banco de dados configurado: falta [Paths] DB.");
    if (FPrinc.Setores().isEmpty())
        return QStringLiteral("Nenhum setor configurado em \"Setores\".");
    return erroFiltroFuncionarios(FPrinc.Funcionarios());
}

QString TfrmPrincipal::verificarConfiguracao()
{
    if (const QString erro = erroConfiguracaoInicial(); !erro.isEmpty())
        return erro;
    FiltrarSetores();
    return {};
}

void TfrmPrincipal::lerSetoresExistentes(WorkTable& todos)
{
    if (!todos.active())
        return;
    FSetoresExistentes.clear();
    const WorkField& cod = todos.fieldByName(QStringLiteral("COD_SE"));
    for (todos.first(); !todos.eof(); todos.next())
        FSetoresExistentes.insert(cod.asString());
}

int TfrmPrincipal::setoresComDados()
{
    if (FSetoresExistentes.isEmpty() && FCalc)
        lerSetoresExistentes(FCalc->cdsSetorAg); // figures computed on this thread
    // During the rotation the new figures are filtered already, with the
    // cursor on the sector that comes next.
    if (!FRotacaoAtiva)
        FiltrarSetores();
    return FCalc->cdsSetores.recordCount();
}

QString TfrmPrincipal::motivoSemIndicadores() const
{
    const double dia = FCalc ? FCalc->DataLeitura() : 0;
    QStringList setores = splitCommaText(QString(FPrinc.Setores()).remove(QLatin1Char('\'')));
    QStringList ausentes;
    for (const QString& s : setores)
        if (!FSetoresExistentes.isEmpty() && !FSetoresExistentes.contains(s))
            ausentes << s;
    if (!ausentes.isEmpty() && ausentes.size() == setores.size())
        return QStringLiteral("Nenhum dos setores configurados existe na tabela SETOR: %1.")
            .arg(ausentes.join(QStringLiteral(", ")));
    QString texto = QStringLiteral("Nenhum setor configurado tem números em %1. Setores configurados: %2.")
                        .arg(daynum::toDate(dia).toString(QStringLiteral("dd/MM/yyyy")), setores.join(QStringLiteral(", ")));
    if (!ausentes.isEmpty())
        texto += QStringLiteral(" Sem linha na tabela SETOR: %1.").arg(ausentes.join(QStringLiteral(", ")));
    return texto;
}

// ---- what is shown ----------------------------------------------------------

void TfrmPrincipal::mostrarMensagem(const QString& titulo, const QString& detalhe)
{
    // "Sem indicadores." as designed; what is wrong, larger, to be read
    // from across the floor.
    const bool semIndicadores = FCiclo->estado() == CicloIndicador::Estado::SemIndicadores;
    lblIndicadores->setFont(semIndicadores ? fontPt(QStringLiteral("Tahoma"), 26, false)
                                           : fontPt(QStringLiteral("Tahoma"), 40, true));
    lblDetalhe->setFont(fontPt(QStringLiteral("Tahoma"), semIndicadores ? 16 : 20, false));
    lblIndicadores->resize(lblIndicadores->width(), semIndicadores ? 39 : lblIndicadores->fontMetrics().height() + 8);
    setFittedText(lblIndicadores, titulo, width() - 40);
    lblIndicadores->show();
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
    } else {
        lblTItulo->clear();
        if (FRelatorio)
            FRelatorio->hide();
    }
    switch (estado) {
    case E::Calculando: {
        const QString db = FPrinc.ConnectionParams().Database;
        if (FCiclo->conectando())
            mostrarMensagem(QStringLiteral("Conectando ao banco de dados…"),
                            bancoNestePC(db) ? QStringLiteral("Arquivo %1").arg(db)
                                             : QStringLiteral("Servidor %1").arg(servidorDoBanco(db)));
        else if (FCiclo->duracaoGeracaoMs() >= 5000 && FCiclo->registrosLidos() >= 0)
            mostrarMensagem(QStringLiteral("Calculando…"),
                            QStringLiteral("%1 registros lidos em %2 s")
                                .arg(QLocale(QLocale::Portuguese, QLocale::Brazil).toString(qlonglong(FCiclo->registrosLidos())))
                                .arg(FCiclo->duracaoGeracaoMs() / 1000));
        else
            mostrarMensagem(QStringLiteral("Calculando…"), {});
        break;
    }
    case E::SemDados: {
        const DescricaoErro d = descreverErro(FCiclo->ultimaCausa());
        const QString proxima =
            FCiclo->geracaoEmAndamento()
                ? QStringLiteral("Tentando novamente…")
                : QStringLiteral("Nova tentativa às %1.").arg(FCiclo->proximaTentativa().toString(QStringLiteral("HH:mm:ss")));
        mostrarMensagem(d.titulo, FCiclo->ultimoErro().section(QLatin1Char('\n'), 0, 2) + QStringLiteral("\n\n") + proxima);
        break;
    }
    case E::SemIndicadores:
        mostrarMensagem(QStringLiteral("Sem indicadores."), FCiclo->motivo());
        break;
    case E::ErroConfiguracao:
        mostrarMensagem(QStringLiteral("Erro na configuração"), FCiclo->motivo());
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

void TfrmPrincipal::atualizarAviso()
{
    const bool antes = panelAviso->isVisibleTo(this);
    if (FCiclo->estado() != CicloIndicador::Estado::Rotacao || !FCiclo->dadosAntigos()) {
        panelAviso->hide();
    } else {
        const QString motivo = FCiclo->motivoAviso();
        const QString texto =
            QStringLiteral("Dados de %1 — %2").arg(FCiclo->ultimaGeracao().toString(QStringLiteral("HH:mm")), motivo);
        const int w = width() - 40;
        setFittedText(lblAviso, texto, w);
        const int usado = lblAviso->fontMetrics().horizontalAdvance(lblAviso->text());
        lblAviso->setGeometry(20, 0, usado + 4, alturaAviso());
        const QString cliente = FCiclo->ultimoErro().section(QLatin1Char('\n'), 0, 0).simplified();
        const int resto = w - usado - 30;
        lblAvisoDetalhe->setGeometry(20 + usado + 30, 0, std::max(0, resto), alturaAviso());
        setFittedText(lblAvisoDetalhe, cliente, std::max(1, resto));
        lblAvisoDetalhe->setVisible(resto > 40 && !cliente.isEmpty());
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
    if (FCalc && FCiclo->estado() == CicloIndicador::Estado::Rotacao) {
        texto = daynum::toDate(FCalc->DataLeitura()).toString(QStringLiteral("dd/MM/yyyy"));
        if (FRelatorio && FRelatorio->Paginas() > 1)
            texto += QStringLiteral("   %1/%2").arg(FRelatorio->PaginaAtual() + 1).arg(FRelatorio->Paginas());
    }
    lblInfo->setText(texto);
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

bool TfrmPrincipal::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPrincipal::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmPrincipal::closeEvent(QCloseEvent* event)
{
    logfmt::write(QStringLiteral("close-question"), {});
    auto answer = platform::messageBoxes().show(QStringLiteral("Tolvaneo"), QStringLiteral("Deseja finalizar o programa?"),
                                                platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    logfmt::write(QStringLiteral("close-answer"),
                  {{"answer", answer == platform::MsgResult::Yes ? QStringLiteral("sim") : QStringLiteral("nao")}});
    if (answer == platform::MsgResult::Yes)
        event->accept();
    else
        event->ignore();
}
