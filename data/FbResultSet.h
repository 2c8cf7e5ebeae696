#pragma once

#include "data/FbValue.h"

#include <QString>

#include <memory>
#include <vector>

namespace Firebird {
class IResultSet;
class IMessageMetadata;
} // namespace Firebird

namespace fb {

class Attachment;
class Transaction;

// The column types a result may carry, as the layer reports them.
enum class ColumnType { Text, Integer, Float, Decimal, Date, Time, Timestamp, Blob, Boolean, Null };

struct Column {
    QString name;       // as the server reports it (alias, else field name)
    ColumnType type;
    int scale = 0;      // Decimal: digits after the point, as a negative number
    int size = 0;       // Text: declared length in characters
};

// An open cursor, read forward only. value(i) reads the current row.
class ResultSet {
public:
    ResultSet(Attachment& attachment, Transaction& transaction, Firebird::IResultSet* cursor,
              Firebird::IMessageMetadata* metadata);
    ~ResultSet();
    ResultSet(const ResultSet&) = delete;
    ResultSet& operator=(const ResultSet&) = delete;

    const std::vector<Column>& columns() const { return columns_; }
    // Index of a column, names matched without regard to case; -1 when absent.
    int indexOf(const QString& name) const;

    // Moves to the next row; false past the last one.
    bool fetch();
    const Value& value(int column) const { return row_.at(size_t(column)); }
    const std::vector<Value>& row() const { return row_; }

    void close();

private:
    struct Layout;
    Value decode(size_t i) const;

    Attachment& attachment_;
    Transaction& transaction_;
    Firebird::IResultSet* cursor_;
    Firebird::IMessageMetadata* metadata_;
    std::vector<Column> columns_;
    std::vector<Layout> layout_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::vector<Value> row_;
};

} // namespace fb
