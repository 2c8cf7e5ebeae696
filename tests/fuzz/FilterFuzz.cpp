// The filter language: compile any text against a table of text and numeric
// fields, and evaluate it on rows with nulls and extreme values.
#include "data/FilterExpression.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<FilterExpression::FieldInfo> fields = {
        {QStringLiteral("COD"), true}, {QStringLiteral("Setor"), true}, {QStringLiteral("NOME"), true},
        {QStringLiteral("QTDE"), false}, {QStringLiteral("MEDIA"), false}};
    static const std::vector<std::vector<Cell>> rows = {
        {Cell{}, Cell{}, Cell{}, Cell{}, Cell{}},
        {QString(), QStringLiteral("03"), QStringLiteral("O'X"), std::numeric_limits<std::int64_t>::min(), -0.0},
        {QStringLiteral("11"), QStringLiteral("3"), QString(300, QChar(0xE9)), std::numeric_limits<std::int64_t>::max(),
         std::numeric_limits<double>::infinity()},
        {QStringLiteral("A1"), QString(QChar(0)), QStringLiteral("x"), std::int64_t(0), std::nan("")},
        {QStringLiteral("1e308"), QStringLiteral("-1"), QStringLiteral(""), std::int64_t(-1), 1e308},
    };
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const FilterExpression e(text, fields);
        for (const auto& row : rows)
            (void)e.matches(row);
    } catch (const FilterError&) {
    }
    return 0;
}
