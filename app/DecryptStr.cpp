#include "app/DecryptStr.h"

#include "data/Charset.h"

QString decryptStr(const QByteArray& in, std::int32_t startKey, std::int32_t multKey, std::int32_t addKey)
{
    // The position counter is 8 bits wide.
    const int n = int(in.size() % 256);
    QByteArray out;
    out.reserve(n);
    std::uint32_t key = std::uint32_t(startKey);
    for (int i = 0; i < n; ++i) {
        auto b = std::uint8_t(in[i]);
        out.append(char(b ^ std::uint8_t((key >> 8) & 0xFF)));
        key = (key + b) * std::uint32_t(multKey) + std::uint32_t(addKey);
    }
    return fb::fromWindows1252(out);
}
