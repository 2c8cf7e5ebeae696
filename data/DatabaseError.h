#pragma once

#include "data/CausaFalha.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace fb {

// The one exception type for database failures. The message is the client
// library's own text; code is the first error code of the status vector and
// sqlState the five-character SQLSTATE (empty when the client gave none).
class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& message, long code = 0, std::string sqlState = {},
                           std::vector<long> codes = {}, CausaFalha causa = CausaFalha::Outra);

    long code() const noexcept { return code_; }
    const std::string& sqlState() const noexcept { return sqlState_; }
    // Every error code of the status vector, in order.
    const std::vector<long>& codes() const noexcept { return codes_; }
    // What the codes mean for the screen, decided where the error was made.
    CausaFalha causa() const noexcept { return causa_; }

private:
    long code_;
    std::string sqlState_;
    std::vector<long> codes_;
    CausaFalha causa_;
};

// A value that cannot be converted to the type asked for.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace fb

// The cause of a failure: a database error's codes, or Outra.
CausaFalha causaDe(const std::exception& e);
