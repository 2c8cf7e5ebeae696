#pragma once

#include "data/FbValue.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace Firebird {
class IStatement;
}

namespace fb {

class Attachment;
class Transaction;
class ResultSet;

// A prepared statement with named parameters (:NAME). Parameters that are
// not set are sent as null.
class Statement {
public:
    Statement(Attachment& attachment, Transaction& transaction, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QStringList& paramNames() const { return names_; }
    // Sets every occurrence of the parameter; names match without regard to case.
    void setParam(const QString& name, const Value& value);

    // Runs a select and returns its rows, read forward.
    std::unique_ptr<ResultSet> openCursor();
    // Runs a statement that returns no rows.
    void execute();

private:
    struct InputMessage;
    InputMessage buildInput();

    Attachment& attachment_;
    Transaction& transaction_;
    Firebird::IStatement* handle_ = nullptr;
    QStringList names_;
    std::map<QString, Value> values_;
};

} // namespace fb
