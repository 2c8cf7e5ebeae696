#include "data/DatabaseError.h"
#include "data/FilterExpression.h"
#include "data/SqlConnection.h"
#include "data/SqlQuery.h"
#include "data/WorkTable.h"
#include "tests/common/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

using V = fb::Value;

// A built table of sectors and employees, one row per given triple.
void build(WorkTable& t, const std::vector<std::tuple<QString, QString, int>>& rows = {})
{
    t.addField("SETOR", FieldType::Text, 2);
    t.addField("FUNCIONARIO", FieldType::Text, 3);
    t.addField("QTDE", FieldType::Integer);
    t.addField("TEMPO", FieldType::Float);
    t.addField("DATA", FieldType::Date);
    t.createDataSet();
    t.setLogChanges(false);
    for (const auto& [s, f, q] : rows) {
        t.append();
        t.fieldByName("SETOR").setAsString(s);
        t.fieldByName("FUNCIONARIO").setAsString(f);
        t.fieldByName("QTDE").setAsInteger(q);
        t.post();
    }
}

QStringList walk(WorkTable& t, const char* field = "FUNCIONARIO")
{
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.fieldByName(field).asString();
    return out;
}

} // namespace

TEST(WorkTable, StoresTypedValuesWithRoundingAndCutting)
{
    WorkTable t("cds");
    build(t);
    t.append();
    EXPECT_TRUE(t.fieldByName("QTDE").isNull());
    EXPECT_EQ(t.fieldByName("qtde").asInteger(), 0);
    EXPECT_EQ(t.fieldByName("SETOR").asString(), "");
    t.fieldByName("SETOR").setAsString("Costura");
    t.fieldByName("QTDE").setAsFloat(2.5);
    t.fieldByName("TEMPO").setAsString("1.25");
    t.fieldByName("DATA").setAsDateTime(46331.75);
    t.post();
    EXPECT_EQ(t.fieldByName("SETOR").asString(), "Co");
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 2);
    EXPECT_EQ(t.fieldByName("TEMPO").asFloat(), 1.25);
    EXPECT_EQ(t.fieldByName("DATA").asDateTime(), 46331.0);
    t.edit();
    t.fieldByName("QTDE").setAsFloat(3.5);
    t.post();
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 4);
    t.edit();
    EXPECT_THROW(t.fieldByName("QTDE").setAsString("abc"), fb::ConversionError);
    EXPECT_THROW(t.fieldByName("QTDE").setAsFloat(3e9), fb::ConversionError);
    t.cancel();
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 4);
    EXPECT_THROW(t.fieldByName("QTDE").setAsInteger(1), WorkTableError); // not in edit mode
    EXPECT_THROW(t.fieldByName("NOPE"), WorkTableError);
    EXPECT_EQ(t.findField("nope"), nullptr);
}

TEST(WorkTable, NavigatesInAppendOrderAndDeletes)
{
    WorkTable t;
    build(t, {{"01", "001", 1}, {"01", "002", 2}, {"02", "003", 3}});
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(walk(t), QStringList({"001", "002", "003"}));
    EXPECT_TRUE(t.eof());
    t.first();
    t.next();
    t.deleteRecord(); // the following row becomes current
    EXPECT_EQ(t.fieldByName("FUNCIONARIO").asString(), "003");
    EXPECT_EQ(walk(t), QStringList({"001", "003"}));

    WorkTable empty;
    build(empty);
    empty.first();
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.recordCount(), 0);
    EXPECT_THROW(empty.deleteRecord(), WorkTableError);
}

TEST(WorkTable, LocateFindsTheFirstVisibleMatchAndStaysPutOtherwise)
{
    WorkTable t;
    build(t, {{"01", "001", 1}, {"01", "002", 2}, {"02", "001", 3}, {"01", "002", 4}});
    ASSERT_TRUE(t.locate("SETOR;FUNCIONARIO", {V::text("01"), V::text("002")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 2);
    EXPECT_FALSE(t.locate("SETOR;FUNCIONARIO", {V::text("03"), V::text("001")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 2);
    EXPECT_FALSE(t.locate("FUNCIONARIO", {V::text("00")})); // exact, no prefix match
    EXPECT_TRUE(t.locate("qtde", {V::floating(3)}));
    EXPECT_EQ(t.fieldByName("SETOR").asString(), "02");

    // The index follows edits and deletes.
    t.locate("QTDE", {V::integer(2)});
    t.edit();
    t.fieldByName("FUNCIONARIO").setAsString("009");
    t.post();
    ASSERT_TRUE(t.locate("SETOR;FUNCIONARIO", {V::text("01"), V::text("002")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 4);
    t.deleteRecord();
    EXPECT_FALSE(t.locate("SETOR;FUNCIONARIO", {V::text("01"), V::text("002")}));
    EXPECT_TRUE(t.locate("SETOR;FUNCIONARIO", {V::text("01"), V::text("009")}));
}

TEST(WorkTable, EmptyTextFindsANullTextField)
{
    WorkTable t;
    build(t, {{"01", "001", 1}});
    t.append();
    t.fieldByName("SETOR").setAsString("01");
    t.fieldByName("QTDE").setAsInteger(2);
    t.post(); // FUNCIONARIO left null
    ASSERT_TRUE(t.locate("SETOR;FUNCIONARIO", {V::text("01"), V::text("")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 2);
}

TEST(WorkTable, IndexFieldsOrderRowsAndFindKeyUsesThem)
{
    WorkTable t;
    build(t, {{"02", "003", 1}, {"01", "002", 2}, {"01", "001", 3}, {"02", "001", 4}});
    t.setIndexFieldNames("SETOR;FUNCIONARIO");
    EXPECT_EQ(walk(t, "QTDE"), QStringList({"3", "2", "4", "1"}));
    ASSERT_TRUE(t.findKey({V::text("02")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 4);
    ASSERT_TRUE(t.findKey({V::text("01"), V::text("002")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 2);
    EXPECT_FALSE(t.findKey({V::text("03")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 2);
    // A new row takes its place in the order.
    t.append();
    t.fieldByName("SETOR").setAsString("01");
    t.fieldByName("FUNCIONARIO").setAsString("000");
    t.fieldByName("QTDE").setAsInteger(5);
    t.post();
    EXPECT_EQ(walk(t, "QTDE"), QStringList({"5", "3", "2", "4", "1"}));
}

TEST(WorkTable, FilterLimitsNavigationCountLocateAndDelete)
{
    WorkTable t;
    build(t, {{"01", "001", 1}, {"02", "002", 2}, {"01", "003", 3}, {"03", "004", 4}});
    t.setFilter("SETOR=01");
    EXPECT_EQ(t.recordCount(), 4); // the switch is off
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(walk(t), QStringList({"001", "003"}));
    EXPECT_FALSE(t.locate("FUNCIONARIO", {V::text("002")}));
    EXPECT_TRUE(t.locate("FUNCIONARIO", {V::text("003")}));
    t.deleteVisible();
    EXPECT_EQ(t.recordCount(), 0);
    t.setFiltered(false);
    EXPECT_EQ(walk(t), QStringList({"002", "004"}));

    t.setFilter("SETOR IN('02','03') and (FUNCIONARIO IN ('004'))");
    t.setFiltered(true);
    EXPECT_EQ(walk(t), QStringList({"004"}));
    // A row edited out of the filter disappears from view.
    t.first();
    t.edit();
    t.fieldByName("FUNCIONARIO").setAsString("005");
    t.post();
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_THROW(t.setFilter("COD IN()"), FilterError);
    EXPECT_EQ(t.filter(), "SETOR IN('02','03') and (FUNCIONARIO IN ('004'))");
}

TEST(WorkTable, BadFilterLeavesTheSwitchOff)
{
    WorkTable t;
    build(t, {{"01", "001", 1}});
    t.setFilter("SETOR IN(");
    try {
        t.setFiltered(true);
        FAIL();
    } catch (const FilterError& e) {
        EXPECT_STREQ(e.what(), "IN predicate list may not be empty");
    }
    EXPECT_FALSE(t.filtered());
    EXPECT_EQ(t.recordCount(), 1);
}

TEST(WorkTable, DetailFollowsItsMaster)
{
    WorkTable master;
    master.addField("COD_SETOR", FieldType::Text, 2);
    master.createDataSet();
    for (const char* s : {"01", "02", "09"}) {
        master.append();
        master.fieldByName("COD_SETOR").setAsString(s);
        master.post();
    }
    WorkTable detail;
    build(detail, {{"02", "201", 1}, {"01", "101", 2}, {"02", "202", 3}});
    detail.setIndexFieldNames("SETOR");
    detail.setMasterSource(&master, "COD_SETOR");
    master.first();
    EXPECT_EQ(walk(detail), QStringList({"101"}));
    master.next();
    EXPECT_EQ(walk(detail), QStringList({"201", "202"}));
    EXPECT_EQ(detail.recordCount(), 2);
    master.next();
    EXPECT_EQ(detail.recordCount(), 0);
    detail.setMasterSource(nullptr, {});
    EXPECT_EQ(detail.recordCount(), 3);
}

TEST(WorkTable, ChangeHandlerFiresOnEveryStoredValue)
{
    WorkTable t;
    build(t);
    QStringList seen;
    t.fieldByName("QTDE").onChange = [&](WorkField& f) { seen << QString::number(f.asInteger()); };
    t.append();
    t.fieldByName("QTDE").setAsInteger(1);
    t.fieldByName("SETOR").setAsString("01");
    t.fieldByName("QTDE").setAsFloat(2.4);
    t.post();
    t.edit();
    t.fieldByName("QTDE").setAsInteger(7);
    t.post();
    EXPECT_EQ(seen, QStringList({"1", "2", "7"}));
}

TEST(WorkTable, RowsTakenOutComeBackWithoutACopyIndexedAndInOrder)
{
    WorkTable t("cds");
    build(t, {{"01", "001", 5}, {"02", "002", 7}, {"01", "003", 9}});
    ASSERT_TRUE(t.locate("FUNCIONARIO", {V::text("002")})); // an index exists
    std::vector<std::unique_ptr<WorkRow>> rows = t.takeRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(t.active());
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_FALSE(t.locate("FUNCIONARIO", {V::text("002")}));

    // Back, the last first, between new rows: the order of appending, the
    // cells unchanged and found by the index; the rows themselves, not copies.
    const WorkRow* terceira = rows[2].get();
    t.append();
    t.fieldByName("FUNCIONARIO").setAsString("004");
    t.post();
    t.appendRow(std::move(rows[2]));
    t.appendRow(std::move(rows[0]));
    EXPECT_EQ(walk(t), QStringList({"004", "003", "001"}));
    ASSERT_TRUE(t.locate("FUNCIONARIO", {V::text("003")}));
    EXPECT_EQ(t.fieldByName("QTDE").asInteger(), 9);
    t.setIndexFieldNames("QTDE");
    EXPECT_EQ(walk(t), QStringList({"004", "001", "003"}));
    t.setIndexFieldNames({});
    t.last();
    const std::uint64_t marca = t.bookmark();
    t.first();
    ASSERT_TRUE(t.gotoBookmark(marca));
    EXPECT_EQ(t.fieldByName("FUNCIONARIO").asString(), "001");
    EXPECT_EQ(t.takeRows()[1].get(), terceira);

    WorkTable outra("outra");
    outra.addField("SETOR", FieldType::Text, 2);
    outra.createDataSet();
    EXPECT_THROW(outra.appendRow(std::move(rows[1])), WorkTableError);
}

TEST(WorkTable, FetchedTableReadARowAtATimeShowsEachRowAlone)
{
    FixtureDb db(R"(
insert into SETOR values ('01', 'Corte', 1, '01');
insert into SETOR values ('02', 'Costura', 2, null);
insert into SETOR values ('03', 'Montagem', 3, '02');
)");
    SqlConnection con({"User_Name=SYSDBA", "Database=" + db.path()});
    con.open();
    SqlQuery q(&con);
    q.sql() << "select s.cod_se, s.nome_se from setor s order by s.cod_se";
    WorkTable t;
    t.setSource(&q);
    t.setIndexFieldNames("COD_SE");
    QStringList vistos;
    // Each row alone, with the look-ups that build the view and the indexes
    // on it: nothing of a dropped row may be reached from the next.
    t.openEach([&] {
        EXPECT_EQ(t.recordCount(), 1);
        const QString cod = t.fieldByName("COD_SE").asString();
        EXPECT_TRUE(t.findKey({V::text(cod)}));
        EXPECT_TRUE(t.locate("COD_SE", {V::text(cod)}));
        vistos << cod + "=" + t.fieldByName("NOME_SE").asString();
    });
    EXPECT_EQ(vistos, QStringList({"01=Corte", "02=Costura", "03=Montagem"}));
    EXPECT_TRUE(t.active());
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_FALSE(t.findKey({V::text("03")}));
}

TEST(WorkTable, FetchedTableCopiesAStatementsRows)
{
    FixtureDb db(R"(
insert into SETOR values ('01', 'Corte', 1, '01');
insert into SETOR values ('02', 'Costura', 2, null);
)");
    SqlConnection con({"User_Name=SYSDBA", "Database=" + db.path()});
    con.open();
    SqlQuery q(&con);
    q.sql() << "select s.cod_se, s.setor_agrup_se from setor s";
    WorkTable t;
    t.setSource(&q);
    t.setIndexFieldNames("COD_SE");
    t.open();
    EXPECT_EQ(t.recordCount(), 2);
    ASSERT_TRUE(t.findKey({V::text("01")}));
    EXPECT_EQ(t.fieldByName("setor_agrup_se").asString(), "01");
    ASSERT_TRUE(t.findKey({V::text("02")}));
    EXPECT_TRUE(t.fieldByName("SETOR_AGRUP_SE").isNull());
    EXPECT_EQ(t.fieldByName("Setor_Agrup_Se").size(), 2);
    // Closing drops the rows; opening again reads the database anew.
    t.close();
    EXPECT_FALSE(t.active());
    t.open();
    EXPECT_EQ(t.recordCount(), 2);
}
