#include "data/DatabaseError.h"
#include "data/DayNumber.h"
#include "data/FbValue.h"
#include "data/NamedParams.h"
#include "data/ParamList.h"

#include <gtest/gtest.h>

TEST(Value, ConvertsBetweenTypes)
{
    struct Case {
        fb::Value value;
        QString text;
        std::int64_t integer;
        double floating;
    };
    const Case cases[] = {
        {fb::Value(), "", 0, 0},
        {fb::Value::text(" 42 "), " 42 ", 42, 42},
        {fb::Value::integer(-5), "-5", -5, -5},
        {fb::Value::floating(2.5), "2.5", 2, 2.5},
        {fb::Value::floating(3.5), "3.5", 4, 3.5},
        {fb::Value::floating(-2.5), "-2.5", -2, -2.5},
        {fb::Value::decimal(-5, -4), "-0.0005", 0, -0.0005},
        {fb::Value::decimal(123456, -2), "1234.56", 1235, 1234.56},
        {fb::Value::decimal(250, -2), "2.50", 2, 2.5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.asText(), c.text);
        EXPECT_EQ(c.value.asInteger(), c.integer) << c.text.toStdString();
        EXPECT_DOUBLE_EQ(c.value.asFloat(), c.floating) << c.text.toStdString();
    }
}

TEST(Value, TextThatIsNoNumberFailsToConvert)
{
    EXPECT_THROW(fb::Value::text("abc").asInteger(), fb::ConversionError);
    EXPECT_THROW(fb::Value::text("1,5").asFloat(), fb::ConversionError);
    EXPECT_THROW(fb::Value::text("ontem").asDateTime(), fb::ConversionError);
}

TEST(Value, DatesAreDayNumbers)
{
    EXPECT_EQ(daynum::fromDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(daynum::fromDate(QDate(2026, 11, 5)), 46331.0);
    const double t = daynum::fromDateTime(QDateTime(QDate(2026, 11, 5), QTime(18, 0)));
    EXPECT_DOUBLE_EQ(t, 46331.75);
    EXPECT_EQ(daynum::toDateTime(t), QDateTime(QDate(2026, 11, 5), QTime(18, 0)));
    EXPECT_EQ(fb::Value::date(t).asDateTime(), 46331.0); // a date keeps no time of day
    EXPECT_EQ(fb::Value::text("2026-11-05T18:00:00").asDateTime(), t);
}

TEST(NamedParams, BecomePositionalOutsideQuotesAndComments)
{
    auto p = fb::toPositional(
        "select ':X' as A, \":Y\" from T -- :Z\nwhere D between :Data_Ini and :DATA_FIM /* :W */ and E=:data_ini");
    EXPECT_EQ(p.sql, "select ':X' as A, \":Y\" from T -- :Z\nwhere D between ? and ? /* :W */ and E=?");
    EXPECT_EQ(p.names, QStringList({"DATA_INI", "DATA_FIM", "DATA_INI"}));
}

TEST(ParamList, ReplacesWithoutRegardToCaseAndRemovesOnEmpty)
{
    ParamList params({"DriverName=Firebird", "DataBase=design.fdb", "Password="});
    params.setValue("Database", "/srv/factory.fdb");
    params.setValue("Password", "bravtu47");
    EXPECT_EQ(params.entries(), QStringList({"DriverName=Firebird", "Database=/srv/factory.fdb", "Password=bravtu47"}));
    params.setValue("DATABASE", "");
    EXPECT_EQ(params.entries(), QStringList({"DriverName=Firebird", "Password=bravtu47"}));
    EXPECT_FALSE(params.value("database").has_value());
    EXPECT_EQ(params.value("password").value(), "bravtu47");
}
