#pragma once

#include <QString>

namespace Firebird {
class IAttachment;
}

namespace fb {

// An attached database; detached when destroyed. A plain file path attaches
// through the embedded engine, host:path through a server. No role and no
// connection character set are sent.
class Attachment {
public:
    static constexpr int kConnectTimeoutSeconds = 30;
    Attachment(const QString& database, const QString& user, const QString& password, int dialect);
    ~Attachment();
    Attachment(Attachment&& other) noexcept;
    Attachment& operator=(Attachment&& other) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    Firebird::IAttachment* handle() const { return handle_; }
    // Asks the engine to stop the statement running on this attachment;
    // with abort, the client side of the connection is closed at once (a
    // server that does not answer at all). Callable from another thread;
    // never throws.
    void cancel(bool abort) noexcept;
    // A round trip to the server (nothing for a local file); throws the
    // client's error when the connection is gone.
    void ping();
    int dialect() const { return dialect_; }

private:
    void reset() noexcept;
    Firebird::IAttachment* handle_ = nullptr;
    int dialect_ = 3;
};

} // namespace fb
