#pragma once

#include "app/ExecutorGeracao.h"
#include "app/Geracao.h"
#include "calc/PlanoGeracao.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class SqlConnection;
class VigiaServidor;
class TdmMarvessa;

// Runs generation runs off the display thread, into a calculation module of
// its own; the display reads the finished tables' figures when a run ends. Only the worker thread
// touches the database connection while a run goes on. A failed run closes
// the connection, so that the next run attaches again with the same
// parameters. Each run writes one log line.
class GenerationWorker : public ExecutorGeracao {
    Q_OBJECT
public:
    // With a fixed day every run reads it; otherwise each run reads the
    // current day of the clock, so that the period moves on after midnight.
    // minutosCompleto: how often a full run comes between refresh runs of
    // the reading day (0: every run is full).
    GenerationWorker(SqlConnection& connection, double dataLeitura, bool porFuncionario, bool dataFixa = true,
                     int minutosCompleto = 30);
    ~GenerationWorker() override;

    // Starts a run unless one is going on; concluida() follows on the thread
    // that owns the worker.
    void start();
    void iniciar() override { start(); }
    bool running() const { return running_; }
    // The reading day the next run (or the one going on) takes.
    double diaLeitura() const override;
    // Stops the run going on: the statement is cancelled, or, with abort, the
    // connection is cut (a server that does not answer). The run then ends as
    // failed. Callable while a run goes on; does nothing otherwise.
    void cancel(bool abort);
    void cancelar(bool abortar) override { cancel(abortar); }
    bool emOutraThread() const override { return true; }
    bool precisaConectar() const override;
    int tipoExecucao() const override;
    std::int64_t registrosLidos() const override;
    std::int64_t atividade() const override;
    std::int64_t respostasServidor() const override;
    Figuras figuras(const QString& setores, const QString& funcionarios) override;
    // The worker's module: its tables hold the last run's figures; read them
    // only while no run is going on.
    TdmMarvessa& calc() { return *calc_; }
    // The last run that ended; valid in concluida() and after.
    const ExecucaoGeracao& ultima() const override { return ultima_; }
    // New settings for the runs to come, taken while no run goes on: the
    // next run is full, since the rows kept from the last one were read with
    // the old settings.
    void reconfigurar(double dataLeitura, bool porFuncionario, bool dataFixa, int minutosCompleto);
    // Whether the runs read their three sources side by side (on by default);
    // not while a run goes on.
    void setConsultasParalelas(bool v);
    // Waits for a run in progress, at most the given time; true when none is left.
    bool stop(int milliseconds);

    // Called on the worker thread before each run (tests slow runs down with it).
    std::function<void()> beforeRun;
    // How often the server is asked whether it answers while a run goes on.
    int intervaloVigiaMs = 30000;

private:
    void run(double dia, const QDateTime& inicio);
    void vigiar();

    SqlConnection& connection_;
    std::unique_ptr<TdmMarvessa> calc_;
    double dataFixa_;
    bool fixa_;
    QThread thread_;
    QObject* runner_ = nullptr;
    std::atomic<bool> running_{false};
    std::atomic<bool> cancelled_{false};
    PlanoGeracao plano_; // touched on the worker thread only
    // Asks the server whether it answers while a run goes on against one.
    mutable std::mutex vigiaMutex_;
    std::unique_ptr<VigiaServidor> vigia_;
    ExecucaoGeracao ultima_;
};
