#pragma once

#include "data/FbValue.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

class SqlConnection;

namespace fb {
class Statement;
class ResultSet;
struct Column;
} // namespace fb

// A statement component: its text as a list of lines (sent joined by line
// breaks), named parameters, and, while open, the current row of its result,
// read forward.
class SqlQuery {
public:
    explicit SqlQuery(SqlConnection* connection = nullptr);
    ~SqlQuery();
    SqlQuery(const SqlQuery&) = delete;
    SqlQuery& operator=(const SqlQuery&) = delete;

    void setConnection(SqlConnection* connection);
    SqlConnection* connection() const { return connection_; }

    QStringList& sql() { return sql_; }
    const QStringList& sql() const { return sql_; }
    QString text() const { return sql_.join(QLatin1Char('\n')); }

    void setParam(const QString& name, const fb::Value& value);
    // The parameters set, by name in capitals.
    const std::map<QString, fb::Value>& params() const { return params_; }

    // Runs the statement and stands on its first row.
    void open();
    void close();
    bool active() const { return result_ != nullptr; }
    // Back to the first row: runs the statement again.
    void first();
    void next();
    bool eof() const { return eof_; }

    const std::vector<fb::Column>& columns() const;
    // Fails for an unknown column; names match without regard to case.
    const fb::Value& fieldByName(const QString& name) const;
    // Null when the result has no such column.
    const fb::Value* findField(const QString& name) const;
    // Column position for value(); fails for an unknown column.
    int columnIndex(const QString& name) const;
    const fb::Value& value(int column) const;

    // Runs a statement that returns no rows.
    void execSql();

private:
    friend class SqlConnection;
    SqlConnection& requireConnection() const;
    void prepare();

    SqlConnection* connection_ = nullptr;
    QStringList sql_;
    std::map<QString, fb::Value> params_;
    std::unique_ptr<fb::Statement> statement_;
    std::unique_ptr<fb::ResultSet> result_;
    bool eof_ = true;
};
