#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

class SqlConnection;
class TdmMarvessa;

// Runs generation runs off the display thread, into a calculation module of
// its own; the display swaps the finished tables in. Only the worker thread
// touches the database connection while a run goes on. A failed run closes
// the connection, so that the next run attaches again with the same
// parameters.
class GenerationWorker : public QObject {
    Q_OBJECT
public:
    GenerationWorker(SqlConnection& connection, double dataLeitura, bool porFuncionario);
    ~GenerationWorker() override;

    // Starts a run unless one is going on; finished() follows on the thread
    // that owns the worker.
    void start();
    bool running() const { return running_; }
    // The worker's module: its tables hold the last run's figures; read them
    // only while no run is going on.
    TdmMarvessa& calc() { return *calc_; }
    // Waits for a run in progress, at most the given time; true when none is left.
    bool stop(int milliseconds);

    // Called on the worker thread before each run (tests slow runs down with it).
    std::function<void()> beforeRun;

signals:
    void finished(bool ok, const QString& error);

private:
    void run();

    SqlConnection& connection_;
    std::unique_ptr<TdmMarvessa> calc_;
    QThread thread_;
    QObject* runner_ = nullptr;
    std::atomic<bool> running_{false};
};
