// attribute_info.cpp: the attribute records of simple-typed and enumerated attributes: what
// is written onto the open start tag (defaults may be left out), how one parsed attribute is
// matched and stored, and the report of a required attribute that was missing.
#include "tessel16/attribute_info.h"

#include "binding/name_match.h"
#include "binding/namespace_constraint.h"
#include "binding/strict_reading.h"
#include "metadata/metadata_messages.h"
#include "metadata/object_bridge.h"
#include "metadata/untyped_access.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"
#include "tessel16/xml_writer.h"

namespace Tessel16Data {

using namespace Tessel16;
using namespace Tessel16::detail;

namespace {

std::string TextOrEmpty(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

CAttributeInfo::CAttributeInfo(const char* attributeName, const char* namespaceUri,
                               int propertyIndex, bool optional, const char* defaultValue)
    : m_attributeName(TextOrEmpty(attributeName)),
      m_namespace(TextOrEmpty(namespaceUri)),
      m_propertyIndex(propertyIndex),
      m_optional(optional),
      m_defaultValue(TextOrEmpty(defaultValue)) {}

CAttributeInfo::CAttributeInfo(const CAttributeInfo& other) = default;
CAttributeInfo& CAttributeInfo::operator=(const CAttributeInfo& other) = default;
CAttributeInfo::~CAttributeInfo() = default;

bool CAttributeInfo::IsThisAttribute(const CSerializationContext& context,
                                     CXmlAttribute* attribute) const {
    if (!attribute || !SameName(attribute->GetLocalName(), m_attributeName)) return false;
    return context.GetIgnoreNamespaces() || SameName(attribute->GetNamespaceURI(), m_namespace);
}

void CAttributeInfo::InvokePropertyGet(CXmlGeneratedClass* object, TsVariant& value) const {
    try {
        object->InvokeProperty(m_propertyIndex, true, value);
    } catch (const CTsException& e) {
        throw CTsValidationException(FormatString(kMsgGetPropertyFailed, m_attributeName.c_str()),
                                     "", e);
    }
}

void CAttributeInfo::InvokePropertySet(CXmlGeneratedClass* object, TsVariant& value,
                                       const CXmlAttribute& source) const {
    try {
        object->InvokeProperty(m_propertyIndex, false, value);
    } catch (const CTsException& e) {
        throw CTsValidationException(
            FormatString(kMsgSetAttributeFailed, source.GetValue().c_str()),
            const_cast<CXmlAttribute&>(source).GetXPath(), e);
    }
}

void CAttributeInfo::ReadProperty(const CXmlGeneratedClass* object, TsVariant& value) const {
    InvokePropertyGet(const_cast<CXmlGeneratedClass*>(object), value);
}

void CAttributeInfo::ToXml_Int(const CXmlObjectBase* member, CXmlWriter* writer, bool isRoot,
                               const char* namespaceUri, const CSerializationContext& context) {
    ObjectBridge::WriteObject(member, writer, isRoot, namespaceUri, context, false);
}

std::string CAttributeInfo::GetTargetNamespace(const CXmlObjectBase* object) {
    return object->GetTargetNamespace();
}

bool CAttributeInfo::IsNamespaceValid(const std::string& namespaceUri,
                                      const std::string& restriction,
                                      const std::string& targetNamespace) {
    return IsNamespaceAllowed(namespaceUri, restriction, targetNamespace);
}

void CAttributeInfo::TestNamespace(const std::string& namespaceUri, const std::string& restriction,
                                   const std::string& targetNamespace) {
    if (!IsNamespaceValid(namespaceUri, restriction, targetNamespace)) {
        throw CTsInvalidNamespaceException(
            FormatString(kMsgInvalidNamespace, namespaceUri.c_str(), restriction.c_str(),
                         targetNamespace.c_str()),
            "");
    }
}

void CAttributeInfo::ValidateRequired(bool found) const {
    if (!m_optional && !found) {
        throw CTsValidationException(
            FormatString(kMsgRequiredAttributeMissing, m_attributeName.c_str()), "");
    }
}

bool CAttributeInfo::SkipAsDefault(const CSerializationContext& context,
                                   const std::string& text) const {
    return m_optional && !m_defaultValue.empty() && context.GetNoOptionalAttributeDefaultOutput() &&
           text == m_defaultValue;
}

CAttributeInfoPrimitive::CAttributeInfoPrimitive(
    const char* attributeName, const char* namespaceUri, int propertyIndex, bool optional,
    ItemType itemType, const char* format, CWhitespaceUtils::WhitespaceRule whitespaceRule,
    const CPrimitiveRestrictions& restrictions, const char* defaultValue)
    : CAttributeInfo(attributeName, namespaceUri, propertyIndex, optional, defaultValue),
      m_restrictions(restrictions),
      m_itemType(itemType),
      m_format(TextOrEmpty(format)),
      m_whitespaceRule(whitespaceRule) {}

void CAttributeInfoPrimitive::AttributeToXml(const CSerializationContext& context,
                                             const CXmlGeneratedClass* object,
                                             CXmlWriter* writer) const {
    TsVariant value;
    ReadProperty(object, value);
    if (IsOptional() && !value.IsValid()) return;
    std::string scratch;
    const std::string& text = value.ToText(m_format.c_str(), scratch);
    if (SkipAsDefault(context, text)) return;
    CheckRestriction(value);
    writer->AddAttribute(GetAttributeName(), GetNamespace(), text, value.GetTypeAsEnum());
}

bool CAttributeInfoPrimitive::AttributeFromXml(const CSerializationContext& context,
                                               CXmlGeneratedClass* object,
                                               CXmlAttribute* attribute) {
    // Unlike the other records, a typed attribute keeps its namespace even when the context
    // ignores namespaces.
    if (!SameName(attribute->GetLocalName(), GetAttributeName()) ||
        !SameName(attribute->GetNamespaceURI(), GetNamespace())) {
        return false;
    }
    const bool strict = context.GetStrictReading();
    if (!strict &&
        object->SetMemberFromText(GetPropertyIndex(), attribute->GetValue(), m_whitespaceRule))
        return true;
    TsVariant value;
    if (strict) {
        value.FromString(attribute->GetValue(), m_itemType, m_whitespaceRule, true);
        CheckRestriction(value);
    } else {
        value.FromString(attribute->GetValue(), m_itemType, m_whitespaceRule);
    }
    value.SetDisposable();
    InvokePropertySet(object, value, *attribute);
    return true;
}

void CAttributeInfoPrimitive::Validate(const CSerializationContext&, bool found) const {
    ValidateRequired(found);
}

void CAttributeInfoPrimitive::CheckRestriction(const TsVariant& value) const {
    m_restrictions.CheckValue(GetAttributeName(), value, m_itemType);
}

CAttributeInfoEnum::CAttributeInfoEnum(const char* attributeName, const char* namespaceUri,
                                       int propertyIndex, bool optional,
                                       const char* (*enumToString)(int),
                                       int (*stringToEnum)(const char*), const char* defaultValue)
    : CAttributeInfo(attributeName, namespaceUri, propertyIndex, optional, defaultValue),
      m_stringToEnum(stringToEnum),
      m_enumToString(enumToString) {}

void CAttributeInfoEnum::AttributeToXml(const CSerializationContext& context,
                                        const CXmlGeneratedClass* object,
                                        CXmlWriter* writer) const {
    TsVariant value;
    ReadProperty(object, value);
    if (IsOptional() && !value.IsValid()) return;
    const char* mapped = m_enumToString ? m_enumToString(value.GetI4()) : nullptr;
    const std::string text = TextOrEmpty(mapped);
    if (SkipAsDefault(context, text)) return;
    writer->AddAttribute(GetAttributeName(), GetNamespace(), text, ItemType_string);
}

bool CAttributeInfoEnum::AttributeFromXml(const CSerializationContext& context,
                                          CXmlGeneratedClass* object, CXmlAttribute* attribute) {
    if (!IsThisAttribute(context, attribute)) return false;
    TsVariant value;
    const int mapped = m_stringToEnum ? m_stringToEnum(attribute->GetValue().c_str()) : 0;
    if (context.GetStrictReading() && mapped < 0)
        throw CTsInvalidValueException(FormatString(
            kMsgUnknownEnumText, attribute->GetValue().c_str(), GetAttributeName().c_str()));
    value.SetI4(mapped);
    InvokePropertySet(object, value, *attribute);
    return true;
}

void CAttributeInfoEnum::Validate(const CSerializationContext&, bool found) const {
    ValidateRequired(found);
}

CAttributeInfoAny::CAttributeInfoAny(const char* attributeName, const char* namespaceUri,
                                     int propertyIndex, bool optional, const char* defaultValue,
                                     const char* namespaceRestriction, const char* targetNamespace)
    : CAttributeInfo(attributeName, namespaceUri, propertyIndex, optional, defaultValue),
      m_namespaceRestriction(TextOrEmpty(namespaceRestriction)),
      m_targetNamespace(TextOrEmpty(targetNamespace)) {}

void CAttributeInfoAny::AttributeToXml(const CSerializationContext& context,
                                       const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    TsVariant value;
    ReadProperty(object, value);
    CXmlCollectionBase* collection = RawPtr(value.GetXmlCollection());
    if (!collection) return;
    const std::string targetNamespace = GetTargetNamespace(object);
    ToXml_Int(collection, writer, false, targetNamespace.c_str(), context);
}

bool CAttributeInfoAny::AttributeFromXml(const CSerializationContext&, CXmlGeneratedClass* object,
                                         CXmlAttribute* attribute) {
    if (!IsNamespaceValid(attribute->GetNamespaceURI(), m_namespaceRestriction,
                          m_targetNamespace)) {
        return false;
    }
    TsVariant value;
    InvokePropertyGet(object, value);
    CXmlCollectionBase* collection = RawPtr(value.GetXmlCollection());
    if (!collection || !AddUntypedAttribute(collection, attribute->GetLocalName(),
                                            attribute->GetValue(), attribute->GetNamespaceURI())) {
        throw CTsException(kMsgNotAttributeCollection);
    }
    return true;
}

void CAttributeInfoAny::Validate(const CSerializationContext&, bool) const {}

}  // namespace Tessel16Data
