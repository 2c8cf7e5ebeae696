#pragma once

#include <QHash>
#include <QString>

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

class SqlQuery;
namespace fb {
class Value;
}

// The columns a source statement gives its records in; a null name: the
// statement has no such column.
struct ColunasFonte {
    const char* dateTime;
    const char* setor;
    const char* funcionario;
    const char* qtde;
    const char* prod;
    const char* horaSaida; // the clock text; none: made from the date-time
    const char* prog;      // the ticket, for the log
    const char* ficha;
};

// One source record. Its texts belong to whoever read or kept it, and last
// until that one reads the next.
struct RegistroFonte {
    double dateTime = 0, qtde = 0, tempo = 0;
    std::int32_t ordem = 0;
    const QString *setor = nullptr, *funcionario = nullptr, *prod = nullptr, *horaSaida = nullptr,
                  *nomeSetor = nullptr, *nomeFuncionario = nullptr;
};

// Reads the records of an open source statement, the current row at a time.
class LeitorFonte {
public:
    LeitorFonte(SqlQuery& q, const ColunasFonte& colunas);
    LeitorFonte(const LeitorFonte&) = delete;
    LeitorFonte& operator=(const LeitorFonte&) = delete;

    // The current row; fails for an ORDEM_SETOR beyond a whole number's range.
    const RegistroFonte& ler();
    // The current row's ticket ("program/ticket"), empty for a source without.
    QString ticket() const;

private:
    const fb::Value &date_, &setor_, &funcionario_, &qtde_, &prod_, &hora_, &tempo_, &nomeSetor_, &ordem_,
        &nomeFuncionario_, &prog_, &ficha_;
    bool temTicket_;
    QString texto_[6];
    RegistroFonte r_;
};

// The records of a source statement, kept in its order for the run to take
// later: their numbers, and each text once.
class RegistrosGuardados {
public:
    // A record, with its ticket when the run will have to log it.
    void guardar(const RegistroFonte& r, const QString& ticket);
    size_t size() const { return registros_.size(); }
    // Each record in order, with its ticket (empty when none was kept).
    template <class F>
    void percorrer(F&& f) const
    {
        size_t proximoTicket = 0;
        static const QString semTicket;
        RegistroFonte r;
        for (size_t i = 0; i < registros_.size(); ++i) {
            const Registro& g = registros_[i];
            r.dateTime = g.dateTime;
            r.qtde = g.qtde;
            r.tempo = g.tempo;
            r.ordem = g.ordem;
            const QString** campos[6] = {&r.setor, &r.funcionario, &r.prod, &r.horaSaida, &r.nomeSetor,
                                         &r.nomeFuncionario};
            for (int c = 0; c < 6; ++c)
                *campos[c] = &textos_[size_t(g.texto[c])];
            const bool comTicket = proximoTicket < tickets_.size() && tickets_[proximoTicket].first == i;
            f(r, comTicket ? tickets_[proximoTicket++].second : semTicket);
        }
    }

private:
    struct Registro {
        double dateTime, qtde, tempo;
        std::int32_t ordem;
        std::int32_t texto[6];
    };
    std::int32_t numero(int coluna, const QString& texto);

    std::deque<Registro> registros_;
    std::vector<QString> textos_;
    QHash<QString, std::int32_t> numeros_;
    std::int32_t ultimo_[6] = {-1, -1, -1, -1, -1, -1}; // each column's last text
    std::vector<std::pair<size_t, QString>> tickets_;
};
