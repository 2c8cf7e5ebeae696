#include "data/DatabaseError.h"

namespace fb {

DatabaseError::DatabaseError(const std::string& message, long code, std::string sqlState, std::vector<long> codes,
                             CausaFalha causa)
    : std::runtime_error(message), code_(code), sqlState_(std::move(sqlState)), codes_(std::move(codes)), causa_(causa)
{
}

} // namespace fb

CausaFalha causaDe(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const fb::DatabaseError*>(&e))
        return db->causa();
    return CausaFalha::Outra;
}
