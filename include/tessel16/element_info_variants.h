// element_info_variants.h: the concrete element records. The class name spells the group
// (Seq, All, Choice), the member kind (Cls, AbsCls, Prim, Enum; none for the plain collection
// record) and the cardinality (Mnd, Opt, Col); each implements the schema rule of that
// combination on top of the shared operations of CElementInfo.
#pragma once

#include <string>

#include "tessel16/element_info.h"

namespace Tessel16Data {

// A repeated member of a sequence: the whole collection is written and read at once
// and its count is checked.
class TESSEL16_API CElementInfoSeqCol : public CElementInfo {
public:
    CElementInfoSeqCol(const char* elementName, const char* namespaceUri, int propertyIndex);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Repeated substitutable class member; a pseudo-element collection lends its items' attributes
// to the parent's tag.
class TESSEL16_API CElementInfoSeqAbsClsCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqAbsClsCol(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType);
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
};

// Repeated class member; a pseudo-element collection lends its items' attributes
// to the parent's tag.
class TESSEL16_API CElementInfoSeqClsCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqClsCol(const char* elementName, const char* namespaceUri, int propertyIndex,
                          XmlElementType elementType);
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
};

// Repeated enumerated member (a collection of values).
class TESSEL16_API CElementInfoSeqEnumCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqEnumCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// Repeated primitive member (a collection of values).
class TESSEL16_API CElementInfoSeqPrimCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqPrimCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// A repeated member of an all group: counted when written, not when read.
class TESSEL16_API CElementInfoAllCol : public CElementInfo {
public:
    CElementInfoAllCol(const char* elementName, const char* namespaceUri, int propertyIndex);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
};

// Repeated substitutable class member; a pseudo-element collection lends its items' attributes
// to the parent's tag.
class TESSEL16_API CElementInfoAllAbsClsCol : public CElementInfoAllCol {
public:
    CElementInfoAllAbsClsCol(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType);
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
};

// Repeated class member; a pseudo-element collection lends its items' attributes
// to the parent's tag.
class TESSEL16_API CElementInfoAllClsCol : public CElementInfoAllCol {
public:
    CElementInfoAllClsCol(const char* elementName, const char* namespaceUri, int propertyIndex,
                          XmlElementType elementType);
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
};

// Repeated enumerated member (a collection of values).
class TESSEL16_API CElementInfoAllEnumCol : public CElementInfoAllCol {
public:
    CElementInfoAllEnumCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// Repeated primitive member (a collection of values).
class TESSEL16_API CElementInfoAllPrimCol : public CElementInfoAllCol {
public:
    CElementInfoAllPrimCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// A repeated member of a choice: never count-checked when written.
class TESSEL16_API CElementInfoChoiceCol : public CElementInfo {
public:
    CElementInfoChoiceCol(const char* elementName, const char* namespaceUri, int propertyIndex);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Repeated substitutable class member; a pseudo-element collection lends its items' attributes
// to the parent's tag.
class TESSEL16_API CElementInfoChoiceAbsClsCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceAbsClsCol(const char* elementName, const char* namespaceUri,
                                int propertyIndex, XmlElementType elementType);
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
};

// Repeated class member; a pseudo-element collection lends its items' attributes
// to the parent's tag.
class TESSEL16_API CElementInfoChoiceClsCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceClsCol(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType);
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
};

// Repeated enumerated member (a collection of values).
class TESSEL16_API CElementInfoChoiceEnumCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceEnumCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// Repeated primitive member (a collection of values).
class TESSEL16_API CElementInfoChoicePrimCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoicePrimCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// Mandatory substitutable member of a sequence: the factory picks the class from the element.
class TESSEL16_API CElementInfoSeqAbsClsMnd : public CElementInfo {
public:
    CElementInfoSeqAbsClsMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType, ElementFactoryFunc factory);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ElementFactoryFunc m_factory;
};

// Optional substitutable member of a sequence.
class TESSEL16_API CElementInfoSeqAbsClsOpt : public CElementInfo {
public:
    CElementInfoSeqAbsClsOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType, ElementFactoryFunc factory);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ElementFactoryFunc m_factory;
};

// Mandatory class member of a sequence, read into the object the parent already holds.
class TESSEL16_API CElementInfoSeqClsMnd : public CElementInfo {
public:
    CElementInfoSeqClsMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                          XmlElementType elementType, ClassFactoryFunc factory, int classId,
                          bool contentRequired);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    bool m_contentRequired;
    ClassFactoryFunc m_factory;
    int m_classId;
};

// Optional class member of a sequence, created by the factory when its element is there.
class TESSEL16_API CElementInfoSeqClsOpt : public CElementInfo {
public:
    CElementInfoSeqClsOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                          XmlElementType elementType, ClassFactoryFunc factory, int classId);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ClassFactoryFunc m_factory;
    int m_classId;
};

// Mandatory enumerated member of a sequence.
class TESSEL16_API CElementInfoSeqEnumMnd : public CElementInfo {
public:
    CElementInfoSeqEnumMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, EnumToStringFunc enumToString,
                           StringToEnumFunc stringToEnum, const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Optional enumerated member of a sequence.
class TESSEL16_API CElementInfoSeqEnumOpt : public CElementInfo {
public:
    CElementInfoSeqEnumOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, EnumToStringFunc enumToString,
                           StringToEnumFunc stringToEnum, const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Mandatory primitive member of a sequence.
class TESSEL16_API CElementInfoSeqPrimMnd : public CElementInfo {
public:
    CElementInfoSeqPrimMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, Tessel16::ItemType itemType, const char* format,
                           Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                           const Tessel16::CPrimitiveRestrictions& restrictions,
                           const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Optional primitive member of a sequence.
class TESSEL16_API CElementInfoSeqPrimOpt : public CElementInfo {
public:
    CElementInfoSeqPrimOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, Tessel16::ItemType itemType, const char* format,
                           Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                           const Tessel16::CPrimitiveRestrictions& restrictions,
                           const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Mandatory substitutable member of an all group.
class TESSEL16_API CElementInfoAllAbsClsMnd : public CElementInfo {
public:
    CElementInfoAllAbsClsMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType, ElementFactoryFunc factory, int classId);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ElementFactoryFunc m_factory;
    int m_classId;
};

// Optional substitutable member of an all group.
class TESSEL16_API CElementInfoAllAbsClsOpt : public CElementInfo {
public:
    CElementInfoAllAbsClsOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType, ElementFactoryFunc factory);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ElementFactoryFunc m_factory;
};

// Mandatory class member of an all group.
class TESSEL16_API CElementInfoAllClsMnd : public CElementInfo {
public:
    CElementInfoAllClsMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                          XmlElementType elementType, ClassFactoryFunc factory, int classId,
                          bool contentRequired);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ClassFactoryFunc m_factory;
    int m_classId;
    bool m_contentRequired;
};

// Optional class member of an all group.
class TESSEL16_API CElementInfoAllClsOpt : public CElementInfo {
public:
    CElementInfoAllClsOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                          XmlElementType elementType, ClassFactoryFunc factory, int classId);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ClassFactoryFunc m_factory;
    int m_classId;
};

// Mandatory enumerated member of an all group.
class TESSEL16_API CElementInfoAllEnumMnd : public CElementInfo {
public:
    CElementInfoAllEnumMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, EnumToStringFunc enumToString,
                           StringToEnumFunc stringToEnum, const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
};

// Optional enumerated member of an all group.
class TESSEL16_API CElementInfoAllEnumOpt : public CElementInfo {
public:
    CElementInfoAllEnumOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, EnumToStringFunc enumToString,
                           StringToEnumFunc stringToEnum, const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
};

// Mandatory primitive member of an all group.
class TESSEL16_API CElementInfoAllPrimMnd : public CElementInfo {
public:
    CElementInfoAllPrimMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, Tessel16::ItemType itemType, const char* format,
                           Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                           const Tessel16::CPrimitiveRestrictions& restrictions,
                           const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
};

// Optional primitive member of an all group.
class TESSEL16_API CElementInfoAllPrimOpt : public CElementInfo {
public:
    CElementInfoAllPrimOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, Tessel16::ItemType itemType, const char* format,
                           Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                           const Tessel16::CPrimitiveRestrictions& restrictions,
                           const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;
};

// Substitutable member of a choice; written like a sequence member.
class TESSEL16_API CElementInfoChoiceAbsClsOpt : public CElementInfo {
public:
    CElementInfoChoiceAbsClsOpt(const char* elementName, const char* namespaceUri,
                                int propertyIndex, XmlElementType elementType,
                                ElementFactoryFunc factory);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ElementFactoryFunc m_factory;
};

// Class member of a choice; written with the choice flag set.
class TESSEL16_API CElementInfoChoiceClsOpt : public CElementInfo {
public:
    CElementInfoChoiceClsOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                             XmlElementType elementType, ClassFactoryFunc factory, int classId);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    void PseudoChildAttributeToXml(const Tessel16::CSerializationContext& context,
                                   const Tessel16::CXmlGeneratedClass* object,
                                   Tessel16::CXmlWriter* writer) const override;

private:
    XmlElementType m_elementType;
    ClassFactoryFunc m_factory;
    int m_classId;
};

// Enumerated member of a choice.
class TESSEL16_API CElementInfoChoiceEnumOpt : public CElementInfo {
public:
    CElementInfoChoiceEnumOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                              bool nillable, EnumToStringFunc enumToString,
                              StringToEnumFunc stringToEnum, const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Primitive member of a choice.
class TESSEL16_API CElementInfoChoicePrimOpt : public CElementInfo {
public:
    CElementInfoChoicePrimOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                              bool nillable, Tessel16::ItemType itemType, const char* format,
                              Tessel16::CWhitespaceUtils::WhitespaceRule whitespaceRule,
                              const Tessel16::CPrimitiveRestrictions& restrictions,
                              const char* defaultValue);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Repeated untyped member of a sequence ("AnyElement" for a wildcard).
class TESSEL16_API CElementInfoSeqUntpdCol : public CElementInfoSeqCol {
public:
    CElementInfoSeqUntpdCol(const char* elementName, const char* namespaceUri, int propertyIndex);
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Repeated untyped member of an all group.
class TESSEL16_API CElementInfoAllUntpdCol : public CElementInfoAllCol {
public:
    CElementInfoAllUntpdCol(const char* elementName, const char* namespaceUri, int propertyIndex);
};

// Repeated untyped member of a choice.
class TESSEL16_API CElementInfoChoiceUntpdCol : public CElementInfoChoiceCol {
public:
    CElementInfoChoiceUntpdCol(const char* elementName, const char* namespaceUri,
                               int propertyIndex);
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
};

// Mandatory untyped member of a sequence, read into the element the parent holds.
class TESSEL16_API CElementInfoSeqUntpdMnd : public CElementInfo {
public:
    CElementInfoSeqUntpdMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                            const char* namespaceRestriction, const char* targetNamespace);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;

private:
    std::string m_namespaceRestriction;
    std::string m_targetNamespace;
};

// Optional untyped member of a sequence.
class TESSEL16_API CElementInfoSeqUntpdOpt : public CElementInfo {
public:
    CElementInfoSeqUntpdOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                            const char* namespaceRestriction, const char* targetNamespace);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;

private:
    std::string m_namespaceRestriction;
    std::string m_targetNamespace;
};

// Mandatory untyped member of an all group.
class TESSEL16_API CElementInfoAllUntpdMnd : public CElementInfo {
public:
    CElementInfoAllUntpdMnd(const char* elementName, const char* namespaceUri, int propertyIndex,
                            const char* namespaceRestriction, const char* targetNamespace);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;

private:
    std::string m_namespaceRestriction;
    std::string m_targetNamespace;
};

// Optional untyped member of an all group.
class TESSEL16_API CElementInfoAllUntpdOpt : public CElementInfo {
public:
    CElementInfoAllUntpdOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                            const char* namespaceRestriction, const char* targetNamespace);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;
    bool Validate(const Tessel16::CSerializationContext& context,
                  const Tessel16::CXmlGeneratedClass* object, bool found,
                  bool required) const override;

private:
    std::string m_namespaceRestriction;
    std::string m_targetNamespace;
};

// Untyped member of a choice.
class TESSEL16_API CElementInfoChoiceUntpdOpt : public CElementInfo {
public:
    CElementInfoChoiceUntpdOpt(const char* elementName, const char* namespaceUri, int propertyIndex,
                               const char* namespaceRestriction, const char* targetNamespace);
    bool ElementToXml(const Tessel16::CSerializationContext& context,
                      const Tessel16::CXmlGeneratedClass* object,
                      Tessel16::CXmlWriter* writer) const override;
    bool ElementFromXml(const Tessel16::CSerializationContext& context,
                        Tessel16::CXmlGeneratedClass* object, Tessel16::CXmlElement* parent,
                        Tessel16::CXmlElement** cursor, const char* parentNamespace,
                        XmlElementType readMode) override;

private:
    std::string m_namespaceRestriction;
    std::string m_targetNamespace;
};

}  // namespace Tessel16Data
