// xml_object_base.cpp: the reference count, the version check, the XML text entry points
// (string, bytes, file) and the helpers generated property setters call.
#include "tessel16/xml_object_base.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "binding/binding_messages.h"
#include "binding/element_names.h"
#include "binding/entry_support.h"
#include "binding/namespace_constraint.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/streams.h"
#include "tessel16/switches.h"
#include "tessel16/xml_text_writer.h"
#include "xml/xml_messages.h"
#include "xml/xml_stream.h"

namespace Tessel16 {

namespace detail {

namespace {
bool VersionMatches() {
    return RegisteredMajorVersion() == kRuntimeMajorVersion &&
           RegisteredMinorVersion() == kRuntimeMinorVersion;
}

// There is no modal message box here: the same caption and text go to the error output,
// which is where a console or service program's user looks.
void ShowVersionNotice() {
    const std::string text =
        FormatString(kMsgVersionBox, kRuntimeMajorVersion, kRuntimeMinorVersion,
                     RegisteredMajorVersion(), RegisteredMinorVersion());
    std::fprintf(stderr, "%s: %s\n", kVersionBoxCaption, text.c_str());
}
}  // namespace

void RefuseOutOfMemory() { throw CTsException(XmlMessages::kOutOfMemory); }

void CheckGeneratorVersion() {
    if (VersionMatches()) return;
    ShowVersionNotice();
    throw CTsException(FormatString(kMsgWrongVersion, kRuntimeMajorVersion, kRuntimeMinorVersion,
                                    RegisteredMajorVersion(), RegisteredMinorVersion()));
}

// Only the very first construction in the process looks at the version: generated code
// registers before it creates anything, so that is when a mismatch shows up.
void NoticeGeneratorVersionOnce() {
    static std::atomic<bool> looked{false};
    if (looked.exchange(true)) return;
    if (!VersionMatches()) ShowVersionNotice();
}

}  // namespace detail

CXmlObjectBase::CXmlObjectBase() { detail::NoticeGeneratorVersionOnce(); }

CXmlObjectBase::CXmlObjectBase(const CXmlObjectBase& other) : IEventSink(other) {
    SetElementName(other.m_elementName);
}

CXmlObjectBase& CXmlObjectBase::operator=(const CXmlObjectBase& other) {
    if (this != &other) SetElementName(other.m_elementName);
    return *this;
}

CXmlObjectBase::~CXmlObjectBase() {
    if (m_ownsElementName) delete[] m_elementName;
}

std::int32_t CXmlObjectBase::AddRef() { return ++m_refCount; }

std::int32_t CXmlObjectBase::Release() {
    const std::int32_t count = --m_refCount;
    if (count == 0) delete this;
    return count;
}

void CXmlObjectBase::SetElementName(const char* name) {
    const char* text = name ? name : "";
    // Reading sets every object's name again, nearly always to the name it has.
    // Objects made unnamed (a collection names its items itself) settle here without a call.
    if (text[0] == m_elementName[0] && (text[0] == '\0' || std::strcmp(text, m_elementName) == 0))
        return;
    const char* interned = detail::InternElementName(text);
    char* owned = nullptr;
    if (!interned) {
        const std::size_t length = std::strlen(text);
        owned = new char[length + 1];
        std::memcpy(owned, text, length + 1);
    }
    if (m_ownsElementName) delete[] m_elementName;
    m_elementName = interned ? interned : owned;
    m_ownsElementName = owned != nullptr;
}

void CXmlObjectBase::ShareElementName(CXmlObjectBase* object, const CXmlObjectBase& from) {
    if (from.m_ownsElementName || object->m_ownsElementName) {
        object->SetElementName(from.m_elementName);
        return;
    }
    object->m_elementName = from.m_elementName;
}

void CXmlObjectBase::SetStaticElementName(CXmlObjectBase* object, const char* name) {
    if (object->m_ownsElementName) delete[] object->m_elementName;
    object->m_elementName = name;
    object->m_ownsElementName = false;
}

void CXmlObjectBase::SetElementName(CXmlObjectBase* object, const char* name) {
    object->SetElementName(name);
}

void CXmlObjectBase::OnEvent(CXmlObjectBase*, IEventSink::MsgType, void*) {}

void CXmlObjectBase::AttributesToXml_Int(CXmlWriter*, const CSerializationContext&) const {}

void CXmlObjectBase::WriteXmlDocument(CTextStream& stream, bool includeDocHeader, bool formatted,
                                      EOLType eol, const CSerializationContext& context) const {
    CXmlTextWriter writer(&stream);
    writer.StartDocument();
    writer.SetFormatted(formatted);
    writer.SetIndentChars(context.GetIndentChars().c_str());
    writer.SetEOLType(eol);
    writer.SetWriteDefaultValues(context.GetWriteDefaultElementValues());
    if (includeDocHeader) writer.WriteXmlDeclaration();
    ToXml_Int(&writer, true, GetTargetNamespace().c_str(), context, false);
    writer.EndDocument();
}

std::string CXmlObjectBase::ToXml(bool includeDocHeader, bool formatted, EOLType eol,
                                  const CSerializationContext& context) {
    detail::CheckGeneratorVersion();
    CTextStream stream(XmlEncoding_None);
    WriteXmlDocument(stream, includeDocHeader, formatted, eol, context);
    return stream.GetString();
}

CBinaryData CXmlObjectBase::ToXmlStream(bool includeDocHeader, bool formatted, XmlEncoding encoding,
                                        EOLType eol, const CSerializationContext& context,
                                        CompressionType compression) {
    detail::CheckGeneratorVersion();
    CTextStream stream(encoding);
    WriteXmlDocument(stream, includeDocHeader, formatted, eol, context);
    CBinaryData data = stream.TakeBinaryData();
    if (compression != CompressionType_None) detail::CompressData(data, compression);
    return data;
}

void CXmlObjectBase::ToXmlFile(const char* fileName, bool includeDocHeader, bool formatted,
                               XmlEncoding encoding, EOLType eol,
                               const CSerializationContext& context,
                               CompressionType compression) const {
    if (compression == CompressionType_ZLib) throw CTsException(detail::kMsgZlibFileCompression);
    if (detail::IsAsyncToXmlFile() && compression == CompressionType_None) {
        detail::CheckGeneratorVersion();
        CFileTextStream stream(fileName, encoding);
        WriteXmlDocument(stream, includeDocHeader, formatted, eol, context);
        return;
    }
    // The base class's own stream method, not the virtual slot: overriding ToXmlStream must
    // not change what lands in files.
    CBinaryData data = const_cast<CXmlObjectBase*>(this)->CXmlObjectBase::ToXmlStream(
        includeDocHeader, formatted, encoding, eol, context, compression);
    CFileBinaryStream file(fileName, encoding, data);
    file.Write();
}

void CXmlObjectBase::ToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer, bool isRoot,
                               const char* namespaceUri, const CSerializationContext& context,
                               bool inChoice) {
    object->ToXml_Int(writer, isRoot, namespaceUri, context, inChoice);
}

void CXmlObjectBase::AttributesToXml_Int(const CXmlObjectBase* object, CXmlWriter* writer,
                                         const CSerializationContext& context) {
    object->AttributesToXml_Int(writer, context);
}

CXmlElement* CXmlObjectBase::FromXml_Int(CXmlObjectBase* object, CXmlElement* element,
                                         CXmlElement* child, const CSerializationContext& context) {
    // A read that starts among the document element's children may come back to where it
    // started, or its caller may compare with it: that child stays while the read runs.
    detail::StreamPin pin(element, child);
    return object->FromXml_Int(element, child, context, false);
}

void CXmlObjectBase::FireOnCollectionChangeEvent(IEventSink* sink, CXmlObjectBase* collection) {
    sink->OnEvent(collection->GetBase(), MsgType_Change, nullptr);
}

void CXmlObjectBase::FireOnCollectionAddEvent(IEventSink* sink, CXmlObjectBase* collection,
                                              void* item) {
    sink->OnEvent(collection->GetBase(), MsgType_Add, item);
}

void CXmlObjectBase::FireOnCollectionAddCompleteEvent(IEventSink* sink, CXmlObjectBase* collection,
                                                      void* item) {
    sink->OnEvent(collection->GetBase(), MsgType_AddComplete, item);
}

void CXmlObjectBase::FireOnCollectionRemoveEvent(IEventSink* sink, CXmlObjectBase* collection,
                                                 int index) {
    sink->OnEvent(collection->GetBase(), MsgType_Remove, index == -1 ? nullptr : &index);
}

void CXmlObjectBase::FireOnCollectionRemoveCompleteEvent(IEventSink* sink,
                                                         CXmlObjectBase* collection, int index) {
    sink->OnEvent(collection->GetBase(), MsgType_RemoveComplete, index == -1 ? nullptr : &index);
}

void CXmlObjectBase::Choice_SelectElement(const char* memberName, CXmlObjectBase* value,
                                          std::string& current) {
    const char* name = memberName ? memberName : "";
    if (current == name) {
        if (!value) current.clear();
    } else if (current.empty()) {
        current = name;
    } else if (value) {
        throw CTsInvalidStateException(FormatString(detail::kMsgChoiceAlreadySet, current.c_str()));
    }
}

void CXmlObjectBase::Choice_SetElementValid(bool valid, const char* memberName,
                                            std::string& current) {
    const char* name = memberName ? memberName : "";
    if (!valid) {
        current.clear();
        return;
    }
    if (!current.empty() && current != name)
        throw CTsInvalidStateException(
            FormatString(detail::kMsgChoiceAlreadySetSimple, current.c_str()));
    current = name;
}

void CXmlObjectBase::Choice_CollectionChanged(const char* memberName, std::int32_t count,
                                              std::string& current) {
    const char* name = memberName ? memberName : "";
    if (current == name) {
        if (count == 0) current.clear();
    } else if (current.empty()) {
        if (count > 0) current = name;
    } else if (count != 0) {
        throw CTsInvalidStateException(FormatString(detail::kMsgChoiceAlreadySet, current.c_str()));
    }
}

void CXmlObjectBase::Throw_IfPropertyIsNull(CXmlObjectBase* value, const char* propertyName) {
    if (!value)
        throw CTsInvalidParamException(FormatString(detail::kMsgPropertyIsNull, propertyName));
}

void CXmlObjectBase::Throw_IfElementNameDiffers(CXmlObjectBase* value, const char* name) {
    if (!value) return;
    const char* elementName = name ? name : "";
    const std::string actual = value->GetBase()->m_elementName;
    if (actual != elementName)
        throw CTsInvalidParamException(
            FormatString(detail::kMsgElementNameDiffers, elementName, actual.c_str()));
}

bool CXmlObjectBase::IsNamespaceValid(const char* namespaceUri, const char* allowed,
                                      const char* targetNamespace) const {
    return detail::IsNamespaceAllowed(namespaceUri ? namespaceUri : "", allowed ? allowed : "",
                                      targetNamespace ? targetNamespace : "");
}

void CXmlObjectBase::TestNamespace(const char* namespaceUri, const char* allowed,
                                   const char* targetNamespace) const {
    if (IsNamespaceValid(namespaceUri, allowed, targetNamespace)) return;
    throw CTsInvalidNamespaceException(
        FormatString(detail::kMsgInvalidNamespace, namespaceUri ? namespaceUri : "",
                     allowed ? allowed : "", targetNamespace ? targetNamespace : ""),
        "");
}

}  // namespace Tessel16
