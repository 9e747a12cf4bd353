// decimal.cpp: CDecimal, the exact decimal behind xs:decimal. Nearly every decimal of a
// document (prices, quantities, rates) has fewer than 20 digits, so a value keeps its digits
// as one 64-bit coefficient and a fraction digit count, and parses, writes, compares, adds and
// multiplies them with native arithmetic. Larger values, and results that would overflow,
// go through the unbounded form in wide_decimal.cpp, which defines every result.
#include "tessel16/decimal.h"

#include <charconv>
#include <cstring>
#include <string>
#include <utility>

#include "tessel16/exception.h"
#include "values/decimal_messages.h"
#include "values/limb_arithmetic.h"
#include "values/wide_decimal.h"

namespace Tessel16 {

using detail::WideDecimal;

int CDecimal::m_maxDivider = 30;

namespace {

constexpr int kMaxCompactCount = 19;

constexpr std::uint64_t kPow10[20] = {1ull,
                                      10ull,
                                      100ull,
                                      1000ull,
                                      10000ull,
                                      100000ull,
                                      1000000ull,
                                      10000000ull,
                                      100000000ull,
                                      1000000000ull,
                                      10000000000ull,
                                      100000000000ull,
                                      1000000000000ull,
                                      10000000000000ull,
                                      100000000000000ull,
                                      1000000000000000ull,
                                      10000000000000000ull,
                                      100000000000000000ull,
                                      1000000000000000000ull,
                                      10000000000000000000ull};

// value * 10^n, false when it does not fit 64 bits (n <= 19).
bool ScaleUp(std::uint64_t value, int n, std::uint64_t& out) {
    return !__builtin_mul_overflow(value, kPow10[n], &out);
}

// Trailing zero fraction digits dropped, keeping at least one digit: how sums and products
// are kept.
void StripZeros(std::uint64_t& coefficient, int& count) {
    if (coefficient == 0) {
        count = 1;
        return;
    }
    while (count > 1 && coefficient % 10 == 0) {
        coefficient /= 10;
        --count;
    }
}

// The value's 64-bit magnitude from base 10^9 limbs, false when it does not fit.
bool LimbsToU64(const detail::LimbVector& limbs, std::uint64_t& out) {
    std::uint64_t value = 0;
    for (std::size_t i = limbs.size(); i-- > 0;) {
        if (__builtin_mul_overflow(value, std::uint64_t{detail::kLimbBase}, &value) ||
            __builtin_add_overflow(value, std::uint64_t{limbs[i]}, &value))
            return false;
    }
    out = value;
    return true;
}

// Writes value's digits right-aligned in exactly width characters ending at end, zero-padded.
void WriteDigitsPadded(char* end, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        *--end = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

CDecimal::CDecimal() = default;

CDecimal::CDecimal(int value) : CDecimal(static_cast<long long>(value)) {}
CDecimal::CDecimal(unsigned int value) : CDecimal(static_cast<unsigned long long>(value)) {}
CDecimal::CDecimal(long value) : CDecimal(static_cast<long long>(value)) {}
CDecimal::CDecimal(unsigned long value) : CDecimal(static_cast<unsigned long long>(value)) {}

CDecimal::CDecimal(long long value) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::uint64_t coefficient = 0;
    if (ScaleUp(magnitude, 1, coefficient)) {
        SetCompact(coefficient, 1, value < 0);
    } else {
        AssignWide(WideDecimal(CBigInteger(value)));
    }
}

CDecimal::CDecimal(unsigned long long value) {
    std::uint64_t coefficient = 0;
    if (ScaleUp(value, 1, coefficient)) {
        SetCompact(coefficient, 1, false);
    } else {
        AssignWide(WideDecimal(CBigInteger(value)));
    }
}

CDecimal::CDecimal(double value) {
    // The shortest text that reads back as the same double is what the user wrote or meant;
    // the exact binary expansion (0.1000000000000000055...) never is.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer) - 1, value);
    *result.ptr = '\0';
    Parse(buffer);
}

CDecimal::CDecimal(const char* text) { Parse(text); }
CDecimal::CDecimal(const CBigInteger& value) { AssignWide(WideDecimal(value)); }

CDecimal::CDecimal(const CBigInteger& integerPart, const CBigInteger& fractionPart, int count) {
    AssignWide(WideDecimal(integerPart, fractionPart, count));
}

CDecimal::CDecimal(const CDecimal& other)
    : m_coefficient(other.m_coefficient),
      m_count(other.m_count),
      m_negative(other.m_negative),
      m_isWide(other.m_isWide) {
    if (m_isWide) m_wide = new WideDecimal(*other.m_wide);
}

CDecimal::CDecimal(CDecimal&& other) noexcept
    : m_coefficient(other.m_coefficient),
      m_count(other.m_count),
      m_negative(other.m_negative),
      m_isWide(other.m_isWide) {
    other.m_isWide = false;
    other.SetCompact(0, 1, false);
}

CDecimal& CDecimal::operator=(const CDecimal& other) {
    if (this == &other) return *this;
    if (!other.m_isWide) {
        ReleaseWide();
        SetCompact(other.m_coefficient, other.m_count, other.m_negative);
    } else if (m_isWide) {
        *m_wide = *other.m_wide;
    } else {
        m_wide = new WideDecimal(*other.m_wide);
        m_isWide = true;
    }
    return *this;
}

CDecimal& CDecimal::operator=(CDecimal&& other) noexcept {
    if (this == &other) return *this;
    ReleaseWide();
    m_coefficient = other.m_coefficient;
    m_count = other.m_count;
    m_negative = other.m_negative;
    m_isWide = other.m_isWide;
    other.m_isWide = false;
    other.SetCompact(0, 1, false);
    return *this;
}

CDecimal::~CDecimal() { ReleaseWide(); }

void CDecimal::ReleaseWide() {
    if (!m_isWide) return;
    delete m_wide;
    m_isWide = false;
    m_coefficient = 0;
}

void CDecimal::SetCompact(std::uint64_t coefficient, int count, bool negative) {
    m_coefficient = coefficient;
    m_count = count;
    m_negative = negative && coefficient != 0;
}

const WideDecimal& CDecimal::WideView(WideDecimal& scratch) const {
    if (m_isWide) return *m_wide;
    const std::uint64_t unit = kPow10[m_count];
    detail::LimbsFromU64(scratch.m_integer.m_limbs, m_coefficient / unit);
    detail::LimbsFromU64(scratch.m_fraction.m_limbs, m_coefficient % unit);
    const int sign = m_negative ? -1 : 1;
    scratch.m_integer.m_sign = sign;
    scratch.m_fraction.m_sign = sign;
    scratch.m_integer.Normalise();
    scratch.m_fraction.Normalise();
    scratch.m_count = m_count;
    return scratch;
}

void CDecimal::AssignWide(WideDecimal&& value) {
    // Compact only when the two parts agree in sign (the private three-part constructor can
    // make them differ) and the fraction is below one unit, so nothing observable changes.
    std::uint64_t integer = 0;
    std::uint64_t fraction = 0;
    std::uint64_t coefficient = 0;
    const CBigInteger& i = value.m_integer;
    const CBigInteger& f = value.m_fraction;
    if (value.m_count <= kMaxCompactCount && (i.IsZero() || f.IsZero() || i.m_sign == f.m_sign) &&
        LimbsToU64(i.m_limbs, integer) && LimbsToU64(f.m_limbs, fraction) &&
        fraction < kPow10[value.m_count] && ScaleUp(integer, value.m_count, coefficient) &&
        !__builtin_add_overflow(coefficient, fraction, &coefficient)) {
        ReleaseWide();
        SetCompact(coefficient, value.m_count, value.IsNegative());
        return;
    }
    if (m_isWide) {
        *m_wide = std::move(value);
    } else {
        m_wide = new WideDecimal(std::move(value));
        m_isWide = true;
    }
}

int CDecimal::GetMaxDecimalPlaces() { return m_maxDivider; }

void CDecimal::SetMaxDecimalPlaces(int places) { m_maxDivider = places < 0 ? 0 : places; }

bool CDecimal::IsNegative() const { return m_isWide ? m_wide->IsNegative() : m_negative; }

int CDecimal::GetFractionDivider() const { return m_isWide ? m_wide->m_count : m_count; }

CBigInteger CDecimal::GetIntegerPart() const {
    if (m_isWide) return m_wide->m_integer;
    CBigInteger part(static_cast<unsigned long long>(m_coefficient / kPow10[m_count]));
    if (m_negative) part.Negate();
    return part;
}

CBigInteger CDecimal::GetFractionPart() const {
    if (m_isWide) return m_wide->m_fraction;
    CBigInteger part(static_cast<unsigned long long>(m_coefficient % kPow10[m_count]));
    if (m_negative) part.Negate();
    return part;
}

CBigInteger CDecimal::ToBigInteger() const { return GetIntegerPart(); }

bool CDecimal::ParseCompact(const char* text) {
    // One pass over the plain shape [sign][digits][.digits] (at least one digit) that
    // detail::SplitPlainDecimal describes, for values of at most 19 significant digits once
    // the fraction's trailing zeros are dropped: a document's amounts are read without a
    // second walk. Other shapes and rounding to the fraction digit limit take the general
    // path.
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    const char* const digitsBegin = p;
    while (*p == '0') ++p;
    std::uint64_t coefficient = 0;
    int intDigits = 0;  // without the leading zeros
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (++intDigits > kMaxCompactCount) return false;
        coefficient = coefficient * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    bool anyDigit = p != digitsBegin;
    int kept = 0;  // fraction digits up to the last non-zero one, at least the first
    if (*p == '.') {
        int zeros = 0;  // zeros after the last kept digit
        for (++p; *p >= '0' && *p <= '9'; ++p) {
            if (*p == '0' && kept > 0) {
                ++zeros;
                continue;
            }
            kept += zeros + 1;
            if (intDigits + kept > kMaxCompactCount) return false;
            coefficient = coefficient * kPow10[zeros + 1] + static_cast<std::uint64_t>(*p - '0');
            zeros = 0;
        }
        anyDigit = anyDigit || kept > 0;
    }
    if (*p != '\0' || !anyDigit) return false;
    const int count = kept > 0 ? kept : 1;
    if (count > m_maxDivider || intDigits + count > kMaxCompactCount) return false;
    if (kept == 0) coefficient *= 10;
    ReleaseWide();
    SetCompact(coefficient, count, negative);
    return true;
}

void CDecimal::Parse(const char* text) {
    if (text == nullptr) {
        ReleaseWide();
        SetCompact(0, 1, false);
        return;
    }
    if (ParseCompact(text)) return;
    WideDecimal value;
    value.Parse(text);
    AssignWide(std::move(value));
}

char* CDecimal::WriteCompact(char* out, int fractionDigits) const {
    const std::uint64_t unit = kPow10[m_count];
    if (m_negative) *out++ = '-';
    out = std::to_chars(out, out + 20, m_coefficient / unit).ptr;
    if (fractionDigits <= 0) return out;
    *out++ = '.';
    WriteDigitsPadded(out + m_count, m_coefficient % unit, m_count);
    out += m_count;
    if (fractionDigits > m_count) {
        std::memset(out, '0', static_cast<std::size_t>(fractionDigits - m_count));
        out += fractionDigits - m_count;
    }
    return out;
}

std::string CDecimal::ToString() const {
    if (m_isWide) return m_wide->ToString();
    // Sign, 19 digits and the point at most.
    char buffer[24];
    const bool wholeNumber = m_coefficient % kPow10[m_count] == 0;
    const char* end = WriteCompact(buffer, wholeNumber ? 0 : m_count);
    return std::string(buffer, static_cast<std::size_t>(end - buffer));
}

std::string CDecimal::ToString(int fractionDigits) const {
    if (m_isWide) return m_wide->ToString(fractionDigits);
    if (fractionDigits < m_count) {
        CDecimal rounded(*this);
        rounded.ChangeFractionalDivider(fractionDigits);
        if (!rounded.m_isWide) return rounded.CompactText(fractionDigits);
        std::string out;
        rounded.m_wide->AppendTo(out, fractionDigits);
        return out;
    }
    return CompactText(fractionDigits);
}

std::string CDecimal::CompactText(int fractionDigits) const {
    std::string out(static_cast<std::size_t>(fractionDigits > 0 ? fractionDigits : 0) + 24, '\0');
    out.resize(static_cast<std::size_t>(WriteCompact(&out[0], fractionDigits) - out.data()));
    return out;
}

double CDecimal::ToDouble() const {
    if (m_isWide) return m_wide->ToDouble();
    // Both operands are exact doubles (10^19 < 10^22), so the one correctly rounded division
    // gives the nearest double to the decimal, as reading its text would.
    if (m_coefficient < (1ull << 53)) {
        const double value =
            static_cast<double>(m_coefficient) / static_cast<double>(kPow10[m_count]);
        return m_negative ? -value : value;
    }
    const std::string text = ToString();
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

long long CDecimal::ToLongLong() const {
    if (m_isWide) return m_wide->ToLongLong();
    // The integer part of a compact value is below 2^64 / 10, inside the 64-bit range.
    const auto integer = static_cast<long long>(m_coefficient / kPow10[m_count]);
    return m_negative ? -integer : integer;
}

std::int32_t CDecimal::ToLong() const {
    if (m_isWide) return m_wide->ToLong();
    // Compared by value, so 2147483647.5 is out of range as it is in the unbounded form.
    const std::uint64_t limit = m_negative ? 2147483648ull : 2147483647ull;
    std::uint64_t scaledLimit = 0;
    if (ScaleUp(limit, m_count, scaledLimit) && m_coefficient > scaledLimit)
        throw CTsOverFlowException(detail::kDecimalTooLargeForLong);
    return static_cast<std::int32_t>(ToLongLong());
}

CDecimal& CDecimal::Negate() {
    if (m_isWide) {
        m_wide->Negate();
    } else {
        m_negative = !m_negative && m_coefficient != 0;
    }
    return *this;
}

CDecimal CDecimal::GetNegative() const {
    CDecimal copy(*this);
    return copy.Negate();
}

bool CDecimal::ChangeFractionalDividerCompact(int n) {
    if (n >= m_count) {
        std::uint64_t scaled = 0;
        if (n > kMaxCompactCount || !ScaleUp(m_coefficient, n - m_count, scaled)) return false;
        SetCompact(scaled, n, m_negative);
        return true;
    }
    const int target = n < 0 ? 0 : n;
    const std::uint64_t unit = kPow10[m_count - target];
    std::uint64_t kept = m_coefficient / unit;
    // Round to the nearest; a remainder of exactly half stays put, i.e. goes toward zero.
    if (m_coefficient % unit > unit / 2) ++kept;
    // Zero fraction digits still keeps one, zero, digit: the count is at least 1.
    if (target == 0 && !ScaleUp(kept, 1, kept)) return false;
    SetCompact(kept, target == 0 ? 1 : target, m_negative);
    return true;
}

void CDecimal::ChangeFractionalDivider(int n) {
    if (!m_isWide && ChangeFractionalDividerCompact(n)) return;
    WideDecimal scratch;
    WideDecimal value = WideView(scratch);
    value.ChangeFractionalDivider(n);
    AssignWide(std::move(value));
}

void CDecimal::Rationalise() {
    if (!m_isWide) {
        StripZeros(m_coefficient, m_count);
        return;
    }
    WideDecimal value = *m_wide;
    value.Rationalise();
    AssignWide(std::move(value));
}

bool CDecimal::AddCompact(const CDecimal& other, bool subtract) {
    const int count = m_count > other.m_count ? m_count : other.m_count;
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    if (!ScaleUp(m_coefficient, count - m_count, a) ||
        !ScaleUp(other.m_coefficient, count - other.m_count, b))
        return false;
    const bool otherNegative = other.m_negative != subtract;
    std::uint64_t sum = 0;
    bool negative = m_negative;
    if (m_negative == otherNegative) {
        if (__builtin_add_overflow(a, b, &sum)) return false;
    } else if (a >= b) {
        sum = a - b;
    } else {
        sum = b - a;
        negative = otherNegative;
    }
    // Sums are kept in their shortest form so that 1.25 + 0.25 writes as 1.5.
    int sumCount = count;
    StripZeros(sum, sumCount);
    SetCompact(sum, sumCount, negative);
    return true;
}

bool CDecimal::MultiplyCompact(const CDecimal& other) {
    std::uint64_t product = 0;
    if (__builtin_mul_overflow(m_coefficient, other.m_coefficient, &product)) return false;
    int count = m_count + other.m_count;
    StripZeros(product, count);
    if (count > kMaxCompactCount) return false;
    SetCompact(product, count, m_negative != other.m_negative);
    if (m_count > m_maxDivider) return ChangeFractionalDividerCompact(m_maxDivider);
    return true;
}

CDecimal& CDecimal::AddSigned(const CDecimal& other, bool subtract) {
    // A failed compact attempt leaves the value as it was.
    if (!m_isWide && !other.m_isWide && AddCompact(other, subtract)) return *this;
    WideDecimal scratch;
    WideDecimal otherScratch;
    WideDecimal value = WideView(scratch);
    value.Add(other.WideView(otherScratch), subtract);
    AssignWide(std::move(value));
    return *this;
}

CDecimal& CDecimal::operator+=(const CDecimal& other) { return AddSigned(other, false); }

CDecimal& CDecimal::operator-=(const CDecimal& other) { return AddSigned(other, true); }

CDecimal& CDecimal::operator*=(const CDecimal& other) {
    if (!m_isWide && !other.m_isWide) {
        const CDecimal before(*this);
        if (MultiplyCompact(other)) return *this;
        *this = before;
    }
    WideDecimal scratch;
    WideDecimal otherScratch;
    WideDecimal value = WideView(scratch);
    value.Multiply(other.WideView(otherScratch));
    AssignWide(std::move(value));
    return *this;
}

CDecimal& CDecimal::operator/=(const CDecimal& other) {
    WideDecimal scratch;
    WideDecimal otherScratch;
    AssignWide(
        WideView(scratch).Divide(other.WideView(otherScratch), detail::kBigIntDivideAssignByZero));
    return *this;
}

CDecimal CDecimal::operator+(const CDecimal& other) const {
    CDecimal result(*this);
    result += other;
    return result;
}

CDecimal CDecimal::operator-(const CDecimal& other) const {
    CDecimal result(*this);
    result -= other;
    return result;
}

CDecimal CDecimal::operator*(const CDecimal& other) const {
    CDecimal result(*this);
    result *= other;
    return result;
}

CDecimal CDecimal::operator/(const CDecimal& other) const {
    WideDecimal scratch;
    WideDecimal otherScratch;
    CDecimal result;
    result.AssignWide(
        WideView(scratch).Divide(other.WideView(otherScratch), detail::kBigIntDivideByZero));
    return result;
}

CDecimal& CDecimal::operator++() { return *this += CDecimal(1); }

CDecimal CDecimal::operator++(int) {
    CDecimal before(*this);
    *this += CDecimal(1);
    return before;
}

CDecimal& CDecimal::operator--() { return *this -= CDecimal(1); }

CDecimal CDecimal::operator--(int) {
    CDecimal before(*this);
    *this -= CDecimal(1);
    return before;
}

int CDecimal::CompareTo(const CDecimal& other) const {
    if (m_isWide || other.m_isWide) {
        WideDecimal scratch;
        WideDecimal otherScratch;
        return WideView(scratch).CompareTo(other.WideView(otherScratch));
    }
    const int sign = m_coefficient == 0 ? 0 : (m_negative ? -1 : 1);
    const int otherSign = other.m_coefficient == 0 ? 0 : (other.m_negative ? -1 : 1);
    if (sign != otherSign) return sign < otherSign ? -1 : 1;
    if (sign == 0) return 0;
    // The value with fewer fraction digits is scaled to the other's; one too large to scale
    // is the larger magnitude.
    std::uint64_t a = m_coefficient;
    std::uint64_t b = other.m_coefficient;
    if (m_count < other.m_count && !ScaleUp(a, other.m_count - m_count, a)) return sign;
    if (other.m_count < m_count && !ScaleUp(b, m_count - other.m_count, b)) return -sign;
    if (a == b) return 0;
    return a < b ? -sign : sign;
}

}  // namespace Tessel16
