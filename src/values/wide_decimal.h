// wide_decimal.h: the unbounded form of CDecimal, an integer part and a fraction part of any
// size with the fraction's digit count. CDecimal keeps the values whose digits fit 64 bits in
// a compact form of its own and comes here for larger ones, and for any operation whose
// compact result would not fit; both forms give the same results to the last digit.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/decimal.h"

namespace Tessel16::detail {

// A decimal text of the common shape, [sign] digits [. digits] with nothing else, split into
// its digit runs; the fraction run leaves out the trailing zeros rationalising would drop.
struct PlainDecimal {
    bool negative = false;
    const char* intBegin = nullptr;
    const char* intEnd = nullptr;
    const char* fracBegin = nullptr;
    const char* fracEnd = nullptr;
};
// False for any other shape (blanks, exponents, errors), which takes the general path.
bool SplitPlainDecimal(const char* text, PlainDecimal& out);

class WideDecimal {
public:
    WideDecimal() = default;
    explicit WideDecimal(const CBigInteger& value) : m_integer(value) {}
    WideDecimal(const CBigInteger& integerPart, const CBigInteger& fractionPart, int count)
        : m_integer(integerPart), m_fraction(fractionPart), m_count(count < 1 ? 1 : count) {}

    // A non-null text, by the rules of CDecimal::Parse.
    void Parse(const char* text);
    std::string ToString() const;
    std::string ToString(int fractionDigits) const;
    void AppendTo(std::string& out, int fractionDigits) const;
    double ToDouble() const;
    long long ToLongLong() const;
    std::int32_t ToLong() const;

    // True when the value is below zero (either part may carry the sign).
    bool IsNegative() const { return m_integer.m_sign < 0 || m_fraction.m_sign < 0; }
    void Negate();
    void ChangeFractionalDivider(int n);
    void Rationalise();
    void LimitFractionDigits();

    void Add(const WideDecimal& other, bool subtract);
    void Multiply(const WideDecimal& other);
    WideDecimal Divide(const WideDecimal& divisor, const char* zeroMessage) const;
    int CompareTo(const WideDecimal& other) const;

    CBigInteger m_integer;
    CBigInteger m_fraction;
    std::int32_t m_count = 1;

private:
    bool ParsePlain(const char* text);
    // The product with, or quotient by, 10^exponent, by the rules of Multiply and Divide.
    WideDecimal ScaledByPow10(unsigned exponent, bool divide) const;
    WideDecimal& Assign(const LimbVector& scaled, int sign, int count);
    void ScaledMagnitude(int count, LimbVector& out) const;
};

}  // namespace Tessel16::detail
