#pragma once

#include "data/ParamList.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace fb {
class Attachment;
class Transaction;
} // namespace fb

class SqlQuery;

// A database connection as the modules see it: a parameter list, handlers
// that run before and after the attach, and the attachment while open. Every
// statement runs in the connection's read-only transaction.
class SqlConnection {
public:
    explicit SqlConnection(const QStringList& params = {});
    ~SqlConnection();
    SqlConnection(const SqlConnection&) = delete;
    SqlConnection& operator=(const SqlConnection&) = delete;

    ParamList& params() { return params_; }
    const ParamList& params() const { return params_; }

    std::function<void()> beforeConnect;
    std::function<void()> afterConnect;

    // Runs the before-connect handler, attaches with the parameters, then
    // runs the after-connect handler. A failure before the attach or in it
    // leaves the connection closed. Opening an open connection does nothing.
    void open();
    void close();
    bool connected() const { return attachment_ != nullptr; }

    // Stops the statement running on the connection, and on every
    // connection that works beside it, from another thread (see
    // fb::Attachment::cancel). Nothing happens on a closed one.
    void cancelOperation(bool abort);
    // A connection that works for this one's run on another thread, and is
    // stopped with it, from now until it is let go.
    void acompanhar(SqlConnection* outra);
    void largar(SqlConnection* outra);

    fb::Attachment& attachment();
    fb::Transaction& transaction();

private:
    friend class SqlQuery;
    void add(SqlQuery* query);
    void remove(SqlQuery* query);

    ParamList params_;
    std::unique_ptr<fb::Attachment> attachment_;
    // Guards attachment_ against a cancel from another thread while the
    // connection opens or closes.
    std::mutex attachmentMutex_;
    // The connections beside this one; held while they are stopped, so that
    // none is let go of (and closed) meanwhile.
    std::mutex companheirasMutex_;
    std::vector<SqlConnection*> companheiras_;
    std::unique_ptr<fb::Transaction> transaction_;
    std::vector<SqlQuery*> queries_;
};
