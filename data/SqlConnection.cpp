#include "data/SqlConnection.h"

#include "data/DatabaseError.h"
#include "data/FbAttachment.h"
#include "data/FbTransaction.h"
#include "data/SqlQuery.h"

#include <algorithm>

SqlConnection::SqlConnection(const QStringList& params) : params_(params) {}

SqlConnection::~SqlConnection()
{
    close();
    for (SqlQuery* q : queries_)
        q->connection_ = nullptr;
}

void SqlConnection::open()
{
    if (connected())
        return;
    if (beforeConnect)
        beforeConnect();
    bool dialectOk = false;
    int dialect = params_.value(QStringLiteral("SQLDialect")).value_or(QString()).toInt(&dialectOk);
    auto attachment = std::make_unique<fb::Attachment>(params_.value(QStringLiteral("DataBase")).value_or(QString()),
                                                       params_.value(QStringLiteral("User_Name")).value_or(QString()),
                                                       params_.value(QStringLiteral("Password")).value_or(QString()),
                                                       dialectOk ? dialect : 3);
    {
        std::lock_guard lock(attachmentMutex_);
        attachment_ = std::move(attachment);
    }
    if (afterConnect)
        afterConnect();
}

void SqlConnection::close()
{
    for (SqlQuery* q : queries_)
        q->close();
    transaction_.reset();
    std::unique_ptr<fb::Attachment> closing;
    {
        std::lock_guard lock(attachmentMutex_);
        closing = std::move(attachment_);
    }
    closing.reset();
}

void SqlConnection::cancelOperation(bool abort)
{
    {
        std::lock_guard lock(attachmentMutex_);
        if (attachment_)
            attachment_->cancel(abort);
    }
    std::lock_guard lock(companheirasMutex_);
    for (SqlConnection* c : companheiras_)
        c->cancelOperation(abort);
}

void SqlConnection::acompanhar(SqlConnection* outra)
{
    std::lock_guard lock(companheirasMutex_);
    companheiras_.push_back(outra);
}

void SqlConnection::largar(SqlConnection* outra)
{
    std::lock_guard lock(companheirasMutex_);
    companheiras_.erase(std::remove(companheiras_.begin(), companheiras_.end(), outra), companheiras_.end());
}

fb::Attachment& SqlConnection::attachment()
{
    if (!attachment_)
        throw fb::DatabaseError("The database connection is not open");
    return *attachment_;
}

fb::Transaction& SqlConnection::transaction()
{
    if (!transaction_)
        transaction_ = std::make_unique<fb::Transaction>(attachment());
    return *transaction_;
}

void SqlConnection::add(SqlQuery* query)
{
    queries_.push_back(query);
}

void SqlConnection::remove(SqlQuery* query)
{
    queries_.erase(std::remove(queries_.begin(), queries_.end(), query), queries_.end());
}
