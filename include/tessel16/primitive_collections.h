// primitive_collections.h: the collections of primitive values that hold a repeated member of
// simple type, one class per XSD kind (Ci4Col, CstringCol, CdateCol, ...). Every kind is the
// same machine over a vector of values: typed Add/AddAt/Item/Remove, a facet check on every
// value added, events to listeners, one element per value written, one value per matching
// element read. CPrimitiveCol carries that machine once; a small traits type per kind supplies
// the value type and its conversions. The date and time kinds share CdatetimeBaseCol instead,
// whose members also insist on the kind of the CDateTime they are given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tessel16/binary_data.h"
#include "tessel16/date_time.h"
#include "tessel16/date_time_span.h"
#include "tessel16/decimal.h"
#include "tessel16/export.h"
#include "tessel16/types.h"
#include "tessel16/whitespace_utils.h"
#include "tessel16/xml_type_collection.h"

namespace Tessel16 {

namespace detail {
// One traits type per kind: Value is what the vector holds, Arg what Add takes, Ret what
// Item returns; the static operations are the kind's conversions and facet check.
#define TESSEL16_PRIMITIVE_TRAITS(Kind, ValueType, ArgType, RetType)                           \
    struct TESSEL16_API Kind##ColTraits {                                                      \
        using Value = ValueType;                                                               \
        using Arg = ArgType;                                                                   \
        using Ret = RetType;                                                                   \
        static const char* ClassName();                                                        \
        static ItemType Type();                                                                \
        static std::string ToText(const Value& value, const std::string& format);              \
        static Value FromText(const std::string& text, CWhitespaceUtils::WhitespaceRule rule); \
        static void Check(const CPrimitiveRestrictions& restrictions, const std::string& name, \
                          const Value& value);                                                 \
    };

TESSEL16_PRIMITIVE_TRAITS(i1, char, char, char)
TESSEL16_PRIMITIVE_TRAITS(i2, short, short, short)
TESSEL16_PRIMITIVE_TRAITS(i4, std::int32_t, std::int32_t, std::int32_t)
TESSEL16_PRIMITIVE_TRAITS(i8, long long, long long, long long)
TESSEL16_PRIMITIVE_TRAITS(ui1, unsigned char, unsigned char, unsigned char)
TESSEL16_PRIMITIVE_TRAITS(ui2, unsigned short, unsigned short, unsigned short)
TESSEL16_PRIMITIVE_TRAITS(ui4, std::uint32_t, std::uint32_t, std::uint32_t)
TESSEL16_PRIMITIVE_TRAITS(ui8, unsigned long long, unsigned long long, unsigned long long)
TESSEL16_PRIMITIVE_TRAITS(r4, float, float, float)
TESSEL16_PRIMITIVE_TRAITS(r8, double, double, double)
TESSEL16_PRIMITIVE_TRAITS(duration, CDateTimeSpan, const CDateTimeSpan&, CDateTimeSpan)
TESSEL16_PRIMITIVE_TRAITS(year, unsigned short, unsigned short, unsigned short)
TESSEL16_PRIMITIVE_TRAITS(month, unsigned char, unsigned char, unsigned char)
TESSEL16_PRIMITIVE_TRAITS(day, unsigned char, unsigned char, unsigned char)
TESSEL16_PRIMITIVE_TRAITS(string, std::string, std::string, std::string)
TESSEL16_PRIMITIVE_TRAITS(boolean, bool, bool, bool)
TESSEL16_PRIMITIVE_TRAITS(decimal, CDecimal, const CDecimal&, CDecimal)
TESSEL16_PRIMITIVE_TRAITS(integer, CBigInteger, const CBigInteger&, CBigInteger)
TESSEL16_PRIMITIVE_TRAITS(hexBinary, CBinaryData, const CBinaryData&, CBinaryData)
TESSEL16_PRIMITIVE_TRAITS(base64Binary, CBinaryData, const CBinaryData&, CBinaryData)
#undef TESSEL16_PRIMITIVE_TRAITS
}  // namespace detail

// The machine every non-date primitive collection shares. The facet arguments between the
// bounds and the whitespace rule are those of CPrimitiveRestrictions, in its order.
template <class Traits>
class TESSEL16_API CPrimitiveCol : public CXmlTypeCollection, public CInstanceMonitor {
public:
    using Value = typename Traits::Value;
    using const_iterator = typename std::vector<Value>::const_iterator;

    CPrimitiveCol(const char* elementName, const char* namespaceUri, int minOccurs, int maxOccurs,
                  const char* pattern, std::int32_t minLength, std::int32_t maxLength,
                  const char* minInclusive, const char* maxInclusive, const char* minExclusive,
                  const char* maxExclusive, std::int32_t length, std::int32_t totalDigits,
                  std::int32_t fractionDigits, CWhitespaceUtils::WhitespaceRule whitespaceRule,
                  const char* format);
    CPrimitiveCol(const CPrimitiveCol& other);
    CPrimitiveCol& operator=(const CPrimitiveCol& other);

    void Add(typename Traits::Arg value) { AddAt(GetCount(), value); }
    // Fires add, checks the index ("Index out of range") and the facets, stores the value,
    // then fires add-complete and change. Listeners see the add even of a refused value.
    void AddAt(int index, typename Traits::Arg value);
    typename Traits::Ret Item(int index) const;

    int GetCount() const override;
    void Clear() override;
    void Remove(int index) override;

    const_iterator begin() const { return m_values.begin(); }
    const_iterator end() const { return m_values.end(); }

protected:
    ~CPrimitiveCol() override;

    void AddFromString(std::string text) override;
    // One element per value in the collection's own name and namespace.
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;

private:
    std::vector<Value> m_values;
};

// The members are instantiated once, in the library.
#define TESSEL16_PRIMITIVE_COLLECTION(Kind)                                           \
    extern template class CPrimitiveCol<detail::Kind##ColTraits>;                     \
    class TESSEL16_API C##Kind##Col : public CPrimitiveCol<detail::Kind##ColTraits> { \
    public:                                                                           \
        using CPrimitiveCol<detail::Kind##ColTraits>::CPrimitiveCol;                  \
                                                                                      \
    protected:                                                                        \
        ~C##Kind##Col() override = default;                                           \
    };

TESSEL16_PRIMITIVE_COLLECTION(i1)
TESSEL16_PRIMITIVE_COLLECTION(i2)
TESSEL16_PRIMITIVE_COLLECTION(i4)
TESSEL16_PRIMITIVE_COLLECTION(i8)
TESSEL16_PRIMITIVE_COLLECTION(ui1)
TESSEL16_PRIMITIVE_COLLECTION(ui2)
TESSEL16_PRIMITIVE_COLLECTION(ui4)
TESSEL16_PRIMITIVE_COLLECTION(ui8)
TESSEL16_PRIMITIVE_COLLECTION(r4)
TESSEL16_PRIMITIVE_COLLECTION(r8)
TESSEL16_PRIMITIVE_COLLECTION(duration)
TESSEL16_PRIMITIVE_COLLECTION(year)
TESSEL16_PRIMITIVE_COLLECTION(month)
TESSEL16_PRIMITIVE_COLLECTION(day)
TESSEL16_PRIMITIVE_COLLECTION(string)
TESSEL16_PRIMITIVE_COLLECTION(boolean)
TESSEL16_PRIMITIVE_COLLECTION(decimal)
TESSEL16_PRIMITIVE_COLLECTION(integer)
TESSEL16_PRIMITIVE_COLLECTION(hexBinary)
TESSEL16_PRIMITIVE_COLLECTION(base64Binary)
#undef TESSEL16_PRIMITIVE_COLLECTION

// The base of the date and time collections: a vector of CDateTime written with the value's
// own lexical form. Each member checks that a value is of its kind before anything else.
class TESSEL16_API CdatetimeBaseCol : public CXmlTypeCollection {
public:
    using const_iterator = std::vector<CDateTime>::const_iterator;

    CdatetimeBaseCol(const CdatetimeBaseCol& other);
    CdatetimeBaseCol& operator=(const CdatetimeBaseCol& other);

    int GetCount() const override;
    void Clear() override;
    void Remove(int index) override;

    virtual void Add(const CDateTime& value);
    virtual void AddAt(int index, const CDateTime& value) = 0;
    virtual CDateTime Item(int index) const;

    const_iterator begin() const { return m_values.begin(); }
    const_iterator end() const { return m_values.end(); }

protected:
    // The item type comes first, then the arguments of CXmlTypeCollection.
    CdatetimeBaseCol(ItemType itemType, const char* elementName, const char* namespaceUri,
                     int minOccurs, int maxOccurs, const char* pattern, std::int32_t minLength,
                     std::int32_t maxLength, const char* minInclusive, const char* maxInclusive,
                     const char* minExclusive, const char* maxExclusive, std::int32_t length,
                     std::int32_t totalDigits, std::int32_t fractionDigits,
                     CWhitespaceUtils::WhitespaceRule whitespaceRule, const char* format);
    ~CdatetimeBaseCol() override;

    virtual std::string ItemToString(const CDateTime& value) const = 0;
    // The event, index and storage steps of AddAt, after the member's own checks.
    void BaseAddAt(int index, const CDateTime& value);
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;

private:
    std::vector<CDateTime> m_values;
};

#define TESSEL16_DATE_COLLECTION(Kind)                                                           \
    class TESSEL16_API C##Kind##Col : public CdatetimeBaseCol, public CInstanceMonitor {         \
    public:                                                                                      \
        C##Kind##Col(const char* elementName, const char* namespaceUri, int minOccurs,           \
                     int maxOccurs, const char* pattern, std::int32_t minLength,                 \
                     std::int32_t maxLength, const char* minInclusive, const char* maxInclusive, \
                     const char* minExclusive, const char* maxExclusive, std::int32_t length,    \
                     std::int32_t totalDigits, std::int32_t fractionDigits,                      \
                     CWhitespaceUtils::WhitespaceRule whitespaceRule, const char* format);       \
        C##Kind##Col(const C##Kind##Col& other);                                                 \
        C##Kind##Col& operator=(const C##Kind##Col& other);                                      \
        using CdatetimeBaseCol::Add;                                                             \
        /* Throws CTsInvalidParamException for a value of another kind, before any event. */     \
        void AddAt(int index, const CDateTime& value) override;                                  \
                                                                                                 \
    protected:                                                                                   \
        ~C##Kind##Col() override;                                                                \
        void AddFromString(std::string text) override;                                           \
        std::string ItemToString(const CDateTime& value) const override;                         \
    };

TESSEL16_DATE_COLLECTION(date)
TESSEL16_DATE_COLLECTION(datetime)
TESSEL16_DATE_COLLECTION(time)
TESSEL16_DATE_COLLECTION(monthDay)
TESSEL16_DATE_COLLECTION(yearMonth)
#undef TESSEL16_DATE_COLLECTION

}  // namespace Tessel16
