#pragma once

#include <QDateTime>

// Which kind of generation run comes next. A full run reads the whole
// period; a refresh run reads the reading day alone and keeps the days
// before it from the last full run. A full run comes first, when the reading
// day changes, after a failed run, and once the last full run is older than
// the configured minutes; 0 minutes makes every run full.
class PlanoGeracao {
public:
    explicit PlanoGeracao(int minutosCompleto = 30) : minutos_(minutosCompleto) {}

    bool completa(double dia, const QDateTime& agora) const;
    // What the run that started at inicio was and how it ended.
    void registrar(bool completa, bool ok, double dia, const QDateTime& inicio);
    int minutosCompleto() const { return minutos_; }

private:
    int minutos_;
    bool ultimaOk_ = false;
    double diaCompleta_ = 0;
    QDateTime horaCompleta_;
};
