// element_info.cpp: the element record base: member access through the generated accessor,
// writing one primitive, enumerated, class or collection member, reading one simple element
// with its xsi:nil, and the building blocks the concrete records share.
#include "tessel16/element_info.h"

#include <strings.h>

#include "binding/name_match.h"
#include "binding/strict_reading.h"
#include "metadata/metadata_messages.h"
#include "metadata/object_bridge.h"
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

bool EqualsNoCase(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// A nil simple member is written the same way whatever its value kind: an empty element that
// carries xsi:nil.
bool WriteNilElement(CXmlWriter* writer, const std::string& name, const std::string& ns) {
    writer->StartElement(name, ns);
    writer->AddXsiNil();
    writer->EndElement();
    return true;
}

}  // namespace

CElementInfo::CElementInfo(const char* elementName, const char* namespaceUri, int propertyIndex)
    : m_elementName(TextOrEmpty(elementName)),
      m_namespace(TextOrEmpty(namespaceUri)),
      m_propertyIndex(propertyIndex),
      m_itemType(ItemType_none),
      m_whitespaceRule(CWhitespaceUtils::WhitespaceRule_None),
      m_nillable(false),
      m_enumToString(nullptr),
      m_stringToEnum(nullptr),
      m_hasPrimitiveInfo(false),
      m_checkFacets(true) {}

CElementInfo::CElementInfo(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, EnumToStringFunc enumToString,
                           StringToEnumFunc stringToEnum, const char* defaultValue)
    : m_elementName(TextOrEmpty(elementName)),
      m_namespace(TextOrEmpty(namespaceUri)),
      m_propertyIndex(propertyIndex),
      m_itemType(ItemType_none),
      m_whitespaceRule(CWhitespaceUtils::WhitespaceRule_None),
      m_defaultValue(TextOrEmpty(defaultValue)),
      m_nillable(nillable),
      m_enumToString(enumToString),
      m_stringToEnum(stringToEnum),
      m_hasPrimitiveInfo(false),
      m_checkFacets(true) {}

CElementInfo::CElementInfo(const char* elementName, const char* namespaceUri, int propertyIndex,
                           bool nillable, ItemType itemType, const char* format,
                           CWhitespaceUtils::WhitespaceRule whitespaceRule,
                           const CPrimitiveRestrictions& restrictions, const char* defaultValue)
    : m_elementName(TextOrEmpty(elementName)),
      m_namespace(TextOrEmpty(namespaceUri)),
      m_propertyIndex(propertyIndex),
      m_restrictions(restrictions),
      m_itemType(itemType),
      m_format(TextOrEmpty(format)),
      m_whitespaceRule(whitespaceRule),
      m_defaultValue(TextOrEmpty(defaultValue)),
      m_nillable(nillable),
      m_enumToString(nullptr),
      m_stringToEnum(nullptr),
      m_hasPrimitiveInfo(true),
      m_checkFacets(!m_restrictions.IsEmpty() || itemType < ItemType_hexBinary ||
                    itemType > ItemType_integer) {}

CElementInfo::CElementInfo(const CElementInfo& other) = default;
CElementInfo& CElementInfo::operator=(const CElementInfo& other) = default;
CElementInfo::~CElementInfo() = default;

bool CElementInfo::Validate(const CSerializationContext&, const CXmlGeneratedClass*, bool,
                            bool) const {
    throw CTsException(kMsgNotImplemented);
}

void CElementInfo::PseudoChildAttributeToXml(const CSerializationContext&,
                                             const CXmlGeneratedClass*, CXmlWriter*) const {}

bool CElementInfo::IsThisElement(const CSerializationContext& context,
                                 const CXmlElement* element) const {
    if (!element || !SameName(element->GetLocalName(), m_elementName)) return false;
    return context.GetIgnoreNamespaces() || SameName(element->GetNamespaceURI(), m_namespace);
}

void CElementInfo::InvokePropertyGet(CXmlGeneratedClass* object, TsVariant& value) const {
    try {
        object->InvokeProperty(m_propertyIndex, true, value);
    } catch (const CTsException& e) {
        throw CTsValidationException(FormatString(kMsgGetPropertyFailed, m_elementName.c_str()), "",
                                     e);
    }
}

void CElementInfo::InvokePropertySet(CXmlGeneratedClass* object, TsVariant& value,
                                     const CXmlElement& source) const {
    try {
        object->InvokeProperty(m_propertyIndex, false, value);
    } catch (const CTsException& e) {
        throw CTsValidationException(kMsgSetPropertyFailed,
                                     const_cast<CXmlElement&>(source).GetXPath(), e);
    }
}

void CElementInfo::ReadProperty(const CXmlGeneratedClass* object, TsVariant& value) const {
    // The accessor is one operation for both directions; a get leaves the object unchanged.
    InvokePropertyGet(const_cast<CXmlGeneratedClass*>(object), value);
}

CXmlElement* CElementInfo::FromXml_Int(CXmlObjectBase* member, CXmlElement* parent,
                                       CXmlElement* cursor, const CSerializationContext& context,
                                       bool) {
    return ObjectBridge::ReadObject(member, parent, cursor, context);
}

void CElementInfo::AttributesToXml_Int(const CXmlObjectBase* member, CXmlWriter* writer,
                                       const CSerializationContext& context) {
    ObjectBridge::WriteAttributes(member, writer, context);
}

void CElementInfo::CheckRestriction(const TsVariant& value) const {
    if (!m_hasPrimitiveInfo) throw CTsException(kMsgCannotCheckRestriction + value.GetType());
    m_restrictions.CheckValue(m_elementName, value, m_itemType);
}

std::string CElementInfo::GetAnyDefaultNamespace(const char* restriction,
                                                 const char* parentNamespace,
                                                 const char* targetNamespace) {
    const std::string r = TextOrEmpty(restriction);
    const std::string parent = TextOrEmpty(parentNamespace);
    if (r == "##any") return parent;
    if (r == "##other") return parent.empty() ? std::string("DefaultNamespace") : std::string();
    if (r == "##local") return std::string();
    if (r == "##targetNamespace") return TextOrEmpty(targetNamespace);
    const std::string::size_type space = r.find(' ');
    if (space != std::string::npos && r.size() > 2 && r.compare(0, 2, "##") == 0) {
        return GetAnyDefaultNamespace(r.substr(0, space).c_str(), parentNamespace, targetNamespace);
    }
    return std::string();
}

bool CElementInfo::WriteSimpleElement(CXmlWriter* writer, const TsVariant& value,
                                      const std::string& text, ItemType textType,
                                      bool checkFacets) const {
    // Text equal to a schema default goes to the writer flagged as such: a writer that does
    // not write defaults leaves the element empty, and the reader restores the default.
    const bool isDefault = !m_defaultValue.empty() && text == m_defaultValue;
    if (!isDefault && checkFacets && m_checkFacets) CheckRestriction(value);
    writer->WriteSimpleElement(m_elementName, m_namespace, text, textType, isDefault);
    return true;
}

bool CElementInfo::ElementToXmlPrim(const CSerializationContext&, const CXmlGeneratedClass* object,
                                    CXmlWriter* writer) const {
    TsVariant value;
    ReadProperty(object, value);
    if (value.IsNil()) return WriteNilElement(writer, m_elementName, m_namespace);
    if (!value.IsValid()) return false;
    std::string scratch;
    const std::string& text = value.ToText(m_format.c_str(), scratch);
    return WriteSimpleElement(writer, value, text, value.GetTypeAsEnum(), true);
}

bool CElementInfo::ElementToXmlEnum(const CSerializationContext&, const CXmlGeneratedClass* object,
                                    CXmlWriter* writer, EnumToStringFunc enumToString) const {
    TsVariant value;
    ReadProperty(object, value);
    if (value.IsNil()) return WriteNilElement(writer, m_elementName, m_namespace);
    if (!value.IsValid()) return false;
    const char* text = enumToString ? enumToString(value.GetI4()) : nullptr;
    return WriteSimpleElement(writer, value, TextOrEmpty(text), ItemType_string, false);
}

bool CElementInfo::ElementToXmlCls(const CSerializationContext& context,
                                   const CXmlGeneratedClass* object, CXmlWriter* writer,
                                   bool inChoice) const {
    TsVariant value;
    ReadProperty(object, value);
    // The variant holds the member for the length of the write.
    CXmlObjectBase* member = value.PeekXmlObject();
    if (!member) return false;
    ObjectBridge::WriteObject(member, writer, false, m_namespace.c_str(), context, inChoice);
    return true;
}

bool CElementInfo::ElementToXmlCol(const CSerializationContext& context,
                                   const CXmlGeneratedClass* object, CXmlWriter* writer) const {
    TsVariant value;
    CXmlCollectionBase* collection = GetMemberCollection(object, value);
    if (!collection || collection->GetCount() <= 0) return false;
    writer->SetCollectionState(static_cast<CollectionState>(1));
    ObjectBridge::WriteObject(collection, writer, false, m_namespace.c_str(), context, false);
    writer->SetCollectionState(static_cast<CollectionState>(3));
    return true;
}

bool CElementInfo::ReadSimpleElementAttributes(const CSerializationContext& context,
                                               CXmlElement* element, TsVariant& value) const {
    bool isNil = false;
    for (CXmlAttribute* attribute : element->GetAttributes()) {
        if (attribute->IsNilAttribute()) {
            const std::string& text = attribute->GetValue();
            if (EqualsNoCase(text, "false") || text == "0") {
                isNil = false;
                continue;
            }
            isNil = true;
            if (!m_nillable)
                throw CTsValidationException(kMsgElementNilOnNonNillable, element->GetXPath());
            if (EqualsNoCase(text, "true") || text == "1") {
                value.SetNil();
            } else {
                throw CTsValidationException(
                    FormatString(kMsgElementUnexpectedNilValue, text.c_str()),
                    attribute->GetXPath());
            }
        } else if (!context.GetIgnoreUnknownAttributes()) {
            throw CTsValidationException(kMsgElementUnexpectedAttribute, attribute->GetXPath());
        }
    }
    return isNil;
}

void CElementInfo::ElementFromXmlPrim(const CSerializationContext& context,
                                      CXmlGeneratedClass* object, CXmlElement** cursor) {
    CXmlElement* element = *cursor;
    const bool strict = context.GetStrictReading();
    const bool hasAttributes = !element->GetAttributes().empty();
    // A reference, not a copy: the text is parsed once, and most texts are not empty.
    auto text = [&]() -> const std::string& {
        return element->GetText().empty() && !m_defaultValue.empty() ? m_defaultValue
                                                                     : element->GetText();
    };
    // The usual case, a lenient read of an element without attributes (so without xsi:nil)
    // into a generated class that stores the text itself, needs no variant. Conversion
    // failures leave unchanged, as lenient reading's do below.
    if (!strict && !hasAttributes &&
        object->SetMemberFromText(m_propertyIndex, text(), m_whitespaceRule)) {
        *cursor = element->GetNextSiblingElement();
        return;
    }
    try {
        TsVariant value;
        auto store = [&] {
            // The variant dies here: the accessor may move its value into the member.
            value.SetDisposable();
            InvokePropertySet(object, value, *element);
        };
        if (hasAttributes && ReadSimpleElementAttributes(context, element, value)) {
            // Nil: the member is left as it is.
        } else if (strict) {
            value.FromString(text(), m_itemType, m_whitespaceRule, true);
            // Strict reading holds a value to the facets that writing it back would.
            CheckRestriction(value);
            store();
        } else if (!hasAttributes ||
                   !object->SetMemberFromText(m_propertyIndex, text(), m_whitespaceRule)) {
            value.FromString(text(), m_itemType, m_whitespaceRule);
            store();
        }
    } catch (const CTsException& error) {
        if (!strict || NamesLine(error)) throw;
        RethrowAt(error, *element, element->GetXPath());
    }
    *cursor = element->GetNextSiblingElement();
}

void CElementInfo::ElementFromXmlEnum(const CSerializationContext& context,
                                      CXmlGeneratedClass* object, CXmlElement** cursor) {
    CXmlElement* element = *cursor;
    const bool strict = context.GetStrictReading();
    try {
        TsVariant value;
        if (!ReadSimpleElementAttributes(context, element, value)) {
            const std::string& text = element->GetText().empty() && !m_defaultValue.empty()
                                          ? m_defaultValue
                                          : element->GetText();
            const int mapped = m_stringToEnum ? m_stringToEnum(text.c_str()) : 0;
            // Generated mappings answer -1 for text that names no value; leniently that -1
            // is stored, strictly the text is refused.
            if (strict && mapped < 0)
                throw CTsInvalidValueException(
                    FormatString(kMsgUnknownEnumText, text.c_str(), m_elementName.c_str()));
            value.SetI4(mapped);
            InvokePropertySet(object, value, *element);
        }
    } catch (const CTsException& error) {
        if (!strict || NamesLine(error)) throw;
        RethrowAt(error, *element, element->GetXPath());
    }
    *cursor = element->GetNextSiblingElement();
}

CXmlElement* CElementInfo::ReadMemberObject(const CSerializationContext& context,
                                            CXmlObjectBase* member, XmlElementType elementType,
                                            CXmlElement* parent, CXmlElement* cursor) {
    if (elementType == XmlElementType_Element) {
        FromXml_Int(member, cursor, cursor->GetFirstElement(), context, false);
        return cursor->GetNextSiblingElement();
    }
    return FromXml_Int(member, parent, cursor, context, false);
}

CXmlObjectBase* CElementInfo::GetMemberObject(CXmlGeneratedClass* object, TsVariant& holder) const {
    InvokePropertyGet(object, holder);
    return RawPtr(holder.GetXmlObject());
}

CXmlCollectionBase* CElementInfo::GetMemberCollection(const CXmlGeneratedClass* object,
                                                      TsVariant& holder) const {
    ReadProperty(object, holder);
    return holder.PeekXmlCollection();
}

void CElementInfo::StoreMemberObject(CXmlGeneratedClass* object, CXmlObjectBase* member,
                                     const CXmlElement& source) const {
    TsVariant value;
    value.SetXmlObject(member);
    InvokePropertySet(object, value, source);
}

void CElementInfo::MemberAttributesToXml(const CSerializationContext& context,
                                         const CXmlGeneratedClass* object,
                                         CXmlWriter* writer) const {
    TsVariant value;
    ReadProperty(object, value);
    if (value.GetTypeAsEnum() == ItemType_collection) {
        CXmlCollectionBase* collection = value.PeekXmlCollection();
        if (collection) AttributesToXml_Int(collection, writer, context);
        return;
    }
    CXmlObjectBase* member = value.PeekXmlObject();
    if (member) AttributesToXml_Int(member, writer, context);
}

bool CElementInfo::ReadCollectionMember(const CSerializationContext& context,
                                        CXmlGeneratedClass* object, CXmlElement* parent,
                                        CXmlElement** cursor, XmlElementType readMode,
                                        bool checkCount) {
    TsVariant holder;
    InvokePropertyGet(object, holder);
    CXmlCollectionBase* collection = RawPtr(holder.GetXmlCollection());
    if (!collection) return false;
    *cursor = FromXml_Int(collection, parent, *cursor, context, false);
    if (!checkCount) return false;
    if (readMode == XmlElementType_Element) {
        collection->ValidateCount(context);
        return true;
    }
    return collection->IsValidCount(context);
}

void CElementInfo::ThrowMandatoryNull() const {
    throw CTsInvalidParamException(FormatString(kMsgMandatoryNull, m_elementName.c_str()));
}

void CElementInfo::ThrowRequiredChildMissing(CXmlElement* parent) const {
    throw CTsValidationException(FormatString(kMsgRequiredChildMissing, m_elementName.c_str()),
                                 parent ? parent->GetXPath() : std::string());
}

CXmlObjectBase* CElementInfo::GetOrCreateMember(CXmlGeneratedClass* object, TsVariant& holder,
                                                ClassFactoryFunc factory, int classId,
                                                const CXmlElement& source) const {
    CXmlObjectBase* member = GetMemberObject(object, holder);
    if (member || !factory) return member;
    // The generated class normally creates its mandatory members itself; one that did not
    // still gets a member to read into.
    CSmartPtr<CXmlObjectBase> created = factory(classId, m_elementName.c_str());
    if (!RawPtr(created)) return nullptr;
    StoreMemberObject(object, RawPtr(created), source);
    return GetMemberObject(object, holder);
}

bool CElementInfo::ReadOptionalClass(const CSerializationContext& context,
                                     CXmlGeneratedClass* object, CXmlElement* parent,
                                     CXmlElement** cursor, XmlElementType elementType,
                                     ClassFactoryFunc factory, int classId) const {
    if (!factory) return false;
    if (elementType == XmlElementType_Element && !IsThisElement(context, *cursor)) return false;
    CSmartPtr<CXmlObjectBase> created = factory(classId, m_elementName.c_str());
    CXmlObjectBase* member = RawPtr(created);
    if (!member) return false;
    if (elementType == XmlElementType_Element) {
        CXmlElement* source = *cursor;
        *cursor = ReadMemberObject(context, member, elementType, parent, *cursor);
        StoreMemberObject(object, member, *source);
        return true;
    }
    // An inlined optional member is there only when it took at least one element.
    CXmlElement* next = ReadMemberObject(context, member, elementType, parent, *cursor);
    if (next == *cursor) return false;
    StoreMemberObject(object, member, *parent);
    *cursor = next;
    return true;
}

bool CElementInfo::ReadSubstitution(const CSerializationContext& context,
                                    CXmlGeneratedClass* object, CXmlElement* parent,
                                    CXmlElement** cursor, XmlElementType elementType,
                                    ElementFactoryFunc factory) const {
    CSmartPtr<CXmlObjectBase> created = factory ? factory(*cursor) : CSmartPtr<CXmlObjectBase>();
    CXmlObjectBase* member = RawPtr(created);
    if (!member) return false;
    *cursor = ReadMemberObject(context, member, elementType, parent, *cursor);
    StoreMemberObject(object, member, *parent);
    return true;
}

}  // namespace Tessel16Data
