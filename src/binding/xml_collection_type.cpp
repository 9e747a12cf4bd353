// xml_collection_type.cpp: the shared part of the primitive collections: construction from
// the facet arguments of generated code, and reading consecutive item elements.
#include "conversion/lexical_check.h"
#include "tessel16/serialization_context.h"
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
    while (cursor && DoesElementNameMatch(context, cursor, name.c_str(), namespaceUri.c_str())) {
        if (context.GetStrictReading())
            detail::CheckExactLexicalForm(
                m_itemType, CWhitespaceUtils::ApplyRule(m_whitespaceRule, cursor->GetText()));
        AddFromString(cursor->GetText());
        cursor = cursor->GetNextSiblingElement();
    }
    return cursor;
}

void CXmlTypeCollection::AttributesToXml_Int(CXmlWriter*, const CSerializationContext&) const {}

}  // namespace Tessel16
