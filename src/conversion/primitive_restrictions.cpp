// primitive_restrictions.cpp: the facet record and the value check of every kind. Bounds
// are read from their text with the value's own conversion on each check, and tested in the
// order minInclusive, maxInclusive, minExclusive, maxExclusive; the first failure throws.
#include "tessel16/primitive_restrictions.h"

#include <cstdint>
#include <string>
#include <type_traits>

#include "conversion/conversion_messages.h"
#include "conversion/pattern.h"
#include "conversion/utf8_text.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"
#include "tessel16/variant.h"

namespace Tessel16 {
namespace {

using C = CConversions;
// Bound texts come from the schema, where every kind that has bounds collapses whitespace.
constexpr CWhitespaceUtils::WhitespaceRule kBoundRule = CWhitespaceUtils::WhitespaceRule_Collapse;

enum class Order { Less, Equal, Greater, Indeterminate };

template <class T>
Order NumericOrder(const T& a, const T& b) {
    if (a < b) return Order::Less;
    if (b < a) return Order::Greater;
    if (a == b) return Order::Equal;
    return Order::Indeterminate;  // NaN
}

Order FromDateOrder(CDateTime::DTCompareResult r) {
    switch (r) {
        case CDateTime::Equal:
            return Order::Equal;
        case CDateTime::LessThan:
            return Order::Less;
        case CDateTime::GreaterThan:
            return Order::Greater;
        default:
            return Order::Indeterminate;
    }
}

// A bound holds only when the order is certain: an indeterminate comparison (a NaN, or a
// date with and a date without zone too close to tell) breaks it, as XSD prescribes.
template <class T, class Read, class Compare, class Fail>
void CheckBounds(const CPrimitiveRestrictions& r, const T& value, Read read, Compare compare,
                 Fail fail) {
    if (!r.GetMinInclusive().empty()) {
        const Order o = compare(value, read(r.GetMinInclusive()));
        if (o != Order::Greater && o != Order::Equal) fail();
    }
    if (!r.GetMaxInclusive().empty()) {
        const Order o = compare(value, read(r.GetMaxInclusive()));
        if (o != Order::Less && o != Order::Equal) fail();
    }
    if (!r.GetMinExclusive().empty() && compare(value, read(r.GetMinExclusive())) != Order::Greater)
        fail();
    if (!r.GetMaxExclusive().empty() && compare(value, read(r.GetMaxExclusive())) != Order::Less)
        fail();
}

int DigitCount(std::uint64_t magnitude) {
    int digits = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits;
}

std::uint64_t Magnitude(long long value) {
    return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}
std::uint64_t Magnitude(unsigned long long value) { return value; }

[[noreturn]] void ThrowText(const std::string& name, const std::string& text) {
    throw CTsInvalidValueException(
        FormatString(detail::kMsgInvalidValueText, name.c_str(), text.c_str()));
}
[[noreturn]] void ThrowInt(const std::string& name, int value) {
    throw CTsInvalidValueException(FormatString(detail::kMsgInvalidValueInt, name.c_str(), value));
}
[[noreturn]] void ThrowReal(const std::string& name, double value) {
    throw CTsInvalidValueException(FormatString(detail::kMsgInvalidValueReal, name.c_str(), value));
}

template <class T>
Order CompareNumbers(const T& a, const T& b) {
    return NumericOrder(a, b);
}

// The integer kinds: bounds read with the kind's conversion, then totalDigits on the
// magnitude (the sign is not a digit).
template <class T, class Wide, class Fail>
void CheckIntegerKind(const CPrimitiveRestrictions& r, T value,
                      T (*read)(const std::string&, CWhitespaceUtils::WhitespaceRule), Fail fail) {
    CheckBounds(
        r, value, [read](const std::string& text) { return read(text, kBoundRule); },
        CompareNumbers<T>, fail);
    if (r.GetTotalDigits() >= 0 &&
        DigitCount(Magnitude(static_cast<Wide>(value))) > r.GetTotalDigits())
        fail();
}

template <class T, class Fail>
void CheckNumberBounds(const CPrimitiveRestrictions& r, T value,
                       T (*read)(const std::string&, CWhitespaceUtils::WhitespaceRule), Fail fail) {
    CheckBounds(
        r, value, [read](const std::string& text) { return read(text, kBoundRule); },
        CompareNumbers<T>, fail);
}

// The length facets, each only when set.
void CheckLengths(const CPrimitiveRestrictions& r, std::size_t n, const std::string& name,
                  const std::string& shown) {
    const std::int32_t minLength = r.GetMinLength();
    const std::int32_t maxLength = r.GetMaxLength();
    const std::int32_t length = r.GetLength();
    if (minLength >= 0 && n < static_cast<std::size_t>(minLength)) ThrowText(name, shown);
    if (maxLength >= 0 && n > static_cast<std::size_t>(maxLength)) ThrowText(name, shown);
    if (length >= 0 && n != static_cast<std::size_t>(length)) ThrowText(name, shown);
}

// Significant digits of a decimal's canonical text: the integer part without its leading
// zeros (so none for 0.x) and the fraction without trailing zeros.
void CountDecimalDigits(const std::string& text, int& integerDigits, int& fractionDigits) {
    std::size_t i = text[0] == '-' ? 1 : 0;
    const std::size_t point = text.find('.');
    const std::size_t integerEnd = point == std::string::npos ? text.size() : point;
    while (i < integerEnd && text[i] == '0') ++i;
    integerDigits = static_cast<int>(integerEnd - i);
    fractionDigits = 0;
    if (point != std::string::npos) {
        std::size_t end = text.size();
        while (end > point + 1 && text[end - 1] == '0') --end;
        fractionDigits = static_cast<int>(end - point - 1);
    }
}

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

CPrimitiveRestrictions::CPrimitiveRestrictions() = default;

CPrimitiveRestrictions::CPrimitiveRestrictions(const char* pattern, std::int32_t minLength,
                                               std::int32_t maxLength, const char* minInclusive,
                                               const char* maxInclusive, const char* minExclusive,
                                               const char* maxExclusive, std::int32_t length,
                                               std::int32_t totalDigits,
                                               std::int32_t fractionDigits)
    : m_pattern(Text(pattern)),
      m_minLength(minLength),
      m_maxLength(maxLength),
      m_minInclusive(Text(minInclusive)),
      m_maxInclusive(Text(maxInclusive)),
      m_minExclusive(Text(minExclusive)),
      m_maxExclusive(Text(maxExclusive)),
      m_length(length),
      m_totalDigits(totalDigits),
      m_fractionDigits(fractionDigits) {}

CPrimitiveRestrictions::CPrimitiveRestrictions(const CPrimitiveRestrictions& other) = default;
CPrimitiveRestrictions& CPrimitiveRestrictions::operator=(const CPrimitiveRestrictions& other) =
    default;
CPrimitiveRestrictions::~CPrimitiveRestrictions() = default;

bool CPrimitiveRestrictions::IsEmpty() const {
    return m_pattern.empty() && m_minLength < 0 && m_maxLength < 0 && m_minInclusive.empty() &&
           m_maxInclusive.empty() && m_minExclusive.empty() && m_maxExclusive.empty() &&
           m_length < 0 && m_totalDigits < 0 && m_fractionDigits < 0;
}

void CPrimitiveRestrictions::CheckBinary(const std::string& name, const CBinaryData& value,
                                         ItemType type) const {
    const std::size_t n = value.GetLength();
    if (m_minLength < 0 && m_maxLength < 0 && m_length < 0) return;
    const bool broken = (m_minLength >= 0 && n < static_cast<std::size_t>(m_minLength)) ||
                        (m_maxLength >= 0 && n > static_cast<std::size_t>(m_maxLength)) ||
                        (m_length >= 0 && n != static_cast<std::size_t>(m_length));
    // The text is built only for the message.
    if (broken)
        ThrowText(name, type == ItemType_hexBinary ? value.GetAsHexString() : value.GetAsBase64());
}

void CPrimitiveRestrictions::CheckI1(const std::string& name, char value) const {
    CheckIntegerKind<char, long long>(*this, value, C::i1FromString,
                                      [&] { ThrowInt(name, static_cast<signed char>(value)); });
}
void CPrimitiveRestrictions::CheckI2(const std::string& name, short value) const {
    CheckIntegerKind<short, long long>(*this, value, C::i2FromString,
                                       [&] { ThrowInt(name, value); });
}
void CPrimitiveRestrictions::CheckI4(const std::string& name, std::int32_t value) const {
    CheckIntegerKind<std::int32_t, long long>(*this, value, C::i4FromString,
                                              [&] { ThrowInt(name, value); });
}
void CPrimitiveRestrictions::CheckI8(const std::string& name, long long value) const {
    CheckIntegerKind<long long, long long>(*this, value, C::i8FromString,
                                           [&] { ThrowText(name, C::i8ToString(value)); });
}
void CPrimitiveRestrictions::CheckUI1(const std::string& name, unsigned char value) const {
    CheckIntegerKind<unsigned char, unsigned long long>(*this, value, C::ui1FromString,
                                                        [&] { ThrowInt(name, value); });
}
void CPrimitiveRestrictions::CheckUI2(const std::string& name, unsigned short value) const {
    CheckIntegerKind<unsigned short, unsigned long long>(*this, value, C::ui2FromString,
                                                         [&] { ThrowInt(name, value); });
}
void CPrimitiveRestrictions::CheckUI4(const std::string& name, std::uint32_t value) const {
    // The message prints every narrow kind with %d, so values above 2^31 show as negative
    // numbers: the message text is fixed, and callers match on it.
    CheckIntegerKind<std::uint32_t, unsigned long long>(
        *this, value, C::ui4FromString, [&] { ThrowInt(name, static_cast<int>(value)); });
}
void CPrimitiveRestrictions::CheckUI8(const std::string& name, unsigned long long value) const {
    CheckIntegerKind<unsigned long long, unsigned long long>(
        *this, value, C::ui8FromString, [&] { ThrowText(name, C::ui8ToString(value)); });
}

void CPrimitiveRestrictions::CheckR4(const std::string& name, float value) const {
    CheckNumberBounds<float>(*this, value, C::r4FromString,
                             [&] { ThrowReal(name, static_cast<double>(value)); });
}
void CPrimitiveRestrictions::CheckR8(const std::string& name, double value) const {
    CheckNumberBounds<double>(*this, value, C::r8FromString, [&] { ThrowReal(name, value); });
}

void CPrimitiveRestrictions::CheckDuration(const std::string& name,
                                           const CDateTimeSpan& value) const {
    CheckBounds(
        *this, value,
        [](const std::string& text) { return C::durationFromString(text, kBoundRule); },
        [](const CDateTimeSpan& a, const CDateTimeSpan& b) {
            return FromDateOrder(a.CompareTo(b));
        },
        [&] { ThrowText(name, value.ToString()); });
}

void CPrimitiveRestrictions::CheckDateTime(const std::string& name, const CDateTime& value,
                                           ItemType type) const {
    CDateTime (*read)(const std::string&, CWhitespaceUtils::WhitespaceRule) = C::dateFromString;
    if (type == ItemType_datetime) read = C::datetimeFromString;
    if (type == ItemType_time) read = C::timeFromString;
    CheckBounds(
        *this, value, [read](const std::string& text) { return read(text, kBoundRule); },
        [](const CDateTime& a, const CDateTime& b) { return FromDateOrder(a.CompareTo(b)); },
        [&] { ThrowText(name, C::datetimeToString(value)); });
}

void CPrimitiveRestrictions::CheckYear(const std::string& name, unsigned short value) const {
    CheckNumberBounds<unsigned short>(*this, value, C::yearFromString,
                                      [&] { ThrowInt(name, value); });
}
void CPrimitiveRestrictions::CheckMonth(const std::string& name, unsigned char value) const {
    CheckNumberBounds<unsigned char>(*this, value, C::monthFromString,
                                     [&] { ThrowInt(name, value); });
}
void CPrimitiveRestrictions::CheckDay(const std::string& name, unsigned char value) const {
    CheckNumberBounds<unsigned char>(*this, value, C::dayFromString,
                                     [&] { ThrowInt(name, value); });
}

void CPrimitiveRestrictions::CheckString(const std::string& name, const std::string& value) const {
    if (m_minLength >= 0 || m_maxLength >= 0 || m_length >= 0)
        CheckLengths(*this, detail::LocalCharCount(value), name, value);
    if (m_pattern.empty()) return;
    bool matches = false;
    try {
        matches = detail::MatchesXsdPattern(m_pattern, value);
    } catch (const CTsException& e) {
        throw CTsInvalidValueException(FormatString(detail::kMsgInvalidValueAfterError,
                                                    e.GetFullMessage().c_str(), name.c_str(),
                                                    value.c_str()));
    }
    if (!matches) ThrowText(name, value);
}

void CPrimitiveRestrictions::CheckDecimal(const std::string& name, const CDecimal& value) const {
    const auto fail = [&] { ThrowText(name, value.ToString()); };
    CheckBounds(
        *this, value,
        [](const std::string& text) { return C::decimalFromString(text, kBoundRule); },
        [](const CDecimal& a, const CDecimal& b) { return NumericOrder(a, b); }, fail);
    if (m_totalDigits < 0 && m_fractionDigits < 0) return;
    int integerDigits = 0;
    int fractionDigits = 0;
    CountDecimalDigits(value.ToString(), integerDigits, fractionDigits);
    if (m_totalDigits >= 0 && integerDigits + fractionDigits > m_totalDigits) fail();
    if (m_fractionDigits >= 0 && fractionDigits > m_fractionDigits) fail();
}

void CPrimitiveRestrictions::CheckInteger(const std::string& name, const CBigInteger& value) const {
    const auto fail = [&] { ThrowText(name, value.ToString()); };
    CheckBounds(
        *this, value,
        [](const std::string& text) { return C::integerFromString(text, kBoundRule); },
        [](const CBigInteger& a, const CBigInteger& b) { return NumericOrder(a, b); }, fail);
    if (m_totalDigits >= 0 && static_cast<std::int64_t>(value.GetDigitCount()) > m_totalDigits)
        fail();
}

void CPrimitiveRestrictions::CheckValue(const std::string& name, const TsVariant& value,
                                        ItemType type) const {
    // Without a single facet no value of a checked kind can fail, and the getters below
    // never throw; returning early saves copying the value (strings, dates and decimals
    // live on the heap) for every member written. Unknown kinds are still refused.
    if (type >= ItemType_hexBinary && type <= ItemType_integer && IsEmpty()) return;
    switch (type) {
        case ItemType_hexBinary:
            return CheckBinary(name, value.GetHexBinary(), type);
        case ItemType_base64Binary:
            return CheckBinary(name, value.GetBase64Binary(), type);
        case ItemType_i1:
            return CheckI1(name, value.GetI1());
        case ItemType_i2:
            return CheckI2(name, value.GetI2());
        case ItemType_i4:
            return CheckI4(name, value.GetI4());
        case ItemType_i8:
            return CheckI8(name, value.GetI8());
        case ItemType_ui1:
            return CheckUI1(name, value.GetUI1());
        case ItemType_ui2:
            return CheckUI2(name, value.GetUI2());
        case ItemType_ui4:
            return CheckUI4(name, value.GetUI4());
        case ItemType_ui8:
            return CheckUI8(name, value.GetUI8());
        case ItemType_r4:
            return CheckR4(name, value.GetR4());
        case ItemType_r8:
            return CheckR8(name, value.GetR8());
        case ItemType_duration:
            return CheckDuration(name, value.GetDuration());
        case ItemType_yearMonth:
            return CheckDateTime(name, value.GetYearMonth(), type);
        case ItemType_monthDay:
            return CheckDateTime(name, value.GetMonthDay(), type);
        case ItemType_date:
            return CheckDateTime(name, value.GetDate(), type);
        case ItemType_datetime:
            return CheckDateTime(name, value.GetDateTime(), type);
        case ItemType_time:
            return CheckDateTime(name, value.GetTime(), type);
        case ItemType_year:
            return CheckYear(name, value.GetYear());
        case ItemType_month:
            return CheckMonth(name, value.GetMonth());
        case ItemType_day:
            return CheckDay(name, value.GetDay());
        case ItemType_string:
            return CheckString(name, value.GetString());
        case ItemType_decimal:
            return CheckDecimal(name, value.GetDecimal());
        case ItemType_integer:
            return CheckInteger(name, value.GetInteger());
        case ItemType_char:
        case ItemType_boolean:
            return;
        default:
            break;
    }
    throw CTsInvalidValueException(
        FormatString(detail::kMsgUnknownCheckType, static_cast<int>(type)));
}

}  // namespace Tessel16
