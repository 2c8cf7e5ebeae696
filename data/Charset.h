#pragma once

#include <QByteArray>
#include <QString>

namespace fb {

// Firebird character set ids that the layer decodes itself.
enum CharsetId : unsigned {
    CsNone = 0,
    CsOctets = 1,
    CsAscii = 2,
    CsUnicodeFss = 3,
    CsUtf8 = 4,
    CsIso8859_1 = 21,
    CsWin1252 = 53,
};

// Text as the server sent it, decoded by the column's declared character set.
// NONE, OCTETS and unknown sets are read as Windows-1252, the 8-bit code page
// of the machines that write the factory database.
QString decodeText(const char* bytes, int length, unsigned charsetId);

QString fromWindows1252(const QByteArray& bytes);
QByteArray toWindows1252(const QString& text);

} // namespace fb
