#include "calc/BuscaParalela.h"

#include "calc/TdmMarvessa.h"
#include "data/DatabaseError.h"

BuscaParalela::BuscaParalela(SqlConnection& principal, const SqlQuery& modelo, const ColunasFonte& colunas,
                             Contadores contadores, std::function<void(SqlConnection&)> aoBuscar)
    : principal_(principal), conexao_(principal.params().entries()), query_(&conexao_), colunas_(colunas),
      contadores_(contadores), aoBuscar_(std::move(aoBuscar))
{
    query_.sql() = modelo.sql();
    for (const auto& [nome, valor] : modelo.params())
        query_.setParam(nome, valor);
    principal_.acompanhar(&conexao_);
    thread_ = std::thread([this] { buscar(); });
}

BuscaParalela::~BuscaParalela()
{
    if (thread_.joinable()) {
        parar_ = true;
        conexao_.cancelOperation(false);
        thread_.join();
    }
    principal_.largar(&conexao_);
}

void BuscaParalela::buscar()
{
    try {
        conexao_.open();
        query_.open();
        LeitorFonte leitor(query_, colunas_);
        bool primeiro = true;
        for (; !query_.eof(); query_.next()) {
            if (parar_.load(std::memory_order_relaxed))
                throw fb::DatabaseError("The fetch was stopped");
            const RegistroFonte& r = leitor.ler();
            registros_.guardar(r, TdmMarvessa::registroAbsurdo(r.qtde, r.tempo) ? leitor.ticket() : QString());
            contadores_.registros.fetch_add(1, std::memory_order_relaxed);
            contadores_.atividade.fetch_add(1, std::memory_order_relaxed);
            if (primeiro && aoBuscar_)
                aoBuscar_(conexao_);
            primeiro = false;
        }
        query_.close();
        conexao_.close();
    } catch (...) {
        erro_ = std::current_exception();
        falhou_.store(true, std::memory_order_release);
        try {
            conexao_.close();
        } catch (...) {
        }
    }
}

const RegistrosGuardados& BuscaParalela::registros()
{
    if (thread_.joinable())
        thread_.join();
    if (erro_)
        std::rethrow_exception(erro_);
    return registros_;
}
