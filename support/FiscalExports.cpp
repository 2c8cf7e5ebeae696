// The tax-number routines under their C names, for callers in any language.
#include "support/TaxNumbers.h"
#include "tolvaneo/fiscal.h"

#include <cstring>

#define TOLVANEO_EXPORT __attribute__((visibility("default")))

namespace {

QString fromBuffer(const char16_t* value)
{
    return value ? QString::fromUtf16(value) : QString();
}

int toBuffer(const QString& text, char16_t* result, int capacity)
{
    const int length = int(text.size());
    if (result && capacity > length) {
        std::memcpy(result, text.utf16(), size_t(length) * sizeof(char16_t));
        result[length] = 0;
    }
    return length;
}

} // namespace

extern "C" {

TOLVANEO_EXPORT char16_t* des(char16_t* buffer)
{
    return fiscal::des(buffer);
}

TOLVANEO_EXPORT int desFormataCGCCPF(const char16_t* value, char16_t* result, int capacity)
{
    return toBuffer(fiscal::desFormataCGCCPF(fromBuffer(value)), result, capacity);
}

TOLVANEO_EXPORT int formataCGCCPF(const char16_t* value, char16_t* result, int capacity)
{
    return toBuffer(fiscal::formataCGCCPF(fromBuffer(value)), result, capacity);
}

TOLVANEO_EXPORT int CgcCpfValido(const char16_t* value)
{
    return fiscal::CgcCpfValido(fromBuffer(value)) ? 1 : 0;
}
}
