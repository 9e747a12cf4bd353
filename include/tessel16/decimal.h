// decimal.h: the arbitrary-precision numbers behind xs:integer and xs:decimal. CBigInteger is
// a signed integer of any size; CDecimal is an integer part and a fraction part with its digit
// count, so a value keeps exact decimal digits through parsing, arithmetic and writing.
// Both are plain values: copy them freely, nothing is shared between copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/export.h"

namespace Tessel16 {

class CDecimal;

namespace detail {

class WideDecimal;

// The magnitude storage of CBigInteger: a few base 10^9 limbs held inline, so the numbers of
// everyday documents (up to 36 digits) never touch the heap, and more on the heap. An
// implementation detail of the classes below, not an interface of its own.
class TESSEL16_API LimbVector {
public:
    LimbVector() noexcept : m_data(m_inline) {}
    LimbVector(std::size_t count, std::uint32_t value);
    LimbVector(const std::uint32_t* first, const std::uint32_t* last);
    LimbVector(const LimbVector& other);
    LimbVector(LimbVector&& other) noexcept;
    LimbVector& operator=(const LimbVector& other);
    LimbVector& operator=(LimbVector&& other) noexcept;
    ~LimbVector();

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::uint32_t* begin() { return m_data; }
    std::uint32_t* end() { return m_data + m_size; }
    const std::uint32_t* begin() const { return m_data; }
    const std::uint32_t* end() const { return m_data + m_size; }
    std::uint32_t& operator[](std::size_t i) { return m_data[i]; }
    std::uint32_t operator[](std::size_t i) const { return m_data[i]; }
    std::uint32_t& back() { return m_data[m_size - 1]; }
    std::uint32_t back() const { return m_data[m_size - 1]; }
    void push_back(std::uint32_t value) {
        if (m_size == m_capacity) Grow(m_size + 1);
        m_data[m_size++] = value;
    }
    void pop_back() { --m_size; }
    void clear() { m_size = 0; }
    void resize(std::size_t count, std::uint32_t value = 0);
    void assign(std::size_t count, std::uint32_t value);
    // Inserts count copies of value before the first element.
    void insert_front(std::size_t count, std::uint32_t value);
    void swap(LimbVector& other) noexcept;

private:
    static constexpr std::uint32_t kInlineLimbs = 4;
    void Grow(std::size_t minimum);
    bool IsInline() const { return m_data == m_inline; }

    std::uint32_t* m_data;
    std::uint32_t m_size = 0;
    std::uint32_t m_capacity = kInlineLimbs;
    std::uint32_t m_inline[kInlineLimbs];
};

}  // namespace detail

// A signed integer of unbounded size. Division truncates toward zero and the remainder takes
// the sign of the dividend, as with the built-in integer types.
class TESSEL16_API CBigInteger {
public:
    // Zero.
    CBigInteger();
    // The exact value of a native integer.
    CBigInteger(int value);                 // NOLINT: implicit by design, like the native types
    CBigInteger(unsigned int value);        // NOLINT
    CBigInteger(long value);                // NOLINT
    CBigInteger(unsigned long value);       // NOLINT
    CBigInteger(long long value);           // NOLINT
    CBigInteger(unsigned long long value);  // NOLINT
    // The integer part of the double's shortest decimal form; throws CTsInvalidValueException
    // for an infinity or NaN.
    CBigInteger(double value);  // NOLINT
    // The integer part of the decimal (the fraction is dropped).
    explicit CBigInteger(const CDecimal& value);
    // Parses text: a text of only digits, signs and whitespace is read as an integer; any other
    // text is read as a decimal and its integer part kept. Throws CTsInvalidValueException for
    // a character that fits neither form. A null pointer gives 0.
    explicit CBigInteger(const char* text);
    CBigInteger(const CBigInteger& other);
    CBigInteger(CBigInteger&& other) noexcept;
    CBigInteger& operator=(const CBigInteger& other);
    CBigInteger& operator=(CBigInteger&& other) noexcept;
    virtual ~CBigInteger();

    // Decimal digits, '-' first when negative; zero is "0".
    std::string ToString() const;

    // Makes the value non-negative, in place.
    CBigInteger& Abs();
    // Flips the sign, in place (zero stays zero).
    CBigInteger& Negate();
    // Flips the sign in place and returns this object (not a negated copy: use GetNegative).
    CBigInteger& operator-();
    CBigInteger GetAbs() const;
    CBigInteger GetNegative() const;

    // +1 for zero and positive values, -1 for negative ones.
    int GetSign() const { return m_sign; }
    bool IsZero() const { return m_limbs.empty(); }
    // Number of decimal digits of the magnitude; 1 for zero.
    std::size_t GetDigitCount() const;

    CBigInteger operator+(const CBigInteger& other) const;
    CBigInteger operator-(const CBigInteger& other) const;
    CBigInteger operator*(const CBigInteger& other) const;
    // Throw CTsInvalidValueException when other is zero.
    CBigInteger operator/(const CBigInteger& other) const;
    CBigInteger operator%(const CBigInteger& other) const;
    CBigInteger& operator+=(const CBigInteger& other);
    CBigInteger& operator-=(const CBigInteger& other);
    CBigInteger& operator*=(const CBigInteger& other);
    // Throw CTsInvalidValueException when other is zero.
    CBigInteger& operator/=(const CBigInteger& other);
    CBigInteger& operator%=(const CBigInteger& other);

    // -1, 0 or 1 as this value is below, equal to or above other.
    int CompareTo(const CBigInteger& other) const;
    bool operator==(const CBigInteger& other) const { return CompareTo(other) == 0; }
    bool operator!=(const CBigInteger& other) const { return CompareTo(other) != 0; }
    bool operator<(const CBigInteger& other) const { return CompareTo(other) < 0; }
    bool operator>(const CBigInteger& other) const { return CompareTo(other) > 0; }
    bool operator<=(const CBigInteger& other) const { return CompareTo(other) <= 0; }
    bool operator>=(const CBigInteger& other) const { return CompareTo(other) >= 0; }

    // The conversions are explicit so that mixed expressions such as `big == 5` pick the
    // exact CBigInteger comparison instead of being ambiguous with the built-in one.
    // Throws CTsInvalidValueException outside the 32-bit signed range.
    explicit operator int() const;
    // Throws CTsInvalidValueException outside the 64-bit signed range.
    explicit operator long long() const;

    // The integer square root (rounded down); throws CTsInvalidValueException when negative.
    CBigInteger SquareRoot() const;
    // 1 followed by n zeros.
    static CBigInteger Pow10(unsigned int n);

protected:
    // sign is +1 or -1; digits are values 0..9, least significant first.
    CBigInteger(int sign, const std::vector<char>& digits);

private:
    friend class CDecimal;
    friend class detail::WideDecimal;
    void Parse(const char* text);
    void Normalise();
    void DivideBy(const CBigInteger& divisor, const char* zeroMessage, bool wantRemainder);

    // +1 or -1; +1 whenever the magnitude is zero.
    std::int32_t m_sign = 1;
    // The magnitude in base 10^9 limbs, least significant first, no high zero limbs; zero is
    // empty. Base 10^9 keeps parsing and writing decimal text a matter of grouping digits.
    detail::LimbVector m_limbs;
};

// An exact decimal number: integer part + fraction part / 10^count, both parts carrying the
// value's sign. Quotients, products and parsed texts keep at most GetMaxDecimalPlaces()
// fraction digits, rounded to the nearest with an exact half going toward zero.
class TESSEL16_API CDecimal {
public:
    // Zero, with one fraction digit.
    CDecimal();
    CDecimal(int value);                 // NOLINT: implicit by design, like the native types
    CDecimal(unsigned int value);        // NOLINT
    CDecimal(long value);                // NOLINT
    CDecimal(unsigned long value);       // NOLINT
    CDecimal(long long value);           // NOLINT
    CDecimal(unsigned long long value);  // NOLINT
    // The double's shortest decimal form (0.1 gives 0.1, not the binary approximation);
    // throws CTsInvalidValueException for an infinity or NaN.
    CDecimal(double value);  // NOLINT
    // Parses the text (see Parse).
    explicit CDecimal(const char* text);
    CDecimal(const CBigInteger& value);  // NOLINT: lossless
    CDecimal(const CDecimal& other);
    CDecimal(CDecimal&& other) noexcept;
    CDecimal& operator=(const CDecimal& other);
    CDecimal& operator=(CDecimal&& other) noexcept;
    virtual ~CDecimal();

    // Replaces the value with the number in text: digits, signs, '.', an exponent after 'e' or
    // 'E', whitespace ignored. Throws CTsInvalidValueException naming the position of the first
    // character that does not fit. A null pointer gives 0.
    void Parse(const char* text);

    // The exact value without exponent: the integer alone when the fraction is zero, else
    // all GetFractionDivider() fraction digits; "-" only when negative. Read texts, sums and
    // exact products and quotients carry no trailing zeros; a rounded result keeps the zeros
    // that rounding produced (0.1234...5999 to 30 digits ends in ...6000).
    std::string ToString() const;
    // Exactly fractionDigits fraction digits (none when it is 0 or less), rounded like
    // ChangeFractionalDivider when the value has more.
    std::string ToString(int fractionDigits) const;

    // Throws CTsOverFlowException beyond +-1.7E+308.
    double ToDouble() const;
    // The integer part; throws CTsOverFlowException when the value is outside the 32-bit range.
    std::int32_t ToLong() const;
    // The integer part; throws CTsOverFlowException when the value is outside the 64-bit range.
    long long ToLongLong() const;
    // The integer part (the fraction is dropped).
    CBigInteger ToBigInteger() const;

    CBigInteger GetIntegerPart() const;
    // The fraction digits read as an integer, with the value's sign.
    CBigInteger GetFractionPart() const;
    // The number of fraction digits (at least 1).
    int GetFractionDivider() const;

    // Flips the sign in place.
    CDecimal& Negate();
    CDecimal GetNegative() const;

    // Sets the number of fraction digits to n: more digits are exact, fewer round to the
    // nearest with an exact half toward zero, carrying into the integer part. An n of 0 or
    // less rounds to an integer (the count stays 1).
    void ChangeFractionalDivider(int n);
    // Drops trailing zero fraction digits, keeping at least one.
    void Rationalise();

    CDecimal operator+(const CDecimal& other) const;
    CDecimal operator-(const CDecimal& other) const;
    CDecimal operator*(const CDecimal& other) const;
    // The quotient truncated to GetMaxDecimalPlaces() + 2 fraction digits, then rounded to
    // GetMaxDecimalPlaces(). Throws CTsInvalidValueException when other is zero.
    CDecimal operator/(const CDecimal& other) const;
    CDecimal& operator+=(const CDecimal& other);
    CDecimal& operator-=(const CDecimal& other);
    CDecimal& operator*=(const CDecimal& other);
    CDecimal& operator/=(const CDecimal& other);
    CDecimal& operator++();
    CDecimal operator++(int);
    CDecimal& operator--();
    CDecimal operator--(int);

    // -1, 0 or 1 as this value is below, equal to or above other (by value: 1.50 == 1.5).
    int CompareTo(const CDecimal& other) const;
    bool operator==(const CDecimal& other) const { return CompareTo(other) == 0; }
    bool operator!=(const CDecimal& other) const { return CompareTo(other) != 0; }
    bool operator<(const CDecimal& other) const { return CompareTo(other) < 0; }
    bool operator>(const CDecimal& other) const { return CompareTo(other) > 0; }
    bool operator<=(const CDecimal& other) const { return CompareTo(other) <= 0; }
    bool operator>=(const CDecimal& other) const { return CompareTo(other) >= 0; }

    // The most fraction digits a quotient, product or parsed text keeps (default 30). The
    // setting is process-wide and unguarded: set it once, before values are divided on
    // several threads. A negative setting counts as 0.
    static int GetMaxDecimalPlaces();
    static void SetMaxDecimalPlaces(int places);

private:
    CDecimal(const CBigInteger& integerPart, const CBigInteger& fractionPart, int count);
    bool IsNegative() const;
    bool IsWide() const { return m_isWide; }
    // The value in the unbounded form: this value's own when it is wide, else built in scratch.
    const detail::WideDecimal& WideView(detail::WideDecimal& scratch) const;
    // Takes a result of the unbounded arithmetic, compact again when its digits allow.
    void AssignWide(detail::WideDecimal&& value);
    void SetCompact(std::uint64_t coefficient, int count, bool negative);
    void ReleaseWide();
    // Each operation tries the compact form first and says false when its result would not
    // fit; the caller then repeats it in the unbounded form.
    bool ParseCompact(const char* text);
    bool AddCompact(const CDecimal& other, bool subtract);
    // Adds or subtracts `other`: compactly when both values and the result fit, else wide.
    CDecimal& AddSigned(const CDecimal& other, bool subtract);
    bool MultiplyCompact(const CDecimal& other);
    bool ChangeFractionalDividerCompact(int n);
    // The sign, the integer part and, when fractionDigits > 0, the fraction zero-padded to
    // that many digits (at least the count's); compact values only.
    char* WriteCompact(char* out, int fractionDigits) const;
    std::string CompactText(int fractionDigits) const;

    // While the digits fit 64 bits the value is (m_negative ? -1 : 1) * m_coefficient /
    // 10^m_count, m_count 1..19, and a decimal is no larger than a pointer and two words;
    // other values live behind m_wide. Zero is never negative.
    union {
        std::uint64_t m_coefficient = 0;
        detail::WideDecimal* m_wide;
    };
    std::int32_t m_count = 1;
    bool m_negative = false;
    bool m_isWide = false;

    static int m_maxDivider;
};

}  // namespace Tessel16
