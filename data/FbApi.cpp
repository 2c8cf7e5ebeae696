#include "data/FbApi.h"

#include "data/DatabaseError.h"

#include <ibase.h>

#include <string>

namespace fb {

Firebird::IMaster* master()
{
    static Firebird::IMaster* instance = Firebird::fb_get_master_interface();
    return instance;
}

Firebird::IUtil* util()
{
    return master()->getUtilInterface();
}

Status::Status() : raw_(master()->getStatus()), wrapper_(raw_) {}

Status::~Status()
{
    raw_->dispose();
}

bool Status::failed() const
{
    return (raw_->getState() & Firebird::IStatus::STATE_ERRORS) != 0;
}

void Status::check()
{
    if (!failed())
        return;
    char text[2048] = {};
    util()->formatStatus(text, sizeof text, raw_);
    std::string message(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();

    const intptr_t* errors = raw_->getErrors();
    long code = (errors && errors[0] == isc_arg_gds) ? static_cast<long>(errors[1]) : 0;
    char state[6] = {};
    fb_sqlstate(state, const_cast<ISC_STATUS*>(reinterpret_cast<const ISC_STATUS*>(errors)));
    std::string sqlState(state);
    if (sqlState == "00000")
        sqlState.clear();
    // Every error code, for the cause: the first names the operation, a
    // later one often what went wrong.
    std::vector<long> codes;
    for (const intptr_t* p = errors; p && *p != isc_arg_end;) {
        if (p[0] == isc_arg_gds)
            codes.push_back(static_cast<long>(p[1]));
        p += p[0] == isc_arg_cstring ? 3 : 2;
    }
    const CausaFalha causa = causaDosCodigos(codes);
    wrapper_.init();
    throw DatabaseError(message, code, sqlState, std::move(codes), causa);
}

XpbBuilder::XpbBuilder(unsigned kind)
{
    Status st;
    builder_ = util()->getXpbBuilder(st.get(), kind, nullptr, 0);
    st.check();
}

XpbBuilder::~XpbBuilder()
{
    builder_->dispose();
}

void XpbBuilder::insertString(unsigned char tag, const char* value)
{
    Status st;
    builder_->insertString(st.get(), tag, value);
    st.check();
}

void XpbBuilder::insertInt(unsigned char tag, int value)
{
    Status st;
    builder_->insertInt(st.get(), tag, value);
    st.check();
}

void XpbBuilder::insertTag(unsigned char tag)
{
    Status st;
    builder_->insertTag(st.get(), tag);
    st.check();
}

const unsigned char* XpbBuilder::buffer()
{
    Status st;
    const unsigned char* b = builder_->getBuffer(st.get());
    st.check();
    return b;
}

unsigned XpbBuilder::length()
{
    Status st;
    unsigned n = builder_->getBufferLength(st.get());
    st.check();
    return n;
}

} // namespace fb
