// decimal_limits.h: the range constants that CBigInteger and CDecimal check native
// conversions against, each built once from its decimal text on first use.
#pragma once

#include "tessel16/decimal.h"

namespace Tessel16::detail {

const CBigInteger& LongMaxValue();      // 2147483647
const CBigInteger& LongMinValue();      // -2147483648
const CBigInteger& LongLongMaxValue();  // 9223372036854775807
const CBigInteger& LongLongMinValue();  // -9223372036854775808
const CBigInteger& DoubleMaxValue();    // 1.7E+308
const CBigInteger& DoubleMinValue();    // -1.7E+308

}  // namespace Tessel16::detail
