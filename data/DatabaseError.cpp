#include "data/DatabaseError.h"

namespace fb {

DatabaseError::DatabaseError(const std::string& message, long code, std::string sqlState, std::vector<long> codes,
                             CausaFalha causa)
    : std::runtime_error(message), code_(code), sqlState_(std::move(sqlState)), codes_(std::move(codes)), causa_(causa)
{
}

} // namespace fb
