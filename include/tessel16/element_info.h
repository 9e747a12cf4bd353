// element_info.h: the base of the element records that generated classes declare, one per
// child element. A record names one member (element name, namespace, property index) and
// knows how to write it as elements and read it back; it reaches the member only through the
// generated accessor InvokeProperty. The concrete records are in element_info_variants.h.
#pragma once

#include <string>

#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/primitive_restrictions.h"
#include "tessel16/types.h"
#include "tessel16/whitespace_utils.h"

namespace Tessel16Data {

// Generated mapping between an enumeration value and its lexical text.
typedef const char* (*EnumToStringFunc)(int);
typedef int (*StringToEnumFunc)(const char*);
// Generated factories: by class id and element name (class members), or by the parsed
// element, whose name and xsi:type pick the concrete class (substitutable members).
typedef Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> (*ClassFactoryFunc)(int classId,
                                                                          const char* name);
typedef Tessel16::CSmartPtr<Tessel16::CXmlObjectBase> (*ElementFactoryFunc)(
    Tessel16::CXmlElement* element);

class TESSEL16_API CElementInfo {
public:
    CElementInfo(const CElementInfo& other);
    CElementInfo& operator=(const CElementInfo& other);
    virtual ~CElementInfo();

    // Writes the member; true when something was written, false when the member is absent.
    virtual bool ElementToXml(const Tessel16::CSerializationContext& context,
                              const Tessel16::CXmlGeneratedClass* object,
                              Tessel16::CXmlWriter* writer) const = 0;
    // Reads the member from the elements at *cursor and advances *cursor past what it took.
    // False when the elements at the cursor are not this member.
    virtual bool ElementFromXml(const Tessel16::CSerializationContext& context,
                                Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                                Tessel16::CXmlElement** cursor, const char* parentNamespace,
                                XmlElementType readMode) = 0;
    // Asked after an all group was read; only all-group records answer, the base throws.
    virtual bool Validate(const Tessel16::CSerializationContext& context,
                          const Tessel16::CXmlGeneratedClass* object, bool found,
                          bool required) const;
    // Writes the attributes of a pseudo-element member onto the parent's open start tag.
    virtual void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                           const Tessel16::CXmlGeneratedClass* object,
                                           Tessel16::CXmlWriter* writer) const;

    // Checks a value against the facets of a primitive record; throws the facet's message,
    // or CTsException for a record that has no primitive information.
    void CheckRestriction(const Tessel16::TsVariant& value) const;

    const std::string& GetElementName() const { return m_elementName; }
    const std::string& GetNamespace() const { return m_namespace; }
    bool IsNillable() const { return m_nillable; }
    // The namespace given to a new untyped element read for a wildcard member.
    static std::string GetAnyDefaultNamespace(const char* restriction, const char* parentNamespace,
                                              const char* targetNamespace);

protected:
    friend class Tessel16::CXmlGeneratedClass;

    CElementInfo(const char* elementName, const char* namespaceUri, int propertyIndex);
    CElementInfo(const char* elementName, const char* namespaceUri, int propertyIndex,
                 bool nillable, EnumToStringFunc enumToString, StringToEnumFunc stringToEnum,
                 const char* defaultValue);
    CElementInfo(const char* elementName, const char* namespaceUri, int propertyIndex,
                 bool nillable, Tessel16::ItemType itemType, const char* format,
                 Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                 const Tessel16::CPrimitiveRestrictions& restrictions, const char* defaultValue);

    int GetPropertyIndex() const { return m_propertyIndex; }
    bool IsThisElement(const Tessel16::CSerializationContext& context,
                       const Tessel16::CXmlElement* element) const;
    void InvokePropertyGet(Tessel16::CXmlGeneratedClass* object, Tessel16::TsVariant& value) const;
    void InvokePropertySet(Tessel16::CXmlGeneratedClass* object, Tessel16::TsVariant& value,
                           const Tessel16::CXmlElement& source) const;
    void ReadProperty(const Tessel16::CXmlGeneratedClass* object, Tessel16::TsVariant& value) const;
    // Forwards to the member's own FromXml_Int and returns the new cursor.
    static Tessel16::CXmlElement* FromXml_Int(Tessel16::CXmlObjectBase* member,
                                              Tessel16::CXmlElement* parent,
                                              Tessel16::CXmlElement* cursor,
                                              const Tessel16::CSerializationContext& context,
                                              bool inChoice);
    static void AttributesToXml_Int(const Tessel16::CXmlObjectBase* member,
                                    Tessel16::CXmlWriter* writer,
                                    const Tessel16::CSerializationContext& context);

    bool ElementToXmlCol(const Tessel16::CSerializationContext& context,
                         const Tessel16::CXmlGeneratedClass* object,
                         Tessel16::CXmlWriter* writer) const;
    bool ElementToXmlCls(const Tessel16::CSerializationContext& context,
                         const Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlWriter* writer,
                         bool inChoice) const;
    bool ElementToXmlPrim(const Tessel16::CSerializationContext& context,
                          const Tessel16::CXmlGeneratedClass* object,
                          Tessel16::CXmlWriter* writer) const;
    bool ElementToXmlEnum(const Tessel16::CSerializationContext& context,
                          const Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlWriter* writer,
                          EnumToStringFunc enumToString) const;
    void ElementFromXmlPrim(const Tessel16::CSerializationContext& context,
                            Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement** cursor);
    void ElementFromXmlEnum(const Tessel16::CSerializationContext& context,
                            Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement** cursor);

    // Building blocks the concrete records share.
    // Reads a class member from the cursor: with its own tag (element type 0) the member
    // takes the element at the cursor and the cursor moves to its sibling; a pseudo element
    // reads the parent's children from the cursor on. Returns the new cursor.
    static Tessel16::CXmlElement* ReadMemberObject(const Tessel16::CSerializationContext& context,
                                                   Tessel16::CXmlObjectBase* member,
                                                   XmlElementType elementType,
                                                   Tessel16::CXmlElement* parent,
                                                   Tessel16::CXmlElement* cursor);
    // The member object as the accessor holds it (may be null).
    Tessel16::CXmlObjectBase* GetMemberObject(Tessel16::CXmlGeneratedClass* object,
                                              Tessel16::TsVariant& holder) const;
    Tessel16::CXmlCollectionBase* GetMemberCollection(const Tessel16::CXmlGeneratedClass* object,
                                                      Tessel16::TsVariant& holder) const;
    // Stores an object into the member through the accessor.
    void StoreMemberObject(Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlObjectBase* member,
                           const Tessel16::CXmlElement& source) const;
    // The attributes of an inlined member (object or collection) onto the parent's tag.
    void MemberAttributesToXml(const Tessel16::CSerializationContext& context,
                               const Tessel16::CXmlGeneratedClass* object,
                               Tessel16::CXmlWriter* writer) const;
    // Reads the collection member from the cursor; true when the count is acceptable (in
    // read mode 0 a bad count throws instead).
    bool ReadCollectionMember(const Tessel16::CSerializationContext& context,
                              Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                              Tessel16::CXmlElement** cursor, XmlElementType readMode,
                              bool checkCount);
    // Throws the "mandatory, may not be NULL" error for a required member that is absent.
    [[noreturn]] void ThrowMandatoryNull() const;
    // The existing object of a mandatory class member; when the generated class has not made
    // one, a new one from the factory is stored first.
    Tessel16::CXmlObjectBase* GetOrCreateMember(Tessel16::CXmlGeneratedClass* object,
                                                Tessel16::TsVariant& holder,
                                                ClassFactoryFunc factory, int classId,
                                                const Tessel16::CXmlElement& source) const;
    // Reads an optional class member into a new object from the factory and stores it when
    // it took something. True when it did.
    bool ReadOptionalClass(const Tessel16::CSerializationContext& context,
                           Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                           Tessel16::CXmlElement** cursor, XmlElementType elementType,
                           ClassFactoryFunc factory, int classId) const;
    // Reads a substitutable member whose element matched: the factory picks the class from
    // the element. False (nothing read) when it knows none.
    bool ReadSubstitution(const Tessel16::CSerializationContext& context,
                          Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                          Tessel16::CXmlElement** cursor, XmlElementType elementType,
                          ElementFactoryFunc factory) const;
    // Throws "Failed to find the required child element" with the parent's path.
    [[noreturn]] void ThrowRequiredChildMissing(Tessel16::CXmlElement* parent) const;

    EnumToStringFunc GetEnumToString() const { return m_enumToString; }
    StringToEnumFunc GetStringToEnum() const { return m_stringToEnum; }

private:
    std::string m_elementName;
    std::string m_namespace;
    int m_propertyIndex;
    Tessel16::CPrimitiveRestrictions m_restrictions;
    Tessel16::ItemType m_itemType;
    std::string m_format;
    Tessel16::CWhitespaceUtils::WhitespaceRule m_whitespaceRule;
    std::string m_defaultValue;
    bool m_nillable;
    EnumToStringFunc m_enumToString;
    StringToEnumFunc m_stringToEnum;
    bool m_hasPrimitiveInfo;
    // CheckRestriction can fail for this record. Most records have no facets, and writing
    // skips the check for them.
    bool m_checkFacets;

    // Handles xsi:nil and stray attributes of a simple element; true when it is nil.
    bool ReadSimpleElementAttributes(const Tessel16::CSerializationContext& context,
                                     Tessel16::CXmlElement* element,
                                     Tessel16::TsVariant& value) const;
    bool WriteSimpleElement(Tessel16::CXmlWriter* writer, const Tessel16::TsVariant& value,
                            const std::string& text, Tessel16::ItemType textType,
                            bool checkFacets) const;
};

}  // namespace Tessel16Data
