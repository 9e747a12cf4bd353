// xml_type_collection.h: the base of the collections of primitive values. It keeps what
// every value of the member shares (kind, facets, format, whitespace rule) and reads one
// element per value; the values themselves live in the subclass of each kind.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/export.h"
#include "tessel16/primitive_restrictions.h"
#include "tessel16/types.h"
#include "tessel16/whitespace_utils.h"
#include "tessel16/xml_collection.h"

namespace Tessel16 {

// Base of the collections of primitive values: the kind, facets, format and whitespace rule
// of the values, and the reading of one element per value.
class TESSEL16_API CXmlTypeCollection : public CXmlCollectionBase {
public:
    CXmlTypeCollection(const CXmlTypeCollection& other);
    CXmlTypeCollection& operator=(const CXmlTypeCollection& other);

    ItemType GetItemType() const { return m_itemType; }
    const std::string& GetFormat() const { return m_format; }
    CWhitespaceUtils::WhitespaceRule GetWhitespaceRule() const { return m_whitespaceRule; }
    const CPrimitiveRestrictions& GetRestrictions() const { return m_restrictions; }

protected:
    CXmlTypeCollection(ItemType itemType, const char* elementName, const char* namespaceUri,
                       int minOccurs, int maxOccurs, const char* pattern, std::int32_t minLength,
                       std::int32_t maxLength, const char* minInclusive, const char* maxInclusive,
                       const char* minExclusive, const char* maxExclusive, std::int32_t length,
                       std::int32_t totalDigits, std::int32_t fractionDigits,
                       CWhitespaceUtils::WhitespaceRule whitespaceRule, const char* format);
    ~CXmlTypeCollection() override;

    // Converts one element's text into a value and appends it.
    virtual void AddFromString(std::string text) = 0;

    // Takes consecutive elements of the item name, one value each; returns the first
    // element that is not an item (or null). Neither attributes nor the count are checked.
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* cursor,
                             const CSerializationContext& context, bool inChoice) override;
    void AttributesToXml_Int(CXmlWriter* writer,
                             const CSerializationContext& context) const override;

private:
    CPrimitiveRestrictions m_restrictions;
    ItemType m_itemType;
    std::string m_format;
    CWhitespaceUtils::WhitespaceRule m_whitespaceRule;
};

}  // namespace Tessel16
