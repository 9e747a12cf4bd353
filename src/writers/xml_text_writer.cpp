// xml_text_writer.cpp: XML text syntax over the shared element stack. Output is 8-bit text;
// the stream converts it to the document encoding when it leaves the buffer, so escaping
// here only has to care about the ASCII markup characters.
#include "tessel16/xml_text_writer.h"

#include <cstring>

#include "tessel16/exception.h"
#include "writers/line_end.h"
#include "writers/markup.h"
#include "writers/writer_messages.h"

namespace Tessel16 {

namespace {
// Writers hand their text on once this much is pending, so direct file output streams large
// documents in chunk-sized writes.
constexpr std::uint32_t kFlushThreshold = 4096;
constexpr const char kCDataStart[] = "<![CDATA[";

// Which bytes WriteEscaped has to act on, as bit flags per byte value: the zero terminator,
// line ends and markup characters; the double quote only inside attribute values.
constexpr unsigned char kEscapeInText = 1;
constexpr unsigned char kEscapeInAttribute = 2;

struct EscapeFlags {
    unsigned char flags[256] = {};
    constexpr EscapeFlags() {
        for (unsigned char c : {'\0', '\n', '\r', '&', '<', '>'})
            flags[c] = kEscapeInText | kEscapeInAttribute;
        flags[static_cast<unsigned char>('"')] = kEscapeInAttribute;
    }
    constexpr unsigned char operator[](unsigned char c) const { return flags[c]; }
};
constexpr EscapeFlags kEscapeFlags;

// A name must parse back as the same name. The ASCII characters are judged by the XML Name
// production; bytes above 0x7F are left to the encoding (UTF-8 names come from a parser or
// from the caller, and a single-byte code page has no other way to spell them). A name the
// code page could not hold arrives as '?', which is caught here rather than written as
// markup no parser accepts. Every element and attribute name passes here, so the verdict
// per byte is a table lookup.
constexpr unsigned char kNameStart = 1;
constexpr unsigned char kNameChar = 2;

struct NameFlags {
    unsigned char flags[256] = {};
    constexpr NameFlags() {
        for (int c = 0x80; c < 256; ++c) flags[c] = kNameStart | kNameChar;
        for (int c = 'a'; c <= 'z'; ++c) flags[c] = kNameStart | kNameChar;
        for (int c = 'A'; c <= 'Z'; ++c) flags[c] = kNameStart | kNameChar;
        for (int c = '0'; c <= '9'; ++c) flags[c] = kNameChar;
        flags[static_cast<unsigned char>('_')] = kNameStart | kNameChar;
        flags[static_cast<unsigned char>(':')] = kNameStart | kNameChar;
        flags[static_cast<unsigned char>('-')] = kNameChar;
        flags[static_cast<unsigned char>('.')] = kNameChar;
    }
};
constexpr NameFlags kNameFlags;

[[noreturn]] void ThrowInvalidXmlName(const std::string& name) {
    throw CTsException(FormatString(detail::kMsgInvalidXmlName, name.c_str()));
}

inline void RequireXmlName(const std::string& name) {
    const auto* p = reinterpret_cast<const unsigned char*>(name.data());
    const std::size_t size = name.size();
    const bool start = size != 0 && (kNameFlags.flags[p[0]] & kNameStart) != 0;
    // The name-character bit survives only if every later byte carries it.
    unsigned char rest = kNameChar;
    for (std::size_t i = 1; i < size; ++i) rest &= kNameFlags.flags[p[i]];
    if (!start || !rest) ThrowInvalidXmlName(name);
}

using detail::TextLength;
inline char* Copy(char* out, const char* text, std::size_t length) {
    return detail::CopyShort(out, text, length);
}
}  // namespace

inline char* CXmlTextWriter::QName::CopyTo(char* out) const {
    if (prefix) {
        out = Copy(out, prefix, prefixLength);
        *out++ = ':';
    }
    return Copy(out, local, localLength);
}

CXmlTextWriter::CXmlTextWriter(CTextStream* stream)
    : CXmlWriter("CXmlTextWriter"), m_stream(stream) {}

CXmlTextWriter::~CXmlTextWriter() = default;

void CXmlTextWriter::StartDocument() {
    CXmlWriter::StartDocument();
    m_stream->Open();
}

void CXmlTextWriter::EndDocument() {
    m_stream->Close();
    CXmlWriter::EndDocument();
}

void CXmlTextWriter::SetEOLType(EOLType eol) {
    m_lineEnd = detail::LineEndOf(eol);
    m_eolType = eol;
}

void CXmlTextWriter::WriteXmlDeclaration() {
    m_stream->Write("<?xml version=\"1.0\"");
    switch (m_stream->GetEncoding()) {
        case XmlEncoding_UTF8:
            m_stream->Write(" encoding=\"UTF-8\"");
            break;
        case XmlEncoding_UTF16:
            m_stream->Write(" encoding=\"UTF-16\"");
            break;
        default:
            // No declared encoding: in-memory text, or UTF-16 the caller wants undeclared.
            break;
    }
    m_stream->Write("?>");
    WriteLineEnd();
    CheckFlush();
}

void CXmlTextWriter::WriteComment(const std::string& text) {
    m_stream->Write("<!--");
    WriteEscaped(text.c_str(), false);
    m_stream->Write("-->");
    WriteLineEnd();
    CheckFlush();
}

void CXmlTextWriter::WriteProcessingInstruction(const std::string& text) {
    m_stream->Write(text);
    WriteLineEnd();
    WriteLineEnd();
    CheckFlush();
}

void CXmlTextWriter::WriteInLineSchema(const std::string& text) {
    m_stream->Write(' ');
    WriteLineEnd();
    m_stream->Write(text);
    WriteLineEnd();
    CheckFlush();
}

void CXmlTextWriter::StartElement(const std::string& localName, const std::string& namespaceUri) {
    CXmlWriterContext* parent = GetCurrentContext();
    const bool isRoot = parent == nullptr;
    if (parent) OpenChildOf(parent);
    if (m_checkNames) RequireXmlName(localName);
    CXmlWriterContext* context = PushContext(localName, namespaceUri);
    // An element without a namespace stays unprefixed even under a default namespace;
    // xmlns="" is never written.
    const std::string* prefix = nullptr;
    bool declare = false;
    if (!namespaceUri.empty() && namespaceUri != context->GetDefaultNamespace())
        prefix = &EnsurePrefix(namespaceUri, declare);
    const QName name = NameOf(prefix, localName, m_checkNames);
    const std::size_t indentLength = m_formatted ? IndentLength(context->GetDepth()) : 0;
    const std::size_t length = indentLength + 1 + name.Length();
    char* out = BeginMarkup(length);
    out = Copy(out, m_indentRun.data(), indentLength);
    *out++ = '<';
    name.CopyTo(out);
    EndMarkup(length);
    if (declare) {
        m_stream->Write(" xmlns:", 7);
        m_stream->Write(*prefix);
        m_stream->Write("=\"", 2);
        m_stream->Write(namespaceUri);
        m_stream->Write('"');
    }
    if (isRoot) {
        // Only what the document held when the root started is declared, on the root.
        if (!GetDocumentDefaultNamespace().empty()) {
            m_stream->Write(" xmlns=\"", 8);
            m_stream->Write(GetDocumentDefaultNamespace());
            m_stream->Write('"');
        }
        for (const auto& entry : GetDocumentNamespaceMap()) {
            if (entry.first == detail::kXmlNamespaceUri) continue;
            m_stream->Write(" xmlns:", 7);
            m_stream->Write(entry.second);
            m_stream->Write("=\"", 2);
            m_stream->Write(entry.first);
            m_stream->Write('"');
        }
    }
    CheckFlush();
}

void CXmlTextWriter::WriteText(const std::string& text, ItemType /*type*/, bool isDefaultValue) {
    // Empty text leaves the start tag open, so the element still closes with "/>".
    if (text.empty()) return;
    if (isDefaultValue && !m_writeDefaultValues) return;
    CXmlWriterContext* context = GetCurrentContext();
    if (context && context->IsStartTagOpen()) {
        m_stream->Write('>');
        context->SetStartTagOpen(false);
    }
    WriteTextContent(text);
    CheckFlush();
}

void CXmlTextWriter::WriteTextContent(const std::string& text) {
    constexpr std::size_t kCDataStartLength = sizeof(kCDataStart) - 1;
    if (text.size() >= kCDataStartLength &&
        std::memcmp(text.data(), kCDataStart, kCDataStartLength) == 0)
        m_stream->Write(text);
    else
        WriteEscaped(text.c_str(), false);
}

void CXmlTextWriter::WriteSimpleElement(const std::string& localName,
                                        const std::string& namespaceUri, const std::string& text,
                                        ItemType type, bool isDefaultValue) {
    CXmlWriterContext* parent = GetCurrentContext();
    // The document element declares the document's namespaces: the general path does that.
    if (!parent)
        return CXmlWriter::WriteSimpleElement(localName, namespaceUri, text, type, isDefaultValue);
    OpenChildOf(parent);
    if (m_checkNames) RequireXmlName(localName);
    // The element would inherit its parent's scope; a namespace it has to declare is bound
    // only for itself, so nothing is added to that scope.
    const std::string* prefix = nullptr;
    std::string declared;
    if (!namespaceUri.empty() && namespaceUri != parent->GetDefaultNamespace()) {
        prefix = parent->FindPrefix(namespaceUri);
        if (!prefix) {
            declared = AllocatePrefix(parent->GetNamespaceMap());
            prefix = &declared;
        }
    }
    const QName name = NameOf(prefix, localName, m_checkNames);
    const std::size_t indentLength = m_formatted ? IndentLength(parent->GetDepth() + 1) : 0;
    const std::size_t lineEndLength = m_formatted ? m_lineEnd.size() : 0;
    const bool hasText = !text.empty() && (!isDefaultValue || m_writeDefaultValues);
    // The start tag, and with it the rest of the element when it has no text and no
    // declaration: one piece of markup.
    const bool closesHere = declared.empty();
    const std::size_t closing = !closesHere ? 0 : hasText ? 1 : 2 + lineEndLength;
    std::size_t length = indentLength + 1 + name.Length() + closing;
    char* out = BeginMarkup(length);
    out = Copy(out, m_indentRun.data(), indentLength);
    *out++ = '<';
    out = name.CopyTo(out);
    if (closesHere) out = hasText ? Copy(out, ">", 1) : CloseEmpty(out, lineEndLength);
    EndMarkup(length);
    if (!closesHere) {
        m_stream->Write(" xmlns:", 7);
        m_stream->Write(declared);
        m_stream->Write("=\"", 2);
        m_stream->Write(namespaceUri);
        m_stream->Write('"');
        if (hasText) {
            m_stream->Write('>');
        } else {
            length = 2 + lineEndLength;
            CloseEmpty(BeginMarkup(length), lineEndLength);
            EndMarkup(length);
        }
    }
    if (hasText) {
        WriteTextContent(text);
        length = 3 + name.Length() + lineEndLength;
        out = BeginMarkup(length);
        out = Copy(out, "</", 2);
        out = name.CopyTo(out);
        *out++ = '>';
        Copy(out, m_lineEnd.data(), lineEndLength);
        EndMarkup(length);
    }
    CheckFlush();
}

void CXmlTextWriter::EndElement() {
    CXmlWriterContext* context = GetCurrentContext();
    if (!context) return;
    const std::size_t lineEndLength = m_formatted ? m_lineEnd.size() : 0;
    if (context->IsStartTagOpen()) {
        const std::size_t length = 2 + lineEndLength;
        CloseEmpty(BeginMarkup(length), lineEndLength);
        EndMarkup(length);
    } else {
        const std::size_t indentLength =
            m_formatted && context->GetChildCount() > 0 ? IndentLength(context->GetDepth()) : 0;
        const std::string& namespaceUri = context->GetNamespace();
        const std::string* prefix = nullptr;
        if (!namespaceUri.empty() && namespaceUri != context->GetDefaultNamespace())
            prefix = &context->LookupPrefix(namespaceUri);
        // Measured again: the names check may have been switched since the start tag.
        const QName name = NameOf(prefix, context->GetLocalName(), false);
        const std::size_t length = indentLength + 3 + name.Length() + lineEndLength;
        char* out = BeginMarkup(length);
        out = Copy(out, m_indentRun.data(), indentLength);
        out = Copy(out, "</", 2);
        out = name.CopyTo(out);
        *out++ = '>';
        Copy(out, m_lineEnd.data(), lineEndLength);
        EndMarkup(length);
    }
    CheckFlush();
    PopContext();
}

void CXmlTextWriter::AddAttribute(const std::string& localName, const std::string& namespaceUri,
                                  const std::string& value, ItemType /*type*/) {
    RequireOpenStartTag();
    if (m_checkNames) RequireXmlName(localName);
    // Attributes ignore the default namespace: a namespaced attribute always has a prefix.
    const std::string* prefix = nullptr;
    bool declare = false;
    if (!namespaceUri.empty()) prefix = &EnsurePrefix(namespaceUri, declare);
    if (declare) {
        // The declaration goes first, ahead of the attribute that needs it.
        m_stream->Write(" xmlns:", 7);
        m_stream->Write(*prefix);
        m_stream->Write("=\"", 2);
        m_stream->Write(namespaceUri);
        m_stream->Write('"');
    }
    const QName name = NameOf(prefix, localName, m_checkNames);
    const std::size_t length = 3 + name.Length();
    char* out = BeginMarkup(length);
    *out++ = ' ';
    out = name.CopyTo(out);
    Copy(out, "=\"", 2);
    EndMarkup(length);
    WriteEscaped(value.c_str(), true);
    m_stream->Write('"');
    CheckFlush();
}

void CXmlTextWriter::AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                                ItemType type) {
    RequireOpenStartTag();
    CXmlWriterContext* context = GetCurrentContext();
    std::string value;
    if (!typeNamespace.empty() && typeNamespace != context->GetDefaultNamespace()) {
        bool declare = false;
        const std::string& prefix = EnsurePrefix(typeNamespace, declare);
        if (declare) {
            m_stream->Write(" xmlns:", 7);
            m_stream->Write(prefix);
            m_stream->Write("=\"", 2);
            m_stream->Write(typeNamespace);
            m_stream->Write("\" ", 2);
        }
        value = prefix + ":" + typeName;
    } else {
        value = typeName;
    }
    AddAttribute("type", detail::kXsiNamespaceUri, value, type);
}

void CXmlTextWriter::AddXsiNil() {
    RequireOpenStartTag();
    AddAttribute("nil", detail::kXsiNamespaceUri, "true", ItemType_boolean);
}

void CXmlTextWriter::WriteRaw(const std::string& text) {
    m_stream->Write(text);
    if (m_formatted) WriteLineEnd();
    // Checked here too, so a large untyped fragment does not stay buffered in file output.
    CheckFlush();
}

void CXmlTextWriter::PrepareForRawChild() {
    CXmlWriterContext* context = GetCurrentContext();
    if (!context) return;
    context->AddChild();
    if (context->IsStartTagOpen()) {
        m_stream->Write('>');
        context->SetStartTagOpen(false);
        if (m_formatted) WriteLineEnd();
    }
}

void CXmlTextWriter::WriteEscaped(const char* text, bool attributeMode) {
    const unsigned char mask = attributeMode ? kEscapeInAttribute : kEscapeInText;
    const char* run = text;  // start of the bytes that pass unchanged
    const char* p = text;
    while (true) {
        // Most text needs no escaping at all: skip to the next byte that does (the zero
        // terminator always does) and copy the run in one piece.
        while (!(kEscapeFlags[static_cast<unsigned char>(*p)] & mask)) ++p;
        if (p > run) m_stream->Write(run, static_cast<std::size_t>(p - run));
        const char c = *p;
        if (c == '\0') return;
        switch (c) {
            case '\n':
                if (attributeMode) {
                    m_stream->Write("&#xA;", 5);
                } else if (m_eolType == EOLType_CRLF) {
                    m_stream->Write("\r\n", 2);
                } else if (m_eolType == EOLType_LF) {
                    m_stream->Write('\n');
                } else {
                    throw CTsException(detail::kMsgInvalidEolType);
                }
                break;
            case '\r':
                // Line ends are normalised to the chosen kind, so stray CRs are dropped.
                break;
            case '"':
                m_stream->Write("&quot;", 6);
                break;
            case '&':
                m_stream->Write("&amp;", 5);
                break;
            case '<':
                m_stream->Write("&lt;", 4);
                break;
            default:  // '>'
                m_stream->Write("&gt;", 4);
                break;
        }
        run = ++p;
    }
}

void CXmlTextWriter::WriteIndent(std::uint32_t depth) {
    m_stream->Write(m_indentRun.data(), IndentLength(depth));
}

void CXmlTextWriter::GrowIndentRun(std::size_t length) {
    while (m_indentRun.size() < length) m_indentRun += m_indent;
}

char* CXmlTextWriter::SpillMarkup(std::size_t length) {
    m_markup.resize(length);
    m_markupSpilled = true;
    return &m_markup[0];
}

char* CXmlTextWriter::CloseEmpty(char* out, std::size_t lineEndLength) const {
    out = Copy(out, "/>", 2);
    return Copy(out, m_lineEnd.data(), lineEndLength);
}

CXmlTextWriter::QName CXmlTextWriter::NameOf(const std::string* prefix,
                                             const std::string& localName, bool checked) const {
    return QName{prefix ? prefix->data() : nullptr, prefix ? TextLength(*prefix) : 0,
                 localName.data(), checked ? localName.size() : TextLength(localName)};
}

void CXmlTextWriter::OpenChildOf(CXmlWriterContext* parent) {
    parent->AddChild();
    if (parent->IsStartTagOpen()) {
        m_stream->Write('>');
        parent->SetStartTagOpen(false);
        if (m_formatted) WriteLineEnd();
    }
}

void CXmlTextWriter::CheckFlush() {
    if (m_stream->GetLength() >= kFlushThreshold) m_stream->Flush();
}

void CXmlTextWriter::RequireOpenStartTag() const {
    const CXmlWriterContext* context = GetCurrentContext();
    if (!context || !context->IsStartTagOpen())
        throw CTsException(detail::kMsgAttributesBeforeElements);
}

const std::string& CXmlTextWriter::EnsurePrefix(const std::string& namespaceUri, bool& declare) {
    CXmlWriterContext* context = GetCurrentContext();
    if (const std::string* found = context->FindPrefix(namespaceUri)) {
        declare = false;
        return *found;
    }
    context->AddNamespace(namespaceUri, AllocatePrefix(context->GetNamespaceMap()));
    declare = true;
    return context->LookupPrefix(namespaceUri);
}

}  // namespace Tessel16
