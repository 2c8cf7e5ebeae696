#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Byte-wise unscrambling with a running key. Only the first (length mod 256)
// bytes are read; each output byte is the input byte XOR bits 8..15 of the
// key, read as Windows-1252; the key then becomes (key + input byte) *
// multKey + addKey in 32-bit wrapping arithmetic.
QString decryptStr(const QByteArray& in, std::int32_t startKey, std::int32_t multKey, std::int32_t addKey);
