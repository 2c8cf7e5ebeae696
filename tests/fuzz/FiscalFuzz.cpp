// The exported tax-number routines, called as another program calls them:
// zero-terminated UTF-16 buffers and capacities of every size.
#include "tolvaneo/fiscal.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int capacity = data[0] % 40;
    std::vector<char16_t> value((size - 1) / 2 + 1, 0);
    std::memcpy(value.data(), data + 1, (size - 1) / 2 * 2);
    value.back() = 0;
    (void)CgcCpfValido(value.data());
    for (auto routine : {desFormataCGCCPF, formataCGCCPF}) {
        const int length = routine(value.data(), nullptr, 0);
        std::vector<char16_t> exact(std::size_t(length) + 1);
        routine(value.data(), exact.data(), length + 1);
        std::vector<char16_t> small(std::size_t(capacity) + 1, 0x55AA);
        routine(value.data(), capacity ? small.data() : nullptr, capacity);
        if (small.back() != 0x55AA)
            __builtin_trap(); // written past the capacity
    }
    std::vector<char16_t> copy = value;
    des(copy.data());
    return 0;
}
