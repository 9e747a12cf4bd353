#include "tessel16/decimal.h"

#include <gtest/gtest.h>

using namespace Tessel16;

TEST(Decimal, Smoke) {
    EXPECT_EQ(CDecimal("1.50").ToString(), "1.5");
    EXPECT_EQ((CDecimal(1) / CDecimal(3)).ToString(), "0.333333333333333333333333333333");
    EXPECT_EQ(CBigInteger("123456789012345678901234567890").ToString(),
              "123456789012345678901234567890");
}
