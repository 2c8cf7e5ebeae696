#pragma once

#include <QString>

#include <cstdint>
#include <variant>

// One stored value of a working table: empty, an integer, a float (also
// dates, as day numbers) or a text.
using Cell = std::variant<std::monostate, std::int64_t, double, QString>;

inline bool cellIsNull(const Cell& c)
{
    return std::holds_alternative<std::monostate>(c);
}
