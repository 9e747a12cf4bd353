// expat_reader.cpp: the expat handlers that turn parse events into tree nodes. When the
// library's 8-bit text is UTF-8 (or ASCIIOnly is on) expat's bytes go into the tree as they
// are; otherwise names, values and text pass through the UTF-8-to-local conversion.
#include "xml/expat_reader.h"

#include <climits>
#include <cstring>

#include "conversion/char_encoding.h"
#include "tessel16/exception.h"
#include "xml/document_store.h"
#include "xml/xml_messages.h"

namespace Tessel16 {

namespace {
// expat takes an int length; larger inputs are fed in pieces of this size.
constexpr std::size_t kMaxPiece = static_cast<std::size_t>(INT_MAX / 2 + 1);
constexpr char kNamespaceSeparator = '|';
}  // namespace

CExpatReader::CExpatReader(CXmlDocument* document)
    : CInstanceMonitor("CExpatReader"), m_document(document) {}

CExpatReader::~CExpatReader() { FreeParser(); }

void CExpatReader::FreeParser() {
    if (m_parser) {
        XML_ParserFree(m_parser);
        m_parser = nullptr;
    }
}

void CExpatReader::Init(bool stripCData, const char* encoding) {
    FreeParser();
    m_localIsUtf8 = detail::LocalIsUtf8();
    m_split = m_document->m_schemaType != 2;
    // Without namespace processing names arrive as written (prefix included) and xmlns
    // attributes arrive as ordinary attributes.
    m_parser = m_split ? XML_ParserCreateNS(encoding, kNamespaceSeparator)
                       : XML_ParserCreate(encoding);
    if (!m_parser) throw std::bad_alloc();
    XML_SetUserData(m_parser, this);
    XML_SetElementHandler(m_parser, &OnStartElement, &OnEndElement);
    XML_SetNamespaceDeclHandler(m_parser, &OnStartNamespace, nullptr);
    XML_SetCharacterDataHandler(m_parser, &OnCharacterData);
    // Keeping the section markers in the text lets the writer emit the section unescaped
    // again, so CDATA survives a read and a write.
    if (!stripCData) XML_SetCdataSectionHandler(m_parser, &OnStartCData, &OnEndCData);
}

void CExpatReader::Parse(const unsigned char* data, std::size_t length, bool isFinal) {
    if (!m_parser) return;
    do {
        std::size_t piece = length < kMaxPiece ? length : kMaxPiece;
        bool last = isFinal && piece == length;
        XML_Status status = XML_Parse(m_parser, reinterpret_cast<const char*>(data),
                                      static_cast<int>(piece), last ? XML_TRUE : XML_FALSE);
        if (m_error) {
            std::exception_ptr error = m_error;
            m_error = nullptr;
            FreeParser();
            std::rethrow_exception(error);
        }
        if (status != XML_STATUS_OK) {
            std::string message =
                FormatString(detail::XmlMessages::kParseError,
                             XML_ErrorString(XML_GetErrorCode(m_parser)),
                             static_cast<int>(XML_GetCurrentLineNumber(m_parser)));
            FreeParser();
            throw CTsException(message);
        }
        data += piece;
        length -= piece;
    } while (length > 0);
    if (isFinal) FreeParser();
}

void CExpatReader::Fail(std::exception_ptr error) {
    if (!m_error) m_error = error;
    XML_StopParser(m_parser, XML_FALSE);
}

CExpatReader::ExpandedName CExpatReader::Expand(const char* name) {
    std::string_view raw(name);
    auto found = m_names.find(raw);
    if (found != m_names.end()) return found->second;

    const char* text = raw.data();
    std::size_t length = raw.size();
    if (!m_localIsUtf8) {
        m_scratch = detail::Utf8ToLocal(raw.data(), raw.size());
        text = m_scratch.data();
        length = m_scratch.size();
    }
    // The separator cannot occur in a converted name either: it is ASCII and names never
    // contain it, so splitting after conversion is safe.
    const char* bar = m_split ? static_cast<const char*>(std::memchr(text, kNamespaceSeparator,
                                                                     length))
                              : nullptr;
    ExpandedName expanded;
    if (bar) {
        std::size_t uriLength = static_cast<std::size_t>(bar - text);
        expanded.namespaceUri = m_document->Intern(text, uriLength);
        expanded.localName = m_document->Intern(bar + 1, length - uriLength - 1);
    } else {
        expanded.namespaceUri = &detail::EmptyString();
        expanded.localName = m_document->Intern(text, length);
    }
    const std::string& key = m_keys.emplace_back(raw);
    m_names.emplace(std::string_view(key), expanded);
    return expanded;
}

void CExpatReader::StartElement(const char* name, const char** attributes) {
    ExpandedName expanded = Expand(name);
    detail::DocumentStore& store = detail::DocumentStore::Of(m_document);
    CXmlElement* element;
    if (!m_document->m_documentElement) {
        element = store.NewElement(m_document, nullptr);
        m_document->m_documentElement = element;
    } else {
        CXmlElement* parent = m_document->m_openElements.back();
        element = parent->CreateNewChildElement();
    }
    element->m_localName = expanded.localName;
    element->m_namespaceUri = expanded.namespaceUri;
    m_document->m_openElements.push_back(element);

    if (!attributes[0]) return;
    std::size_t count = 0;
    while (attributes[count]) count += 2;
    element->m_attributes.reserve(count / 2);
    for (std::size_t i = 0; i < count; i += 2) {
        ExpandedName attributeName = Expand(attributes[i]);
        const char* value = attributes[i + 1];
        CXmlAttribute* attribute;
        if (m_localIsUtf8) {
            attribute = store.NewAttribute(element, attributeName.localName,
                                           attributeName.namespaceUri, value, std::strlen(value));
        } else {
            std::string converted = detail::Utf8ToLocal(value, std::strlen(value));
            attribute = store.NewAttribute(element, attributeName.localName,
                                           attributeName.namespaceUri, converted.data(),
                                           converted.size());
        }
        // Capacity was reserved above, so this cannot throw and leak the attribute.
        element->m_attributes.push_back(attribute);
    }
}

void CExpatReader::AppendToTop(const char* text, std::size_t length) {
    if (m_document->m_openElements.empty()) return;
    CXmlDocument::AppendTextExcludingCR(m_document->m_openElements.back(), text, length);
}

void CExpatReader::CharacterData(const char* text, std::size_t length) {
    if (m_localIsUtf8) {
        AppendToTop(text, length);
    } else {
        std::string converted = detail::Utf8ToLocal(text, length);
        AppendToTop(converted.data(), converted.size());
    }
}

void CExpatReader::StartNamespace(const char* prefix, const char* uri) {
    // One binding per prefix for the whole document: a later declaration overwrites an
    // earlier one whatever their scopes, and an undeclaration binds the empty URI.
    std::string key = prefix ? (m_localIsUtf8 ? std::string(prefix) : detail::Utf8ToLocal(prefix))
                             : std::string();
    std::string value = uri ? (m_localIsUtf8 ? std::string(uri) : detail::Utf8ToLocal(uri))
                            : std::string();
    m_document->m_prefixes[std::move(key)] = std::move(value);
}

void XMLCALL CExpatReader::OnStartElement(void* userData, const XML_Char* name,
                                          const XML_Char** attributes) {
    auto* reader = static_cast<CExpatReader*>(userData);
    try {
        reader->StartElement(name, attributes);
    } catch (...) {
        reader->Fail(std::current_exception());
    }
}

void XMLCALL CExpatReader::OnEndElement(void* userData, const XML_Char*) {
    auto* reader = static_cast<CExpatReader*>(userData);
    try {
        reader->m_document->EndElement();
    } catch (...) {
        reader->Fail(std::current_exception());
    }
}

void XMLCALL CExpatReader::OnStartNamespace(void* userData, const XML_Char* prefix,
                                            const XML_Char* uri) {
    auto* reader = static_cast<CExpatReader*>(userData);
    try {
        reader->StartNamespace(prefix, uri);
    } catch (...) {
        reader->Fail(std::current_exception());
    }
}

void XMLCALL CExpatReader::OnCharacterData(void* userData, const XML_Char* text, int length) {
    if (length <= 0) return;
    auto* reader = static_cast<CExpatReader*>(userData);
    try {
        reader->CharacterData(text, static_cast<std::size_t>(length));
    } catch (...) {
        reader->Fail(std::current_exception());
    }
}

void XMLCALL CExpatReader::OnStartCData(void* userData) {
    auto* reader = static_cast<CExpatReader*>(userData);
    try {
        reader->AppendToTop("<![CDATA[", 9);
    } catch (...) {
        reader->Fail(std::current_exception());
    }
}

void XMLCALL CExpatReader::OnEndCData(void* userData) {
    auto* reader = static_cast<CExpatReader*>(userData);
    try {
        reader->AppendToTop("]]>", 3);
    } catch (...) {
        reader->Fail(std::current_exception());
    }
}

}  // namespace Tessel16
