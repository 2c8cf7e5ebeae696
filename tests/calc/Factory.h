#pragma once

#include "calc/TdmMarvessa.h"
#include "data/SqlConnection.h"
#include "tests/common/Fakes.h"
#include "tests/common/FixtureDb.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Rows of the factory database stated compactly, as SQL.
namespace rows {

inline QString q(const QString& s)
{
    return s.isNull() ? QStringLiteral("null") : QLatin1Char('\'') + QString(s).replace("'", "''") + QLatin1Char('\'');
}

inline QString sector(const QString& cod, const QString& nome, int ordem, const QString& agrup)
{
    return QStringLiteral("insert into SETOR values (%1, %2, %3, %4);\n").arg(q(cod), q(nome)).arg(ordem).arg(q(agrup));
}

inline QString employee(const QString& cod, const QString& nome)
{
    return QStringLiteral("insert into TABELA values ('38', %1, %2);\n").arg(q(cod), q(nome));
}

struct Shift {
    Shift(QString d, QString s, QString f) : data(std::move(d)), setor(std::move(s)), func(std::move(f)) {}
    QString data, setor, func;
    QString inicio = "07:00", fim = "17:30";
    int almoco = 60;
    QString inicioHe, fimHe;
    int inativo = 0, qtde = 1, qtdeHe = 0;
};

inline QString shift(const Shift& s)
{
    return QStringLiteral("insert into PRODUCAO_EXPEDIENTE values (%1, %2, %3, %4, %5, %6, %7, %8, %9, %10, %11);\n")
        .arg(q(s.data), q(s.setor), q(s.func), q(s.inicio), q(s.fim))
        .arg(s.almoco)
        .arg(q(s.inicioHe), q(s.fimHe))
        .arg(s.inativo)
        .arg(s.qtde)
        .arg(s.qtdeHe);
}

inline QString productTime(const QString& prod, const QString& setor, double tempo)
{
    return QStringLiteral("insert into PRODUTO_TEMPO values (%1, %2, %3);\n").arg(q(prod), q(setor)).arg(tempo);
}

inline QString operation(const QString& op, const QString& setor, double tempo)
{
    return QStringLiteral("insert into PRODUCAO_OPERACAO_SETOR values (%1, %2, %3);\n").arg(q(op), q(setor)).arg(tempo);
}

// A production ticket with one item per product, in the order given.
inline QString ticket(int prog, int ficha, const QString& setor, const QString& when, const QString& hora, double qtde,
                      const QString& func, const QStringList& prods)
{
    QString sql = QStringLiteral("insert into PRODUCAO_SETOR values (%1, %2, %3, %4, %5, %6, %7);\n")
                      .arg(prog)
                      .arg(ficha)
                      .arg(q(setor), q(when), q(hora))
                      .arg(qtde)
                      .arg(q(func));
    int item = 1;
    for (const QString& p : prods)
        sql += QStringLiteral("update or insert into ITENSPV values (%1, %2, %3, %4) matching (PROG_IT, FICHA_IT, ITEM_IT);\n")
                   .arg(prog)
                   .arg(ficha)
                   .arg(item++)
                   .arg(q(p));
    return sql;
}

inline QString cutting(int id, const QString& setor, const QString& when, const QString& func, int qtde,
                       const QString& faca, double tempoFaca)
{
    return QStringLiteral("update or insert into FACA values (%1, %2) matching (COD_FC);\n").arg(q(faca)).arg(tempoFaca) +
           QStringLiteral("insert into FICHA_CORTE values (%1, %2, %3);\n").arg(id).arg(qtde).arg(q(faca)) +
           QStringLiteral("insert into FICHA_CORTE_ATU_SETOR values (%1, %2, %3, %4);\n").arg(id).arg(q(setor), q(when), q(func));
}

inline QString label(const QString& cod, int prog, int ficha, const QString& setor, const QString& when,
                     const QString& func, const QString& prod)
{
    return QStringLiteral("insert into CODCXUNIT values (%1, %2, %3, %4, %5, %6, %7);\n")
        .arg(q(cod))
        .arg(prog)
        .arg(ficha)
        .arg(q(setor), q(when), q(func), q(prod));
}

inline QString param(const QString& valor)
{
    return QStringLiteral("insert into PARAM values ('PRODUTO_TEMPO', 'TEMPO_DECIMAL', %1);\n").arg(q(valor));
}

} // namespace rows

// A factory database with the given rows, a connection to it, and a
// calculation module on the connection with the reading day 2026-11-05.
// The clock stands at 2026-12-01 unless a test moves it; files go to a
// folder of the test's own.
class Factory {
public:
    static constexpr double kReadingDay = 46331.0; // 2026-11-05

    explicit Factory(const QString& sql)
        : db(sql), con({"User_Name=SYSDBA", "SQLDialect=3", "Database=" + db.path()})
    {
        platform::setAppFolder(folder.path());
        fakes.clock.set(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
        con.open();
        dm.setSQLCOnnection(&con);
        dm.setDataLeitura(kReadingDay);
        dm.setExpedienteProducaoPorFunc(true);
    }

    // The row of cdsTempoSetor for a day, sector and employee; fails the test when absent.
    WorkTable& row(double day, const QString& setor, const QString& func)
    {
        bool found = dm.TabelaTempoSetor().locate("DATA;SETOR;FUNCIONARIO",
                                             {fb::Value::date(day), fb::Value::text(setor), fb::Value::text(func)});
        EXPECT_TRUE(found) << "no row for " << setor.toStdString() << "/" << func.toStdString();
        return dm.cdsTempoSetor;
    }
    double field(const char* name) { return dm.cdsTempoSetor.fieldByName(name).asFloat(); }

    PlatformFakes fakes;
    QTemporaryDir folder;
    FixtureDb db;
    SqlConnection con;
    TdmMarvessa dm;
};
