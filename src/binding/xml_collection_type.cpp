// xml_collection_type.cpp: the shared part of the primitive collections: construction from
// the facet arguments of generated code, and reading consecutive item elements.
#include "binding/strict_reading.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_type_collection.h"

namespace Tessel16 {

CXmlTypeCollection::CXmlTypeCollection(ItemType itemType, const char* elementName,
                                       const char* namespaceUri, int minOccurs, int maxOccurs,
                                       const char* pattern, std::int32_t minLength,
                                       std::int32_t maxLength, const char* minInclusive,
                                       const char* maxInclusive, const char* minExclusive,
                                       const char* maxExclusive, std::int32_t length,
                                       std::int32_t totalDigits, std::int32_t fractionDigits,
                                       CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                       const char* format)
    : CXmlCollectionBase(elementName, namespaceUri, minOccurs, maxOccurs),
      m_restrictions(pattern, minLength, maxLength, minInclusive, maxInclusive, minExclusive,
                     maxExclusive, length, totalDigits, fractionDigits),
      m_itemType(itemType),
      m_format(format ? format : ""),
      m_whitespaceRule(whitespaceRule) {}

CXmlTypeCollection::CXmlTypeCollection(const CXmlTypeCollection& other) = default;
CXmlTypeCollection& CXmlTypeCollection::operator=(const CXmlTypeCollection& other) = default;
CXmlTypeCollection::~CXmlTypeCollection() = default;

CXmlElement* CXmlTypeCollection::FromXml_Int(CXmlElement*, CXmlElement* cursor,
                                             const CSerializationContext& context, bool) {
    const std::string name = GetElementName();
    const std::string namespaceUri = GetNamespace();
    const bool strict = context.GetStrictReading();
    while (cursor && DoesElementNameMatch(context, cursor, name.c_str(), namespaceUri.c_str())) {
        try {
            if (strict) {
                // Each item meets the facets it would have to meet when written.
                TsVariant value;
                value.FromString(cursor->GetText(), m_itemType, m_whitespaceRule);
                m_restrictions.CheckValue(name, value, m_itemType);
            }
            AddFromString(cursor->GetText());
        } catch (const CTsException& error) {
            if (!strict || detail::NamesLine(error)) throw;
            detail::RethrowAt(error, *cursor, cursor->GetXPath());
        }
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

void CXmlTypeCollection::AttributesToXml_Int(CXmlWriter*, const CSerializationContext&) const {}

}  // namespace Tessel16
