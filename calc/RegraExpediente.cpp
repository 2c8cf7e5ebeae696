#include "calc/RegraExpediente.h"

#include "data/DayNumber.h"

#include <algorithm>

namespace regra {

namespace {

std::int32_t textoParaInteiro(const QString& texto)
{
    bool ok = false;
    const int v = texto.trimmed().toInt(&ok);
    return ok ? v : 0;
}

} // namespace

std::int32_t diferencaMinutos(const QString& inicial, const QString& final)
{
    if (inicial.isEmpty() || final.isEmpty())
        return 0;
    auto total = [](const QString& hora) {
        return std::uint16_t(textoParaInteiro(hora.mid(0, 2)) * 60 + textoParaInteiro(hora.mid(3, 2)));
    };
    return std::int32_t(total(final)) - std::int32_t(total(inicial));
}

QString relogio(const QString& texto)
{
    if (texto.size() == 5 && texto[2] == QLatin1Char(':'))
        return texto; // the usual form, on the hot path
    const QString t = texto.trimmed();
    const qsizetype doisPontos = t.indexOf(QLatin1Char(':'));
    if (doisPontos < 1 || doisPontos > 2 || t.size() < doisPontos + 3)
        return texto;
    auto digitos = [&](qsizetype de, qsizetype n) {
        for (qsizetype i = de; i < de + n; ++i)
            if (i >= t.size() || t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
                return false;
        return true;
    };
    const qsizetype minutos = doisPontos + 1;
    if (!digitos(0, doisPontos) || !digitos(minutos, 2))
        return texto;
    const QStringView resto = QStringView(t).mid(minutos + 2);
    // Seconds, with a fraction, are below the minute the rules count in.
    const bool segundos = resto.isEmpty() || (resto.size() >= 3 && resto[0] == QLatin1Char(':') &&
                                              digitos(minutos + 3, 2) &&
                                              (resto.size() == 3 || resto[3] == QLatin1Char('.')));
    if (!segundos)
        return texto;
    return t.left(doisPontos).rightJustified(2, QLatin1Char('0')) + QLatin1Char(':') + t.mid(minutos, 2);
}

Turno Turno::de(QString inicio, QString fim, QString inicioHe, QString fimHe, std::int32_t almoco,
                std::int32_t inativo, std::int32_t qtde, std::int32_t qtdeHe)
{
    Turno t{std::move(inicio), std::move(fim), std::move(inicioHe), std::move(fimHe), almoco, inativo, qtde, qtdeHe};
    t.minutosDia = diferencaMinutos(t.inicio, t.fim) - t.almoco;
    t.minutosExtras = diferencaMinutos(t.inicioHe, t.fimHe);
    return t;
}

Agora Agora::de(const QDateTime& t)
{
    return {daynum::fromDate(t.date()), t.time().toString(QStringLiteral("HH:mm"))};
}

std::int64_t minutosDisponiveis(const Turno& t, double dia, const Agora& agora)
{
    if (dia != agora.dia || !(agora.hora < t.fim))
        return t.minutosDia;
    const std::int32_t almoco = agora.hora.left(2) < QLatin1String("12") ? 0 : t.almoco;
    return std::max<std::int64_t>(0, std::int64_t(diferencaMinutos(t.inicio, agora.hora)) - almoco);
}

bool horaExtra(const Turno& t, const QString& horaSaida)
{
    return !t.inicioHe.isEmpty() && t.inicioHe <= horaSaida && horaSaida <= t.fimHe;
}

void somarRegistro(Soma& s, const Turno& t, double dia, const Agora& agora, double qtde, double tempo, double trocaFicha,
                   const QString& horaSaida)
{
    ++s.qtdeFichas;
    // Summed in this order, as every path sums it: the last bit of the
    // figures depends on it.
    if (horaExtra(t, horaSaida)) {
        s.tempoTotHe = s.tempoTotHe + qtde * tempo + trocaFicha;
        s.temTempoTotHe = true;
    } else {
        s.tempoTot = s.tempoTot + qtde * tempo + trocaFicha;
        s.temTempoTot = true;
    }
    s.minutosExpediente = minutosDisponiveis(t, dia, agora);
    s.minutosExtras = t.minutosExtras;
    s.minutosInativo = t.inativo;
    s.qtdeFuncionarios = t.qtde;
    s.qtdeFuncionariosHe = t.qtdeHe;
}

} // namespace regra
