// wide_decimal.cpp: the unbounded decimal behind CDecimal's large values. Arithmetic works on
// the value scaled to an integer (integer part * 10^count + fraction part) and splits the
// result back, so carries between the two parts never need special cases; rounding happens
// only where a result would keep more fraction digits than the process-wide limit allows.
#include "values/wide_decimal.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <utility>

#include "tessel16/exception.h"
#include "values/decimal_limits.h"
#include "values/decimal_messages.h"
#include "values/limb_arithmetic.h"

namespace Tessel16::detail {

namespace {

// The largest positive exponent a text may carry. It covers every double (to 1.8e308) with
// room to spare, and bounds what a short text can grow into: "1E1000" is a thousand digits.
constexpr unsigned long long kMaxExponent = 1000;
constexpr unsigned long long kExponentSaturation = 1000000000000ull;

// The blanks skipped inside a number are XML's whitespace characters, the only ones a
// document's text can bring; vertical tab and form feed are refused like any other character.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void ThrowInvalidChar(std::size_t position, const char* text) {
    throw CTsInvalidValueException(
        FormatString(kDecimalInvalidChar, static_cast<int>(position), text));
}

// result = (signA, a) + (signB, b), as signed magnitudes.
void AddSigned(Limbs& a, int& signA, const Limbs& b, int signB) {
    if (signA == signB) {
        AddLimbs(a, b);
    } else if (CompareLimbs(a, b) >= 0) {
        SubLimbs(a, b);
    } else {
        ReverseSubLimbs(a, b);
        signA = signB;
    }
}

int MaxDivider() { return CDecimal::GetMaxDecimalPlaces(); }

}  // namespace

bool SplitPlainDecimal(const char* text, PlainDecimal& out) {
    const char* p = text;
    out.negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    out.intBegin = p;
    while (IsDigit(*p)) ++p;
    out.intEnd = p;
    out.fracBegin = p;
    out.fracEnd = p;
    if (*p == '.') {
        out.fracBegin = ++p;
        while (IsDigit(*p)) ++p;
        out.fracEnd = p;
    }
    if (*p != '\0' || (out.intEnd == out.intBegin && out.fracEnd == out.fracBegin)) return false;
    while (out.fracEnd - out.fracBegin > 1 && out.fracEnd[-1] == '0') --out.fracEnd;
    return true;
}

bool WideDecimal::ParsePlain(const char* text) {
    // The common shape is read straight from the text; the rest takes the general path below.
    PlainDecimal plain;
    if (!SplitPlainDecimal(text, plain)) return false;
    LimbsFromDigits(m_integer.m_limbs, plain.intBegin, plain.intEnd);
    LimbsFromDigits(m_fraction.m_limbs, plain.fracBegin, plain.fracEnd);
    m_integer.m_sign = plain.negative ? -1 : 1;
    m_fraction.m_sign = plain.negative ? -1 : 1;
    m_integer.Normalise();
    m_fraction.Normalise();
    m_count =
        plain.fracEnd > plain.fracBegin ? static_cast<int>(plain.fracEnd - plain.fracBegin) : 1;
    LimitFractionDigits();
    Rationalise();
    return true;
}

void WideDecimal::Parse(const char* text) {
    const char* t = text;
    if (ParsePlain(t)) return;
    // [blanks][sign](digits[.digits]|.digits)[(e|E)[sign]digits][blanks]. Blanks inside the
    // number, a second sign or a number without digits are refused: read leniently they give
    // another value than the text shows ("1 000" as 1000, "+-1" as -1, "-" as 0).
    const std::size_t length = std::strlen(t);
    std::size_t i = 0;
    while (i < length && IsBlank(t[i])) ++i;
    bool negative = false;
    if (i < length && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    const std::size_t intBegin = i;
    while (i < length && IsDigit(t[i])) ++i;
    const std::size_t intEnd = i;
    std::size_t fracBegin = i;
    std::size_t fracEnd = i;
    if (i < length && t[i] == '.') {
        fracBegin = ++i;
        while (i < length && IsDigit(t[i])) ++i;
        fracEnd = i;
    }
    if (intEnd == intBegin && fracEnd == fracBegin) ThrowInvalidChar(i, t);
    bool hasExponent = false;
    bool exponentNegative = false;
    unsigned long long exponent = 0;
    if (i < length && (t[i] == 'e' || t[i] == 'E')) {
        hasExponent = true;
        ++i;
        if (i < length && (t[i] == '+' || t[i] == '-')) exponentNegative = t[i++] == '-';
        const std::size_t digitsBegin = i;
        for (; i < length && IsDigit(t[i]); ++i) {
            // Saturates far above every limit below, so a long run of digits cannot overflow.
            if (exponent < kExponentSaturation)
                exponent = exponent * 10 + static_cast<unsigned long long>(t[i] - '0');
        }
        if (i == digitsBegin) ThrowInvalidChar(i, t);
    }
    while (i < length && IsBlank(t[i])) ++i;
    if (i != length) ThrowInvalidChar(i, t);
    while (fracEnd - fracBegin > 1 && t[fracEnd - 1] == '0') --fracEnd;

    const int sign = negative ? -1 : 1;
    WideDecimal value;
    LimbsFromDigits(value.m_integer.m_limbs, t + intBegin, t + intEnd);
    LimbsFromDigits(value.m_fraction.m_limbs, t + fracBegin, t + fracEnd);
    value.m_integer.m_sign = sign;
    value.m_fraction.m_sign = sign;
    value.m_integer.Normalise();
    value.m_fraction.Normalise();
    value.m_count = fracEnd > fracBegin ? static_cast<int>(fracEnd - fracBegin) : 1;

    if (hasExponent && exponentNegative) {
        // Dividing by 10^e keeps nothing once e reaches past every digit and the guard
        // digits of a quotient, so such exponents need not be materialised; below that the
        // divisor is no longer than the text itself.
        const std::size_t vanishing = (intEnd - intBegin) + (fracEnd - fracBegin) +
                                      static_cast<std::size_t>(MaxDivider()) + 2;
        if (exponent >= vanishing) {
            value = WideDecimal();
        } else {
            value = value.ScaledByPow10(static_cast<unsigned>(exponent), true);
        }
    } else if (hasExponent &&
               (!value.m_integer.m_limbs.empty() || !value.m_fraction.m_limbs.empty())) {
        // A positive exponent adds digits that the text does not carry: bounded, so that a
        // few bytes of text cannot become megabytes of number.
        if (exponent > kMaxExponent)
            throw CTsInvalidValueException(
                FormatString(kDecimalExponentLimit, t, static_cast<int>(kMaxExponent)));
        value = value.ScaledByPow10(static_cast<unsigned>(exponent), false);
    }
    // Rounded to the fraction digit limit first, then stripped of trailing zeros: the other
    // order can leave zeros that the next reading strips, and the text would not be stable.
    value.LimitFractionDigits();
    value.Rationalise();
    *this = std::move(value);
}

void WideDecimal::ScaledMagnitude(int count, Limbs& out) const {
    out = m_integer.m_limbs;
    MulPow10(out, static_cast<unsigned>(count));
    if (m_fraction.m_limbs.empty()) return;
    if (count == m_count) {
        AddLimbs(out, m_fraction.m_limbs);
    } else {
        Limbs fraction(m_fraction.m_limbs);
        MulPow10(fraction, static_cast<unsigned>(count - m_count));
        AddLimbs(out, fraction);
    }
}

WideDecimal& WideDecimal::Assign(const Limbs& scaled, int sign, int count) {
    DivModPow10(scaled, static_cast<unsigned>(count), &m_integer.m_limbs, &m_fraction.m_limbs);
    m_integer.m_sign = sign;
    m_fraction.m_sign = sign;
    m_integer.Normalise();
    m_fraction.Normalise();
    m_count = count;
    return *this;
}

void WideDecimal::LimitFractionDigits() {
    if (m_count > MaxDivider()) ChangeFractionalDivider(MaxDivider());
}

void WideDecimal::ChangeFractionalDivider(int n) {
    if (n >= m_count) {
        MulPow10(m_fraction.m_limbs, static_cast<unsigned>(n - m_count));
        m_count = n;
        return;
    }
    const int target = n < 0 ? 0 : n;
    const auto dropped = static_cast<unsigned>(m_count - target);
    const int sign = m_fraction.m_sign;
    Limbs kept;
    Limbs rest;
    DivModPow10(m_fraction.m_limbs, dropped, &kept, &rest);
    // Round to the nearest; a remainder of exactly half stays put, i.e. goes toward zero.
    Limbs half = Pow10Limbs(dropped - 1);
    MulSmall(half, 5);
    if (CompareLimbs(rest, half) > 0) AddSmall(kept, 1);

    if (target == 0 || IsPow10Limbs(kept, static_cast<unsigned>(target))) {
        // Rounding up reached a whole unit: carry it into the integer part, away from zero.
        if (!kept.empty()) m_integer += CBigInteger(sign);
        kept.clear();
    }
    m_fraction.m_limbs.swap(kept);
    m_fraction.m_sign = sign;
    m_fraction.Normalise();
    // Zero fraction digits still keeps one, zero, digit: the count is at least 1.
    m_count = target == 0 ? 1 : target;
}

void WideDecimal::Rationalise() {
    if (m_count <= 1) return;
    if (m_fraction.m_limbs.empty()) {
        m_count = 1;
        return;
    }
    const std::size_t zeros = TrailingZeroDigits(m_fraction.m_limbs);
    const auto drop =
        static_cast<unsigned>(std::min<std::size_t>(zeros, static_cast<std::size_t>(m_count - 1)));
    if (drop == 0) return;
    Limbs kept;
    DivModPow10(m_fraction.m_limbs, drop, &kept, nullptr);
    m_fraction.m_limbs.swap(kept);
    m_count -= static_cast<int>(drop);
}

void WideDecimal::AppendTo(std::string& out, int fractionDigits) const {
    if (IsNegative()) out.push_back('-');
    AppendLimbs(out, m_integer.m_limbs);
    if (fractionDigits <= 0) return;
    out.push_back('.');
    AppendLimbs(out, m_fraction.m_limbs, static_cast<std::size_t>(m_count));
    if (fractionDigits > m_count)
        out.append(static_cast<std::size_t>(fractionDigits - m_count), '0');
}

std::string WideDecimal::ToString() const {
    if (m_fraction.m_limbs.empty()) return m_integer.ToString();
    std::string out;
    out.reserve(DigitCountLimbs(m_integer.m_limbs) + static_cast<std::size_t>(m_count) + 2);
    AppendTo(out, m_count);
    return out;
}

std::string WideDecimal::ToString(int fractionDigits) const {
    std::string out;
    if (fractionDigits >= m_count) {
        AppendTo(out, fractionDigits);
        return out;
    }
    WideDecimal rounded(*this);
    rounded.ChangeFractionalDivider(fractionDigits);
    rounded.AppendTo(out, fractionDigits);
    return out;
}

namespace {

// Outside the given range, compared by value (a fraction counts: 2147483647.5 is too large).
bool OutsideRange(const WideDecimal& value, const CBigInteger& low, const CBigInteger& high) {
    return value.CompareTo(WideDecimal(high)) > 0 || value.CompareTo(WideDecimal(low)) < 0;
}

}  // namespace

double WideDecimal::ToDouble() const {
    // Anything with fewer than 308 integer digits is inside the range without comparing.
    if (m_integer.GetDigitCount() >= 308 && OutsideRange(*this, DoubleMinValue(), DoubleMaxValue()))
        throw CTsOverFlowException(kDecimalTooLargeForDouble);
    // from_chars rounds correctly and ignores the locale, which strtod would not.
    const std::string text = ToString();
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) return IsNegative() ? -0.0 : 0.0;
    return value;
}

long long WideDecimal::ToLongLong() const {
    if (m_integer.GetDigitCount() >= 19 &&
        OutsideRange(*this, LongLongMinValue(), LongLongMaxValue()))
        throw CTsOverFlowException(kDecimalTooLargeForLongLong);
    return static_cast<long long>(m_integer);
}

std::int32_t WideDecimal::ToLong() const {
    if (m_integer.GetDigitCount() >= 10 && OutsideRange(*this, LongMinValue(), LongMaxValue()))
        throw CTsOverFlowException(kDecimalTooLargeForLong);
    return static_cast<std::int32_t>(static_cast<long long>(m_integer));
}

void WideDecimal::Negate() {
    m_integer.Negate();
    m_fraction.Negate();
}

void WideDecimal::Add(const WideDecimal& other, bool subtract) {
    const int count = std::max(m_count, other.m_count);
    Limbs a;
    Limbs b;
    ScaledMagnitude(count, a);
    other.ScaledMagnitude(count, b);
    int sign = IsNegative() ? -1 : 1;
    AddSigned(a, sign, b, other.IsNegative() != subtract ? -1 : 1);
    Assign(a, sign, count);
    // Sums are kept in their shortest form so that 1.25 + 0.25 writes as 1.5.
    Rationalise();
}

void WideDecimal::Multiply(const WideDecimal& other) {
    Limbs a;
    Limbs b;
    ScaledMagnitude(m_count, a);
    other.ScaledMagnitude(other.m_count, b);
    const int sign = IsNegative() == other.IsNegative() ? 1 : -1;
    Assign(MulLimbs(a, b), sign, m_count + other.m_count);
    Rationalise();
    LimitFractionDigits();
}

WideDecimal WideDecimal::Divide(const WideDecimal& divisor, const char* zeroMessage) const {
    const int count = std::max(m_count, divisor.m_count);
    Limbs b;
    divisor.ScaledMagnitude(count, b);
    if (b.empty()) throw CTsInvalidValueException(zeroMessage);
    Limbs a;
    ScaledMagnitude(count, a);
    // Two guard digits beyond the limit, truncated, then rounded to the limit.
    const int digits = MaxDivider() + 2;
    MulPow10(a, static_cast<unsigned>(digits));
    Limbs quotient;
    DivModLimbs(a, b, &quotient, nullptr);
    WideDecimal result;
    result.Assign(quotient, IsNegative() == divisor.IsNegative() ? 1 : -1, digits);
    result.Rationalise();
    result.LimitFractionDigits();
    return result;
}

// A power of ten only shifts digits. Going through the general product or quotient would
// cost time quadratic in the length of the text, which a long mantissa with a large exponent
// turns into seconds per value; the results are the same to the last digit.
WideDecimal WideDecimal::ScaledByPow10(unsigned exponent, bool divide) const {
    Limbs scaled;
    ScaledMagnitude(m_count, scaled);
    WideDecimal result;
    const int sign = IsNegative() ? -1 : 1;
    if (!divide) {
        MulPow10(scaled, exponent);
        result.Assign(scaled, sign, m_count);
        result.Rationalise();
        result.LimitFractionDigits();
        return result;
    }
    // As Divide: the dividend gains the guard digits, then the quotient is truncated.
    const int digits = MaxDivider() + 2;
    MulPow10(scaled, static_cast<unsigned>(digits));
    Limbs quotient;
    DivModPow10(scaled, exponent + static_cast<unsigned>(m_count), &quotient, nullptr);
    result.Assign(quotient, sign, digits);
    result.Rationalise();
    result.LimitFractionDigits();
    return result;
}

int WideDecimal::CompareTo(const WideDecimal& other) const {
    const auto signOf = [](const WideDecimal& d) {
        if (d.m_integer.IsZero() && d.m_fraction.IsZero()) return 0;
        return d.IsNegative() ? -1 : 1;
    };
    const int sign = signOf(*this);
    const int otherSign = signOf(other);
    if (sign != otherSign) return sign < otherSign ? -1 : 1;
    if (sign == 0) return 0;
    int magnitude = CompareLimbs(m_integer.m_limbs, other.m_integer.m_limbs);
    if (magnitude == 0) {
        if (m_count == other.m_count) {
            magnitude = CompareLimbs(m_fraction.m_limbs, other.m_fraction.m_limbs);
        } else if (m_count < other.m_count) {
            Limbs scaled(m_fraction.m_limbs);
            MulPow10(scaled, static_cast<unsigned>(other.m_count - m_count));
            magnitude = CompareLimbs(scaled, other.m_fraction.m_limbs);
        } else {
            Limbs scaled(other.m_fraction.m_limbs);
            MulPow10(scaled, static_cast<unsigned>(m_count - other.m_count));
            magnitude = CompareLimbs(m_fraction.m_limbs, scaled);
        }
    }
    return sign * magnitude;
}

}  // namespace Tessel16::detail
