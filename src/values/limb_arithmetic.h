// limb_arithmetic.h: unsigned magnitudes in base 10^9 limbs (least significant first, no high
// zero limbs, zero is empty) and the schoolbook operations CBigInteger and CDecimal build on.
// Decimal digit positions map onto limbs by division by 9, so scaling by powers of ten and
// reading or writing text never needs a base conversion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tessel16/decimal.h"

namespace Tessel16::detail {

using Limbs = LimbVector;

constexpr std::uint32_t kLimbBase = 1000000000u;
constexpr unsigned kLimbDigits = 9;

// 10^0 .. 10^9.
extern const std::uint32_t kPow10Table[10];

void TrimLimbs(Limbs& a);
int CompareLimbs(const Limbs& a, const Limbs& b);
bool IsPow10Limbs(const Limbs& a, unsigned n);

// a += b; b may be a itself.
void AddLimbs(Limbs& a, const Limbs& b);
// a -= b, which needs a >= b; b may be a itself.
void SubLimbs(Limbs& a, const Limbs& b);
// b -= a with the result left in a (a <= b), for "subtract the larger from the smaller".
void ReverseSubLimbs(Limbs& a, const Limbs& b);
void AddSmall(Limbs& a, std::uint32_t value);
// a = a * factor + addend, factor and addend below the base.
void MulSmall(Limbs& a, std::uint32_t factor, std::uint32_t addend = 0);
// a /= divisor (non-zero, below the base); returns the remainder.
std::uint32_t DivSmall(Limbs& a, std::uint32_t divisor);
Limbs MulLimbs(const Limbs& a, const Limbs& b);
// quotient = a / b, remainder = a % b (b non-zero); either output may be null.
void DivModLimbs(const Limbs& a, const Limbs& b, Limbs* quotient, Limbs* remainder);

Limbs Pow10Limbs(unsigned n);
void MulPow10(Limbs& a, unsigned n);
// quotient = a / 10^n, remainder = a % 10^n; either output may be null.
void DivModPow10(const Limbs& a, unsigned n, Limbs* quotient, Limbs* remainder);

// Decimal digits of a (1 for zero).
std::size_t DigitCountLimbs(const Limbs& a);
// Trailing zero decimal digits of a non-zero a.
std::size_t TrailingZeroDigits(const Limbs& a);

// Builds a from a run of ASCII digits, most significant first.
void LimbsFromDigits(Limbs& a, const char* begin, const char* end);
void LimbsFromU64(Limbs& a, std::uint64_t value);
// Appends the digits of a, left-padded with zeros to minWidth ("0" for zero, minWidth <= 1).
void AppendLimbs(std::string& out, const Limbs& a, std::size_t minWidth = 1);

}  // namespace Tessel16::detail
