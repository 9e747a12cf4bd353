// primitive_restrictions.h: CPrimitiveRestrictions, the facets of one simple type (pattern,
// lengths, bounds, digits) as the generated metadata declares them, and the value check that
// tests a value of any kind against them. Bounds are kept as text and read with the value's
// own kind at check time, so one record type serves every kind.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/binary_data.h"
#include "tessel16/date_time.h"
#include "tessel16/decimal.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/types.h"

namespace Tessel16 {

// A length or digit facet of -1 (any negative number) and an empty text facet are absent.
//
// Every check throws CTsInvalidValueException "Invalid Value for <name> [<value>]." (with
// [%d] for the narrow integer kinds and year, month, day, and [%f] for r4 and r8) on the
// first facet the value breaks; a bound text that does not convert throws the conversion's
// exception. The pattern is an XSD regular expression matched against the whole value; an
// invalid pattern throws "<compile error>\nInvalid Value for <name> [<value>]." on every
// check.
class TESSEL16_API CPrimitiveRestrictions {
public:
    // No facets.
    CPrimitiveRestrictions();
    // The ten facets in this order; a null text is an absent facet.
    CPrimitiveRestrictions(const char* pattern, std::int32_t minLength, std::int32_t maxLength,
                           const char* minInclusive, const char* maxInclusive,
                           const char* minExclusive, const char* maxExclusive, std::int32_t length,
                           std::int32_t totalDigits, std::int32_t fractionDigits);
    CPrimitiveRestrictions(const CPrimitiveRestrictions& other);
    CPrimitiveRestrictions& operator=(const CPrimitiveRestrictions& other);
    virtual ~CPrimitiveRestrictions();

    const std::string& GetPattern() const { return m_pattern; }
    std::int32_t GetMinLength() const { return m_minLength; }
    std::int32_t GetMaxLength() const { return m_maxLength; }
    const std::string& GetMinInclusive() const { return m_minInclusive; }
    const std::string& GetMaxInclusive() const { return m_maxInclusive; }
    const std::string& GetMinExclusive() const { return m_minExclusive; }
    const std::string& GetMaxExclusive() const { return m_maxExclusive; }
    std::int32_t GetLength() const { return m_length; }
    std::int32_t GetTotalDigits() const { return m_totalDigits; }
    std::int32_t GetFractionDigits() const { return m_fractionDigits; }
    // True when no facet is set, so a check can be skipped.
    bool IsEmpty() const;

    // Reads the value out of the variant as `type` and runs that kind's check below; char and
    // boolean have no facets. Any other type throws CTsInvalidValueException
    // "Unknown type [<type>].".
    void CheckValue(const std::string& name, const TsVariant& value, ItemType type) const;

    // Length facets on the byte count; the message shows the hex (hexBinary) or base64 text.
    void CheckBinary(const std::string& name, const CBinaryData& value, ItemType type) const;
    // Bounds and totalDigits.
    void CheckI1(const std::string& name, char value) const;
    void CheckI2(const std::string& name, short value) const;
    void CheckI4(const std::string& name, std::int32_t value) const;
    void CheckI8(const std::string& name, long long value) const;
    void CheckUI1(const std::string& name, unsigned char value) const;
    void CheckUI2(const std::string& name, unsigned short value) const;
    void CheckUI4(const std::string& name, std::uint32_t value) const;
    void CheckUI8(const std::string& name, unsigned long long value) const;
    // Bounds; NaN is outside every bound.
    void CheckR4(const std::string& name, float value) const;
    void CheckR8(const std::string& name, double value) const;
    // Bounds in the XSD partial order: a comparison that is indeterminate breaks the bound.
    void CheckDuration(const std::string& name, const CDateTimeSpan& value) const;
    // `type` (yearMonth, monthDay, date, datetime or time) picks how the bounds are read.
    void CheckDateTime(const std::string& name, const CDateTime& value, ItemType type) const;
    // Bounds on the bare number; the bounds are gYear, gMonth and gDay texts.
    void CheckYear(const std::string& name, unsigned short value) const;
    void CheckMonth(const std::string& name, unsigned char value) const;
    void CheckDay(const std::string& name, unsigned char value) const;
    // Length facets on the characters of the value, then the pattern.
    void CheckString(const std::string& name, const std::string& value) const;
    // Bounds, then totalDigits and fractionDigits (significant digits: no leading zeros of
    // the integer part, no trailing zeros of the fraction).
    void CheckDecimal(const std::string& name, const CDecimal& value) const;
    // Bounds and totalDigits.
    void CheckInteger(const std::string& name, const CBigInteger& value) const;

private:
    std::string m_pattern;
    std::int32_t m_minLength = -1;
    std::int32_t m_maxLength = -1;
    std::string m_minInclusive;
    std::string m_maxInclusive;
    std::string m_minExclusive;
    std::string m_maxExclusive;
    std::int32_t m_length = -1;
    std::int32_t m_totalDigits = -1;
    std::int32_t m_fractionDigits = -1;
};

}  // namespace Tessel16
