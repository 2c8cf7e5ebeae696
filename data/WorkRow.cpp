#include "data/WorkRow.h"

#include "data/WorkField.h"

void appendKey(RowKey& key, FieldType type, const Cell& c)
{
    if (type == FieldType::Text) {
        const QString empty;
        const QString& text = std::holds_alternative<QString>(c) ? std::get<QString>(c) : empty;
        const auto length = std::uint32_t(text.size());
        key += 'T';
        key.append(reinterpret_cast<const char*>(&length), sizeof length);
        key.append(reinterpret_cast<const char*>(text.constData()), size_t(text.size()) * sizeof(QChar));
    } else if (cellIsNull(c)) {
        key += 'Z';
    } else {
        double v = std::holds_alternative<std::int64_t>(c) ? double(std::get<std::int64_t>(c)) : std::get<double>(c);
        if (v == 0)
            v = 0; // one key for 0 and -0
        key += 'N';
        key.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
}

int compareCells(const Cell& a, const Cell& b)
{
    const bool an = cellIsNull(a), bn = cellIsNull(b);
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (std::holds_alternative<QString>(a) || std::holds_alternative<QString>(b)) {
        const QString& x = std::holds_alternative<QString>(a) ? std::get<QString>(a) : QString();
        const QString& y = std::holds_alternative<QString>(b) ? std::get<QString>(b) : QString();
        int c = x.compare(y);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    auto num = [](const Cell& c) {
        return std::holds_alternative<std::int64_t>(c) ? double(std::get<std::int64_t>(c)) : std::get<double>(c);
    };
    double x = num(a), y = num(b);
    return x < y ? -1 : (x > y ? 1 : 0);
}
