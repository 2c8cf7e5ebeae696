#include "calc/TPeriodoProducao.h"

#include "data/DayNumber.h"

#include <stdexcept>

double DataToSQLTimeStamp(double Data, int Hora, int Minuto, int Segundo)
{
    for (int part : {Hora, Minuto, Segundo})
        if (part < 0 || part > 65535)
            throw std::range_error("Range check error");
    const int ms = daynum::timeOfDayMs(Data) % 1000;
    const double seconds = double(Hora) * 3600 + double(Minuto) * 60 + double(Segundo) + ms / 1000.0;
    const double day = daynum::datePart(Data);
    const double fraction = seconds / 86400.0;
    return day < 0 ? day - fraction : day + fraction;
}

double TPeriodoProducao::SqlDataIni() const
{
    return DataToSQLTimeStamp(FDataIni, 0, 0, 0);
}

double TPeriodoProducao::SqlDataFim() const
{
    return DataToSQLTimeStamp(FDataFim, 23, 59, 59);
}
