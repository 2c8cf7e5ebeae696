#pragma once

#include "calc/LeitorFonte.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

// A source statement fetched on an attachment of its own, on a thread of its
// own, while the run reads another: each record kept, in the statement's
// order, for the run to take when it comes to that source. The attachment
// has its own read-only transaction, as a statement run after another has.
class BuscaParalela {
public:
    // Once per record fetched: the run's counters.
    struct Contadores {
        std::atomic<std::int64_t>& registros;
        std::atomic<std::int64_t>& atividade;
    };
    // Attaches as `principal` did (its parameters; it must be open) and runs
    // `modelo`'s text with its parameters. `principal` stops this fetch with
    // its own. `aoBuscar`, when set, runs on the fetch's thread after its
    // first record, with its connection.
    BuscaParalela(SqlConnection& principal, const SqlQuery& modelo, const ColunasFonte& colunas,
                  Contadores contadores, std::function<void(SqlConnection&)> aoBuscar = {});
    // Stops a fetch still going and waits for its thread.
    ~BuscaParalela();
    BuscaParalela(const BuscaParalela&) = delete;
    BuscaParalela& operator=(const BuscaParalela&) = delete;

    // Waits for the end of the fetch; rethrows its failure.
    const RegistrosGuardados& registros();
    // Whether the fetch has failed (its failure comes with registros()).
    bool falhou() const { return falhou_.load(std::memory_order_acquire); }

private:
    void buscar();

    SqlConnection& principal_;
    SqlConnection conexao_;
    SqlQuery query_;
    ColunasFonte colunas_;
    Contadores contadores_;
    std::function<void(SqlConnection&)> aoBuscar_;
    RegistrosGuardados registros_;
    std::exception_ptr erro_;
    std::atomic<bool> falhou_{false};
    std::atomic<bool> parar_{false};
    std::thread thread_;
};
