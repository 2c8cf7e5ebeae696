#include "app/TdmPrinc.h"
#include "data/DatabaseError.h"
#include "data/SqlConnection.h"
#include "support/TCriteriaQuery.h"
#include "support/URotinas.h"
#include "tests/common/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

QStringList merged(const QStringList& base, const QStringList& criteria, const QStringList& disabled = {})
{
    TCriteriaQuery q;
    q.BaseSQL() = base;
    for (const QString& c : criteria)
        q.Criteria().Add()->setCriterion(c);
    for (const QString& c : disabled) {
        auto* item = q.Criteria().Add();
        item->setCriterion(c);
        item->setEnabled(false);
    }
    q.MergeCriteria();
    return q.sql();
}

} // namespace

TEST(Criteria, MergeIntoTheStatementsWhereClause)
{
    struct Case {
        const char* what;
        QStringList base, criteria, expected;
    };
    const Case cases[] = {
        {"no criteria", {"select * from T", "ORDER BY A"}, {}, {"select * from T", "ORDER BY A"}},
        {"no WHERE", {"select * from T"}, {"A = 1", "B = 2"}, {"select * from T", "WHERE", "       A = 1 AND ", "       B = 2"}},
        {"ORDER BY", {"select * from T", "ORDER BY A"}, {"A = 1"}, {"select * from T", "WHERE", "       A = 1", "ORDER BY A"}},
        {"GROUP BY and ORDER BY",
         {"select A, count(*) from T", "GROUP BY A", "ORDER BY A"},
         {"A = 1"},
         {"select A, count(*) from T", "WHERE", "       A = 1", "GROUP BY A", "ORDER BY A"}},
        {"WHERE on its own line",
         {"select * from T", "WHERE X = 0"},
         {"A = 1"},
         {"select * from T", "WHERE X = 0", "       A = 1"}},
        {"one line", {"select * from T WHERE X = 0 ORDER BY Y"}, {"A = 1"},
         {"select * from T ", "WHERE X = 0 ", "       A = 1", "ORDER BY Y"}},
        {"sub-select",
         {"select (select max(B) from U WHERE U.K = T.K) as M", "from T", "WHERE T.X = 0"},
         {"A = 1"},
         {"select (select max(B) from U WHERE U.K = T.K) as M", "from T", "WHERE T.X = 0", "       A = 1"}},
        {"sub-select without an outer WHERE",
         {"select (select max(B) from U WHERE U.K = T.K) as M from T"},
         {"A = 1"},
         {"select (select max(B) from U WHERE U.K = T.K) as M from T", "WHERE", "       A = 1"}},
        {"disabled criterion", {"select * from T"}, {}, {"select * from T"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(merged(c.base, c.criteria, QString(c.what) == "disabled criterion" ? QStringList{"B = [P]"} : QStringList{}),
                  c.expected)
            << c.what;
}

TEST(Criteria, MarkersBecomeStringParameters)
{
    TCriteriaQuery q;
    q.BaseSQL() = QStringList{"select * from T where COD = '[COD]' and [Extra"};
    auto* off = q.Criteria().Add();
    off->setCriterion("D = [Data]");
    off->setEnabled(false);
    q.Criteria().Add()->setCriterion("K = '[Cod]'");
    q.MergeCriteria();
    ASSERT_EQ(q.StringParams().size(), 2u); // [Cod] finds COD; the open "[" ends the scan
    EXPECT_EQ(q.StringParams()[0].Name, "COD");
    EXPECT_EQ(q.StringParams()[1].Name, "Data");
    EXPECT_EQ(q.ParamIndexOf("data"), 1);
    EXPECT_EQ(q.ParamIndexOf("none"), -1);
    q.StringParams()[0].Value = "042";
    q.MergeCriteria();
    EXPECT_EQ(q.sql(), QStringList({"select * from T where COD = '042' and [Extra", "WHERE", "       K = '[Cod]'"}))
        << q.sql().join('|').toStdString();
}

TEST(Criteria, NamesAndDisplayNames)
{
    TCriteria criteria;
    criteria.Add()->setName("  name\t");
    criteria.Add()->setName("Outro");
    auto* third = criteria.Add();
    EXPECT_EQ(criteria.GetItem(0)->Name(), "name");
    EXPECT_EQ(criteria.criterionByName("NAME"), criteria.GetItem(0));
    EXPECT_EQ(criteria.criterionByName("nada"), nullptr);
    EXPECT_EQ(third->DisplayName(), "Item 2");
    EXPECT_EQ(criteria.GetItem(1)->DisplayName(), "Outro");
    TCriterionItem source;
    source.setCriterion("X = 1");
    source.setEnabled(false);
    criteria.SetItem(2, source);
    EXPECT_EQ(criteria.GetItem(2)->Criterion(), "X = 1");
    EXPECT_FALSE(criteria.GetItem(2)->Enabled());
    auto* first = criteria.Insert(0);
    EXPECT_EQ(first->DisplayName(), "Item 0");
    EXPECT_EQ(TCriteriaQuery::FindKeywordLine({"a", "(b WHERE", ") WHERE c"}, "where"), 2);
    EXPECT_EQ(TCriteriaQuery::FindKeywordLine({"a"}, "WHERE"), -1);
}

TEST(Criteria, RefreshReturnsToTheBookmarkedRow)
{
    FixtureDb db(R"(
insert into SETOR values ('01', 'Corte', 1, '01');
insert into SETOR values ('02', 'Costura', 2, '02');
insert into SETOR values ('03', 'Montagem', 3, '03');
)");
    SqlConnection con({"User_Name=SYSDBA", "Database=" + db.path()});
    con.open();
    TCriteriaQuery q(&con);
    q.BaseSQL() = QStringList{"select COD_SE, NOME_SE from SETOR", "ORDER BY COD_SE"};
    auto* criterion = q.Criteria().Add();
    criterion->setCriterion("COD_SE >= '[Min]'");
    q.MergeCriteria();
    TCriteriaDataSet good(&q), bad;
    TCriteriaQuery broken(&con);
    broken.BaseSQL() = QStringList{"select * from SETOR"};
    broken.MergeCriteria();
    bad.setCriteriaQuery(&broken);
    good.open();
    bad.open();
    good.first();
    good.next(); // on 02

    TdmPrinc dm;
    dm.AtualizarContasCobranca(); // an empty list does nothing
    dm.ContasCobranca() = {nullptr, &good};
    dm.AtualizarContasCobranca();
    EXPECT_TRUE(good.active());
    EXPECT_EQ(good.fieldByName("NOME_SE").asString(), "Costura");

    // A failing entry ends the refresh: later entries stay as they were.
    broken.BaseSQL() = QStringList{"select * from NO_SUCH_TABLE"};
    good.first();
    dm.ContasCobranca() = {&bad, &good};
    EXPECT_THROW(dm.AtualizarContasCobranca(), fb::DatabaseError);
    EXPECT_TRUE(good.active());
    EXPECT_EQ(good.fieldByName("NOME_SE").asString(), "Corte");
}
