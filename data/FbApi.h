#pragma once
// Private to the Firebird client layer: only .cpp files of data/ include this.

#include <firebird/Interface.h>

namespace fb {

Firebird::IMaster* master();
Firebird::IUtil* util();

// One status object per call site. Every client call takes get(); check()
// turns an error left in the status into a DatabaseError carrying the
// client's formatted text, error code and SQLSTATE.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    Firebird::CheckStatusWrapper* get() { return &wrapper_; }
    bool failed() const;
    void check();

private:
    Firebird::IStatus* raw_;
    Firebird::CheckStatusWrapper wrapper_;
};

// Owns an IXpbBuilder (disposed, not released).
class XpbBuilder {
public:
    explicit XpbBuilder(unsigned kind);
    ~XpbBuilder();
    XpbBuilder(const XpbBuilder&) = delete;
    XpbBuilder& operator=(const XpbBuilder&) = delete;

    void insertString(unsigned char tag, const char* value);
    void insertInt(unsigned char tag, int value);
    void insertTag(unsigned char tag);
    const unsigned char* buffer();
    unsigned length();

private:
    Firebird::IXpbBuilder* builder_;
};

} // namespace fb
