#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

// The rules of a shift row, one implementation for every path of the
// calculation: the minutes a shift makes available, what is overtime, and
// how a record adds to its day, sector and employee.
namespace regra {

// The difference between two "hh:mm" clock texts, in minutes; 0 when either
// is empty. Each time is held as an unsigned 16-bit count of minutes.
std::int32_t diferencaMinutos(const QString& inicial, const QString& final);

// A shift clock as the rules read it, "hh:mm", from what the column holds:
// "hh:mm" text as it is, "h:mm" and "hh:mm:ss" text or a TIME column's
// "hh:mm:ss" to the minute. Anything else comes back as it is, for the
// check that leaves damaged rows out.
QString relogio(const QString& texto);

// A shift row's values, as PRODUCAO_EXPEDIENTE gives them.
struct Turno {
    QString inicio, fim, inicioHe, fimHe;
    std::int32_t almoco = 0, inativo = 0, qtde = 0, qtdeHe = 0;
    // Worked out once: the minutes with the shift's own end, less lunch, and
    // the overtime's minutes.
    std::int32_t minutosDia = 0, minutosExtras = 0;

    static Turno de(QString inicio, QString fim, QString inicioHe, QString fimHe, std::int32_t almoco,
                    std::int32_t inativo, std::int32_t qtde, std::int32_t qtdeHe);
};

// The clock as a run reads it: on the current day a shift ends then.
struct Agora {
    double dia = 0; // the day number
    QString hora;   // "hh:mm"
    static Agora de(const QDateTime& t);
};

// The minutes a shift makes available on its day: its length less lunch.
// On the current day, until the shift's end, it ends now: lunch counts only
// from noon, and before the shift starts no minute is available.
std::int64_t minutosDisponiveis(const Turno& t, double dia, const Agora& agora);

// Whether a record that left at horaSaida is overtime: the shift has
// overtime and the time is within it, both ends included.
bool horaExtra(const Turno& t, const QString& horaSaida);

// What the records of one day, sector and employee add up to.
struct Soma {
    std::int64_t qtdeFichas = 0;
    double tempoTot = 0, tempoTotHe = 0;
    bool temTempoTot = false, temTempoTotHe = false; // a null sum stays null
    std::int64_t minutosExpediente = 0;
    std::int32_t minutosExtras = 0, minutosInativo = 0, qtdeFuncionarios = 0, qtdeFuncionariosHe = 0;
};

// One record into its sum: one ticket more, its standard time (quantity ×
// time per pair, plus the sector's ticket-change time) as normal or overtime
// time, and the shift's minutes and staff as the record's shift gives them.
void somarRegistro(Soma& s, const Turno& t, double dia, const Agora& agora, double qtde, double tempo, double trocaFicha,
                   const QString& horaSaida);

} // namespace regra
