#include "support/TaxNumbers.h"

namespace fiscal {

namespace {

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int digit(const QString& d, int i)
{
    return d[i].unicode() - u'0';
}

// Weights 2..9 from the right, starting again at 2 after 9.
int weightedFromRight(const QString& d, int count)
{
    int sum = 0, weight = 2;
    for (int i = count - 1; i >= 0; --i) {
        sum += digit(d, i) * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    return sum;
}

int cnpjDigit(int sum)
{
    const int c = 11 - sum % 11;
    return c >= 10 ? 0 : c;
}

} // namespace

QString desFormataCGCCPF(const QString& Value)
{
    QString out;
    out.reserve(Value.size());
    for (QChar c : Value)
        if (isDigit(c.unicode()))
            out.append(c);
    return out;
}

char16_t* des(char16_t* Buffer)
{
    if (!Buffer)
        return Buffer;
    char16_t* to = Buffer;
    for (const char16_t* from = Buffer; *from; ++from)
        if (isDigit(*from))
            *to++ = *from;
    *to = 0;
    return Buffer;
}

QString formataCGCCPF(const QString& Value)
{
    QString d = desFormataCGCCPF(Value);
    if (d.size() == 11) {
        d.insert(3, QLatin1Char('.'));
        d.insert(7, QLatin1Char('.'));
        d.insert(11, QLatin1Char('-'));
    } else if (d.size() == 14) {
        d.insert(2, QLatin1Char('.'));
        d.insert(6, QLatin1Char('.'));
        d.insert(10, QLatin1Char('/'));
        d.insert(15, QLatin1Char('-'));
    }
    return d;
}

bool CgcCpfValido(const QString& Value)
{
    const QString d = desFormataCGCCPF(Value);
    QString expected = QStringLiteral("&@#");
    if (d.size() >= 9 && d.size() <= 11) {
        int s1 = 0, s2 = 0;
        for (int i = 0; i < 9; ++i) {
            s1 += digit(d, i) * (i + 1);
            s2 += digit(d, i) * (9 - i);
        }
        int c1 = s1 % 11;
        if (c1 == 10) {
            c1 = 0;
            s2 += 9;
        }
        int c2 = s2 % 11;
        if (c2 == 10)
            c2 = 0;
        expected = d.left(9) + QChar(u'0' + c1) + QChar(u'0' + c2);
    } else if (d.size() >= 12) {
        const int c1 = cnpjDigit(weightedFromRight(d, 12));
        const QString thirteen = d.left(12) + QChar(u'0' + c1);
        const int c2 = cnpjDigit(weightedFromRight(thirteen, 13));
        expected = thirteen + QChar(u'0' + c2);
    }
    return d == expected;
}

} // namespace fiscal
