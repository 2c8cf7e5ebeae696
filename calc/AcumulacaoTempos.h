#pragma once

#include "calc/RegraExpediente.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Equal texts, compared for equality alone (a run compares many).
inline bool mesmoTexto(const QString& a, const QString& b)
{
    return a.size() == b.size() &&
           (a.constData() == b.constData() ||
            std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(QChar)) == 0);
}

// A day, sector and employee: the key of a row of the day-sector-employee
// table, and of a shift row (employee empty for a sector's row).
struct ChaveLinha {
    double data;
    QString setor;
    QString funcionario;
    bool operator==(const ChaveLinha& o) const
    {
        return data == o.data && mesmoTexto(setor, o.setor) && mesmoTexto(funcionario, o.funcionario);
    }
};
inline size_t qHash(const ChaveLinha& k, size_t seed) noexcept
{
    return qHashMulti(seed, k.data, k.setor, k.funcionario);
}

// One row of the day-sector-employee table as a run accumulates it, and as
// the run keeps it afterwards with its percentage: its numbers and its
// texts, which rows share (a run keeps one copy of each text).
struct LinhaTempo {
    ChaveLinha chave;
    QString nomeSetor, nomeFuncionario;
    std::int32_t ordem;
    std::int32_t estagio = 0; // the source stage of the row's first record
    double trocaFicha = 0;    // the sector's ticket-change time
    regra::Soma soma;
    std::optional<double> percEficiencia; // none: no staff time to set it against
};

// What one generation run accumulates, in memory: the shift rows by day,
// sector and employee, and the rows its records make, in order of their
// first record. Made for one run and dropped with it; it reads nothing from
// the database.
class AcumulacaoTempos {
public:
    // The period's days (a longer one keeps its entries by key alone), the
    // clock at the run's start, and whether shift rows are per employee.
    AcumulacaoTempos(double diaIni, double diaFim, regra::Agora agora, bool porFuncionario);

    // A shift row; the first of a day, sector and employee is the one kept.
    void adicionarTurno(const ChaveLinha& chave, const std::function<regra::Turno()>& turno);

    // What the run knows of one day, sector and employee of the records: its
    // shift row (nullptr: none) and, once a record of it is summed, its row.
    struct Entrada {
        ChaveLinha chave;
        const regra::Turno* turno;
        qsizetype linha = -1;
    };
    // The entry of a record's day, sector and employee, found or made.
    // Records come in runs of the same key: the last entry is looked at first.
    Entrada& entrada(double dia, const QString& setor, const QString& funcionario);
    // A record into its entry's row, made on its first record with the
    // sector's ticket-change time from trocaFicha.
    void somar(Entrada& e, const QString& nomeSetor, std::int32_t ordem, const QString& nomeFuncionario, double qtde,
               double tempo, const QString& horaSaida, const std::function<double(const QString&)>& trocaFicha);

    // The source stage being read (0, 1, 2).
    void setEstagio(std::int32_t estagio) { estagio_ = estagio; }
    const std::vector<LinhaTempo>& linhas() const { return linhas_; }
    // The rows, taken out: what is left of the accumulation may go.
    std::vector<LinhaTempo> tomarLinhas() { return std::move(linhas_); }

    // Each product and sector's standard time, once worked out.
    const double* tempoProduto(const QString& produto, const QString& setor);
    void guardarTempoProduto(const QString& produto, const QString& setor, double tempo);

private:
    // Small numbers for the texts of a run, the last one looked at first,
    // and one copy of each text for everything that keeps it.
    class Numeros {
    public:
        int operator()(const QString& texto);
        const QString& texto(int id) const { return textos_[size_t(id)]; }
        const QString& unico(const QString& t) { return texto((*this)(t)); }

    private:
        QHash<QString, int> ids_;
        std::vector<QString> textos_;
        QString ultimo_;
        int ultimoId_ = -1;
    };
    static quint64 par(int a, int b) { return (quint64(quint32(a)) << 32) | quint32(b); }
    // A shift row's key: its day and its sector's and employee's numbers.
    struct ChaveTurno {
        double data;
        int setor, funcionario;
        bool operator==(const ChaveTurno& o) const
        {
            return data == o.data && setor == o.setor && funcionario == o.funcionario;
        }
        friend size_t qHash(const ChaveTurno& k, size_t seed) noexcept
        {
            return qHashMulti(seed, k.data, k.setor, k.funcionario);
        }
    };
    // What a shift row holds, its clocks by number: equal shifts (most of a
    // sector's, day after day) are kept once.
    struct ValoresTurno {
        int inicio, fim, inicioHe, fimHe;
        std::int32_t almoco, inativo, qtde, qtdeHe;
        bool operator==(const ValoresTurno& o) const
        {
            return inicio == o.inicio && fim == o.fim && inicioHe == o.inicioHe && fimHe == o.fimHe &&
                   almoco == o.almoco && inativo == o.inativo && qtde == o.qtde && qtdeHe == o.qtdeHe;
        }
        friend size_t qHash(const ValoresTurno& v, size_t seed) noexcept
        {
            return qHashMulti(seed, v.inicio, v.fim, v.inicioHe, v.fimHe, v.almoco, v.inativo, v.qtde, v.qtdeHe);
        }
    };

    const regra::Agora agora_;
    const bool porFuncionario_;
    QHash<ChaveTurno, const regra::Turno*> turnos_;
    QHash<ValoresTurno, const regra::Turno*> turnosIguais_;
    std::deque<regra::Turno> turnosUnicos_; // where turnos_ points
    std::vector<Entrada> entradas_;
    // The entries by sector and employee pair and day of the period; a day
    // outside it by the whole key.
    Numeros setores_, funcionarios_, produtos_;
    Numeros textos_; // names and clock texts
    QHash<quint64, qsizetype> pares_;
    double diaIni_ = 0;
    qsizetype dias_ = 0;
    std::vector<qsizetype> porDia_; // pair * dias + day, -1: none yet
    QHash<ChaveLinha, qsizetype> foraDoPeriodo_;
    QHash<quint64, double> temposProduto_;
    std::vector<LinhaTempo> linhas_;
    std::int32_t estagio_ = 0;
    qsizetype atual_ = -1; // the entry of the last record
};
