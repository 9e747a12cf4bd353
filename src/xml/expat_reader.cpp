// expat_reader.cpp: the expat handlers that turn parse events into tree nodes. When the
// library's 8-bit text is UTF-8 (or ASCIIOnly is on) expat's bytes go into the tree as they
// are; otherwise names, values and text pass through the UTF-8-to-local conversion.
#include "xml/expat_reader.h"

#include <climits>
#include <cstdint>
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

std::uint64_t Load64(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

// Expanded names share long namespace prefixes and differ near their end, so the hash
// reads the first and the last sixteen bytes and the length; the table compares whole keys.
std::size_t NameHash(const char* name, std::size_t length) {
    std::uint64_t h = length * 0x9E3779B97F4A7C15ull;
    if (length >= 16) {
        h ^= Load64(name) * 0xC2B2AE3D27D4EB4Full;
        h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
        h ^= Load64(name + length - 16) * 0x94D049BB133111EBull;
        h = (h ^ (h >> 31)) * 0xC2B2AE3D27D4EB4Full;
        h ^= Load64(name + length - 8);
    } else {
        for (std::size_t i = 0; i < length; ++i)
            h = (h ^ static_cast<unsigned char>(name[i])) * 0x100000001B3ull;
    }
    h = (h ^ (h >> 32)) * 0xD6E8FEB86659FD93ull;
    return static_cast<std::size_t>(h ^ (h >> 32));
}
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
    m_parser =
        m_split ? XML_ParserCreateNS(encoding, kNamespaceSeparator) : XML_ParserCreate(encoding);
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
            std::string message = FormatString(
                detail::XmlMessages::kParseError, XML_ErrorString(XML_GetErrorCode(m_parser)),
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
    std::size_t length = std::strlen(name);
    std::size_t hash = NameHash(name, length);
    if (!m_slots.empty()) {
        std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const NameSlot& slot = m_slots[i];
            if (!slot.key) break;
            if (slot.hash == hash && slot.key->size() == length &&
                std::memcmp(slot.key->data(), name, length) == 0)
                return slot.name;
        }
    }
    return AddName(name, length, hash);
}

void CExpatReader::GrowNames() {
    std::vector<NameSlot> old(m_slots.empty() ? 64 : m_slots.size() * 2);
    old.swap(m_slots);
    std::size_t mask = m_slots.size() - 1;
    for (const NameSlot& slot : old) {
        if (!slot.key) continue;
        std::size_t i = slot.hash & mask;
        while (m_slots[i].key) i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

CExpatReader::ExpandedName CExpatReader::AddName(const char* name, std::size_t length,
                                                 std::size_t hash) {
    const char* text = name;
    std::size_t textLength = length;
    if (!m_localIsUtf8) {
        m_scratch = detail::Utf8ToLocal(name, length);
        text = m_scratch.data();
        textLength = m_scratch.size();
    }
    // The separator is ASCII and never part of a name, so splitting after the conversion
    // into an ASCII-compatible local encoding is safe.
    const char* bar =
        m_split ? static_cast<const char*>(std::memchr(text, kNamespaceSeparator, textLength))
                : nullptr;
    ExpandedName expanded;
    if (bar) {
        std::size_t uriLength = static_cast<std::size_t>(bar - text);
        expanded.namespaceUri = m_document->Intern(text, uriLength);
        expanded.localName = m_document->Intern(bar + 1, textLength - uriLength - 1);
    } else {
        expanded.namespaceUri = &detail::EmptyString();
        expanded.localName = m_document->Intern(text, textLength);
    }
    if ((m_used + 1) * 2 > m_slots.size()) GrowNames();
    const std::string& key = m_keys.emplace_back(name, length);
    std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (m_slots[i].key) i = (i + 1) & mask;
    m_slots[i] = NameSlot{hash, &key, expanded};
    ++m_used;
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
    element->m_line = static_cast<std::uint32_t>(XML_GetCurrentLineNumber(m_parser));
    m_document->m_openElements.push_back(element);

    if (!attributes[0]) return;
    std::size_t count = 0;
    while (attributes[count]) count += 2;
    element->m_attributes = new std::vector<CXmlAttribute*>();
    element->m_attributes->reserve(count / 2);
    for (std::size_t i = 0; i < count; i += 2) {
        ExpandedName attributeName = Expand(attributes[i]);
        const char* value = attributes[i + 1];
        CXmlAttribute* attribute;
        if (m_localIsUtf8) {
            attribute = store.NewAttribute(element, attributeName.localName,
                                           attributeName.namespaceUri, value, std::strlen(value));
        } else {
            std::string converted = detail::Utf8ToLocal(value, std::strlen(value));
            attribute =
                store.NewAttribute(element, attributeName.localName, attributeName.namespaceUri,
                                   converted.data(), converted.size());
        }
        // Capacity was reserved above, so this cannot throw and leak the attribute.
        element->m_attributes->push_back(attribute);
    }
}

void CExpatReader::AppendToTop(const char* text, std::size_t length) {
    if (m_document->m_openElements.empty()) return;
    CXmlElement* element = m_document->m_openElements.back();
    // expat has already turned line ends into line feeds, so a carriage return can only
    // come from a character reference; and it never delivers a zero byte. Most pieces are
    // short, where a plain scan beats a library call.
    const char* end = text + length;
    const char* run = text;
    for (const char* p = text; p != end; ++p) {
        if (*p != '\r') continue;
        if (p != run) element->AppendBytes(run, static_cast<std::size_t>(p - run));
        run = p + 1;
    }
    if (run != end) element->AppendBytes(run, static_cast<std::size_t>(end - run));
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
    std::string value =
        uri ? (m_localIsUtf8 ? std::string(uri) : detail::Utf8ToLocal(uri)) : std::string();
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
