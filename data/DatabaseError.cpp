#include "data/DatabaseError.h"

namespace fb {

DatabaseError::DatabaseError(const std::string& message, long code, std::string sqlState)
    : std::runtime_error(message), code_(code), sqlState_(std::move(sqlState))
{
}

} // namespace fb
