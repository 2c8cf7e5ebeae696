#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/FbResultSet.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"
#include "tests/common/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

QStringList embeddedParams(const QString& path)
{
    return {QStringLiteral("User_Name=SYSDBA"), QStringLiteral("SQLDialect=3"), QStringLiteral("Database=") + path};
}

QString errorText(const std::function<void()>& f)
{
    try {
        f();
    } catch (const fb::DatabaseError& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("<no error>");
}

} // namespace

TEST(Connection, RunsHandlersAroundTheAttachInOrder)
{
    FixtureDb db;
    SqlConnection con(embeddedParams(db.path()));
    QStringList calls;
    con.beforeConnect = [&] {
        calls << QStringLiteral("before:") + QString::number(con.connected());
    };
    con.afterConnect = [&] { calls << QStringLiteral("after:") + QString::number(con.connected()); };
    con.open();
    EXPECT_EQ(calls, QStringList({"before:0", "after:1"}));
    con.open(); // already open: nothing runs again
    EXPECT_EQ(calls.size(), 2);
}

TEST(Connection, FailingBeforeConnectLeavesItClosed)
{
    FixtureDb db;
    SqlConnection con(embeddedParams(db.path()));
    bool after = false;
    con.beforeConnect = [] { throw std::runtime_error("no configuration"); };
    con.afterConnect = [&] { after = true; };
    EXPECT_THROW(con.open(), std::runtime_error);
    EXPECT_FALSE(con.connected());
    EXPECT_FALSE(after);
}

TEST(Connection, UnknownDatabaseCarriesTheClientText)
{
    SqlConnection con(embeddedParams(QStringLiteral("/nonexistent/folder/none.fdb")));
    QString text = errorText([&] { con.open(); });
    EXPECT_TRUE(text.contains(QStringLiteral("/nonexistent/folder/none.fdb"))) << text.toStdString();
    EXPECT_FALSE(con.connected());
}

TEST(Connection, InsertIsRefusedByTheServer)
{
    FixtureDb db;
    SqlConnection con(embeddedParams(db.path()));
    con.open();
    SqlQuery q(&con);
    q.sql() << QStringLiteral("insert into SETOR (COD_SE, NOME_SE) values ('99', 'X')");
    try {
        q.execSql();
        FAIL() << "the insert went through";
    } catch (const fb::DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("attempted update during read-only transaction"), std::string::npos)
            << e.what();
    }
}

TEST(Connection, NamedParametersTakeTimestampsAndTexts)
{
    FixtureDb db(R"(
insert into PARAM values ('PRODUTO_TEMPO', 'TEMPO_DECIMAL', 'S');
insert into PARAM values ('PRODUTO_TEMPO', 'OUTRO', 'N');
insert into PRODUCAO_EXPEDIENTE (DATA_PE, SETOR_PE) values ('2026-11-04', '01');
insert into PRODUCAO_EXPEDIENTE (DATA_PE, SETOR_PE) values ('2026-11-05', '02');
insert into PRODUCAO_EXPEDIENTE (DATA_PE, SETOR_PE) values ('2026-11-06', '03');
)");
    SqlConnection con(embeddedParams(db.path()));
    con.open();

    SqlQuery aux(&con);
    aux.sql() << QStringLiteral("select VALOR_PA from PARAM where GRUPO_PA=:GRUPO and PARAM_PA=:PARAM");
    aux.setParam(QStringLiteral("GRUPO"), fb::Value::text(QStringLiteral("PRODUTO_TEMPO")));
    aux.setParam(QStringLiteral("param"), fb::Value::text(QStringLiteral("TEMPO_DECIMAL")));
    aux.open();
    ASSERT_FALSE(aux.eof());
    EXPECT_EQ(aux.fieldByName(QStringLiteral("valor_pa")).asText(), QStringLiteral("S"));
    aux.next();
    EXPECT_TRUE(aux.eof());

    SqlQuery exped(&con);
    exped.sql() << QStringLiteral("select PE.* from PRODUCAO_EXPEDIENTE PE") << QStringLiteral("where DATA_PE>=:DATA_INI")
                << QStringLiteral("and DATA_PE<=:DATA_FIM") << QStringLiteral("order by DATA_PE");
    const double day = daynum::fromDate(QDate(2026, 11, 5));
    exped.setParam(QStringLiteral("DATA_INI"), fb::Value::timestamp(day));
    exped.setParam(QStringLiteral("DATA_FIM"), fb::Value::timestamp(day + (86399.0 / 86400.0)));
    exped.open();
    QStringList sectors;
    for (; !exped.eof(); exped.next())
        sectors << exped.fieldByName(QStringLiteral("SETOR_PE")).asText();
    EXPECT_EQ(sectors, QStringList({"02"}));

    // Back to the first row runs the statement again.
    exped.first();
    EXPECT_EQ(exped.fieldByName(QStringLiteral("DATA_PE")).asDateTime(), day);
}

TEST(Connection, ReadsEveryColumnType)
{
    FixtureDb db(R"(
create table TIPOS (
  C char(4), V varchar(10), S smallint, I integer, B bigint, N numeric(9,2), D decimal(18,4),
  F float, DP double precision, DT date, T time, TS timestamp, BL blob sub_type text, NU integer);
commit;
insert into TIPOS values ('ab', 'texto', -7, 123456, 9000000000, 12.34, -0.0005,
  1.5, 2.25, '2026-11-05', '13:45:30', '2026-11-05 07:30:15', 'um texto longo', null);
)");
    SqlConnection con(embeddedParams(db.path()));
    con.open();
    SqlQuery q(&con);
    q.sql() << QStringLiteral("select * from TIPOS");
    q.open();
    ASSERT_FALSE(q.eof());
    auto f = [&](const char* name) { return q.fieldByName(QString::fromLatin1(name)); };
    const double day = daynum::fromDate(QDate(2026, 11, 5));

    EXPECT_EQ(f("C").asText(), QStringLiteral("ab")); // blank padding dropped
    EXPECT_EQ(f("V").asText(), QStringLiteral("texto"));
    EXPECT_EQ(f("S").asInteger(), -7);
    EXPECT_EQ(f("I").asFloat(), 123456.0);
    EXPECT_EQ(f("B").asInteger(), 9000000000LL);
    EXPECT_EQ(f("N").asText(), QStringLiteral("12.34"));
    EXPECT_DOUBLE_EQ(f("N").asFloat(), 12.34);
    EXPECT_EQ(f("N").asInteger(), 12);
    EXPECT_EQ(f("D").asText(), QStringLiteral("-0.0005"));
    EXPECT_DOUBLE_EQ(f("F").asFloat(), 1.5);
    EXPECT_EQ(f("F").asInteger(), 2); // half to even
    EXPECT_DOUBLE_EQ(f("DP").asFloat(), 2.25);
    EXPECT_EQ(f("DT").asDateTime(), day);
    EXPECT_DOUBLE_EQ(f("T").asDateTime(), (13 * 3600 + 45 * 60 + 30) / 86400.0);
    EXPECT_DOUBLE_EQ(f("TS").asDateTime(), day + (7 * 3600 + 30 * 60 + 15) / 86400.0);
    EXPECT_EQ(f("BL").asText(), QStringLiteral("um texto longo"));
    EXPECT_TRUE(f("NU").isNull());
    EXPECT_EQ(f("NU").asText(), QString());
    EXPECT_EQ(f("NU").asInteger(), 0);
    EXPECT_EQ(q.findField(QStringLiteral("MISSING")), nullptr);
    EXPECT_THROW(f("MISSING"), fb::DatabaseError);
}

TEST(Connection, DecodesTextByTheColumnCharacterSet)
{
    // The same name stored under four declared character sets; the NONE
    // column holds the Windows-1252 bytes that the factory's programs write.
    FixtureDb db(R"(
create table NOMES (
  W varchar(30) character set WIN1252, L varchar(30) character set ISO8859_1,
  U varchar(30) character set UTF8, N varchar(30) character set NONE, UC char(16) character set UTF8);
commit;
insert into NOMES values ('João Conceição', 'João Conceição', 'João Conceição',
  x'4A6FE36F20436F6E636569E7E36F', 'João Conceição');
)");
    SqlConnection con(embeddedParams(db.path()));
    con.open();
    SqlQuery q(&con);
    q.sql() << QStringLiteral("select * from NOMES");
    q.open();
    for (const char* column : {"W", "L", "U", "N", "UC"})
        EXPECT_EQ(q.fieldByName(QString::fromLatin1(column)).asText(), QStringLiteral("João Conceição")) << column;
}

TEST(Connection, ColumnNamesMatchWithoutRegardToCase)
{
    FixtureDb db("insert into SETOR values ('01', 'Costura', 1, '02');");
    SqlConnection con(embeddedParams(db.path()));
    con.open();
    SqlQuery q(&con);
    q.sql() << QStringLiteral("select s.cod_se, s.setor_agrup_se from setor s");
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("setor_agrup_se")).asText(), QStringLiteral("02"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("SETOR_AGRUP_SE")).asText(), QStringLiteral("02"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("Cod_Se")).asText(), QStringLiteral("01"));
}

TEST(Connection, ClosingTheConnectionClosesItsQueries)
{
    FixtureDb db("insert into SETOR values ('01', 'Costura', 1, '01');");
    SqlConnection con(embeddedParams(db.path()));
    con.open();
    SqlQuery q(&con);
    q.sql() << QStringLiteral("select * from SETOR");
    q.open();
    con.close();
    EXPECT_FALSE(q.active());
    EXPECT_THROW(q.open(), fb::DatabaseError);
}

