// The three production statements side by side, each on an attachment of its
// own: the same tables as one after another, and a run that loses one of them
// fails whole.
#include "app/ErrorReport.h"
#include "app/Geracao.h"
#include "app/Report.h"
#include "calc/PlanoGeracao.h"
#include "calc/TdmMarvessa.h"
#include "data/CausaFalha.h"
#include "data/DayNumber.h"
#include "data/Log.h"
#include "data/SqlConnection.h"
#include "tests/app/IniFixture.h"
#include "tests/app/RelatorioGerado.h"
#include "tests/common/FixtureDb.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <thread>

namespace {

QByteArray tabelas(TdmMarvessa& calc)
{
    QByteArray out;
    for (WorkTable* t : {&calc.TabelaTempoSetor(), &calc.cdsSetores, &calc.cdsSetorFunc})
        out += QJsonDocument(tableJson(*t)).toJson(QJsonDocument::Indented);
    return out;
}

} // namespace

// A whole month, and a month read at 07:40 of its reading day with the day
// given at 08:30; a full run and two refresh runs each.
TEST(ConsultasParalelas, ReportsSideBySideAndOneAtATimeAreByteIdentical)
{
    IniFolder folder;
    const struct {
        const char* agora;
        const char* dataBase;
    } casos[] = {{"23:59", "2026-11-05"}, {"07:40", "2026-11-05 08:30"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.agora);
        const FixtureDb db(mesGerado(QString::fromLatin1(c.agora)));
        const Relatorio paralelo = relatorio(folder, db.path(), QString::fromLatin1(c.dataBase), 3);
        const Relatorio serial =
            relatorio(folder, db.path(), QString::fromLatin1(c.dataBase), 3, "ConsultasParalelas=N");
        EXPECT_EQ(paralelo.tipos, (QStringList{"completa", "dia", "dia"}));
        EXPECT_GT(paralelo.tempoSetor.size(), 100);
        EXPECT_TRUE(paralelo.tabelas == serial.tabelas) << primeiraDiferenca(paralelo.tabelas, serial.tabelas);
    }
}

// The attachment of the cutting statement, then of the unit labels, cut off
// by the client's abort while its rows are fetched: the run fails with the
// client's own words and a cause, and the next run gives the tables of one
// statement after another.
TEST(ConsultasParalelas, AnAttachmentLostMidRunFailsTheRunWholeAndTheNextRunSucceeds)
{
    const FixtureDb db(mesGerado(QStringLiteral("23:59")));
    IniFolder folder;
    SqlConnection con({QStringLiteral("User_Name=SYSDBA"), QStringLiteral("SQLDialect=3"),
                       QStringLiteral("Database=") + db.path()});
    TdmMarvessa calc;
    calc.setSQLCOnnection(&con);
    calc.setExpedienteProducaoPorFunc(true);
    const double dia = daynum::fromDate(QDate(2026, 11, 5));
    const QDateTime agora(QDate(2026, 11, 5), QTime(23, 59));
    PlanoGeracao plano(0); // every run full

    calc.setConsultasParalelas(false);
    ASSERT_TRUE(executarGeracao(calc, con, plano, dia, agora).ok);
    const QByteArray serial = tabelas(calc);
    calc.setConsultasParalelas(true);

    for (int fonte : {1, 2}) {
        SCOPED_TRACE(fonte);
        int cortadas = 0;
        calc.setAoBuscar([&](int f, SqlConnection& c) {
            if (f != fonte)
                return;
            ++cortadas;
            std::thread([&c] { c.cancelOperation(true); }).join();
        });
        QStringList log;
        logfmt::setSink([&](const QString& l) { log << l; });
        const ExecucaoGeracao falha = executarGeracao(calc, con, plano, dia, agora);
        logfmt::setSink({});
        EXPECT_EQ(cortadas, 1);
        EXPECT_FALSE(falha.ok);
        EXPECT_FALSE(falha.erro.isEmpty());
        EXPECT_NE(falha.causa, CausaFalha::Outra) << falha.erro.toStdString();
        ASSERT_EQ(log.filter("event=run-failed").size(), 1) << log.join('\n').toStdString();
        EXPECT_EQ(log.filter("event=run ").size(), 0);
        // Nothing of the failed run stands as figures: the run discarded them.
        EXPECT_FALSE(calc.TemBaseDia(dia));

        calc.setAoBuscar({});
        const ExecucaoGeracao depois = executarGeracao(calc, con, plano, dia, agora);
        EXPECT_TRUE(depois.ok) << depois.erro.toStdString();
        EXPECT_TRUE(tabelas(calc) == serial) << primeiraDiferenca(tabelas(calc), serial);
    }
}
