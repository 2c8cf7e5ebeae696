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
    Attachment(const QString& database, const QString& user, const QString& password, int dialect);
    ~Attachment();
    Attachment(Attachment&& other) noexcept;
    Attachment& operator=(Attachment&& other) noexcept;
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    Firebird::IAttachment* handle() const { return handle_; }
    int dialect() const { return dialect_; }

private:
    void reset() noexcept;
    Firebird::IAttachment* handle_ = nullptr;
    int dialect_ = 3;
};

} // namespace fb
