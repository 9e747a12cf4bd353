// primitive_collection.cpp: the value collections of every non-date primitive kind. The
// shared machine (events, index checks, facets, writing) is written once as CPrimitiveCol;
// each kind contributes a traits type of four one-line operations and one instantiation.
#include "binding/engine_messages.h"
#include "tessel16/conversions.h"
#include "tessel16/exception.h"
#include "tessel16/primitive_collections.h"
#include "tessel16/primitive_restrictions.h"
#include "tessel16/xml_writer.h"

namespace Tessel16 {

template <class Traits>
CPrimitiveCol<Traits>::CPrimitiveCol(
    const char* elementName, const char* namespaceUri, int minOccurs, int maxOccurs,
    const char* pattern, std::int32_t minLength, std::int32_t maxLength, const char* minInclusive,
    const char* maxInclusive, const char* minExclusive, const char* maxExclusive,
    std::int32_t length, std::int32_t totalDigits, std::int32_t fractionDigits,
    CWhitespaceUtils::WhitespaceRule whitespaceRule, const char* format)
    : CXmlTypeCollection(Traits::Type(), elementName, namespaceUri, minOccurs, maxOccurs, pattern,
                         minLength, maxLength, minInclusive, maxInclusive, minExclusive,
                         maxExclusive, length, totalDigits, fractionDigits, whitespaceRule, format),
      CInstanceMonitor(Traits::ClassName()) {}

template <class Traits>
CPrimitiveCol<Traits>::CPrimitiveCol(const CPrimitiveCol& other)
    : CXmlTypeCollection(other), CInstanceMonitor(Traits::ClassName()), m_values(other.m_values) {}

template <class Traits>
CPrimitiveCol<Traits>& CPrimitiveCol<Traits>::operator=(const CPrimitiveCol& other) {
    CXmlTypeCollection::operator=(other);
    m_values = other.m_values;
    return *this;
}

template <class Traits>
CPrimitiveCol<Traits>::~CPrimitiveCol() = default;

template <class Traits>
void CPrimitiveCol<Traits>::AddAt(int index, typename Traits::Arg value) {
    // Listeners hear of the value before it is judged, so they also see refused values.
    FireOnCollectionAdd(const_cast<Value*>(&value));
    if (index < 0 || index > GetCount())
        throw CTsInvalidParamException(detail::kMsgIndexOutOfRange);
    Traits::Check(GetRestrictions(), GetElementName(), value);
    m_values.insert(m_values.begin() + index, value);
    // The argument rather than the stored copy: a vector of bool has no addressable items.
    FireOnCollectionAddComplete(const_cast<Value*>(&value));
    FireOnCollectionChange();
}

template <class Traits>
typename Traits::Ret CPrimitiveCol<Traits>::Item(int index) const {
    if (index < 0 || index >= GetCount())
        throw CTsInvalidParamException(
            FormatString(detail::kMsgIndexOutOfRangeUse, index, GetCount() - 1));
    return m_values[static_cast<std::size_t>(index)];
}

template <class Traits>
int CPrimitiveCol<Traits>::GetCount() const {
    return static_cast<int>(m_values.size());
}

template <class Traits>
void CPrimitiveCol<Traits>::Clear() {
    while (GetCount() > 0) Remove(0);
}

template <class Traits>
void CPrimitiveCol<Traits>::Remove(int index) {
    FireOnCollectionRemove(index);
    if (index < 0 || index >= GetCount())
        throw CTsInvalidParamException(
            FormatString(detail::kMsgIndexOutOfRangeUse, index, GetCount() - 1));
    m_values.erase(m_values.begin() + index);
    // Completion always reports index 0: listeners learn which value went from the remove
    // event, and the completion only tells them the list has settled.
    FireOnCollectionRemoveComplete(0);
    FireOnCollectionChange();
}

template <class Traits>
void CPrimitiveCol<Traits>::AddFromString(std::string text) {
    AddAt(GetCount(), Traits::FromText(text, GetWhitespaceRule()));
}

template <class Traits>
void CPrimitiveCol<Traits>::ToXml_Int(CXmlWriter* writer, bool, const char*,
                                      const CSerializationContext& context, bool) const {
    ValidateCount(context);
    // The collection's own name and namespace: the caller's namespace is that of the record,
    // and a collection always knows the element it holds values of.
    const std::string name = GetElementName();
    const std::string ns = GetNamespace();
    for (const Value& value : m_values) {
        writer->StartElement(name, ns);
        writer->WriteText(Traits::ToText(value, GetFormat()), Traits::Type(), false);
        writer->EndElement();
    }
}

namespace detail {

using Rule = CWhitespaceUtils::WhitespaceRule;

// Kind: the traits' stem; Check: the facet call, given `r`, `name` and `value`; ToText: the
// conversion to text, given `value` and `format`.
#define TESSEL16_TRAITS_BODY(Kind, CheckCall, ToTextCall)                                  \
    const char* Kind##ColTraits::ClassName() { return "C" #Kind "Col"; }                   \
    ItemType Kind##ColTraits::Type() { return ItemType_##Kind; }                           \
    std::string Kind##ColTraits::ToText(const Value& value,                                \
                                        [[maybe_unused]] const std::string& format) {      \
        return ToTextCall;                                                                 \
    }                                                                                      \
    Kind##ColTraits::Value Kind##ColTraits::FromText(const std::string& text, Rule rule) { \
        return CConversions::Kind##FromString(text, rule);                                 \
    }                                                                                      \
    void Kind##ColTraits::Check([[maybe_unused]] const CPrimitiveRestrictions& r,          \
                                [[maybe_unused]] const std::string& name,                  \
                                [[maybe_unused]] const Value& value) {                     \
        CheckCall;                                                                         \
    }

TESSEL16_TRAITS_BODY(i1, r.CheckI1(name, value), CConversions::i1ToString(value))
TESSEL16_TRAITS_BODY(i2, r.CheckI2(name, value), CConversions::i2ToString(value))
TESSEL16_TRAITS_BODY(i4, r.CheckI4(name, value), CConversions::i4ToString(value))
TESSEL16_TRAITS_BODY(i8, r.CheckI8(name, value), CConversions::i8ToString(value))
TESSEL16_TRAITS_BODY(ui1, r.CheckUI1(name, value), CConversions::ui1ToString(value))
TESSEL16_TRAITS_BODY(ui2, r.CheckUI2(name, value), CConversions::ui2ToString(value))
TESSEL16_TRAITS_BODY(ui4, r.CheckUI4(name, value), CConversions::ui4ToString(value))
TESSEL16_TRAITS_BODY(ui8, r.CheckUI8(name, value), CConversions::ui8ToString(value))
TESSEL16_TRAITS_BODY(r4, r.CheckR4(name, value), CConversions::r4ToString(value, format))
TESSEL16_TRAITS_BODY(r8, r.CheckR8(name, value), CConversions::r8ToString(value, format))
TESSEL16_TRAITS_BODY(duration, r.CheckDuration(name, value), CConversions::durationToString(value))
TESSEL16_TRAITS_BODY(year, r.CheckYear(name, value), CConversions::yearToString(value))
TESSEL16_TRAITS_BODY(month, r.CheckMonth(name, value), CConversions::monthToString(value))
TESSEL16_TRAITS_BODY(day, r.CheckDay(name, value), CConversions::dayToString(value))
TESSEL16_TRAITS_BODY(string, r.CheckString(name, value), CConversions::stringToString(value))
// Booleans have no facets to break.
TESSEL16_TRAITS_BODY(boolean, (void)0, CConversions::booleanToString(value))
TESSEL16_TRAITS_BODY(decimal, r.CheckDecimal(name, value),
                     CConversions::decimalToString(value, format))
TESSEL16_TRAITS_BODY(integer, r.CheckInteger(name, value), CConversions::integerToString(value))
TESSEL16_TRAITS_BODY(hexBinary, r.CheckBinary(name, value, ItemType_hexBinary),
                     CConversions::hexBinaryToString(value))
TESSEL16_TRAITS_BODY(base64Binary, r.CheckBinary(name, value, ItemType_base64Binary),
                     CConversions::base64BinaryToString(value))
#undef TESSEL16_TRAITS_BODY

}  // namespace detail

template class CPrimitiveCol<detail::i1ColTraits>;
template class CPrimitiveCol<detail::i2ColTraits>;
template class CPrimitiveCol<detail::i4ColTraits>;
template class CPrimitiveCol<detail::i8ColTraits>;
template class CPrimitiveCol<detail::ui1ColTraits>;
template class CPrimitiveCol<detail::ui2ColTraits>;
template class CPrimitiveCol<detail::ui4ColTraits>;
template class CPrimitiveCol<detail::ui8ColTraits>;
template class CPrimitiveCol<detail::r4ColTraits>;
template class CPrimitiveCol<detail::r8ColTraits>;
template class CPrimitiveCol<detail::durationColTraits>;
template class CPrimitiveCol<detail::yearColTraits>;
template class CPrimitiveCol<detail::monthColTraits>;
template class CPrimitiveCol<detail::dayColTraits>;
template class CPrimitiveCol<detail::stringColTraits>;
template class CPrimitiveCol<detail::booleanColTraits>;
template class CPrimitiveCol<detail::decimalColTraits>;
template class CPrimitiveCol<detail::integerColTraits>;
template class CPrimitiveCol<detail::hexBinaryColTraits>;
template class CPrimitiveCol<detail::base64BinaryColTraits>;

}  // namespace Tessel16
