#include "support/TaxNumbers.h"
#include "tolvaneo/fiscal.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

TEST(TaxNumbers, DigitsAndFormatting)
{
    struct Case {
        QString value, digits, formatted;
    };
    const Case cases[] = {
        {"123.456.789-09", "12345678909", "123.456.789-09"},
        {"12345678909", "12345678909", "123.456.789-09"},
        {"12.345.678/0001-95", "12345678000195", "12.345.678/0001-95"},
        {"12345678000195", "12345678000195", "12.345.678/0001-95"},
        {"1234567890", "1234567890", "1234567890"},
        {"sem números", "", ""},
        {"", "", ""},
        {QString::fromUtf16(u"١٢٣ 4"), "4", "4"}, // other scripts' digits are not digits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fiscal::desFormataCGCCPF(c.value), c.digits) << c.value.toStdString();
        EXPECT_EQ(fiscal::formataCGCCPF(c.value), c.formatted) << c.value.toStdString();
    }
}

TEST(TaxNumbers, CheckDigits)
{
    struct Case {
        const char* value;
        bool valid;
    };
    const Case cases[] = {
        {"123.456.789-09", true},
        {"123.456.789-08", false},
        {"12.345.678/0001-95", true},
        {"12.345.678/0001-96", false},
        {"000.000.000-00", true},
        {"111.111.111-11", true},
        {"00000000000000", true},
        {"CPF 123.456.789-09", true},
        {"529.982.247-25", true},
        {"11.222.333/0001-81", true},
        {"1234567", false},
        {"123456789", false},     // 9 digits
        {"1234567890", false},    // 10
        {"123456789012", false},  // 12
        {"1234567890123", false}, // 13
        {"123456780001950", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fiscal::CgcCpfValido(QString::fromUtf8(c.value)), c.valid) << c.value;
}

TEST(TaxNumbers, DesFiltersInPlace)
{
    char16_t buffer[] = u"12-3";
    EXPECT_EQ(fiscal::des(buffer), buffer);
    EXPECT_EQ(std::u16string(buffer), u"123");
    char16_t empty[] = u"";
    EXPECT_EQ(fiscal::des(empty), empty);
    EXPECT_EQ(empty[0], 0);
}

TEST(TaxNumbers, ExportedRoutinesThroughDlopen)
{
    void* lib = dlopen(TOLVANEO_FISCAL_LIB, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto desFn = reinterpret_cast<char16_t* (*)(char16_t*)>(dlsym(lib, "des"));
    auto digitsFn = reinterpret_cast<int (*)(const char16_t*, char16_t*, int)>(dlsym(lib, "desFormataCGCCPF"));
    auto formatFn = reinterpret_cast<int (*)(const char16_t*, char16_t*, int)>(dlsym(lib, "formataCGCCPF"));
    auto validFn = reinterpret_cast<int (*)(const char16_t*)>(dlsym(lib, "CgcCpfValido"));
    ASSERT_TRUE(desFn && digitsFn && formatFn && validFn);

    char16_t buffer[] = u"a1b2-3";
    EXPECT_EQ(desFn(buffer), buffer);
    EXPECT_EQ(std::u16string(buffer), u"123");

    EXPECT_EQ(formatFn(u"12345678000195", nullptr, 0), 18); // measuring
    char16_t out[19];
    std::fill(std::begin(out), std::end(out), u'#');
    EXPECT_EQ(formatFn(u"12345678000195", out, 18), 18); // no room for the zero: nothing written
    EXPECT_EQ(out[0], u'#');
    EXPECT_EQ(formatFn(u"12345678000195", out, 19), 18);
    EXPECT_EQ(std::u16string(out), u"12.345.678/0001-95");
    EXPECT_EQ(digitsFn(u"123.456.789-09", out, 19), 11);
    EXPECT_EQ(std::u16string(out), u"12345678909");

    EXPECT_EQ(validFn(u"123.456.789-09"), 1);
    EXPECT_EQ(validFn(u"123.456.789-08"), 0);
    EXPECT_EQ(validFn(u"12.345.678/0001-95"), 1);
    dlclose(lib);
}
