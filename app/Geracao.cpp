#include "app/Geracao.h"

#include "app/DescricaoErro.h"
#include "app/ErrorReport.h"
#include "calc/PlanoGeracao.h"
#include "calc/TdmMarvessa.h"
#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/SqlConnection.h"

#include <QElapsedTimer>

ExecucaoGeracao executarGeracao(TdmMarvessa& calc, SqlConnection& connection, PlanoGeracao& plano, double dia,
                                const QDateTime& inicio, const std::function<void()>& antes,
                                const std::function<bool()>& cancelada, const std::function<void()>& conectou)
{
    calc.setDataLeitura(dia);
    ExecucaoGeracao e;
    e.dia = dia;
    e.inicio = inicio;
    e.completa = plano.completa(dia, inicio) || !calc.TemBaseDia(dia);
    QElapsedTimer timer;
    timer.start();
    try {
        if (antes)
            antes();
        if (!connection.connected()) {
            connection.open();
            if (conectou)
                conectou();
        }
        if (e.completa)
            calc.GerarCdsEficiencia();
        else
            calc.AtualizarDiaEficiencia();
        e.ok = true;
        e.registros = calc.RegistrosLidos();
        e.linhas = qsizetype(calc.LinhasTempo().size());
    } catch (const std::exception& ex) {
        e.erro = exceptionText(ex);
        e.causa = causaDe(ex);
        calc.DescartarBaseDia();
        try {
            connection.close();
        } catch (...) {
        }
    }
    e.segundos = double(timer.elapsed()) / 1000;
    plano.registrar(e.completa, e.ok, dia, inicio);
    e.cancelada = !e.ok && cancelada && cancelada();
    if (e.cancelada) {
        e.erro = QStringLiteral("Geração cancelada após %1 s: %2").arg(qRound(e.segundos)).arg(e.erro);
        e.causa = CausaFalha::TempoEsgotado;
    }
    const QString diaTexto = daynum::toDate(e.dia).toString(Qt::ISODate);
    const QString segundos = QString::number(e.segundos, 'f', 2);
    if (e.ok)
        logfmt::write(QStringLiteral("run"), {{"kind", e.completa ? QStringLiteral("full") : QStringLiteral("day")},
                                              {"day", diaTexto},
                                              {"seconds", segundos},
                                              {"records", QString::number(e.registros)},
                                              {"rows", QString::number(e.linhas)}});
    else
        logfmt::write(QStringLiteral("run-failed"), {{"day", diaTexto},
                                                     {"seconds", segundos},
                                                     {"cause", nomeCausa(e.causa)},
                                                     {"reason", descreverErro(e.causa).motivo},
                                                     {"database", connection.params().value(QStringLiteral("Database")).value_or(QString())},
                                                     {"error", e.erro}});
    return e;
}
