#include "display/TfrmPrincipal.h"

#include "app/ErrorReport.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/Platform.h"
#include "display/Screen.h"
#include "display/TfrmRelatorio.h"
#include "app/GenerationWorker.h"
#include "app/DescricaoErro.h"
#include "app/StatusFile.h"
#include "data/DayNumber.h"
#include "data/FilterExpression.h"
#include "data/TextLists.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <limits>

namespace {

bool allDigits(const QString& s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
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

    // Stale figures: a notice with the time of the figures and the reason.
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setFont(fontPt(QStringLiteral("Tahoma"), 9, false));
    lblAviso->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblAviso->setTextFormat(Qt::PlainText);
    setTextColor(lblAviso, QColor(0xFF, 0xF2, 0xB3));
    lblAviso->hide();

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
    lblTItulo->setGeometry(0, 18, w, 45);
    Shape1->setGeometry(0, 82, w, 1);
    imgLogo->setGeometry(8, 5, 305, 70);
    lblAviso->setGeometry(320, 63, std::max(0, w - 330), 19);
    lblIndicadores->setGeometry(0, (h - 39) / 2, w, 39);
    lblDetalhe->setGeometry(w / 10, (h - 39) / 2 + 50, w * 8 / 10, std::max(0, h / 2 - 70));
    if (FRelatorio && FRelatorio->parentWidget() == this)
        FRelatorio->setGeometry(0, 83, w, std::max(0, h - 83));
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

void TfrmPrincipal::iniciar(const QString& erroInicial)
{
    FCiclo->iniciar(erroInicial);
}

void TfrmPrincipal::criarPagina()
{
    if (FRelatorio)
        return;
    FRelatorio = new TfrmRelatorio(FPrinc.Simplificado(), FPrinc.TempoTroca(), this);
    FRelatorio->onFimSetor = [this] {
        try {
            ProximaPagina();
        } catch (const std::exception& e) {
            reportException(e);
        }
    };
    layoutChildren();
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
    // A code of digits goes in unquoted; any other code is quoted so that
    // the filter still reads it as a constant.
    QString constante = codigo;
    if (!allDigits(codigo))
        constante = QLatin1Char('\'') + QString(codigo).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    QString filtro = QStringLiteral("Setor=") + constante;
    if (!FPrinc.Funcionarios().isEmpty())
        filtro += FPrinc.Funcionarios() + QStringLiteral(")");
    return filtro;
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
    lblTItulo->setText(nome);
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
        lblTItulo->setText(nome);
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
    // Settings that cannot work are found before any page shows: an empty
    // sector list, or an employee filter continuation that does not compile.
    if (FPrinc.Setores().isEmpty())
        return QStringLiteral("Nenhum setor configurado em \"Setores\".");
    const QString prefixo = filtroFuncionarios(QStringLiteral("00"));
    try {
        FiltrarSetores();
        WorkTable& funcs = FCalc->cdsSetorFunc;
        funcs.setFiltered(true);
        funcs.setFilter(prefixo);
        funcs.setFilter(QString());
    } catch (const FilterError& e) {
        // The position within the setting, after "Setor=00".
        const qsizetype antes = QStringLiteral("Setor=00").size();
        const qsizetype tamanho = FPrinc.Funcionarios().size();
        const qsizetype pos = std::clamp<qsizetype>(e.position() - antes, 1, tamanho + 1);
        return QStringLiteral("Configuração inválida em \"Funcionarios\", posição %1: %2").arg(pos).arg(e.detail());
    }
    return {};
}

int TfrmPrincipal::setoresComDados()
{
    FiltrarSetores();
    return FCalc->cdsSetores.recordCount();
}

QString TfrmPrincipal::motivoSemIndicadores() const
{
    const double dia = FCalc ? FCalc->DataLeitura() : 0;
    QStringList setores = splitCommaText(QString(FPrinc.Setores()).remove(QLatin1Char('\'')));
    return QStringLiteral("Nenhum setor configurado tem números em %1. Setores configurados: %2.")
        .arg(daynum::toDate(dia).toString(QStringLiteral("dd/MM/yyyy")), setores.join(QStringLiteral(", ")));
}

// ---- what is shown ----------------------------------------------------------

void TfrmPrincipal::mostrarMensagem(const QString& titulo, const QString& detalhe)
{
    lblIndicadores->setText(titulo);
    lblIndicadores->show();
    lblIndicadores->raise();
    lblDetalhe->setText(detalhe);
    lblDetalhe->setVisible(!detalhe.isEmpty());
    lblDetalhe->raise();
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
    case E::Calculando:
        mostrarMensagem(QStringLiteral("Calculando…"), {});
        break;
    case E::SemDados: {
        const DescricaoErro d = descreverErro(FCiclo->ultimoErro());
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

void TfrmPrincipal::atualizarAviso()
{
    if (FCiclo->estado() != CicloIndicador::Estado::Rotacao || !FCiclo->dadosAntigos()) {
        lblAviso->hide();
        return;
    }
    QString texto = QStringLiteral("Dados de %1").arg(FCiclo->ultimaGeracao().toString(QStringLiteral("HH:mm")));
    if (!FCiclo->ultimoErro().isEmpty())
        texto += QStringLiteral(" — ") + descreverErro(FCiclo->ultimoErro()).motivo;
    lblAviso->setText(texto);
    lblAviso->show();
    lblAviso->raise();
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
    auto answer = platform::messageBoxes().show(QStringLiteral("Tolvaneo"), QStringLiteral("Deseja finalizar o programa?"),
                                                platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    if (answer == platform::MsgResult::Yes)
        event->accept();
    else
        event->ignore();
}
