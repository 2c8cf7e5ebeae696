#include "calc/PlanoGeracao.h"

bool PlanoGeracao::completa(double dia, const QDateTime& agora) const
{
    if (minutos_ <= 0 || !ultimaOk_ || dia != diaCompleta_ || !horaCompleta_.isValid())
        return true;
    // A clock set back counts as due, as does one past the interval.
    const qint64 segundos = horaCompleta_.secsTo(agora);
    return segundos < 0 || segundos >= qint64(minutos_) * 60;
}

void PlanoGeracao::registrar(bool completa, bool ok, double dia, const QDateTime& inicio)
{
    ultimaOk_ = ok;
    if (ok && completa) {
        diaCompleta_ = dia;
        horaCompleta_ = inicio;
    }
}
