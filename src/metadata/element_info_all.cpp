// element_info_all.cpp: the records of all-group and choice members. Both are offered the
// element at the cursor and answer whether they took it, so the engine can try the next
// record; an all group then asks each record (Validate) whether its absence is acceptable.
#include "metadata/metadata_messages.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"

namespace Tessel16Data {

using namespace Tessel16;
using namespace Tessel16::detail;

namespace {

bool ValidateMandatory(const std::string& name, bool found, bool required) {
    if (!found && required) {
        throw CTsValidationException(FormatString(kMsgMandatoryMissing, name.c_str()), "");
    }
    return found;
}

}  // namespace

CElementInfoAllAbsClsMnd::CElementInfoAllAbsClsMnd(const char* elementName,
                                                   const char* namespaceUri, int propertyIndex,
                                                   XmlElementType elementType,
                                                   ElementFactoryFunc factory, int classId)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory),
      m_classId(classId) {}

bool CElementInfoAllAbsClsMnd::ElementToXml(const CSerializationContext& context,
                                            const CXmlGeneratedClass* object,
                                            CXmlWriter* writer) const {
    if (!ElementToXmlCls(context, object, writer, false)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoAllAbsClsMnd::ElementFromXml(const CSerializationContext& context,
                                              CXmlGeneratedClass* object, CXmlElement* parent,
                                              CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    return ReadSubstitution(context, object, parent, cursor, m_elementType, m_factory);
}

bool CElementInfoAllAbsClsMnd::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                        bool found, bool required) const {
    return ValidateMandatory(GetElementName(), found, required);
}

void CElementInfoAllAbsClsMnd::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                         const CXmlGeneratedClass* object,
                                                         CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoAllAbsClsOpt::CElementInfoAllAbsClsOpt(const char* elementName,
                                                   const char* namespaceUri, int propertyIndex,
                                                   XmlElementType elementType,
                                                   ElementFactoryFunc factory)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory) {}

bool CElementInfoAllAbsClsOpt::ElementToXml(const CSerializationContext& context,
                                            const CXmlGeneratedClass* object,
                                            CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoAllAbsClsOpt::ElementFromXml(const CSerializationContext& context,
                                              CXmlGeneratedClass* object, CXmlElement* parent,
                                              CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    return ReadSubstitution(context, object, parent, cursor, m_elementType, m_factory);
}

bool CElementInfoAllAbsClsOpt::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                        bool, bool) const {
    return true;
}

void CElementInfoAllAbsClsOpt::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                         const CXmlGeneratedClass* object,
                                                         CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoAllClsMnd::CElementInfoAllClsMnd(const char* elementName, const char* namespaceUri,
                                             int propertyIndex, XmlElementType elementType,
                                             ClassFactoryFunc factory, int classId,
                                             bool contentRequired)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory),
      m_classId(classId),
      m_contentRequired(contentRequired) {}

bool CElementInfoAllClsMnd::ElementToXml(const CSerializationContext& context,
                                         const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    if (!ElementToXmlCls(context, object, writer, false)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoAllClsMnd::ElementFromXml(const CSerializationContext& context,
                                           CXmlGeneratedClass* object, CXmlElement* parent,
                                           CXmlElement** cursor, const char*, XmlElementType) {
    TsVariant holder;
    if (m_elementType == XmlElementType_Element) {
        if (!IsThisElement(context, *cursor)) return false;
        CXmlObjectBase* member = GetOrCreateMember(object, holder, m_factory, m_classId, **cursor);
        if (!member) ThrowMandatoryNull();
        *cursor = ReadMemberObject(context, member, m_elementType, parent, *cursor);
        return true;
    }
    CXmlObjectBase* member = GetOrCreateMember(object, holder, m_factory, m_classId, *parent);
    if (!member) ThrowMandatoryNull();
    CXmlElement* next = ReadMemberObject(context, member, m_elementType, parent, *cursor);
    if (next == *cursor) return false;
    *cursor = next;
    return true;
}

bool CElementInfoAllClsMnd::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                     bool found, bool required) const {
    // A member element whose class may stand empty is no loss when it is missing.
    if (!found && m_elementType == XmlElementType_Element && !m_contentRequired) return true;
    return ValidateMandatory(GetElementName(), found, required);
}

void CElementInfoAllClsMnd::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                      const CXmlGeneratedClass* object,
                                                      CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoAllClsOpt::CElementInfoAllClsOpt(const char* elementName, const char* namespaceUri,
                                             int propertyIndex, XmlElementType elementType,
                                             ClassFactoryFunc factory, int classId)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory),
      m_classId(classId) {}

bool CElementInfoAllClsOpt::ElementToXml(const CSerializationContext& context,
                                         const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoAllClsOpt::ElementFromXml(const CSerializationContext& context,
                                           CXmlGeneratedClass* object, CXmlElement* parent,
                                           CXmlElement** cursor, const char*, XmlElementType) {
    return ReadOptionalClass(context, object, parent, cursor, m_elementType, m_factory, m_classId);
}

bool CElementInfoAllClsOpt::Validate(const CSerializationContext&, const CXmlGeneratedClass*, bool,
                                     bool) const {
    return true;
}

void CElementInfoAllClsOpt::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                      const CXmlGeneratedClass* object,
                                                      CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoAllEnumMnd::CElementInfoAllEnumMnd(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable,
                                               EnumToStringFunc enumToString,
                                               StringToEnumFunc stringToEnum,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, enumToString, stringToEnum,
                   defaultValue) {}

bool CElementInfoAllEnumMnd::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    if (!ElementToXmlEnum(context, object, writer, GetEnumToString())) ThrowMandatoryNull();
    return true;
}

bool CElementInfoAllEnumMnd::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement*,
                                            CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    ElementFromXmlEnum(context, object, cursor);
    return true;
}

bool CElementInfoAllEnumMnd::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                      bool found, bool required) const {
    return ValidateMandatory(GetElementName(), found, required);
}

CElementInfoAllEnumOpt::CElementInfoAllEnumOpt(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable,
                                               EnumToStringFunc enumToString,
                                               StringToEnumFunc stringToEnum,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, enumToString, stringToEnum,
                   defaultValue) {}

bool CElementInfoAllEnumOpt::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    return ElementToXmlEnum(context, object, writer, GetEnumToString());
}

bool CElementInfoAllEnumOpt::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement*,
                                            CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    ElementFromXmlEnum(context, object, cursor);
    return true;
}

bool CElementInfoAllEnumOpt::Validate(const CSerializationContext&, const CXmlGeneratedClass*, bool,
                                      bool) const {
    return true;
}

CElementInfoAllPrimMnd::CElementInfoAllPrimMnd(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable, ItemType itemType,
                                               const char* format,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, itemType, format,
                   whitespaceRule, restrictions, defaultValue) {}

bool CElementInfoAllPrimMnd::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    if (!ElementToXmlPrim(context, object, writer)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoAllPrimMnd::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement*,
                                            CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    ElementFromXmlPrim(context, object, cursor);
    return true;
}

bool CElementInfoAllPrimMnd::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                      bool found, bool required) const {
    return ValidateMandatory(GetElementName(), found, required);
}

CElementInfoAllPrimOpt::CElementInfoAllPrimOpt(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable, ItemType itemType,
                                               const char* format,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, itemType, format,
                   whitespaceRule, restrictions, defaultValue) {}

bool CElementInfoAllPrimOpt::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    return ElementToXmlPrim(context, object, writer);
}

bool CElementInfoAllPrimOpt::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement*,
                                            CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    ElementFromXmlPrim(context, object, cursor);
    return true;
}

bool CElementInfoAllPrimOpt::Validate(const CSerializationContext&, const CXmlGeneratedClass*, bool,
                                      bool) const {
    return true;
}

CElementInfoChoiceAbsClsOpt::CElementInfoChoiceAbsClsOpt(const char* elementName,
                                                         const char* namespaceUri,
                                                         int propertyIndex,
                                                         XmlElementType elementType,
                                                         ElementFactoryFunc factory)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory) {}

bool CElementInfoChoiceAbsClsOpt::ElementToXml(const CSerializationContext& context,
                                               const CXmlGeneratedClass* object,
                                               CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoChoiceAbsClsOpt::ElementFromXml(const CSerializationContext& context,
                                                 CXmlGeneratedClass* object, CXmlElement* parent,
                                                 CXmlElement** cursor, const char*,
                                                 XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    return ReadSubstitution(context, object, parent, cursor, m_elementType, m_factory);
}

void CElementInfoChoiceAbsClsOpt::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                            const CXmlGeneratedClass* object,
                                                            CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoChoiceClsOpt::CElementInfoChoiceClsOpt(const char* elementName,
                                                   const char* namespaceUri, int propertyIndex,
                                                   XmlElementType elementType,
                                                   ClassFactoryFunc factory, int classId)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory),
      m_classId(classId) {}

bool CElementInfoChoiceClsOpt::ElementToXml(const CSerializationContext& context,
                                            const CXmlGeneratedClass* object,
                                            CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, true);
}

bool CElementInfoChoiceClsOpt::ElementFromXml(const CSerializationContext& context,
                                              CXmlGeneratedClass* object, CXmlElement* parent,
                                              CXmlElement** cursor, const char*, XmlElementType) {
    return ReadOptionalClass(context, object, parent, cursor, m_elementType, m_factory, m_classId);
}

void CElementInfoChoiceClsOpt::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                         const CXmlGeneratedClass* object,
                                                         CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoChoiceEnumOpt::CElementInfoChoiceEnumOpt(const char* elementName,
                                                     const char* namespaceUri, int propertyIndex,
                                                     bool nillable, EnumToStringFunc enumToString,
                                                     StringToEnumFunc stringToEnum,
                                                     const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, enumToString, stringToEnum,
                   defaultValue) {}

bool CElementInfoChoiceEnumOpt::ElementToXml(const CSerializationContext& context,
                                             const CXmlGeneratedClass* object,
                                             CXmlWriter* writer) const {
    return ElementToXmlEnum(context, object, writer, GetEnumToString());
}

bool CElementInfoChoiceEnumOpt::ElementFromXml(const CSerializationContext& context,
                                               CXmlGeneratedClass* object, CXmlElement*,
                                               CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    ElementFromXmlEnum(context, object, cursor);
    return true;
}

CElementInfoChoicePrimOpt::CElementInfoChoicePrimOpt(
    const char* elementName, const char* namespaceUri, int propertyIndex, bool nillable,
    ItemType itemType, const char* format, CWhitespaceUtils::WhitespaceRule whitespaceRule,
    const CPrimitiveRestrictions& restrictions, const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, itemType, format,
                   whitespaceRule, restrictions, defaultValue) {}

bool CElementInfoChoicePrimOpt::ElementToXml(const CSerializationContext& context,
                                             const CXmlGeneratedClass* object,
                                             CXmlWriter* writer) const {
    return ElementToXmlPrim(context, object, writer);
}

bool CElementInfoChoicePrimOpt::ElementFromXml(const CSerializationContext& context,
                                               CXmlGeneratedClass* object, CXmlElement*,
                                               CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return false;
    ElementFromXmlPrim(context, object, cursor);
    return true;
}

}  // namespace Tessel16Data
