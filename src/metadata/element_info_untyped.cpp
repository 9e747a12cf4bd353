// element_info_untyped.cpp: the records of untyped members: elements without a type and
// xs:any wildcards (element name "AnyElement"). The member is an untyped element, or a
// collection of them, that reads and writes itself; the record decides which elements it is
// offered and what their absence means.
#include "metadata/metadata_messages.h"
#include "metadata/object_bridge.h"
#include "metadata/untyped_access.h"
#include "tessel16/element_info_variants.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/variant.h"
#include "tessel16/xml_collection.h"
#include "tessel16/xml_document.h"
#include "tessel16/xml_generated_class.h"

namespace Tessel16Data {

using namespace Tessel16;
using namespace Tessel16::detail;

namespace {

const char* const kAnyElement = "AnyElement";

std::string TextOrEmpty(const char* text) { return text ? std::string(text) : std::string(); }

// A wildcard takes any element; a named untyped member only its own name.
bool NameFits(const std::string& recordName, const CXmlElement* cursor) {
    return cursor && (recordName == kAnyElement || recordName == cursor->GetLocalName());
}

}  // namespace

CElementInfoSeqUntpdCol::CElementInfoSeqUntpdCol(const char* elementName, const char* namespaceUri,
                                                 int propertyIndex)
    : CElementInfoSeqCol(elementName, namespaceUri, propertyIndex) {}

bool CElementInfoSeqUntpdCol::ElementFromXml(const CSerializationContext& context,
                                             CXmlGeneratedClass* object, CXmlElement* parent,
                                             CXmlElement** cursor, const char*,
                                             XmlElementType readMode) {
    TsVariant holder;
    CXmlCollectionBase* collection = GetMemberCollection(object, holder);
    if (!collection) return false;
    if (GetElementName() == kAnyElement) {
        *cursor = FromXml_Int(collection, parent, *cursor, context, false);
    } else {
        const std::string ns = *cursor ? (*cursor)->GetNamespaceURI() : std::string();
        *cursor = ReadUntypedElementsNamed(collection, GetElementName().c_str(), ns.c_str(), parent,
                                           *cursor, context);
    }
    if (readMode == XmlElementType_Element) {
        collection->ValidateCount(context);
        return true;
    }
    return collection->IsValidCount(context);
}

CElementInfoAllUntpdCol::CElementInfoAllUntpdCol(const char* elementName, const char* namespaceUri,
                                                 int propertyIndex)
    : CElementInfoAllCol(elementName, namespaceUri, propertyIndex) {}

CElementInfoChoiceUntpdCol::CElementInfoChoiceUntpdCol(const char* elementName,
                                                       const char* namespaceUri, int propertyIndex)
    : CElementInfoChoiceCol(elementName, namespaceUri, propertyIndex) {}

bool CElementInfoChoiceUntpdCol::ElementFromXml(const CSerializationContext& context,
                                                CXmlGeneratedClass* object, CXmlElement* parent,
                                                CXmlElement** cursor, const char*,
                                                XmlElementType readMode) {
    TsVariant holder;
    CXmlCollectionBase* collection = GetMemberCollection(object, holder);
    if (!collection) return false;
    CXmlElement* const start = *cursor;
    if (GetElementName() == kAnyElement) {
        *cursor = FromXml_Int(collection, parent, *cursor, context, false);
    } else {
        const std::string ns = *cursor ? (*cursor)->GetNamespaceURI() : std::string();
        *cursor = ReadUntypedElementsNamed(collection, GetElementName().c_str(), ns.c_str(), parent,
                                           *cursor, context);
    }
    // As for the other choice collections: taking nothing means another member is chosen.
    if (*cursor == start) return false;
    if (readMode == XmlElementType_Element) {
        collection->ValidateCount(context);
        return true;
    }
    return collection->IsValidCount(context);
}

CElementInfoSeqUntpdMnd::CElementInfoSeqUntpdMnd(const char* elementName, const char* namespaceUri,
                                                 int propertyIndex,
                                                 const char* namespaceRestriction,
                                                 const char* targetNamespace)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_namespaceRestriction(TextOrEmpty(namespaceRestriction)),
      m_targetNamespace(TextOrEmpty(targetNamespace)) {}

bool CElementInfoSeqUntpdMnd::ElementToXml(const CSerializationContext& context,
                                           const CXmlGeneratedClass* object,
                                           CXmlWriter* writer) const {
    if (!ElementToXmlCls(context, object, writer, false)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoSeqUntpdMnd::ElementFromXml(const CSerializationContext& context,
                                             CXmlGeneratedClass* object, CXmlElement* parent,
                                             CXmlElement** cursor, const char*,
                                             XmlElementType readMode) {
    if (!*cursor) ThrowRequiredChildMissing(parent);
    TsVariant holder;
    CXmlObjectBase* member = GetMemberObject(object, holder);
    CXmlElement* next = *cursor;
    if (member && NameFits(GetElementName(), *cursor)) {
        next = FromXml_Int(member, parent, *cursor, context, false);
    }
    if (next == *cursor) {
        if (readMode != XmlElementType_Element) return false;
        throw CTsValidationException(
            FormatString(kMsgRequiredFromNamespace, GetNamespace().c_str()),
            parent ? parent->GetXPath() : std::string());
    }
    *cursor = next;
    return true;
}

CElementInfoSeqUntpdOpt::CElementInfoSeqUntpdOpt(const char* elementName, const char* namespaceUri,
                                                 int propertyIndex,
                                                 const char* namespaceRestriction,
                                                 const char* targetNamespace)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_namespaceRestriction(TextOrEmpty(namespaceRestriction)),
      m_targetNamespace(TextOrEmpty(targetNamespace)) {}

bool CElementInfoSeqUntpdOpt::ElementToXml(const CSerializationContext& context,
                                           const CXmlGeneratedClass* object,
                                           CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

namespace {

// Reads an optional untyped member into a new element; stores it when it took something.
template <class Record, class Store>
bool ReadOptionalUntyped(const Record& record, const CSerializationContext& context,
                         CXmlElement* parent, CXmlElement** cursor, const char* parentNamespace,
                         const std::string& restriction, const std::string& targetNamespace,
                         Store store) {
    if (!*cursor || !NameFits(record.GetElementName(), *cursor)) return false;
    const std::string ns = CElementInfo::GetAnyDefaultNamespace(
        restriction.c_str(), parentNamespace, targetNamespace.c_str());
    CSmartPtr<CXmlObjectBase> element = CreateUntypedElement(
        record.GetElementName().c_str(), ns.c_str(), restriction.c_str(), targetNamespace.c_str());
    if (!element) return false;
    CXmlElement* next = ObjectBridge::ReadObject(element.get(), parent, *cursor, context);
    if (next == *cursor) return false;
    store(element.get());
    *cursor = next;
    return true;
}

}  // namespace

bool CElementInfoSeqUntpdOpt::ElementFromXml(const CSerializationContext& context,
                                             CXmlGeneratedClass* object, CXmlElement* parent,
                                             CXmlElement** cursor, const char* parentNamespace,
                                             XmlElementType) {
    ReadOptionalUntyped(
        *this, context, parent, cursor, parentNamespace, m_namespaceRestriction, m_targetNamespace,
        [&](CXmlObjectBase* element) { StoreMemberObject(object, element, *parent); });
    return true;
}

CElementInfoAllUntpdMnd::CElementInfoAllUntpdMnd(const char* elementName, const char* namespaceUri,
                                                 int propertyIndex,
                                                 const char* namespaceRestriction,
                                                 const char* targetNamespace)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_namespaceRestriction(TextOrEmpty(namespaceRestriction)),
      m_targetNamespace(TextOrEmpty(targetNamespace)) {}

bool CElementInfoAllUntpdMnd::ElementToXml(const CSerializationContext& context,
                                           const CXmlGeneratedClass* object,
                                           CXmlWriter* writer) const {
    if (!ElementToXmlCls(context, object, writer, false)) ThrowMandatoryNull();
    return true;
}

bool CElementInfoAllUntpdMnd::ElementFromXml(const CSerializationContext& context,
                                             CXmlGeneratedClass* object, CXmlElement* parent,
                                             CXmlElement** cursor, const char*, XmlElementType) {
    TsVariant holder;
    CXmlObjectBase* member = GetMemberObject(object, holder);
    if (!member || !NameFits(GetElementName(), *cursor)) return false;
    CXmlElement* next = FromXml_Int(member, parent, *cursor, context, false);
    if (next == *cursor) return false;
    *cursor = next;
    return true;
}

bool CElementInfoAllUntpdMnd::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                       bool found, bool required) const {
    if (!found && required) {
        throw CTsValidationException(FormatString(kMsgMandatoryMissing, GetElementName().c_str()),
                                     "");
    }
    return found;
}

CElementInfoAllUntpdOpt::CElementInfoAllUntpdOpt(const char* elementName, const char* namespaceUri,
                                                 int propertyIndex,
                                                 const char* namespaceRestriction,
                                                 const char* targetNamespace)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_namespaceRestriction(TextOrEmpty(namespaceRestriction)),
      m_targetNamespace(TextOrEmpty(targetNamespace)) {}

bool CElementInfoAllUntpdOpt::ElementToXml(const CSerializationContext& context,
                                           const CXmlGeneratedClass* object,
                                           CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoAllUntpdOpt::ElementFromXml(const CSerializationContext& context,
                                             CXmlGeneratedClass* object, CXmlElement* parent,
                                             CXmlElement** cursor, const char* parentNamespace,
                                             XmlElementType) {
    // Reports whether it read, so that a later pass of the all group can still offer it the
    // element when it comes after others.
    return ReadOptionalUntyped(
        *this, context, parent, cursor, parentNamespace, m_namespaceRestriction, m_targetNamespace,
        [&](CXmlObjectBase* element) { StoreMemberObject(object, element, *parent); });
}

bool CElementInfoAllUntpdOpt::Validate(const CSerializationContext&, const CXmlGeneratedClass*,
                                       bool, bool) const {
    return true;
}

CElementInfoChoiceUntpdOpt::CElementInfoChoiceUntpdOpt(const char* elementName,
                                                       const char* namespaceUri, int propertyIndex,
                                                       const char* namespaceRestriction,
                                                       const char* targetNamespace)
    : CElementInfo(elementName, namespaceUri, propertyIndex),
      m_namespaceRestriction(TextOrEmpty(namespaceRestriction)),
      m_targetNamespace(TextOrEmpty(targetNamespace)) {}

bool CElementInfoChoiceUntpdOpt::ElementToXml(const CSerializationContext& context,
                                              const CXmlGeneratedClass* object,
                                              CXmlWriter* writer) const {
    return ElementToXmlCls(context, object, writer, false);
}

bool CElementInfoChoiceUntpdOpt::ElementFromXml(const CSerializationContext& context,
                                                CXmlGeneratedClass* object, CXmlElement* parent,
                                                CXmlElement** cursor, const char* parentNamespace,
                                                XmlElementType) {
    // A choice tries its members in turn: report whether this one took the element.
    return ReadOptionalUntyped(
        *this, context, parent, cursor, parentNamespace, m_namespaceRestriction, m_targetNamespace,
        [&](CXmlObjectBase* element) { StoreMemberObject(object, element, *parent); });
}

}  // namespace Tessel16Data
