// primitive_collection_date.cpp: the collections of date and time values. They hold CDateTime
// values of one kind each; a value of another kind is refused up front, since writing it
// would produce an element of the wrong lexical form.
#include "binding/engine_messages.h"
#include "binding/primitive_collection_messages.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/primitive_restrictions.h"
#include "tessel16/xml_writer.h"

namespace Tessel16 {

CdatetimeBaseCol::CdatetimeBaseCol(ItemType itemType, const char* elementName,
                                   const char* namespaceUri, int minOccurs, int maxOccurs,
                                   const char* pattern, std::int32_t minLength,
                                   std::int32_t maxLength, const char* minInclusive,
                                   const char* maxInclusive, const char* minExclusive,
                                   const char* maxExclusive, std::int32_t length,
                                   std::int32_t totalDigits, std::int32_t fractionDigits,
                                   CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                   const char* format)
    : CXmlTypeCollection(itemType, elementName, namespaceUri, minOccurs, maxOccurs, pattern,
                         minLength, maxLength, minInclusive, maxInclusive, minExclusive,
                         maxExclusive, length, totalDigits, fractionDigits, whitespaceRule,
                         format) {}

CdatetimeBaseCol::CdatetimeBaseCol(const CdatetimeBaseCol& other) = default;
CdatetimeBaseCol& CdatetimeBaseCol::operator=(const CdatetimeBaseCol& other) = default;
CdatetimeBaseCol::~CdatetimeBaseCol() = default;

int CdatetimeBaseCol::GetCount() const { return static_cast<int>(m_values.size()); }

void CdatetimeBaseCol::Clear() {
    while (GetCount() > 0) Remove(0);
}

void CdatetimeBaseCol::Remove(int index) {
    FireOnCollectionRemove(index);
    if (index < 0 || index >= GetCount())
        throw CTsInvalidParamException(
            FormatString(detail::kMsgIndexOutOfRangeUse, index, GetCount() - 1));
    m_values.erase(m_values.begin() + index);
    FireOnCollectionRemoveComplete(0);
    FireOnCollectionChange();
}

void CdatetimeBaseCol::Add(const CDateTime& value) { AddAt(GetCount(), value); }

CDateTime CdatetimeBaseCol::Item(int index) const {
    if (index < 0 || index >= GetCount())
        throw CTsInvalidParamException(
            FormatString(detail::kMsgIndexOutOfRangeUse, index, GetCount() - 1));
    return m_values[static_cast<std::size_t>(index)];
}

void CdatetimeBaseCol::BaseAddAt(int index, const CDateTime& value) {
    FireOnCollectionAdd(const_cast<CDateTime*>(&value));
    if (index < 0 || index > GetCount())
        throw CTsInvalidParamException(detail::kMsgIndexOutOfRange);
    auto stored = m_values.insert(m_values.begin() + index, value);
    FireOnCollectionAddComplete(&*stored);
    FireOnCollectionChange();
}

void CdatetimeBaseCol::ToXml_Int(CXmlWriter* writer, bool, const char*,
                                 const CSerializationContext& context, bool) const {
    ValidateCount(context);
    const std::string name = GetElementName();
    const std::string ns = GetNamespace();
    for (const CDateTime& value : m_values) {
        writer->StartElement(name, ns);
        writer->WriteText(ItemToString(value), ItemType_datetime, false);
        writer->EndElement();
    }
}

// Kind: the class stem; Type: its ItemType (for the bounds); DtKind: the CDateTime kind it
// holds; FromString: its reading conversion.
#define TESSEL16_DATE_COLLECTION_BODY(Kind, Type, DtKind, FromString)                         \
    C##Kind##Col::C##Kind##Col(                                                               \
        const char* elementName, const char* namespaceUri, int minOccurs, int maxOccurs,      \
        const char* pattern, std::int32_t minLength, std::int32_t maxLength,                  \
        const char* minInclusive, const char* maxInclusive, const char* minExclusive,         \
        const char* maxExclusive, std::int32_t length, std::int32_t totalDigits,              \
        std::int32_t fractionDigits, CWhitespaceUtils::WhitespaceRule whitespaceRule,         \
        const char* format)                                                                   \
        : CdatetimeBaseCol(Type, elementName, namespaceUri, minOccurs, maxOccurs, pattern,    \
                           minLength, maxLength, minInclusive, maxInclusive, minExclusive,    \
                           maxExclusive, length, totalDigits, fractionDigits, whitespaceRule, \
                           format),                                                           \
          CInstanceMonitor("C" #Kind "Col") {}                                                \
    C##Kind##Col::C##Kind##Col(const C##Kind##Col& other)                                     \
        : CdatetimeBaseCol(other), CInstanceMonitor("C" #Kind "Col") {}                       \
    C##Kind##Col& C##Kind##Col::operator=(const C##Kind##Col& other) {                        \
        CdatetimeBaseCol::operator=(other);                                                   \
        return *this;                                                                         \
    }                                                                                         \
    C##Kind##Col::~C##Kind##Col() = default;                                                  \
    void C##Kind##Col::AddAt(int index, const CDateTime& value) {                             \
        if (value.GetType() != CDateTime::DtKind)                                             \
            throw CTsInvalidParamException(FormatString(detail::kMsgWrongDateKind, #DtKind)); \
        GetRestrictions().CheckDateTime(GetElementName(), value, Type);                       \
        BaseAddAt(index, value);                                                              \
    }                                                                                         \
    void C##Kind##Col::AddFromString(std::string text) {                                      \
        AddAt(GetCount(), CConversions::FromString(text, GetWhitespaceRule()));               \
    }                                                                                         \
    std::string C##Kind##Col::ItemToString(const CDateTime& value) const {                    \
        return CConversions::dateToString(value);                                             \
    }

TESSEL16_DATE_COLLECTION_BODY(date, ItemType_date, dt_date, dateFromString)
TESSEL16_DATE_COLLECTION_BODY(datetime, ItemType_datetime, dt_dateTime, datetimeFromString)
TESSEL16_DATE_COLLECTION_BODY(time, ItemType_time, dt_time, timeFromString)
TESSEL16_DATE_COLLECTION_BODY(monthDay, ItemType_monthDay, dt_gMonthDay, monthDayFromString)
TESSEL16_DATE_COLLECTION_BODY(yearMonth, ItemType_yearMonth, dt_gYearMonth, yearMonthFromString)
#undef TESSEL16_DATE_COLLECTION_BODY

}  // namespace Tessel16
