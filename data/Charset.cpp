#include "data/Charset.h"

#include <QStringDecoder>

#include <array>

namespace fb {

namespace {

// Windows-1252 code points for 0x80..0x9F; the five undefined bytes keep
// their C1 control code, as Windows itself maps them.
constexpr std::array<char16_t, 32> kWin1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWin1252(const char* bytes, int length)
{
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        out.append(QChar(b >= 0x80 && b <= 0x9F ? kWin1252High[b - 0x80] : char16_t(b)));
    }
    return out;
}

} // namespace

QString decodeText(const char* bytes, int length, unsigned charsetId)
{
    switch (charsetId & 0xFF) {
    case CsUtf8:
    case CsUnicodeFss:
        return QString::fromUtf8(bytes, length);
    case CsIso8859_1:
    case CsAscii:
        return QString::fromLatin1(bytes, length);
    default:
        return fromWin1252(bytes, length);
    }
}

QString fromWindows1252(const QByteArray& bytes)
{
    return fromWin1252(bytes.constData(), int(bytes.size()));
}

QByteArray toWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out.append(char(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < int(kWin1252High.size()); ++i) {
            if (kWin1252High[i] == u) {
                mapped = char(0x80 + i);
                break;
            }
        }
        out.append(mapped);
    }
    return out;
}

} // namespace fb
