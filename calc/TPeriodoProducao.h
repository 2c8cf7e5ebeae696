#pragma once

#include <QDateTime>

// The period the source statements read: from the first day at 00:00:00 to
// the last whole second of the last day.
class TPeriodoProducao {
public:
    double DataIni() const { return FDataIni; }
    void setDataIni(double v) { FDataIni = v; }
    double DataFim() const { return FDataFim; }
    void setDataFim(double v) { FDataFim = v; }

    // Timestamps (day numbers with the time of day) of the period's ends.
    double SqlDataIni() const;
    double SqlDataFim() const;

private:
    double FDataIni = 0;
    double FDataFim = 0;
};

// The calendar day of Data with the given hour, minute and second; the
// milliseconds of Data's own time of day are kept. Each part must lie in
// 0..65535 (checked in that order), else a range error.
double DataToSQLTimeStamp(double Data, int Hora, int Minuto, int Segundo);
