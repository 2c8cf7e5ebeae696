#pragma once

#include "data/Cell.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>
#include <vector>

// The filter language of the working tables: comparisons (= <> < <= > >=),
// [NOT] IN (list), IS [NOT] NULL, AND, OR, NOT and parentheses over field
// names, quoted texts ('' for a quote) and numbers. Keywords and field names
// match without regard to case. An unquoted number compared with a text field
// is compared as the text it was written as, so Setor=03 keeps its zero;
// a text field that holds codes read from a numeric column (byValue) is
// compared as the database compares such a column: a whole number against a
// whole number by value, so FUNCIONARIO IN ('008') finds the code 8.
class FilterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    FilterError(const std::string& text, int position, QString detail)
        : std::runtime_error(text), position_(position), detail_(std::move(detail))
    {
    }
    // 1-based position in the expression, 0 when the error names none.
    int position() const { return position_; }
    // The error without its position.
    const QString& detail() const { return detail_; }

private:
    int position_ = 0;
    QString detail_;
};

class FilterExpression {
public:
    struct FieldInfo {
        QString name;
        bool isText;
        bool byValue = false;
    };

    // Compiles against the table's fields; fails with FilterError naming the
    // position of a malformed part.
    FilterExpression(const QString& text, const std::vector<FieldInfo>& fields);
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    // True when the row (its cells in field order) matches.
    bool matches(const std::vector<Cell>& row) const;

    struct Node;

private:
    std::unique_ptr<Node> root_;
};
