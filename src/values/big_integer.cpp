// big_integer.cpp: CBigInteger, the signed integer of unbounded size behind xs:integer: its
// text forms, sign-aware arithmetic over the limb routines, native conversions with their
// range checks, and the range constants shared with CDecimal.
#include <cstring>
#include <utility>

#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "values/decimal_limits.h"
#include "values/decimal_messages.h"
#include "values/limb_arithmetic.h"

namespace Tessel16 {

using detail::Limbs;

namespace detail {

const CBigInteger& LongMaxValue() {
    static const CBigInteger value("2147483647");
    return value;
}
const CBigInteger& LongMinValue() {
    static const CBigInteger value("-2147483648");
    return value;
}
const CBigInteger& LongLongMaxValue() {
    static const CBigInteger value("9223372036854775807");
    return value;
}
const CBigInteger& LongLongMinValue() {
    static const CBigInteger value("-9223372036854775808");
    return value;
}
const CBigInteger& DoubleMaxValue() {
    static const CBigInteger value("1.7E+308");
    return value;
}
const CBigInteger& DoubleMinValue() {
    static const CBigInteger value("-1.7E+308");
    return value;
}

}  // namespace detail

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The magnitude of a native value, without the overflow of negating the most negative one.
template <class Signed>
unsigned long long Magnitude(Signed value) {
    return value < 0 ? 0ull - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

}  // namespace

CBigInteger::CBigInteger() = default;

CBigInteger::CBigInteger(int value) : CBigInteger(static_cast<long long>(value)) {}
CBigInteger::CBigInteger(unsigned int value)
    : CBigInteger(static_cast<unsigned long long>(value)) {}
CBigInteger::CBigInteger(long value) : CBigInteger(static_cast<long long>(value)) {}
CBigInteger::CBigInteger(unsigned long value)
    : CBigInteger(static_cast<unsigned long long>(value)) {}

CBigInteger::CBigInteger(long long value) {
    detail::LimbsFromU64(m_limbs, Magnitude(value));
    m_sign = value < 0 ? -1 : 1;
}

CBigInteger::CBigInteger(unsigned long long value) { detail::LimbsFromU64(m_limbs, value); }

CBigInteger::CBigInteger(double value) { *this = CDecimal(value).GetIntegerPart(); }

CBigInteger::CBigInteger(const CDecimal& value) : CBigInteger(value.GetIntegerPart()) {}

CBigInteger::CBigInteger(const char* text) { Parse(text); }

CBigInteger::CBigInteger(int sign, const std::vector<char>& digits) {
    // Digits arrive least significant first; regroup them nine to a limb.
    m_limbs.assign((digits.size() + detail::kLimbDigits - 1) / detail::kLimbDigits, 0);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const auto digit = static_cast<std::uint32_t>(static_cast<unsigned char>(digits[i]) % 10);
        m_limbs[i / detail::kLimbDigits] += digit * detail::kPow10Table[i % detail::kLimbDigits];
    }
    m_sign = sign < 0 ? -1 : 1;
    Normalise();
}

CBigInteger::CBigInteger(const CBigInteger& other) = default;
CBigInteger::CBigInteger(CBigInteger&& other) noexcept
    : m_sign(other.m_sign), m_limbs(std::move(other.m_limbs)) {
    other.m_sign = 1;
    other.m_limbs.clear();
}
CBigInteger& CBigInteger::operator=(const CBigInteger& other) = default;
CBigInteger& CBigInteger::operator=(CBigInteger&& other) noexcept {
    if (this != &other) {
        m_sign = other.m_sign;
        m_limbs = std::move(other.m_limbs);
        other.m_sign = 1;
        other.m_limbs.clear();
    }
    return *this;
}
CBigInteger::~CBigInteger() = default;

void CBigInteger::Normalise() {
    detail::TrimLimbs(m_limbs);
    if (m_limbs.empty()) m_sign = 1;
}

void CBigInteger::Parse(const char* text) {
    m_sign = 1;
    m_limbs.clear();
    if (!text) return;
    const std::size_t length = std::strlen(text);
    const char* begin = text;
    const char* end = text + length;
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    const char* digits = begin;
    if (digits < end && (*digits == '+' || *digits == '-')) ++digits;
    const char* p = digits;
    while (p < end && IsDigit(*p)) ++p;
    if (p == end && p != digits) {
        detail::LimbsFromDigits(m_limbs, digits, end);
        m_sign = *begin == '-' ? -1 : 1;
        Normalise();
        return;
    }
    // Anything else must be a decimal (it reports what it cannot read) that is a whole
    // number: dropping a fraction would read another value than the text holds.
    const CDecimal value(text);
    if (!value.GetFractionPart().m_limbs.empty()) {
        const char* mark = std::strpbrk(text, ".eE");
        throw CTsInvalidValueException(FormatString(
            detail::kDecimalInvalidChar, static_cast<int>(mark ? mark - text : 0), text));
    }
    *this = value.GetIntegerPart();
}

std::string CBigInteger::ToString() const {
    std::string out;
    out.reserve(detail::DigitCountLimbs(m_limbs) + 1);
    if (m_sign < 0 && !m_limbs.empty()) out.push_back('-');
    detail::AppendLimbs(out, m_limbs);
    return out;
}

CBigInteger& CBigInteger::Abs() {
    m_sign = 1;
    return *this;
}

CBigInteger& CBigInteger::Negate() {
    if (!m_limbs.empty()) m_sign = -m_sign;
    return *this;
}

CBigInteger& CBigInteger::operator-() { return Negate(); }

CBigInteger CBigInteger::GetAbs() const {
    CBigInteger copy(*this);
    return copy.Abs();
}

CBigInteger CBigInteger::GetNegative() const {
    CBigInteger copy(*this);
    return copy.Negate();
}

std::size_t CBigInteger::GetDigitCount() const { return detail::DigitCountLimbs(m_limbs); }

CBigInteger& CBigInteger::operator+=(const CBigInteger& other) {
    if (m_sign == other.m_sign) {
        detail::AddLimbs(m_limbs, other.m_limbs);
    } else if (detail::CompareLimbs(m_limbs, other.m_limbs) >= 0) {
        detail::SubLimbs(m_limbs, other.m_limbs);
    } else {
        detail::ReverseSubLimbs(m_limbs, other.m_limbs);
        m_sign = other.m_sign;
    }
    Normalise();
    return *this;
}

CBigInteger& CBigInteger::operator-=(const CBigInteger& other) {
    if (&other == this) {
        m_limbs.clear();
        m_sign = 1;
        return *this;
    }
    if (m_sign != other.m_sign) {
        detail::AddLimbs(m_limbs, other.m_limbs);
    } else if (detail::CompareLimbs(m_limbs, other.m_limbs) >= 0) {
        detail::SubLimbs(m_limbs, other.m_limbs);
    } else {
        detail::ReverseSubLimbs(m_limbs, other.m_limbs);
        m_sign = -m_sign;
    }
    Normalise();
    return *this;
}

CBigInteger& CBigInteger::operator*=(const CBigInteger& other) {
    m_limbs = detail::MulLimbs(m_limbs, other.m_limbs);
    m_sign = m_sign * other.m_sign;
    Normalise();
    return *this;
}

void CBigInteger::DivideBy(const CBigInteger& divisor, const char* zeroMessage,
                           bool wantRemainder) {
    if (divisor.m_limbs.empty()) throw CTsInvalidValueException(zeroMessage);
    Limbs result;
    if (wantRemainder) {
        // The remainder keeps the dividend's sign.
        detail::DivModLimbs(m_limbs, divisor.m_limbs, nullptr, &result);
    } else {
        detail::DivModLimbs(m_limbs, divisor.m_limbs, &result, nullptr);
        m_sign = m_sign * divisor.m_sign;
    }
    m_limbs.swap(result);
    Normalise();
}

CBigInteger& CBigInteger::operator/=(const CBigInteger& other) {
    DivideBy(other, detail::kBigIntDivideAssignByZero, false);
    return *this;
}

CBigInteger& CBigInteger::operator%=(const CBigInteger& other) {
    DivideBy(other, detail::kBigIntModuloAssignByZero, true);
    return *this;
}

CBigInteger CBigInteger::operator+(const CBigInteger& other) const {
    CBigInteger result(*this);
    result += other;
    return result;
}

CBigInteger CBigInteger::operator-(const CBigInteger& other) const {
    CBigInteger result(*this);
    result -= other;
    return result;
}

CBigInteger CBigInteger::operator*(const CBigInteger& other) const {
    CBigInteger result;
    result.m_limbs = detail::MulLimbs(m_limbs, other.m_limbs);
    result.m_sign = m_sign * other.m_sign;
    result.Normalise();
    return result;
}

CBigInteger CBigInteger::operator/(const CBigInteger& other) const {
    CBigInteger result(*this);
    result.DivideBy(other, detail::kBigIntDivideByZero, false);
    return result;
}

CBigInteger CBigInteger::operator%(const CBigInteger& other) const {
    CBigInteger result(*this);
    result.DivideBy(other, detail::kBigIntModuloByZero, true);
    return result;
}

int CBigInteger::CompareTo(const CBigInteger& other) const {
    if (m_sign != other.m_sign) return m_sign < other.m_sign ? -1 : 1;
    const int magnitude = detail::CompareLimbs(m_limbs, other.m_limbs);
    return m_sign < 0 ? -magnitude : magnitude;
}

CBigInteger::operator int() const {
    if (*this > detail::LongMaxValue() || *this < detail::LongMinValue())
        throw CTsInvalidValueException(detail::kBigIntLongOutOfBound);
    return static_cast<int>(static_cast<long long>(*this));
}

CBigInteger::operator long long() const {
    if (*this > detail::LongLongMaxValue() || *this < detail::LongLongMinValue())
        throw CTsInvalidValueException(detail::kBigIntLongLongOutOfBound);
    unsigned long long magnitude = 0;
    for (std::size_t i = m_limbs.size(); i-- > 0;)
        magnitude = magnitude * detail::kLimbBase + m_limbs[i];
    // Two's complement negation keeps the most negative value representable.
    return m_sign < 0 ? static_cast<long long>(0ull - magnitude)
                      : static_cast<long long>(magnitude);
}

CBigInteger CBigInteger::SquareRoot() const {
    if (m_sign < 0) throw CTsInvalidValueException(detail::kBigIntNegativeSquareRoot);
    if (m_limbs.empty()) return CBigInteger();
    // Newton's iteration from a power of ten above the root decreases monotonically to
    // floor(sqrt(n)); it stops at the first step that does not go down.
    const auto digits = static_cast<unsigned>(GetDigitCount());
    CBigInteger x = Pow10((digits + 1) / 2);
    for (;;) {
        CBigInteger y = *this / x;
        y += x;
        detail::DivSmall(y.m_limbs, 2);
        y.Normalise();
        if (y >= x) return x;
        x = std::move(y);
    }
}

CBigInteger CBigInteger::Pow10(unsigned int n) {
    CBigInteger result;
    result.m_limbs = detail::Pow10Limbs(n);
    return result;
}

}  // namespace Tessel16
