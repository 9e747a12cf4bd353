// xml_generated_class.h: the base of every class a schema compiler emits, the class record
// that describes such a class, and INillable. The engine behind CXmlGeneratedClass walks the
// static metadata of the class to write it as one element and to fill it from one element,
// so generated code carries tables and an accessor but no serialisation logic of its own.
#pragma once

#include <string>

#include "tessel16/critical_section.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/types.h"
#include "tessel16/whitespace_utils.h"
#include "tessel16/xml_object_base.h"

namespace Tessel16Data {

// Describes a generated class as a whole: its content model, whether it has a tag of its own,
// its schema name and its simple content. Built once per class and never changed.
class TESSEL16_API CParentElementInfo {
public:
    CParentElementInfo(XmlElementGroupType groupType, XmlElementType elementType,
                       const char* elementName, const char* elementNamespace,
                       bool failIfAttributeUnknown, bool hasBaseClasses,
                       int primitiveValuePropertyIndex, Tessel16::ItemType primitiveDataType,
                       const char* primitiveFormatOverride,
                       bool outputPrimitiveClassAsTextProperty);
    CParentElementInfo(const CParentElementInfo& other);
    CParentElementInfo& operator=(const CParentElementInfo& other);
    virtual ~CParentElementInfo();

    XmlElementGroupType GetElementGroupType() const { return m_groupType; }
    XmlElementType GetElementType() const { return m_elementType; }
    const std::string& GetElementName() const { return m_elementName; }
    const std::string& GetElementNamespace() const { return m_elementNamespace; }
    bool GetFromXmlFailIfAttributeUnknown() const { return m_failIfAttributeUnknown; }
    bool GetHasBaseClasses() const { return m_hasBaseClasses; }
    // -1 when the class has no simple content.
    int GetPrimitiveValuePropertyIndex() const { return m_primitiveValuePropertyIndex; }
    Tessel16::ItemType GetPrimitiveDataType() const { return m_primitiveDataType; }
    const std::string& GetPrimitiveFormatOverride() const { return m_primitiveFormatOverride; }
    bool GetOutputPrimitiveClassAsTextProperty() const {
        return m_outputPrimitiveClassAsTextProperty;
    }

private:
    XmlElementGroupType m_groupType;
    XmlElementType m_elementType;
    std::string m_elementName;
    std::string m_elementNamespace;
    bool m_failIfAttributeUnknown;
    bool m_hasBaseClasses;
    int m_primitiveValuePropertyIndex;
    Tessel16::ItemType m_primitiveDataType;
    std::string m_primitiveFormatOverride;
    bool m_outputPrimitiveClassAsTextProperty;
};

}  // namespace Tessel16Data

namespace Tessel16 {

// Implemented by generated classes whose element is declared nillable; the engine finds it
// with a run-time cast and writes or reads xsi:nil through it.
class TESSEL16_API INillable {
public:
    virtual bool IsNil() const = 0;
    virtual void SetNil(bool nil) = 0;

protected:
    ~INillable() = default;
};

// Base of every generated class. It holds no data: the generated class hands over its
// metadata through the virtual operations below and the engine does the rest.
class TESSEL16_API CXmlGeneratedClass : public CXmlObjectBase {
public:
    CXmlGeneratedClass();
    CXmlGeneratedClass(const CXmlGeneratedClass& other);
    CXmlGeneratedClass& operator=(const CXmlGeneratedClass& other);

    // The indexed accessor of the generated members: with get true fills value with the
    // member, with get false stores value into it. Throws CTsException when it cannot.
    virtual void InvokeProperty(int propertyIndex, bool get, TsVariant& value) = 0;
    virtual Tessel16Data::CParentElementInfo* GetClassInfo() const = 0;
    // Element records in schema order, ended by a null entry.
    virtual Tessel16Data::CElementInfo** GetClassElementInfo() const = 0;
    // Attribute records, ended by a null entry.
    virtual Tessel16Data::CAttributeInfo** GetClassAttributeInfo() const = 0;
    // Puts the members back into their initial state; called at the start of every read.
    virtual void Init() = 0;
    // Lenient reading's shortcut past InvokeProperty: parses the text of a simple member
    // under the whitespace rule, as TsVariant::FromString would, straight into the member.
    // False when the class leaves the member to InvokeProperty (the default); conversion
    // failures are thrown as the conversions throw them.
    virtual bool SetMemberFromText(int propertyIndex, const std::string& text,
                                   CWhitespaceUtils::WhitespaceRule rule);

protected:
    ~CXmlGeneratedClass() override;

    // A process-wide lock for generated code that builds its static metadata on first use;
    // the library itself never takes it.
    static CTSCriticalSection m_csInit;

    void AttributesToXml_Int(CXmlWriter* writer,
                             const CSerializationContext& context) const override;
    void ToXml_Int(CXmlWriter* writer, bool isRoot, const char* namespaceUri,
                   const CSerializationContext& context, bool inChoice) const override;
    CXmlElement* FromXml_Int(CXmlElement* element, CXmlElement* cursor,
                             const CSerializationContext& context, bool inChoice) override;

    // Deletes the records of a generated class and nulls every pointer; null entries and
    // null arrays are skipped. Generated code calls it when it tears its metadata down.
    static void CleanMetaData(Tessel16Data::CParentElementInfo*& classInfo,
                              Tessel16Data::CElementInfo**& elements,
                              Tessel16Data::CAttributeInfo**& attributes);
    // InvokeProperty(get) on a const object.
    void ReadProperty(int propertyIndex, TsVariant& value) const;
    // True when one of the element records claims the element.
    bool IsElementInList(const CSerializationContext& context, CXmlElement* element) const;
    // True when a choice of this class may stand empty because one of its members is
    // optional (an optional choice record, or a choice collection whose minimum is 0).
    bool DoesElementContainOptionalElements() const;
    // Offers every attribute of the element to the attribute records, handles xsi:nil, then
    // lets every record check that a required attribute was found.
    void ProcessAttributesFromXml(const CSerializationContext& context, CXmlElement* element,
                                  bool failIfUnknown);

private:
    int GetClassElementInfoCount() const;
    // The body of FromXml_Int; strict reading wraps it to give failures their place.
    CXmlElement* ReadElement(CXmlElement* element, CXmlElement* cursor,
                             const CSerializationContext& context, bool inChoice);
    void ProcessAttributesToXml(const CSerializationContext& context,
                                Tessel16Data::CElementInfo** elements,
                                Tessel16Data::CAttributeInfo** attributes,
                                CXmlWriter* writer) const;
    void ProcessElementAllToXml(const CSerializationContext& context,
                                Tessel16Data::CElementInfo** elements, CXmlWriter* writer) const;
    void ProcessElementChoiceToXml(const CSerializationContext& context,
                                   Tessel16Data::CElementInfo** elements, CXmlWriter* writer,
                                   bool inChoice) const;
    CXmlElement* ProcessElementSeqFromXml(const CSerializationContext& context,
                                          CXmlElement* element, CXmlElement* cursor,
                                          Tessel16Data::XmlElementType readMode);
    CXmlElement* ProcessElementAllFromXml(const CSerializationContext& context,
                                          CXmlElement* element, CXmlElement* cursor,
                                          Tessel16Data::XmlElementType readMode);
    CXmlElement* ProcessElementChoiceFromXml(const CSerializationContext& context,
                                             CXmlElement* element, CXmlElement* cursor,
                                             Tessel16Data::XmlElementType readMode, bool inChoice);
    // Reads the children left after the last record under the ignore-unknown rule.
    CXmlElement* SkipSurplusElements(const CSerializationContext& context, CXmlElement* element,
                                     CXmlElement* cursor, int recordCount,
                                     Tessel16Data::XmlElementType readMode);
};

}  // namespace Tessel16
