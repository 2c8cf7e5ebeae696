#include "display/TfrmPrincipal.h"

#include "app/ErrorReport.h"
#include "app/TdmPrinc.h"
#include "calc/TdmMarvessa.h"
#include "data/Platform.h"
#include "display/Screen.h"
#include "display/TfrmRelatorio.h"
#include "app/GenerationWorker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <QTimer>

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
    setWindowTitle(QStringLiteral("frmPrincipal"));
    setWindowFlag(Qt::FramelessWindowHint);
    setFill(this, storedColor(13421772));

    Q_INIT_RESOURCE(pictures);
    imgBackgroundPrincipal.load(QStringLiteral(":/display/background.png"));

    lblIndicadores = new QLabel(QStringLiteral("Sem indicadores."), this);
    lblIndicadores->setObjectName(QStringLiteral("lblIndicadores"));
    lblIndicadores->setFont(fontPt(QStringLiteral("Tahoma"), 26, false));
    lblIndicadores->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblIndicadores->setAttribute(Qt::WA_TranslucentBackground);
    setTextColor(lblIndicadores, Qt::black);

    panelTop = new QWidget(this);
    panelTop->setObjectName(QStringLiteral("panelTop"));
    setFill(panelTop, storedColor(13210401));

    lblTItulo = new QLabel(panelTop);
    lblTItulo->setObjectName(QStringLiteral("lblTItulo"));
    lblTItulo->setFont(fontPt(QStringLiteral("Georgia"), 24, true));
    lblTItulo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
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

    // Unobtrusive notice under the title: only after a failed run.
    lblAviso = new QLabel(panelTop);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setFont(fontPt(QStringLiteral("Tahoma"), 9, false));
    lblAviso->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextColor(lblAviso, QColor(0xFF, 0xF2, 0xB3));
    lblAviso->hide();

    FUltimaGeracao = platform::clock().now();
    FVerificaIdade = new QTimer(this);
    FVerificaIdade->setInterval(30000);
    connect(FVerificaIdade, &QTimer::timeout, this, [this] { atualizarAviso(); });
    FVerificaIdade->start();
    FNovaTentativa = new QTimer(this);
    FNovaTentativa->setInterval(60000);
    connect(FNovaTentativa, &QTimer::timeout, this, [this] {
        if (FWorker && FShowBg && !FWorker->running()) {
            FAguardandoGeracao = true;
            FWorker->start();
        }
    });

    // Escape works whatever child has the focus.
    qApp->installEventFilter(this);
    layoutChildren();
}

TfrmPrincipal::~TfrmPrincipal()
{
    qApp->removeEventFilter(this);
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
    if (FRelatorio && FRelatorio->parentWidget() == this)
        FRelatorio->setGeometry(0, 83, w, std::max(0, h - 83));
}

void TfrmPrincipal::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void TfrmPrincipal::FormCreate()
{
    try {
        FiltrarSetores();
        FRelatorio = new TfrmRelatorio(FPrinc.Simplificado(), FPrinc.TempoTroca(), this);
        FRelatorio->onFimSetor = [this] { proximaPaginaGuarded(); };
        layoutChildren();
        FRelatorio->show();
        ProximaPagina();
        if (!FShowBg)
            FRelatorio->raise();
    } catch (const std::exception& e) {
        reportException(e);
    }
    gravarStatus();
}

void TfrmPrincipal::proximaPaginaGuarded()
{
    try {
        ProximaPagina();
    } catch (const std::exception& e) {
        reportException(e);
    }
}

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
    FCalc->cdsSetores.setFiltered(false);
    FCalc->cdsSetores.setFilter(QString());
    FCalc->cdsSetorFunc.setFilter(QString());
}

void TfrmPrincipal::ProximaPagina()
{
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
        if (onPrimeiraPagina)
            std::exchange(onPrimeiraPagina, nullptr)();
        return;
    }
    if (setores.recordCount() > 0 && FWorker) {
        // The last page stays while the worker computes; the window answers.
        const QDateTime agora = platform::clock().now();
        if (FFimCicloAnterior.isValid())
            FDuracaoCicloMs = FFimCicloAnterior.msecsTo(agora);
        FFimCicloAnterior = agora;
        FAguardandoGeracao = true;
        FWorker->start();
        return;
    }
    if (setores.recordCount() > 0) {
        LimparFiltros();
        FCalc->GerarCdsEficiencia();
        FiltrarSetores();
        setores.first();
        ProximaPagina();
        return;
    }
    entrarSemIndicadores();
}

void TfrmPrincipal::entrarSemIndicadores()
{
    FShowBg = true;
    if (FRelatorio) {
        FRelatorio->troca->stop();
        FRelatorio->hide();
    }
    lblIndicadores->show();
    if (FWorker)
        FNovaTentativa->start();
    update();
}

void TfrmPrincipal::setWorker(GenerationWorker* worker)
{
    FWorker = worker;
    if (worker)
        connect(worker, &GenerationWorker::finished, this, &TfrmPrincipal::onGeracaoConcluida);
}

void TfrmPrincipal::setIntervaloNovaTentativa(int ms)
{
    FNovaTentativa->setInterval(ms);
}

void TfrmPrincipal::iniciar(const QString& erroInicial)
{
    lblIndicadores->setText(QStringLiteral("Calculando…"));
    if (!erroInicial.isEmpty())
        registrarErro(erroInicial);
    FAguardandoGeracao = true;
    FWorker->start();
}

void TfrmPrincipal::primeiraGeracao(bool ok, const QString& erro)
{
    if (!ok) {
        // No figures yet (the server may not be up after a power cut): the
        // error shows, and the worker tries again.
        registrarErro(erro);
        gravarStatus();
        QTimer::singleShot(FIntervaloConexao, this, [this] {
            FAguardandoGeracao = true;
            FWorker->start();
        });
        return;
    }
    FCalc = dmMarvessa;
    for (WorkTable* t : {&FCalc->cdsTempoSetor, &FCalc->cdsSetores, &FCalc->cdsSetorFunc})
        if (!t->active())
            FCalc->LimparCds(*t);
    aceitarNovosDados();
    lblIndicadores->setText(QStringLiteral("Sem indicadores."));
    FormCreate();
}

void TfrmPrincipal::onGeracaoConcluida(bool ok, const QString& erro)
{
    FAguardandoGeracao = false;
    if (!FCalc) {
        try {
            primeiraGeracao(ok, erro);
        } catch (const std::exception& e) {
            reportException(e);
        }
        return;
    }
    try {
        WorkTable& setores = FCalc->cdsSetores;
        if (ok) {
            // The new figures replace the shown ones only now, complete.
            LimparFiltros();
            aceitarNovosDados();
            FiltrarSetores();
            setores.first();
            if (FShowBg) {
                if (setores.recordCount() == 0)
                    return;
                // Figures at last: the rotation starts.
                FShowBg = false;
                FNovaTentativa->stop();
                if (FRelatorio) {
                    FRelatorio->show();
                    FRelatorio->raise();
                }
                update();
            }
            ProximaPagina();
        } else {
            registrarErro(erro);
            // The rotation goes on with the last good figures.
            if (!FShowBg && FRelatorio) {
                setores.first();
                ProximaPagina();
            }
        }
    } catch (const std::exception& e) {
        registrarErro(exceptionText(e));
    }
    gravarStatus();
}

void TfrmPrincipal::aceitarNovosDados()
{
    TdmMarvessa& novo = FWorker->calc();
    FCalc->cdsTempoSetor.swapRows(novo.cdsTempoSetor);
    FCalc->cdsSetores.swapRows(novo.cdsSetores);
    FCalc->cdsSetorFunc.swapRows(novo.cdsSetorFunc);
    FUltimaGeracao = platform::clock().now();
    FUltimoErro.clear();
    atualizarAviso();
}

void TfrmPrincipal::registrarErro(const QString& erro)
{
    FUltimoErro = erro;
    FHoraErro = platform::clock().now();
    atualizarAviso();
}

bool TfrmPrincipal::dadosAntigos() const
{
    if (!FUltimoErro.isEmpty())
        return true;
    return FDuracaoCicloMs > 0 && FUltimaGeracao.msecsTo(platform::clock().now()) > 2 * FDuracaoCicloMs;
}

void TfrmPrincipal::atualizarAviso()
{
    if (!dadosAntigos()) {
        lblAviso->hide();
        return;
    }
    QString texto = QStringLiteral("Dados de %1").arg(FUltimaGeracao.toString(QStringLiteral("HH:mm")));
    if (!FUltimoErro.isEmpty())
        texto += QStringLiteral(" — ") + FUltimoErro.section(QLatin1Char('\n'), 0, 0);
    lblAviso->setText(texto);
    lblAviso->show();
    lblAviso->raise();
}

void TfrmPrincipal::gravarStatus() const
{
    QJsonObject status;
    status[QStringLiteral("ultima_geracao")] = FUltimaGeracao.toString(Qt::ISODate);
    status[QStringLiteral("ultimo_erro")] = FUltimoErro.isEmpty() ? QJsonValue() : QJsonValue(FUltimoErro);
    status[QStringLiteral("hora_ultimo_erro")] =
        FHoraErro.isValid() ? QJsonValue(FHoraErro.toString(Qt::ISODate)) : QJsonValue();
    status[QStringLiteral("setor_em_exibicao")] = FShowBg ? QJsonValue() : QJsonValue(FCodigoAtual);
    QSaveFile file(platform::appFolder() + QStringLiteral("status.json"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(status).toJson());
        file.commit();
    }
}

void TfrmPrincipal::paintEvent(QPaintEvent* event)
{
    if (!FShowBg || imgBackgroundPrincipal.isNull()) {
        QWidget::paintEvent(event);
        return;
    }
    QPixmap buffer(size());
    {
        QPainter p(&buffer);
        const int tw = imgBackgroundPrincipal.width(), th = imgBackgroundPrincipal.height();
        const int cols = width() / tw, rows = height() / th;
        for (int r = 0; r <= rows; ++r)
            for (int c = 0; c <= cols; ++c)
                p.drawPixmap(c * tw, r * th, imgBackgroundPrincipal);
    }
    QPainter(this).drawPixmap(0, 0, buffer);
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
