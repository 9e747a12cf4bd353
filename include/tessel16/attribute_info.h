// attribute_info.h: the attribute records of generated classes. A record names one member
// and writes it as an attribute of the open start tag, takes it from one parsed attribute,
// and reports a required attribute that was not there. Simple-typed and enumerated
// attributes have records here, and so has the xs:anyAttribute wildcard, whose member is a
// collection of untyped attributes.
#pragma once

#include <string>

#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/primitive_restrictions.h"
#include "tessel16/types.h"
#include "tessel16/whitespace_utils.h"

namespace Tessel16Data {

class TESSEL16_API CAttributeInfo {
public:
    CAttributeInfo(const CAttributeInfo& other);
    CAttributeInfo& operator=(const CAttributeInfo& other);
    virtual ~CAttributeInfo();

    // Writes the member as an attribute of the open start tag (or nothing when absent).
    virtual void AttributeToXml(const Tessel16::CSerializationContext& context,
                                const Tessel16::CXmlGeneratedClass* object,
                                Tessel16::CXmlWriter* writer) const = 0;
    // True when the attribute belongs to this record; it has then been stored.
    virtual bool AttributeFromXml(const Tessel16::CSerializationContext& context,
                                  Tessel16::CXmlGeneratedClass* object,
                                  Tessel16::CXmlAttribute* attribute) = 0;
    // Called after all attributes were offered; throws for a required one not found.
    virtual void Validate(const Tessel16::CSerializationContext& context, bool found) const = 0;

    const std::string& GetAttributeName() const { return m_attributeName; }
    const std::string& GetNamespace() const { return m_namespace; }
    bool IsOptional() const { return m_optional; }
    const std::string& GetDefaultValue() const { return m_defaultValue; }

protected:
    CAttributeInfo(const char* attributeName, const char* namespaceUri, int propertyIndex,
                   bool optional, const char* defaultValue);

    int GetPropertyIndex() const { return m_propertyIndex; }
    bool IsThisAttribute(const Tessel16::CSerializationContext& context,
                         Tessel16::CXmlAttribute* attribute) const;
    void InvokePropertyGet(Tessel16::CXmlGeneratedClass* object, Tessel16::TsVariant& value) const;
    void InvokePropertySet(Tessel16::CXmlGeneratedClass* object, Tessel16::TsVariant& value,
                           const Tessel16::CXmlAttribute& source) const;
    void ReadProperty(const Tessel16::CXmlGeneratedClass* object, Tessel16::TsVariant& value) const;
    static void ToXml_Int(const Tessel16::CXmlObjectBase* member, Tessel16::CXmlWriter* writer,
                          bool isRoot, const char* namespaceUri,
                          const Tessel16::CSerializationContext& context);
    static std::string GetTargetNamespace(const Tessel16::CXmlObjectBase* object);
    static bool IsNamespaceValid(const std::string& namespaceUri, const std::string& restriction,
                                 const std::string& targetNamespace);
    static void TestNamespace(const std::string& namespaceUri, const std::string& restriction,
                              const std::string& targetNamespace);
    // Throws "Failed to find the required Attribute" for a required record not found.
    void ValidateRequired(bool found) const;
    // True when an optional attribute equal to its default is to be left out.
    bool SkipAsDefault(const Tessel16::CSerializationContext& context,
                       const std::string& text) const;

private:
    std::string m_attributeName;
    std::string m_namespace;
    int m_propertyIndex;
    bool m_optional;
    std::string m_defaultValue;
};

// A simple-typed attribute; facets are checked on every write, never on reading.
class TESSEL16_API CAttributeInfoPrimitive : public CAttributeInfo {
public:
    CAttributeInfoPrimitive(const char* attributeName, const char* namespaceUri, int propertyIndex,
                            bool optional, Tessel16::ItemType itemType, const char* format,
                            Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                            const Tessel16::CPrimitiveRestrictions& restrictions,
                            const char* defaultValue);

    void AttributeToXml(const Tessel16::CSerializationContext& context,
                        const Tessel16::CXmlGeneratedClass* object,
                        Tessel16::CXmlWriter* writer) const override;
    bool AttributeFromXml(const Tessel16::CSerializationContext& context,
                          Tessel16::CXmlGeneratedClass* object,
                          Tessel16::CXmlAttribute* attribute) override;
    void Validate(const Tessel16::CSerializationContext& context, bool found) const override;

    void CheckRestriction(const Tessel16::TsVariant& value) const;

private:
    Tessel16::CPrimitiveRestrictions m_restrictions;
    Tessel16::ItemType m_itemType;
    std::string m_format;
    Tessel16::CWhitespaceUtils::WhitespaceRule m_whitespaceRule;
};

// An attribute of an enumerated type, written through the generated enum-to-string mapping.
class TESSEL16_API CAttributeInfoEnum : public CAttributeInfo {
public:
    CAttributeInfoEnum(const char* attributeName, const char* namespaceUri, int propertyIndex,
                       bool optional, const char* (*enumToString)(int),
                       int (*stringToEnum)(const char*), const char* defaultValue);

    void AttributeToXml(const Tessel16::CSerializationContext& context,
                        const Tessel16::CXmlGeneratedClass* object,
                        Tessel16::CXmlWriter* writer) const override;
    bool AttributeFromXml(const Tessel16::CSerializationContext& context,
                          Tessel16::CXmlGeneratedClass* object,
                          Tessel16::CXmlAttribute* attribute) override;
    void Validate(const Tessel16::CSerializationContext& context, bool found) const override;

private:
    int (*m_stringToEnum)(const char*);
    const char* (*m_enumToString)(int);
};

// An xs:anyAttribute wildcard: every attribute whose namespace the restriction admits goes
// into the member, an untyped attribute collection (CAttributeCol).
class TESSEL16_API CAttributeInfoAny : public CAttributeInfo {
public:
    CAttributeInfoAny(const char* attributeName, const char* namespaceUri, int propertyIndex,
                      bool optional, const char* defaultValue, const char* namespaceRestriction,
                      const char* targetNamespace);

    void AttributeToXml(const Tessel16::CSerializationContext& context,
                        const Tessel16::CXmlGeneratedClass* object,
                        Tessel16::CXmlWriter* writer) const override;
    bool AttributeFromXml(const Tessel16::CSerializationContext& context,
                          Tessel16::CXmlGeneratedClass* object,
                          Tessel16::CXmlAttribute* attribute) override;
    void Validate(const Tessel16::CSerializationContext& context, bool found) const override;

private:
    std::string m_namespaceRestriction;
    std::string m_targetNamespace;
};

}  // namespace Tessel16Data
