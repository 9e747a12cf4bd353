// element_info_seq.cpp: the records of sequence members. A sequence reads strictly in order:
// a mandatory member that is not at the cursor is an error unless the context ignores
// missing or unknown elements; optional members accept their absence.
#include "metadata/metadata_messages.h"
#include "metadata/object_bridge.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"

namespace Tessel16Data {

using namespace Tessel16;
using namespace Tessel16::detail;

CElementInfoSeqAbsClsMnd::CElementInfoSeqAbsClsMnd(const char* elementName,
                                                   const char* namespaceUri, int propertyIndex,
                                                   XmlElementType elementType,
                                                   ElementFactoryFunc factory)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory) {}

bool CElementInfoSeqAbsClsMnd::ElementToXml(const CSerializationContext& context,
                                            const CXmlGeneratedClass* object,
                                            CXmlWriter* writer) const {
    if (!ElementToXmlCls(context, object, writer, false)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoSeqAbsClsMnd::ElementFromXml(const CSerializationContext& context,
                                              CXmlGeneratedClass* object, CXmlElement* parent,
                                              CXmlElement** cursor, const char*,
                                              XmlElementType readMode) {
    // The ignore settings do not apply: a substitution that cannot be resolved is an error.
    const bool strict = readMode == XmlElementType_Element;
    if (!IsThisElement(context, *cursor) ||
        !ReadSubstitution(context, object, parent, cursor, m_elementType, m_factory)) {
        if (!strict) return false;
        throw CTsValidationException(FormatString(kMsgNoSubstitution, GetElementName().c_str()),
                                     parent ? parent->GetXPath() : std::string());
    }
    return true;
}

void CElementInfoSeqAbsClsMnd::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                         const CXmlGeneratedClass* object,
                                                         CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoSeqAbsClsOpt::CElementInfoSeqAbsClsOpt(const char* elementName,
                                                   const char* namespaceUri, int propertyIndex,
                                                   XmlElementType elementType,
                                                   ElementFactoryFunc factory)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory) {}

bool CElementInfoSeqAbsClsOpt::ElementToXml(const CSerializationContext& context,
                                            const CXmlGeneratedClass* object,
                                            CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoSeqAbsClsOpt::ElementFromXml(const CSerializationContext& context,
                                              CXmlGeneratedClass* object, CXmlElement* parent,
                                              CXmlElement** cursor, const char*, XmlElementType) {
    if (!IsThisElement(context, *cursor)) return true;
    return ReadSubstitution(context, object, parent, cursor, m_elementType, m_factory);
}

void CElementInfoSeqAbsClsOpt::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                         const CXmlGeneratedClass* object,
                                                         CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoSeqClsMnd::CElementInfoSeqClsMnd(const char* elementName, const char* namespaceUri,
                                             int propertyIndex, XmlElementType elementType,
                                             ClassFactoryFunc factory, int classId,
                                             bool contentRequired)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_contentRequired(contentRequired),
      m_factory(factory),
      m_classId(classId) {}

bool CElementInfoSeqClsMnd::ElementToXml(const CSerializationContext& context,
                                         const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    if (!ElementToXmlCls(context, object, writer, false)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoSeqClsMnd::ElementFromXml(const CSerializationContext& context,
                                           CXmlGeneratedClass* object, CXmlElement* parent,
                                           CXmlElement** cursor, const char*,
                                           XmlElementType readMode) {
    const bool strict = readMode == XmlElementType_Element;
    TsVariant holder;
    if (m_elementType == XmlElementType_Element) {
        for (;;) {
            if (IsThisElement(context, *cursor)) {
                CXmlObjectBase* member =
                    GetOrCreateMember(object, holder, m_factory, m_classId, **cursor);
                if (!member) ThrowMandatoryNull();
                *cursor = ReadMemberObject(context, member, m_elementType, parent, *cursor);
                return true;
            }
            if (!strict) return false;
            if (context.GetIgnoreMissingMandatoryElements()) return true;
            if (context.GetIgnoreUnknownElements() && *cursor) {
                *cursor = (*cursor)->GetNextSiblingElement();
                continue;
            }
            ThrowRequiredChildMissing(parent);
        }
    }

    // A pseudo element: the member reads the parent's children from the cursor on.
    if (m_contentRequired && !*cursor) {
        if (strict) ThrowRequiredChildMissing(parent);
        return false;
    }
    CXmlObjectBase* member = GetOrCreateMember(object, holder, m_factory, m_classId, *parent);
    if (!member) ThrowMandatoryNull();
    CXmlElement* next = ReadMemberObject(context, member, m_elementType, parent, *cursor);
    const bool consumed = next != *cursor;
    if (m_contentRequired && !consumed) {
        if (strict) ThrowRequiredChildMissing(parent);
        return false;
    }
    if (!m_contentRequired && *cursor && !consumed && context.GetIgnoreUnknownElements() &&
        strict) {
        return false;
    }
    *cursor = next;
    return true;
}

void CElementInfoSeqClsMnd::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                      const CXmlGeneratedClass* object,
                                                      CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

CElementInfoSeqClsOpt::CElementInfoSeqClsOpt(const char* elementName, const char* namespaceUri,
                                             int propertyIndex, XmlElementType elementType,
                                             ClassFactoryFunc factory, int classId)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_elementType(elementType),
      m_factory(factory),
      m_classId(classId) {}

bool CElementInfoSeqClsOpt::ElementToXml(const CSerializationContext& context,
                                         const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoSeqClsOpt::ElementFromXml(const CSerializationContext& context,
                                           CXmlGeneratedClass* object, CXmlElement* parent,
                                           CXmlElement** cursor, const char*, XmlElementType) {
    ReadOptionalClass(context, object, parent, cursor, m_elementType, m_factory, m_classId);
    return true;
}

void CElementInfoSeqClsOpt::PseudoChildAttributeToXml(const CSerializationContext& context,
                                                      const CXmlGeneratedClass* object,
                                                      CXmlWriter* writer) const {
    if (m_elementType == XmlElementType_Pseudo) MemberAttributesToXml(context, object, writer);
}

namespace {

// The strict sequence reader of simple members: skip unknown elements when asked to, give
// up silently when missing mandatory elements are ignored, fail otherwise. Inside a pseudo
// element (read mode 1) running out of elements reports absence instead of failing.
template <class Match, class Read>
bool ReadMandatorySimple(const CSerializationContext& context, CXmlElement* parent,
                         CXmlElement** cursor, XmlElementType readMode, Match matches, Read read,
                         const std::string& name) {
    for (;;) {
        if (matches(*cursor)) {
            read();
            return true;
        }
        if (context.GetIgnoreMissingMandatoryElements()) return true;
        if (context.GetIgnoreUnknownElements() && *cursor) {
            *cursor = (*cursor)->GetNextSiblingElement();
            continue;
        }
        if (readMode != XmlElementType_Element) return false;
        throw CTsValidationException(FormatString(kMsgRequiredChildMissing, name.c_str()),
                                     parent ? parent->GetXPath() : std::string());
    }
}

}  // namespace

CElementInfoSeqEnumMnd::CElementInfoSeqEnumMnd(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable,
                                               EnumToStringFunc enumToString,
                                               StringToEnumFunc stringToEnum,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, enumToString, stringToEnum,
                   defaultValue) {}

bool CElementInfoSeqEnumMnd::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    if (!ElementToXmlEnum(context, object, writer, GetEnumToString())) ThrowMandatoryNull();
    return true;
}

bool CElementInfoSeqEnumMnd::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement* parent,
                                            CXmlElement** cursor, const char*,
                                            XmlElementType readMode) {
    return ReadMandatorySimple(
        context, parent, cursor, readMode,
        [&](const CXmlElement* e) { return IsThisElement(context, e); },
        [&] { ElementFromXmlEnum(context, object, cursor); }, GetElementName());
}

CElementInfoSeqEnumOpt::CElementInfoSeqEnumOpt(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable,
                                               EnumToStringFunc enumToString,
                                               StringToEnumFunc stringToEnum,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, enumToString, stringToEnum,
                   defaultValue) {}

bool CElementInfoSeqEnumOpt::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    return ElementToXmlEnum(context, object, writer, GetEnumToString());
}

bool CElementInfoSeqEnumOpt::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement*,
                                            CXmlElement** cursor, const char*, XmlElementType) {
    if (IsThisElement(context, *cursor)) ElementFromXmlEnum(context, object, cursor);
    return true;
}

CElementInfoSeqPrimMnd::CElementInfoSeqPrimMnd(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable, ItemType itemType,
                                               const char* format,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, itemType, format,
                   whitespaceRule, restrictions, defaultValue) {}

bool CElementInfoSeqPrimMnd::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    if (!ElementToXmlPrim(context, object, writer)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoSeqPrimMnd::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement* parent,
                                            CXmlElement** cursor, const char*,
                                            XmlElementType readMode) {
    return ReadMandatorySimple(
        context, parent, cursor, readMode,
        [&](const CXmlElement* e) { return IsThisElement(context, e); },
        [&] { ElementFromXmlPrim(context, object, cursor); }, GetElementName());
}

CElementInfoSeqPrimOpt::CElementInfoSeqPrimOpt(const char* elementName, const char* namespaceUri,
                                               int propertyIndex, bool nillable, ItemType itemType,
                                               const char* format,
                                               CWhitespaceUtils::WhitespaceRule whitespaceRule,
                                               const CPrimitiveRestrictions& restrictions,
                                               const char* defaultValue)
    : CElementInfo(elementName, namespaceUri, propertyIndex, nillable, itemType, format,
                   whitespaceRule, restrictions, defaultValue) {}

bool CElementInfoSeqPrimOpt::ElementToXml(const CSerializationContext& context,
                                          const CXmlGeneratedClass* object,
                                          CXmlWriter* writer) const {
    return ElementToXmlPrim(context, object, writer);
}

bool CElementInfoSeqPrimOpt::ElementFromXml(const CSerializationContext& context,
                                            CXmlGeneratedClass* object, CXmlElement*,
                                            CXmlElement** cursor, const char*, XmlElementType) {
    if (IsThisElement(context, *cursor)) ElementFromXmlPrim(context, object, cursor);
    return true;
}

}  // namespace Tessel16Data
