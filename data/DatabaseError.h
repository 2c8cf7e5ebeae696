#pragma once

#include <stdexcept>
#include <string>

namespace fb {

// The one exception type for database failures. The message is the client
// library's own text; code is the first error code of the status vector and
// sqlState the five-character SQLSTATE (empty when the client gave none).
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& message, long code = 0, std::string sqlState = {});

    long code() const noexcept { return code_; }
    const std::string& sqlState() const noexcept { return sqlState_; }

private:
    long code_;
    std::string sqlState_;
};

// A value that cannot be converted to the type asked for.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace fb
