#include "data/SqlQuery.h"

#include "data/DatabaseError.h"
#include "data/FbResultSet.h"
#include "data/FbStatement.h"
#include "data/SqlConnection.h"

SqlQuery::SqlQuery(SqlConnection* connection)
{
    setConnection(connection);
}

SqlQuery::~SqlQuery()
{
    close();
    if (connection_)
        connection_->remove(this);
}

void SqlQuery::setConnection(SqlConnection* connection)
{
    close();
    if (connection_)
        connection_->remove(this);
    connection_ = connection;
    if (connection_)
        connection_->add(this);
}

void SqlQuery::setParam(const QString& name, const fb::Value& value)
{
    params_[name.toUpper()] = value;
}

SqlConnection& SqlQuery::requireConnection() const
{
    if (!connection_)
        throw fb::DatabaseError("The statement has no database connection");
    return *connection_;
}

void SqlQuery::prepare()
{
    SqlConnection& c = requireConnection();
    statement_ = std::make_unique<fb::Statement>(c.attachment(), c.transaction(), text());
    for (const QString& name : statement_->paramNames()) {
        auto it = params_.find(name);
        if (it != params_.end())
            statement_->setParam(name, it->second);
    }
}

void SqlQuery::open()
{
    if (active())
        return;
    prepare();
    result_ = statement_->openCursor();
    eof_ = !result_->fetch();
}

void SqlQuery::close()
{
    result_.reset();
    statement_.reset();
    eof_ = true;
}

void SqlQuery::first()
{
    close();
    open();
}

void SqlQuery::next()
{
    if (!result_ || eof_)
        return;
    eof_ = !result_->fetch();
}

const std::vector<fb::Column>& SqlQuery::columns() const
{
    static const std::vector<fb::Column> none;
    return result_ ? result_->columns() : none;
}

const fb::Value* SqlQuery::findField(const QString& name) const
{
    if (!result_)
        return nullptr;
    int i = result_->indexOf(name);
    return i < 0 ? nullptr : &result_->value(i);
}

const fb::Value& SqlQuery::fieldByName(const QString& name) const
{
    const fb::Value* v = findField(name);
    if (!v)
        throw fb::DatabaseError(QStringLiteral("Field '%1' not found").arg(name).toStdString());
    return *v;
}

int SqlQuery::columnIndex(const QString& name) const
{
    int i = result_ ? result_->indexOf(name) : -1;
    if (i < 0)
        throw fb::DatabaseError(QStringLiteral("Field '%1' not found").arg(name).toStdString());
    return i;
}

const fb::Value& SqlQuery::value(int column) const
{
    static const fb::Value null;
    return result_ ? result_->value(column) : null;
}

void SqlQuery::execSql()
{
    close();
    prepare();
    statement_->execute();
    statement_.reset();
}
