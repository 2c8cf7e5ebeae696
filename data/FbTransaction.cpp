#include "data/FbTransaction.h"

#include "data/DatabaseError.h"
#include "data/FbApi.h"
#include "data/FbAttachment.h"

#include <ibase.h>

#include <utility>

namespace fb {

Transaction::Transaction(Attachment& attachment)
{
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version,
                                 isc_tpb_wait};
    Status st;
    handle_ = attachment.handle()->startTransaction(st.get(), sizeof tpb, tpb);
    st.check();
}

Transaction::~Transaction()
{
    reset();
}

Transaction::Transaction(Transaction&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}

Transaction& Transaction::operator=(Transaction&& other) noexcept
{
    if (this != &other) {
        reset();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

void Transaction::commit()
{
    if (!handle_)
        throw DatabaseError("The transaction has already ended");
    Status st;
    handle_->commit(st.get());
    st.check();
    handle_ = nullptr;
}

void Transaction::reset() noexcept
{
    if (!handle_)
        return;
    try {
        Status st;
        handle_->rollback(st.get());
        if (st.failed())
            handle_->release();
    } catch (...) {
    }
    handle_ = nullptr;
}

} // namespace fb
