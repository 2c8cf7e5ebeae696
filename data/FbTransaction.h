#pragma once

namespace Firebird {
class ITransaction;
}

namespace fb {

class Attachment;

// A read-only, read-committed (record versions) transaction that waits on
// locks: nothing done through it can change the database. Rolled back when
// destroyed unless committed.
class Transaction {
public:
    explicit Transaction(Attachment& attachment);
    ~Transaction();
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&& other) noexcept;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    Firebird::ITransaction* handle() const { return handle_; }

private:
    void reset() noexcept;
    Firebird::ITransaction* handle_ = nullptr;
};

} // namespace fb
