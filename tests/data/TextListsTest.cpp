#include "data/TextLists.h"

#include <gtest/gtest.h>

TEST(TextLists, SplitsLikeTheFactorysListSettings)
{
    struct Case {
        QString text;
        QStringList items;
    };
    const Case cases[] = {
        {"", {}},
        {"03, 11", {"03", "11"}},
        {"03,,11", {"03", "", "11"}},
        {",03", {"", "03"}},
        {"03,", {"03", ""}},
        {"03, ", {"03"}},
        {"01 02", {"01", "02"}},
        {"01, 02", {"01", "02"}},
        {"  01\t05 ", {"01", "05"}},
        {"01 05,\"12 A\"", {"01", "05", "12 A"}},
        {"\"a,\"\"b\"", {"a,\"b"}},
        {"O'X", {"O'X"}},
        // A NUL (a damaged file, UTF-16 read as bytes) ends the text.
        {QString("03,11") + QChar(0) + "05", {"03", "11"}},
        {QString("03") + QChar(0), {"03"}},
        {QString(QChar(0)) + "03", {}},
        {QString("0") + QChar(0) + "3" + QChar(0) + "," + QChar(0), {"0"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitCommaText(c.text), c.items) << c.text.toStdString();
}

TEST(TextLists, QuotesForAnInList)
{
    EXPECT_EQ(quoteSqlList({"03", "11"}), "'03','11'");
    EXPECT_EQ(quoteSqlList({"03", "", "11"}), "'03','','11'");
    EXPECT_EQ(quoteSqlList({"O'X"}), "'O''X'");
    EXPECT_EQ(quoteSqlList({}), "");
}
