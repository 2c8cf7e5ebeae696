#include "data/FilterExpression.h"

#include <gtest/gtest.h>

namespace {

// Rows over the fields COD (text), SETOR (text), FUNCIONARIO (text), QTDE (integer).
const std::vector<FilterExpression::FieldInfo> kFields = {
    {"COD", true}, {"Setor", true}, {"FUNCIONARIO", true}, {"QTDE", false}};

std::vector<Cell> row(Cell cod, Cell setor, Cell func, Cell qtde)
{
    return {std::move(cod), std::move(setor), std::move(func), std::move(qtde)};
}

} // namespace

TEST(FilterExpression, EvaluatesAgainstRows)
{
    const auto r03 = row(QString("03"), QString("03"), QString("001"), std::int64_t(10));
    const auto r3 = row(QString("3"), QString("3"), QString("002"), std::int64_t(5));
    const auto rNull = row(Cell{}, QString("11"), Cell{}, Cell{});
    struct Case {
        const char* expr;
        const std::vector<Cell>& r;
        bool expected;
    };
    const Case cases[] = {
        {"COD IN('03','11')", r03, true},
        {"COD IN('03','11')", r3, false},
        {"cod in ('11', '3')", r3, true},
        {"Setor=03", r03, true},
        {"Setor=03", r3, false}, // compared as written: leading zero kept
        {"SETOR = 3", r3, true},
        {"Setor=03and (FUNCIONARIO IN ('001','002'))", r03, true},
        {"Setor=03 and (FUNCIONARIO IN ('002'))", r03, false},
        {"Setor=03 AND (FUNCIONARIO NOT IN ('002'))", r03, true},
        {"Setor=03or Setor=3", r3, true},
        {"FUNCIONARIO <> '001'", r03, false},
        {"FUNCIONARIO <> '001'", r3, true},
        {"FUNCIONARIO > '001'", r3, true},
        {"FUNCIONARIO >= '002' and FUNCIONARIO <= '002'", r3, true},
        {"FUNCIONARIO < '002'", r03, true},
        {"QTDE > 7", r03, true},
        {"QTDE > 7", r3, false},
        {"QTDE = 10.0", r03, true},
        {"QTDE >= -1", r3, true},
        {"QTDE = '10'", r03, true},
        {"COD IS NULL", rNull, true},
        {"COD is not null", rNull, false},
        {"COD IS NOT NULL", r03, true},
        {"COD = '03'", rNull, false},
        {"COD <> '03'", rNull, false},
        {"COD IN ('03')", rNull, false},
        {"not COD = '03'", r03, false},
        {"NOT (COD = '3' OR COD = '4')", r03, true},
        {"COD = 'O''X'", row(QString("O'X"), Cell{}, Cell{}, Cell{}), true},
        {"(COD = '03') and ((SETOR = '03') or (QTDE > 100))", r03, true},
        {"COD = SETOR", r03, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterExpression(c.expr, kFields).matches(c.r), c.expected) << c.expr;
}

// Codes read from a whole-number column are compared as the database compares
// such a column with a constant: by value, quoted or not; what is no whole
// number still compares as text.
TEST(FilterExpression, CodesOfANumberColumnCompareByValue)
{
    const std::vector<FilterExpression::FieldInfo> fields = {{"SETOR", true, true}, {"FUNCIONARIO", true, true},
                                                             {"NOME", true}};
    const std::vector<Cell> r{QString("3"), QString("8"), QString("008")};
    const struct {
        const char* expr;
        bool expected;
    } cases[] = {
        {"FUNCIONARIO IN ('001','008')", true},
        {"FUNCIONARIO IN (001, 008)", true},
        {"FUNCIONARIO NOT IN ('008')", false},
        {"FUNCIONARIO = ' 8 '", true},
        {"FUNCIONARIO > '010'", false}, // 8 < 10, where "8" > "010" as text
        {"FUNCIONARIO < '10'", true},
        {"FUNCIONARIO = 'A8'", false},
        {"SETOR=03 and (FUNCIONARIO IN ('008'))", true},
        {"NOME = '8'", false}, // a field of text keeps the text's comparison
        {"NOME = 008", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilterExpression(c.expr, fields).matches(r), c.expected) << c.expr;
}

TEST(FilterExpression, MalformedExpressionsNameThePosition)
{
    struct Case {
        const char* expr;
        const char* message;
    };
    const Case cases[] = {
        {"COD IN(", "IN predicate list may not be empty"}, // what an empty sector list builds
        {"COD IN()", "IN predicate list may not be empty"},
        {"COD IN ( )", "IN predicate list may not be empty"},
        {"", "Filter error at position 1: empty expression"},
        {"COD =", "Filter error at position 6: unexpected end of expression"},
        {"COD = '03", "Filter error at position 7: unterminated text"},
        {"NOME = 'x'", "Filter error at position 1: unknown field 'NOME'"},
        {"Setor=03 and (FUNCIONARIO IN ('001')", "Filter error at position 37: expected ')'"},
        {"COD IN ('1' '2')", "Filter error at position 13: expected ')'"},
        {"COD '03'", "Filter error at position 5: expected an operator, IN or IS before '03'"},
        {"COD = 03 )", "Filter error at position 10: unexpected ')'"},
        {"COD IS 3", "Filter error at position 8: expected NULL"},
        {"COD # 3", "Filter error at position 5: unexpected character '#'"},
        // A character beyond the first plane, named whole, never half of it.
        {"COD \xf3\xb9\xaa\xa1 3", "Filter error at position 5: unexpected character '\xf3\xb9\xaa\xa1'"},
    };
    for (const auto& c : cases) {
        try {
            FilterExpression(c.expr, kFields);
            ADD_FAILURE() << "accepted: " << c.expr;
        } catch (const FilterError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.expr;
        }
    }
}

TEST(FilterExpression, DeepNestingIsAFilterErrorNotACrash)
{
    // What a damaged employee-filter setting can build: thousands of
    // parentheses or NOTs.
    const std::pair<QString, const char*> cases[] = {
        {QString(14000, QLatin1Char('(')) + "COD = '03'", "Filter error at position 65: nesting deeper than 64 levels"},
        {QStringLiteral("NOT ").repeated(14000) + "COD = '03'",
         "Filter error at position 257: nesting deeper than 64 levels"},
    };
    for (const auto& [expr, message] : cases) {
        try {
            FilterExpression(expr, kFields);
            ADD_FAILURE() << "accepted";
        } catch (const FilterError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
    // Ordinary nesting still compiles.
    const QString ok = QString(60, QLatin1Char('(')) + "COD = '03'" + QString(60, QLatin1Char(')'));
    EXPECT_TRUE(FilterExpression(ok, kFields).matches(row(QString("03"), Cell{}, Cell{}, Cell{})));
}
