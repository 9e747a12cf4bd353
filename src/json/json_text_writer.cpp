// json_text_writer.cpp: JSON syntax over the shared element stack. The engine calls the same
// operations as for XML, so everything JSON needs beyond them (is the element's value an
// object yet, is one of its members an open array) lives in a small frame per open element.
#include "tessel16/json_text_writer.h"

#include "json/json_messages.h"
#include "json/json_number.h"
#include "tessel16/exception.h"
#include "writers/line_end.h"
#include "writers/markup.h"
#include "writers/writer_messages.h"

namespace Tessel16 {

namespace {
namespace msg = detail::JsonMessages;

// Writers hand their text on once this much is pending, as the XML writer does, so direct
// file output streams large documents in chunk-sized writes.
constexpr std::uint32_t kFlushThreshold = 4096;

// Bytes the string escape acts on: the zero terminator, every control byte, '"' and '\'.
struct EscapeTable {
    bool escape[256] = {};
    constexpr EscapeTable() {
        for (int c = 0; c < 0x20; ++c) escape[c] = true;
        escape[static_cast<unsigned char>('"')] = true;
        escape[static_cast<unsigned char>('\\')] = true;
    }
};
constexpr EscapeTable kEscape;

// True when the name goes into a member name as it is: no byte to escape, no zero byte that
// would end it early.
bool IsPlainName(const std::string& name) {
    bool plain = true;
    for (const char c : name) plain &= !kEscape.escape[static_cast<unsigned char>(c)];
    return plain;
}

bool IsBareKind(ItemType type) {
    return (type >= ItemType_i1 && type <= ItemType_r8) ||
           (type >= ItemType_boolean && type <= ItemType_integer);
}
}  // namespace

CJsonTextWriter::CJsonTextWriter(CTextStream* stream)
    : CXmlWriter("CJsonTextWriter"), m_stream(stream) {}

CJsonTextWriter::~CJsonTextWriter() = default;

void CJsonTextWriter::StartDocument() {
    CXmlWriter::StartDocument();
    m_stream->Open();
}

void CJsonTextWriter::EndDocument() {
    m_stream->Close();
    CXmlWriter::EndDocument();
}

void CJsonTextWriter::SetEOLType(EOLType eol) { m_lineEnd = detail::LineEndOf(eol); }

void CJsonTextWriter::WriteObjectStart() {
    m_stream->Write('{');
    if (m_formatted) WriteLineEnd();
}

void CJsonTextWriter::WriteObjectEnd() {
    if (m_formatted) WriteLineEnd();
    m_stream->Write('}');
    CheckFlush();
}

void CJsonTextWriter::WriteComment(const std::string& text) {
    m_stream->Write("/* ");
    WriteEscaped(text);
    m_stream->Write(" */");
    WriteLineEnd();
    CheckFlush();
}

void CJsonTextWriter::WriteProcessingInstruction(const std::string&) {}

void CJsonTextWriter::WriteInLineSchema(const std::string&) {}

void CJsonTextWriter::StartElement(const std::string& localName, const std::string& namespaceUri) {
    CXmlWriterContext* parentContext = GetCurrentContext();
    const bool isRoot = parentContext == nullptr;
    MemberStart member;
    if (isRoot) {
        // A second root (untyped content can have several) is a further member of the
        // document object.
        if (m_rootCount++ > 0) {
            m_stream->Write(',');
            if (m_formatted) WriteLineEnd();
        }
    } else {
        member = BeginElementMember(parentContext, localName);
    }
    CXmlWriterContext* context = PushContext(localName, namespaceUri);
    if (m_formatted) WriteIndent(member.depth);

    std::string declarePrefix;
    if (member.writeName) {
        if (m_level == JsonRoundTrip_Full && !namespaceUri.empty() &&
            namespaceUri != context->GetDefaultNamespace()) {
            std::string prefix = context->LookupPrefix(namespaceUri);
            if (prefix.empty()) {
                // Only the root may bring in a namespace; everything below must use one
                // declared on the root.
                if (!isRoot)
                    throw CTsException(FormatString(msg::kUnknownNamespace, namespaceUri.c_str()));
                prefix = AllocatePrefix(context->GetNamespaceMap());
                context->AddNamespace(namespaceUri, prefix);
                declarePrefix = prefix;
            }
            WriteMemberName(prefix, localName);
        } else {
            WriteMemberName(std::string(), localName);
        }
    }
    if (member.opensArray) OpenArray(parentContext, member.depth);
    m_frames.push_back(Frame{member.depth, false, false, false});
    Frame& frame = m_frames.back();
    if (!declarePrefix.empty()) WriteNamespaceMember(frame, declarePrefix, namespaceUri);
    if (isRoot && m_level == JsonRoundTrip_Full) {
        // Only what the document held when the root started is declared, on the root.
        if (!GetDocumentDefaultNamespace().empty())
            WriteNamespaceMember(frame, std::string(), GetDocumentDefaultNamespace());
        for (const auto& entry : GetDocumentNamespaceMap()) {
            if (entry.first == detail::kXmlNamespaceUri) continue;
            WriteNamespaceMember(frame, entry.second, entry.first);
        }
    }
    CheckFlush();
}

CJsonTextWriter::MemberStart CJsonTextWriter::BeginElementMember(CXmlWriterContext* parentContext,
                                                                 const std::string& localName) {
    Frame& parent = m_frames.back();
    const CollectionState state = parentContext->GetCollectionState();
    MemberStart member;
    if (parent.arrayOpen && state == CollectionState_Opened) {
        // A later item of the open array: no name, only the separator.
        m_stream->Write(',');
        if (m_formatted) WriteLineEnd();
        member.writeName = false;
        member.depth = parent.depth + 2;
    } else {
        // The array of the previous repeated member ends where another member begins.
        if (parent.arrayOpen) CloseArray(parent);
        BeginMember(parent, localName);
        member.depth = parent.depth + 1;
        member.opensArray = state == CollectionState_Starting;
    }
    return member;
}

bool CJsonTextWriter::WritePlainMember(CXmlWriterContext* parentContext,
                                       const std::string& localName,
                                       const std::string& namespaceUri) {
    Frame& parent = m_frames.back();
    // Arrays to open, continue or close, and a member after a value, take the general path.
    if (parent.arrayOpen || (!parent.objectOpen && parent.valueWritten) ||
        parentContext->GetCollectionState() == CollectionState_Starting)
        return false;
    const std::string* prefix = nullptr;
    if (m_level == JsonRoundTrip_Full && !namespaceUri.empty() &&
        namespaceUri != parentContext->GetDefaultNamespace()) {
        prefix = parentContext->FindPrefix(namespaceUri);
        if (!prefix || prefix->empty() || !IsPlainName(*prefix)) return false;
    }
    if (!IsPlainName(localName)) return false;
    // The separator (or the brace that opens the parent's object), the line end, the
    // indentation and the quoted name: one piece.
    const std::size_t lineEndLength = m_formatted ? m_lineEnd.size() : 0;
    const std::size_t indentLength = m_formatted ? IndentLength(parent.depth + 1) : 0;
    const std::size_t nameLength =
        prefix ? prefix->size() + 1 + localName.size() : localName.size();
    const std::size_t length = 1 + lineEndLength + indentLength + 1 + nameLength + 3;
    char* out = m_stream->Room(length);
    const bool spilled = out == nullptr;
    if (spilled) {
        m_markup.resize(length);
        out = &m_markup[0];
    }
    char* p = out;
    *p++ = parent.objectOpen ? ',' : '{';
    parent.objectOpen = true;
    p = detail::CopyShort(p, m_lineEnd.data(), lineEndLength);
    p = detail::CopyShort(p, m_indentRun.data(), indentLength);
    *p++ = '"';
    if (prefix) {
        p = detail::CopyShort(p, prefix->data(), prefix->size());
        *p++ = ':';
    }
    p = detail::CopyShort(p, localName.data(), localName.size());
    detail::CopyShort(p, "\": ", 3);
    if (spilled)
        m_stream->Write(out, length);
    else
        m_stream->Commit(length);
    return true;
}

void CJsonTextWriter::OpenArray(CXmlWriterContext* parentContext, std::uint32_t& depth) {
    parentContext->SetCollectionState(CollectionState_Opened);
    m_frames.back().arrayOpen = true;
    m_stream->Write('[');
    if (m_formatted) {
        WriteLineEnd();
        WriteIndent(depth + 1);
    }
    ++depth;
}

void CJsonTextWriter::WriteSimpleElement(const std::string& localName,
                                         const std::string& namespaceUri, const std::string& text,
                                         ItemType type, bool isDefaultValue) {
    CXmlWriterContext* parentContext = GetCurrentContext();
    // The document element declares the document's namespaces: the general path does that.
    if (!parentContext || m_frames.empty())
        return CXmlWriter::WriteSimpleElement(localName, namespaceUri, text, type, isDefaultValue);
    if (WritePlainMember(parentContext, localName, namespaceUri)) {
        // A member of its own with nothing but text: the text is its value.
        WriteTypedValue(text, type);
        CheckFlush();
        return;
    }
    MemberStart member = BeginElementMember(parentContext, localName);
    if (m_formatted) WriteIndent(member.depth);
    if (member.writeName) {
        // The element would share its parent's scope, so the parent's bindings answer.
        if (m_level == JsonRoundTrip_Full && !namespaceUri.empty() &&
            namespaceUri != parentContext->GetDefaultNamespace()) {
            const std::string* prefix = parentContext->FindPrefix(namespaceUri);
            if (!prefix || prefix->empty())
                throw CTsException(FormatString(msg::kUnknownNamespace, namespaceUri.c_str()));
            WriteMemberName(*prefix, localName);
        } else {
            WriteMemberName(std::string(), localName);
        }
    }
    if (member.opensArray) OpenArray(parentContext, member.depth);
    // A member of its own with nothing but text: the text is its value.
    WriteTypedValue(text, type);
    CheckFlush();
}

void CJsonTextWriter::WriteText(const std::string& text, ItemType type, bool /*isDefaultValue*/) {
    if (m_frames.empty()) return;
    Frame& frame = m_frames.back();
    if (!frame.objectOpen && !frame.valueWritten) {
        // A simple member: the text is the member's value itself.
        WriteTypedValue(text, type);
        frame.valueWritten = true;
    } else if (!text.empty()) {
        // Empty text beside members would add a member that carries nothing, so it is left
        // out; any other text becomes the "#text" member.
        if (!frame.objectOpen) throw CTsException(FormatString(msg::kMemberAfterValue, "#text"));
        if (frame.arrayOpen) CloseArray(frame);
        m_stream->Write(',');
        if (m_formatted) {
            WriteLineEnd();
            WriteIndent(frame.depth + 1);
        }
        m_stream->Write(m_level == JsonRoundTrip_None ? "\"\": " : "\"#text\": ");
        WriteTypedValue(text, type);
    }
    CheckFlush();
}

void CJsonTextWriter::EndElement() {
    if (m_frames.empty()) return;
    Frame& frame = m_frames.back();
    if (frame.arrayOpen) CloseArray(frame);
    if (frame.objectOpen) {
        if (m_formatted) {
            WriteLineEnd();
            WriteIndent(frame.depth);
        }
        m_stream->Write('}');
    } else if (!frame.valueWritten) {
        // No text, attributes or children: a member name needs a value, and null reads back
        // as the same empty element.
        m_stream->Write("null");
    }
    m_frames.pop_back();
    PopContext();
    CheckFlush();
}

void CJsonTextWriter::AddAttribute(const std::string& localName, const std::string& namespaceUri,
                                   const std::string& value, ItemType type) {
    if (m_frames.empty()) return;
    Frame& frame = m_frames.back();
    if (frame.arrayOpen) CloseArray(frame);
    BeginMember(frame, localName);
    if (m_formatted) WriteIndent(frame.depth + 1);
    if (m_level == JsonRoundTrip_Full && !namespaceUri.empty()) {
        const std::string& prefix = GetCurrentContext()->LookupPrefix(namespaceUri);
        if (prefix.empty())
            throw CTsException(FormatString(msg::kUnknownNamespace, namespaceUri.c_str()));
        WriteMemberName("@" + prefix, localName);
    } else if (m_level == JsonRoundTrip_None) {
        WriteMemberName(std::string(), localName);
    } else {
        m_stream->Write("\"@");
        WriteEscaped(localName);
        m_stream->Write("\": ");
    }
    WriteTypedValue(value, type);
    CheckFlush();
}

void CJsonTextWriter::AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                                 ItemType type) {
    if (m_level != JsonRoundTrip_Full || m_frames.empty()) return;
    const CXmlWriterContext* context = GetCurrentContext();
    std::string value = typeName;
    if (!typeNamespace.empty() && typeNamespace != context->GetDefaultNamespace()) {
        const std::string& prefix = context->LookupPrefix(typeNamespace);
        if (prefix.empty())
            throw CTsException(FormatString(msg::kUnknownNamespace, typeNamespace.c_str()));
        value = prefix + ":" + typeName;
    }
    AddAttribute("type", detail::kXsiNamespaceUri, value, type);
}

void CJsonTextWriter::AddXsiNil() {}

void CJsonTextWriter::BeginMember(Frame& frame, const std::string& name) {
    if (!frame.objectOpen) {
        if (frame.valueWritten)
            throw CTsException(FormatString(msg::kMemberAfterValue, name.c_str()));
        m_stream->Write('{');
        frame.objectOpen = true;
    } else {
        m_stream->Write(',');
    }
    if (m_formatted) WriteLineEnd();
}

void CJsonTextWriter::CloseArray(Frame& frame) {
    if (m_formatted) {
        WriteLineEnd();
        WriteIndent(frame.depth + 1);
    }
    m_stream->Write(']');
    frame.arrayOpen = false;
}

void CJsonTextWriter::WriteMemberName(const std::string& prefix, const std::string& localName) {
    m_stream->Write('"');
    if (!prefix.empty()) {
        WriteEscaped(prefix);
        m_stream->Write(':');
    }
    WriteEscaped(localName);
    m_stream->Write("\": ", 3);
}

void CJsonTextWriter::WriteNamespaceMember(Frame& frame, const std::string& prefix,
                                           const std::string& uri) {
    BeginMember(frame, "@xmlns");
    if (m_formatted) WriteIndent(frame.depth + 1);
    m_stream->Write("\"@xmlns");
    if (!prefix.empty()) {
        m_stream->Write(':');
        WriteEscaped(prefix);
    }
    m_stream->Write("\": \"", 4);
    WriteEscaped(uri);
    m_stream->Write('"');
}

void CJsonTextWriter::WriteTypedValue(const std::string& text, ItemType type) {
    // Numbers and booleans go bare, unless their text is no JSON literal (INF, NaN, an
    // empty value): RFC 8259 has no such numbers, so they are written as strings.
    if (IsBareKind(type) && detail::IsJsonLiteral(text.c_str())) {
        m_stream->Write(text);
        return;
    }
    m_stream->Write('"');
    WriteEscaped(text);
    m_stream->Write('"');
}

void CJsonTextWriter::WriteEscaped(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char* run = text.c_str();  // start of the bytes that pass unchanged
    const char* p = run;
    while (true) {
        while (!kEscape.escape[static_cast<unsigned char>(*p)]) ++p;
        if (p > run) m_stream->Write(run, static_cast<std::size_t>(p - run));
        const char c = *p;
        if (c == '\0') return;
        switch (c) {
            case '"':
                m_stream->Write("\\\"", 2);
                break;
            case '\\':
                m_stream->Write("\\\\", 2);
                break;
            case '\b':
                m_stream->Write("\\b", 2);
                break;
            case '\t':
                m_stream->Write("\\t", 2);
                break;
            case '\f':
                m_stream->Write("\\f", 2);
                break;
            case '\n':
                m_stream->Write("\\n", 2);
                break;
            case '\r':
                m_stream->Write("\\r", 2);
                break;
            default: {
                const auto byte = static_cast<unsigned char>(c);
                const char escape[6] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 15]};
                m_stream->Write(escape, sizeof(escape));
                break;
            }
        }
        run = ++p;
    }
}

void CJsonTextWriter::WriteIndent(std::uint32_t depth) {
    m_stream->Write(m_indentRun.data(), IndentLength(depth));
}

std::size_t CJsonTextWriter::IndentLength(std::uint32_t depth) {
    const std::size_t length = static_cast<std::size_t>(depth) * m_indent.size();
    while (m_indentRun.size() < length) m_indentRun += m_indent;
    return length;
}

void CJsonTextWriter::CheckFlush() {
    if (m_stream->GetLength() >= kFlushThreshold) m_stream->Flush();
}

}  // namespace Tessel16
