// xml_text_writer.cpp: XML text syntax over the shared element stack. Output is 8-bit text;
// the stream converts it to the document encoding when it leaves the buffer, so escaping
// here only has to care about the ASCII markup characters.
#include "tessel16/xml_text_writer.h"

#include <cstring>

#include "tessel16/exception.h"
#include "writers/writer_messages.h"

namespace Tessel16 {

namespace {
// Writers hand their text on once this much is pending, so direct file output streams large
// documents in chunk-sized writes.
constexpr std::uint32_t kFlushThreshold = 4096;
constexpr const char kCDataStart[] = "<![CDATA[";
}  // namespace

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
    switch (eol) {
        case EOLType_CRLF:
            m_lineEnd = "\r\n";
            break;
        case EOLType_LF:
            m_lineEnd = "\n";
            break;
        default:
            throw CTsException(detail::kMsgInvalidEolType);
    }
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
    if (parent) {
        parent->AddChild();
        if (parent->IsStartTagOpen()) {
            m_stream->Write('>');
            parent->SetStartTagOpen(false);
            if (m_formatted) WriteLineEnd();
        }
    }
    CXmlWriterContext* context = PushContext(localName, namespaceUri);
    if (m_formatted) WriteIndent(context->GetDepth());
    m_stream->Write('<');
    if (!namespaceUri.empty() && namespaceUri != context->GetDefaultNamespace()) {
        const bool declare = EnsurePrefix(namespaceUri);
        const std::string& prefix = context->LookupPrefix(namespaceUri);
        m_stream->Write(prefix);
        m_stream->Write(':');
        m_stream->Write(localName);
        if (declare) {
            m_stream->Write(" xmlns:");
            m_stream->Write(prefix);
            m_stream->Write("=\"");
            m_stream->Write(namespaceUri);
            m_stream->Write('"');
        }
    } else {
        // An element without a namespace stays unprefixed even under a default namespace;
        // xmlns="" is never written.
        m_stream->Write(localName);
    }
    if (isRoot) {
        // Only what the document held when the root started is declared, on the root.
        if (!GetDocumentDefaultNamespace().empty()) {
            m_stream->Write(" xmlns=\"");
            m_stream->Write(GetDocumentDefaultNamespace());
            m_stream->Write('"');
        }
        for (const auto& entry : GetDocumentNamespaceMap()) {
            if (entry.first == detail::kXmlNamespaceUri) continue;
            m_stream->Write(" xmlns:");
            m_stream->Write(entry.second);
            m_stream->Write("=\"");
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
    if (text.compare(0, sizeof(kCDataStart) - 1, kCDataStart) == 0)
        m_stream->Write(text);
    else
        WriteEscaped(text.c_str(), false);
    CheckFlush();
}

void CXmlTextWriter::EndElement() {
    CXmlWriterContext* context = GetCurrentContext();
    if (!context) return;
    if (context->IsStartTagOpen()) {
        m_stream->Write("/>");
    } else {
        if (m_formatted && context->GetChildCount() > 0) WriteIndent(context->GetDepth());
        m_stream->Write("</");
        const std::string& namespaceUri = context->GetNamespace();
        if (!namespaceUri.empty() && namespaceUri != context->GetDefaultNamespace()) {
            m_stream->Write(context->LookupPrefix(namespaceUri));
            m_stream->Write(':');
        }
        m_stream->Write(context->GetLocalName());
        m_stream->Write('>');
    }
    if (m_formatted) WriteLineEnd();
    CheckFlush();
    PopContext();
}

void CXmlTextWriter::AddAttribute(const std::string& localName, const std::string& namespaceUri,
                                  const std::string& value, ItemType /*type*/) {
    RequireOpenStartTag();
    m_stream->Write(' ');
    // Attributes ignore the default namespace: a namespaced attribute always has a prefix.
    if (!namespaceUri.empty()) {
        const bool declare = EnsurePrefix(namespaceUri);
        const std::string& prefix = GetCurrentContext()->LookupPrefix(namespaceUri);
        if (declare) {
            m_stream->Write("xmlns:");
            m_stream->Write(prefix);
            m_stream->Write("=\"");
            m_stream->Write(namespaceUri);
            m_stream->Write("\" ");
        }
        m_stream->Write(prefix);
        m_stream->Write(':');
    }
    m_stream->Write(localName);
    m_stream->Write("=\"");
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
        const bool declare = EnsurePrefix(typeNamespace);
        const std::string& prefix = context->LookupPrefix(typeNamespace);
        if (declare) {
            m_stream->Write(" xmlns:");
            m_stream->Write(prefix);
            m_stream->Write("=\"");
            m_stream->Write(typeNamespace);
            m_stream->Write("\" ");
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
    const char* run = text;  // start of the bytes that pass unchanged
    for (const char* p = text;; ++p) {
        const char c = *p;
        const char* replacement = nullptr;
        switch (c) {
            case '\0':
                break;
            case '\n':
                if (attributeMode) {
                    replacement = "&#xA;";
                } else if (m_eolType == EOLType_CRLF) {
                    replacement = "\r\n";
                } else if (m_eolType == EOLType_LF) {
                    replacement = "\n";
                } else {
                    throw CTsException(detail::kMsgInvalidEolType);
                }
                break;
            case '\r':
                // Line ends are normalised to the chosen kind, so stray CRs are dropped.
                replacement = "";
                break;
            case '"':
                if (attributeMode) replacement = "&quot;";
                break;
            case '&':
                replacement = "&amp;";
                break;
            case '<':
                replacement = "&lt;";
                break;
            case '>':
                replacement = "&gt;";
                break;
            default:
                break;
        }
        if (c == '\0' || replacement) {
            if (p > run) m_stream->Write(run, static_cast<std::size_t>(p - run));
            if (c == '\0') return;
            m_stream->Write(replacement);
            run = p + 1;
        }
    }
}

void CXmlTextWriter::WriteIndent(std::uint32_t depth) {
    for (std::uint32_t i = 0; i < depth; ++i) m_stream->Write(m_indent);
}

void CXmlTextWriter::CheckFlush() {
    if (m_stream->GetLength() >= kFlushThreshold) m_stream->Flush();
}

void CXmlTextWriter::RequireOpenStartTag() const {
    const CXmlWriterContext* context = GetCurrentContext();
    if (!context || !context->IsStartTagOpen())
        throw CTsException(detail::kMsgAttributesBeforeElements);
}

bool CXmlTextWriter::EnsurePrefix(const std::string& namespaceUri) {
    CXmlWriterContext* context = GetCurrentContext();
    const NamespaceMap& map = context->GetNamespaceMap();
    if (map.find(namespaceUri) != map.end()) return false;
    context->AddNamespace(namespaceUri, AllocatePrefix(map));
    return true;
}

}  // namespace Tessel16
