#include "app/GenerationWorker.h"

#include "app/ErrorReport.h"
#include "calc/TdmMarvessa.h"
#include "data/DayNumber.h"
#include "data/Platform.h"
#include "app/TdmPrinc.h"
#include "data/SqlConnection.h"
#include "data/VigiaServidor.h"

#include <QMetaObject>

#include <stdexcept>

GenerationWorker::GenerationWorker(SqlConnection& connection, double dataLeitura, bool porFuncionario, bool dataFixa,
                                   int minutosCompleto)
    : connection_(connection), calc_(std::make_unique<TdmMarvessa>()), dataFixa_(dataLeitura), fixa_(dataFixa),
      plano_(minutosCompleto)
{
    calc_->setSQLCOnnection(&connection_);
    calc_->setDataLeitura(dataLeitura);
    calc_->setExpedienteProducaoPorFunc(porFuncionario);
    runner_ = new QObject;
    runner_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, runner_, &QObject::deleteLater);
    thread_.setObjectName(QStringLiteral("generation"));
    thread_.start();
}

GenerationWorker::~GenerationWorker()
{
    thread_.quit();
    thread_.wait();
}

bool GenerationWorker::stop(int milliseconds)
{
    thread_.quit();
    return thread_.wait(QDeadlineTimer(milliseconds));
}

double GenerationWorker::diaLeitura() const
{
    return fixa_ ? dataFixa_ : daynum::fromDate(platform::clock().now().date());
}

void GenerationWorker::start()
{
    if (running_.exchange(true))
        return;
    cancelled_ = false;
    calc_->MarcarSemExecucao(); // idle: no run touches it now
    // The day is taken on the display thread, where the clock seam lives.
    const double dia = diaLeitura();
    const QDateTime inicio = platform::clock().now();
    QMetaObject::invokeMethod(
        runner_,
        [this, dia, inicio] { run(dia, inicio); },
        Qt::QueuedConnection);
}

void GenerationWorker::reconfigurar(double dataLeitura, bool porFuncionario, bool dataFixa, int minutosCompleto)
{
    if (running_)
        throw std::logic_error("GenerationWorker::reconfigurar while a run goes on");
    dataFixa_ = dataLeitura;
    fixa_ = dataFixa;
    calc_->setDataLeitura(dataLeitura);
    calc_->setExpedienteProducaoPorFunc(porFuncionario);
    plano_ = PlanoGeracao(minutosCompleto);
}

void GenerationWorker::setConsultasParalelas(bool v)
{
    if (running_)
        throw std::logic_error("GenerationWorker::setConsultasParalelas while a run goes on");
    calc_->setConsultasParalelas(v);
}

void GenerationWorker::cancel(bool abort)
{
    if (!running_)
        return;
    cancelled_ = true;
    connection_.cancelOperation(abort);
}

// A server is asked whether it answers, from the moment the run's connection
// is open; a local file has no server to hang.
void GenerationWorker::vigiar()
{
    const QString database = connection_.params().value(QStringLiteral("DataBase")).value_or(QString());
    if (bancoNestePC(database))
        return;
    auto vigia = std::make_unique<VigiaServidor>(database,
                                                 connection_.params().value(QStringLiteral("User_Name")).value_or(QString()),
                                                 connection_.params().value(QStringLiteral("Password")).value_or(QString()),
                                                 intervaloVigiaMs);
    std::lock_guard lock(vigiaMutex_);
    vigia_ = std::move(vigia);
}

void GenerationWorker::run(double dia, const QDateTime& inicio)
{
    const ExecucaoGeracao e = executarGeracao(
        *calc_, connection_, plano_, dia, inicio,
        [this] {
            if (beforeRun)
                beforeRun();
            if (connection_.connected())
                vigiar();
        },
        [this] { return bool(cancelled_); },
        [this] {
            vigiar();
            QMetaObject::invokeMethod(this, [this] { emit conectou(); }, Qt::QueuedConnection);
        });
    {
        std::lock_guard lock(vigiaMutex_);
        vigia_.reset();
    }
    // Delivered on the owner's thread, after this run has let go of the tables.
    QMetaObject::invokeMethod(
        this,
        [this, e] {
            ultima_ = e;
            running_ = false;
            emit concluida(e.ok, e.erro);
        },
        Qt::QueuedConnection);
}

bool GenerationWorker::precisaConectar() const
{
    return !connection_.connected();
}

int GenerationWorker::tipoExecucao() const
{
    return calc_->ExecucaoCompleta();
}

std::int64_t GenerationWorker::registrosLidos() const
{
    return calc_->ProgressoLeitura();
}

std::int64_t GenerationWorker::atividade() const
{
    return calc_->Atividade();
}

std::int64_t GenerationWorker::respostasServidor() const
{
    std::lock_guard lock(vigiaMutex_);
    return vigia_ ? vigia_->respostas() : -1;
}

Figuras GenerationWorker::figuras(const QString& setores, const QString& funcionarios)
{
    return lerFiguras(*calc_, setores, funcionarios);
}
