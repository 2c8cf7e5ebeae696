#include "app/TdmPrinc.h"

#include <gtest/gtest.h>

TEST(DecryptStr, RunningKeyAdvancesWithTheInputByte)
{
    TdmPrinc dm;
    EXPECT_EQ(dm.DecryptSTR("", 1, 2, 3), "");
    // 0x41 ^ 0x12 = 'S'; key (0x1234 + 0x41) * 2 + 1 = 0x24EB; 0x42 ^ 0x24 = 'f'.
    EXPECT_EQ(dm.DecryptSTR("AB", 0x1234, 2, 1), "Sf");
    // The key wraps in 32 bits: (0x7FFFFF01 * 3 + 5) mod 2^32 = 0x7FFFFD08.
    EXPECT_EQ(dm.DecryptSTR(QByteArray("\x01\x00", 2), 0x7FFFFF00, 3, 5), QStringLiteral("\u00FE\u00FD"));
    // Output bytes are read as Windows-1252.
    EXPECT_EQ(dm.DecryptSTR("\x80", 0, 0, 0), QStringLiteral("\u20AC"));
}

TEST(DecryptStr, LengthCountsModulo256)
{
    TdmPrinc dm;
    EXPECT_EQ(dm.DecryptSTR(QByteArray(256, 'a'), 0, 1, 0), "");
    EXPECT_EQ(dm.DecryptSTR(QByteArray(257, 'a'), 0, 1, 0), "a");
    EXPECT_EQ(dm.DecryptSTR(QByteArray(300, 'a'), 0, 0, 0), QString(44, 'a'));
}
