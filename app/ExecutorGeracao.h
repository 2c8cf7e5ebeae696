#pragma once

#include "app/Figuras.h"
#include "app/Geracao.h"

#include <QObject>
#include <QString>

#include <cstdint>

class TdmMarvessa;

// What the indicator's cycle asks of whatever computes its figures: start a
// run, watch it, stop it, and read the figures of the last good one.
class ExecutorGeracao : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts a run unless one goes on; concluida() follows, at once for a
    // run on this thread.
    virtual void iniciar() = 0;
    // Stops the run going on: the statement is cancelled, or, with
    // abortar, the connection is cut. The run then ends as failed.
    virtual void cancelar(bool abortar) = 0;
    // Whether runs go on another thread: their length is watched and they
    // can be cancelled.
    virtual bool emOutraThread() const = 0;
    // Whether the next run attaches first.
    virtual bool precisaConectar() const = 0;
    // The reading day the next run takes; 0 when not known beforehand.
    virtual double diaLeitura() const = 0;
    // While a run goes on: its kind (1 full, 0 a refresh of the day, -1 not
    // known yet), the records read so far, and a count that moves whenever
    // the run makes progress.
    virtual int tipoExecucao() const = 0;
    virtual std::int64_t registrosLidos() const = 0;
    virtual std::int64_t atividade() const = 0;
    // While a run goes on against a server: a count that moves each time
    // the server answers a question asked on the side (it answers while a
    // slow statement runs; a stopped one does not); -1 when there is no
    // server to ask (a local file, or a run on this thread).
    virtual std::int64_t respostasServidor() const { return -1; }
    // The last run that ended: its cause when it failed, its kind and length.
    virtual const ExecucaoGeracao& ultima() const = 0;
    // The figures of the last good run as the pages show them; only while
    // no run goes on.
    virtual Figuras figuras(const QString& setores, const QString& funcionarios) = 0;

signals:
    void concluida(bool ok, const QString& erro);
    // The connection, closed before the run, has attached.
    void conectou();
};

// Runs on the caller's thread, into a module whose tables the caller keeps
// (rendering a rotation to pictures).
class ExecutorLocal : public ExecutorGeracao {
    Q_OBJECT
public:
    explicit ExecutorLocal(TdmMarvessa* calc, QObject* parent = nullptr) : ExecutorGeracao(parent), calc_(calc) {}

    void iniciar() override;
    void cancelar(bool) override {}
    bool emOutraThread() const override { return false; }
    bool precisaConectar() const override { return false; }
    double diaLeitura() const override { return 0; }
    int tipoExecucao() const override { return -1; }
    std::int64_t registrosLidos() const override { return 0; }
    std::int64_t atividade() const override { return 0; }
    const ExecucaoGeracao& ultima() const override { return ultima_; }
    Figuras figuras(const QString& setores, const QString& funcionarios) override;

private:
    TdmMarvessa* calc_;
    ExecucaoGeracao ultima_;
};
