// fastinfoset_writer.cpp: Fast Infoset output. An element's header octet depends on whether it
// has attributes and namespace declarations, so a started element stays pending (with the
// attributes added to it) until its first child, text or end; an element end is likewise held
// back one step so two ends in a row share one octet (FF).
#include "tessel16/fastinfoset_writer.h"

#include <cstring>

#include "conversion/char_encoding.h"
#include "fastinfoset/fastinfoset_messages.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_binary_data.h"
#include "tessel16/streams.h"
#include "writers/writer_messages.h"

namespace Tessel16 {

namespace M = detail::FastInfosetMessages;

namespace {
const char* const kDeclarations[] = {
    "",
    "<?xml encoding='finf'?>",
    "<?xml encoding='finf' standalone='yes'?>",
    "<?xml encoding='finf' standalone='no'?>",
    "<?xml version='1.0' encoding='finf'?>",
    "<?xml version='1.0' encoding='finf' standalone='yes'?>",
    "<?xml version='1.0' encoding='finf' standalone='no'?>",
    "<?xml version='1.1' encoding='finf'?>",
    "<?xml version='1.1' encoding='finf' standalone='yes'?>",
    "<?xml version='1.1' encoding='finf' standalone='no'?>",
};
}  // namespace

const char* CFastInfosetWriter::GetDeclaration(int declaration) {
    return declaration >= 1 && declaration <= 9 ? kDeclarations[declaration] : "";
}

CFastInfosetWriter::CFastInfosetWriter(const CFastInfosetContext& context, CBinaryStream* stream)
    : CXmlWriter("CFastInfosetWriter"),
      m_context(context),
      m_stream(stream),
      m_vocabulary(context.GetUseGeneratedVocabulary() ? *context.GetVocabulary()
                                                       : CFIVocabulary()) {
    m_out.reserve(4096);
    m_localIsUtf8 = detail::LocalIsUtf8();
}

CFastInfosetWriter::~CFastInfosetWriter() = default;

void CFastInfosetWriter::StartDocument() { CXmlWriter::StartDocument(); }

void CFastInfosetWriter::EndDocument() {
    FlushOutput();
    CXmlWriter::EndDocument();
}

void CFastInfosetWriter::FlushOutput() {
    if (m_out.empty()) return;
    m_stream->Append(reinterpret_cast<unsigned char*>(m_out.data()),
                     static_cast<std::uint32_t>(m_out.size()));
    m_out.clear();
}

void CFastInfosetWriter::WriteHeader(FInfoDecl declaration) {
    m_out += GetDeclaration(declaration);
    for (unsigned char c : {0xE0, 0x00, 0x00, 0x01}) Put(c);
    if (!m_context.GetUseGeneratedVocabulary()) {
        Put(0x00);
        return;
    }
    // Initial vocabulary present, holding only the external vocabulary's URI.
    for (unsigned char c : {0x20, 0x10, 0x00}) Put(c);
    std::string uri = m_context.GetExternalVocabularyURI();
    if (uri.empty()) uri = CFastInfosetContext::kDefaultExternalVocabularyURI;
    const std::size_t length = uri.size();
    if (length <= 64) {
        Put(static_cast<unsigned char>(length - 1));
    } else if (length <= 320) {
        Put(0x40);
        Put(static_cast<unsigned char>(length - 65));
    } else {
        const std::uint32_t v = static_cast<std::uint32_t>(length - 321);
        Put(0x60);
        for (int shift = 24; shift >= 0; shift -= 8) Put(static_cast<unsigned char>(v >> shift));
    }
    m_out += uri;
}

void CFastInfosetWriter::WriteDocumentTerminator() {
    Flush();
    Put(m_pendingTerminator ? 0xFF : 0xF0);
    m_pendingTerminator = false;
}

void CFastInfosetWriter::WritePendingTerminator() {
    if (!m_pendingTerminator) return;
    Put(0xF0);
    m_pendingTerminator = false;
}

void CFastInfosetWriter::CloseStartTag() {
    CXmlWriterContext* context = GetCurrentContext();
    if (!context || !context->IsStartTagOpen()) return;
    context->SetStartTagOpen(false);
    if (!m_hasAttributes.empty() && m_hasAttributes.back()) Put(0xF0);
}

void CFastInfosetWriter::WriteComment(const std::string&) {}
void CFastInfosetWriter::WriteInLineSchema(const std::string&) {}
// A processing instruction has no place in the binary document; the element it would stand
// in keeps collecting attributes.
void CFastInfosetWriter::WriteProcessingInstruction(const std::string&) {}

void CFastInfosetWriter::StartElement(const std::string& localName,
                                      const std::string& namespaceUri) {
    Flush();
    WritePendingTerminator();
    if (CXmlWriterContext* parent = GetCurrentContext()) {
        CloseStartTag();
        parent->AddChild();
    }
    PushContext(localName, namespaceUri);
    m_hasAttributes.push_back(0);
    m_pending = true;
    m_attributeCount = 0;
    m_declarations.clear();
}

void CFastInfosetWriter::WriteText(const std::string& text, ItemType type, bool) {
    Flush();
    WritePendingTerminator();
    CloseStartTag();
    if (!text.empty()) WriteChunk(text, type);
}

void CFastInfosetWriter::EndElement() {
    Flush();
    if (!GetCurrentContext()) return;
    CloseStartTag();
    if (m_pendingTerminator) {
        Put(0xFF);
        m_pendingTerminator = false;
    } else {
        m_pendingTerminator = true;
    }
    m_hasAttributes.pop_back();
    PopContext();
}

void CFastInfosetWriter::WriteSimpleElement(const std::string& localName,
                                            const std::string& namespaceUri,
                                            const std::string& text, ItemType type,
                                            bool isDefaultValue) {
    // What StartElement does first; the parent's pending header may bind prefixes, so the
    // scope is looked at only afterwards.
    Flush();
    WritePendingTerminator();
    CXmlWriterContext* parent = GetCurrentContext();
    // The element would share its parent's scope. A namespace without a prefix there, or a
    // default namespace no declaration has entered yet, makes the element declare something
    // in its header: the general path does that, as it does for the document element.
    const std::string* prefix = nullptr;
    bool declares = parent == nullptr;
    if (parent && !namespaceUri.empty()) {
        std::uint32_t ignored;
        if (namespaceUri != parent->GetDefaultNamespace()) {
            prefix = parent->FindPrefix(namespaceUri);
            declares = !prefix || prefix->empty();
        } else {
            declares = !m_vocabulary.FindNamespaceName(namespaceUri, ignored);
        }
    }
    if (declares)
        return CXmlWriter::WriteSimpleElement(localName, namespaceUri, text, type, isDefaultValue);
    CloseStartTag();
    parent->AddChild();
    static const std::string kNoPrefix;
    WriteElementName(prefix ? *prefix : kNoPrefix, namespaceUri, localName, 0x00);
    if (!text.empty()) WriteChunk(text, type);
    // The element's end is held back like any other, so it can share an octet.
    m_pendingTerminator = true;
}

void CFastInfosetWriter::QueueAttribute(const std::string& localName,
                                        const std::string& namespaceUri, const std::string& value,
                                        ItemType type) {
    CXmlWriterContext* context = GetCurrentContext();
    if (!m_pending || !context || !context->IsStartTagOpen())
        throw CTsException(detail::kMsgAttributesBeforeElements);
    if (m_attributeCount == m_attributes.size()) m_attributes.emplace_back();
    PendingAttribute& a = m_attributes[m_attributeCount++];
    a.localName = localName;
    a.namespaceUri = namespaceUri;
    a.value = value;
    a.type = type;
    // Bind the prefix now, so the element's header can declare it.
    if (!namespaceUri.empty()) PrefixFor(namespaceUri);
}

void CFastInfosetWriter::AddAttribute(const std::string& localName, const std::string& namespaceUri,
                                      const std::string& value, ItemType type) {
    QueueAttribute(localName, namespaceUri, value, type);
}

void CFastInfosetWriter::AddXsiNil() {
    QueueAttribute("nil", detail::kXsiNamespaceUri, "true", ItemType_boolean);
}

void CFastInfosetWriter::AddXsiType(const std::string& typeNamespace, const std::string& typeName,
                                    ItemType) {
    CXmlWriterContext* context = GetCurrentContext();
    if (!m_pending || !context || !context->IsStartTagOpen())
        throw CTsException(detail::kMsgAttributesBeforeElements);
    if (typeNamespace.empty() || typeNamespace == context->GetDefaultNamespace()) {
        QueueAttribute("type", detail::kXsiNamespaceUri, typeName, ItemType_string);
        return;
    }
    const std::string value = PrefixFor(typeNamespace) + ":" + typeName;
    QueueAttribute("type", detail::kXsiNamespaceUri, value, ItemType_string);
}

const std::string& CFastInfosetWriter::PrefixFor(const std::string& namespaceUri) {
    CXmlWriterContext* context = GetCurrentContext();
    const std::string& bound = context->LookupPrefix(namespaceUri);
    if (!bound.empty()) return bound;
    const std::string prefix = AllocatePrefix(context->GetNamespaceMap());
    context->AddNamespace(namespaceUri, prefix);
    m_declarations.emplace_back(prefix, namespaceUri);
    return context->LookupPrefix(namespaceUri);
}

void CFastInfosetWriter::Flush() {
    if (!m_pending) return;
    m_pending = false;
    CXmlWriterContext* context = GetCurrentContext();
    const std::string& ns = context->GetNamespace();
    std::string prefix;
    if (!ns.empty() && ns != context->GetDefaultNamespace()) prefix = PrefixFor(ns);
    const bool isRoot = context->GetParent() == nullptr;
    // A namespace that no declaration has entered yet is declared on the element rather than
    // spelled out inside its name: some readers accept namespace names in qualified names
    // only as indices.
    std::uint32_t ignored;
    if (!ns.empty() && prefix.empty() && !m_vocabulary.FindNamespaceName(ns, ignored) &&
        !(isRoot && GetDocumentDefaultNamespace() == ns))
        m_declarations.emplace_back(std::string(), ns);
    const unsigned char attributesBit = m_attributeCount > 0 ? 0x40 : 0x00;
    m_hasAttributes.back() = m_attributeCount > 0;
    if (isRoot || !m_declarations.empty()) {
        Put(attributesBit | 0x38);
        auto declare = [this](const std::string& p, const std::string& uri) {
            if (p.empty()) {
                Put(0xCD);
            } else {
                Put(0xCF);
                WriteIdentifying(p, true);
            }
            WriteIdentifying(uri, false);
        };
        if (isRoot) {
            if (!GetDocumentDefaultNamespace().empty())
                declare(std::string(), GetDocumentDefaultNamespace());
            for (const auto& entry : GetDocumentNamespaceMap())
                if (entry.first != detail::kXmlNamespaceUri) declare(entry.second, entry.first);
        }
        for (const auto& d : m_declarations) declare(d.first, d.second);
        m_declarations.clear();
        Put(0xF0);
        WriteElementName(prefix, ns, context->GetLocalName(), 0x00);
    } else {
        WriteElementName(prefix, ns, context->GetLocalName(), attributesBit);
    }
    for (std::size_t i = 0; i < m_attributeCount; ++i) WriteAttribute(m_attributes[i]);
    m_attributeCount = 0;
}

namespace {
// Integers 1..2^20 from the second bit (indices into most tables).
void PutIndexBit2(std::string& out, unsigned char first, std::uint32_t i) {
    if (i <= 64) {
        out += static_cast<char>(first | (i - 1));
    } else if (i <= 8256) {
        const std::uint32_t v = i - 65;
        out += static_cast<char>(first | 0x40 | (v >> 8));
        out += static_cast<char>(v & 0xFF);
    } else {
        const std::uint32_t v = i - 8257;
        out += static_cast<char>(first | 0x60 | (v >> 16));
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    }
}

// Integers 1..2^20 from the third bit (element names).
void PutIndexBit3(std::string& out, unsigned char first, std::uint32_t i) {
    if (i <= 32) {
        out += static_cast<char>(first | (i - 1));
    } else if (i <= 2080) {
        const std::uint32_t v = i - 33;
        out += static_cast<char>(first | 0x20 | (v >> 8));
        out += static_cast<char>(v & 0xFF);
    } else if (i <= 526368) {
        const std::uint32_t v = i - 2081;
        out += static_cast<char>(first | 0x28 | (v >> 16));
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    } else {
        const std::uint32_t v = i - 526369;
        out += static_cast<char>(first | 0x30);
        out += static_cast<char>(v >> 16);
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    }
}

// Integers 1..2^20 from the fourth bit (character chunk indices).
void PutIndexBit4(std::string& out, unsigned char first, std::uint32_t i) {
    if (i <= 16) {
        out += static_cast<char>(first | (i - 1));
    } else if (i <= 1040) {
        const std::uint32_t v = i - 17;
        out += static_cast<char>(first | 0x10 | (v >> 8));
        out += static_cast<char>(v & 0xFF);
    } else if (i <= 263184) {
        const std::uint32_t v = i - 1041;
        out += static_cast<char>(first | 0x14 | (v >> 16));
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    } else {
        const std::uint32_t v = i - 263185;
        out += static_cast<char>(first | 0x18);
        out += static_cast<char>(v >> 16);
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    }
}

void PutWord(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((v >> shift) & 0xFF);
}

// Octet-string lengths from the second, fifth and seventh bit.
void PutLengthBit2(std::string& out, unsigned char first, std::size_t n) {
    if (n <= 64) {
        out += static_cast<char>(first | (n - 1));
    } else if (n <= 320) {
        out += static_cast<char>(first | 0x40);
        out += static_cast<char>(n - 65);
    } else {
        out += static_cast<char>(first | 0x60);
        PutWord(out, static_cast<std::uint32_t>(n - 321));
    }
}

void PutLengthBit5(std::string& out, unsigned char first, std::size_t n) {
    if (n <= 8) {
        out += static_cast<char>(first | (n - 1));
    } else if (n <= 264) {
        out += static_cast<char>(first | 0x08);
        out += static_cast<char>(n - 9);
    } else {
        out += static_cast<char>(first | 0x0C);
        PutWord(out, static_cast<std::uint32_t>(n - 265));
    }
}

void PutLengthBit7(std::string& out, unsigned char first, std::size_t n) {
    if (n <= 2) {
        out += static_cast<char>(first | (n - 1));
    } else if (n <= 258) {
        out += static_cast<char>(first | 0x02);
        out += static_cast<char>(n - 3);
    } else {
        out += static_cast<char>(first | 0x03);
        PutWord(out, static_cast<std::uint32_t>(n - 259));
    }
}

// The characters' positions in the alphabet, b bits each; the last octet is padded with
// one-bits, which never name a character.
void PackRestricted(const std::string& text, const char* alphabet, std::string& out) {
    const std::size_t size = std::strlen(alphabet);
    if (size < 2 || size > (1u << 20)) throw CTsException(M::kWriteAlphabetSize);
    unsigned bits = size < 4 ? 2 : 3;
    while ((std::size_t{1} << bits) <= size) ++bits;
    if (bits != 4 && bits != 8) throw CTsException(M::kWriteAlphabetWidth);
    out.clear();
    bool high = true;
    for (char c : text) {
        const char* hit = std::strchr(alphabet, c);
        // The exponent letter is read in either case.
        if ((!hit || c == '\0') && c == 'e') hit = std::strchr(alphabet, 'E');
        if (!hit || c == '\0') throw CTsException(M::kWriteAlphabetChar);
        const unsigned index = static_cast<unsigned>(hit - alphabet);
        if (bits == 8) {
            out += static_cast<char>(index);
        } else if (high) {
            out += static_cast<char>(index << 4);
            high = false;
        } else {
            out.back() = static_cast<char>(static_cast<unsigned char>(out.back()) | index);
            high = true;
        }
    }
    if (bits == 4 && !high)
        out.back() = static_cast<char>(static_cast<unsigned char>(out.back()) | 0x0F);
}
}  // namespace

namespace {
// Identifying strings are UTF-8 literals; the library's text already is UTF-8 when the local
// encoding is, otherwise it is converted.
std::string ToUtf8(const std::string& s) {
    if (detail::LocalIsUtf8()) return s;
    CBinaryData bytes = detail::LocalToUtf8(s.c_str());
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetLength());
}
}  // namespace

void CFastInfosetWriter::WriteIdentifying(const std::string& s, bool isPrefix) {
    std::uint32_t index = 0;
    const bool found =
        isPrefix ? m_vocabulary.FindPrefix(s, index) : m_vocabulary.FindNamespaceName(s, index);
    if (found) {
        PutIndexBit2(m_out, 0x80, index);
        return;
    }
    const std::string bytes = ToUtf8(s);
    if (bytes.empty()) throw CTsException(M::kWriteEmptyName);
    PutLengthBit2(m_out, 0x00, bytes.size());
    m_out += bytes;
    if (isPrefix)
        m_vocabulary.AddPrefixName(s);
    else
        m_vocabulary.AddNamespaceName(s);
}

std::uint32_t CFastInfosetWriter::WriteNamePart(const std::string& s, int table) {
    std::uint32_t i = 0;
    const bool found = table == 0   ? m_vocabulary.FindPrefix(s, i)
                       : table == 1 ? m_vocabulary.FindNamespaceName(s, i)
                                    : m_vocabulary.FindLocalName(s, i);
    if (found) {
        PutIndexBit2(m_out, 0x80, i);
        return i;
    }
    const std::string bytes = ToUtf8(s);
    if (bytes.empty()) throw CTsException(M::kWriteEmptyName);
    PutLengthBit2(m_out, 0x00, bytes.size());
    m_out += bytes;
    if (table == 0) m_vocabulary.AddPrefixName(s);
    if (table == 1) m_vocabulary.AddNamespaceName(s);
    if (table == 2) m_vocabulary.AddLocalName(s);
    return table == 0   ? m_vocabulary.GetPrefixNamesTable().size()
           : table == 1 ? m_vocabulary.GetNamespaceNamesTable().size()
                        : m_vocabulary.GetLocalNamesTable().size();
}

CFastInfosetWriter::CachedName& CFastInfosetWriter::CacheSlot(CachedName* cache,
                                                              const std::string& namespaceUri,
                                                              const std::string& localName) {
    std::size_t h = localName.size() * 31 + namespaceUri.size();
    if (!localName.empty())
        h += static_cast<unsigned char>(localName[0]) * 7u +
             static_cast<unsigned char>(localName.back());
    return cache[h % kNameCacheSize];
}

namespace {
bool Matches(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size()) == 0;
}
}  // namespace

void CFastInfosetWriter::WriteElementName(const std::string& prefix,
                                          const std::string& namespaceUri,
                                          const std::string& localName, unsigned char firstBits) {
    CachedName& slot = CacheSlot(m_elementNameCache, namespaceUri, localName);
    if (slot.index && Matches(slot.localName, localName) &&
        Matches(slot.namespaceUri, namespaceUri) && Matches(slot.prefix, prefix)) {
        PutIndexBit3(m_out, firstBits, slot.index);
        return;
    }
    CFIVocabulary::MakeQNameKey(m_key, prefix, namespaceUri, localName);
    std::uint32_t index = 0;
    if (m_vocabulary.FindElementKey(m_key, index)) {
        slot.prefix = prefix;
        slot.namespaceUri = namespaceUri;
        slot.localName = localName;
        slot.index = index;
        PutIndexBit3(m_out, firstBits, index);
        return;
    }
    Put(static_cast<unsigned char>(firstBits | 0x3C | (prefix.empty() ? 0 : 2) |
                                   (namespaceUri.empty() ? 0 : 1)));
    CFIVocabulary::CQNameParts parts;
    if (!prefix.empty()) parts.prefix = WriteNamePart(prefix, 0);
    if (!namespaceUri.empty()) parts.namespaceName = WriteNamePart(namespaceUri, 1);
    parts.localName = WriteNamePart(localName, 2);
    m_vocabulary.AppendElementName(m_key, parts);
}

void CFastInfosetWriter::WriteAttribute(const PendingAttribute& a) {
    const std::string* prefix = &m_scratch;
    m_scratch.clear();
    if (!a.namespaceUri.empty()) prefix = &GetCurrentContext()->LookupPrefix(a.namespaceUri);
    CachedName& slot = CacheSlot(m_attributeNameCache, a.namespaceUri, a.localName);
    std::uint32_t index = 0;
    if (slot.index && Matches(slot.localName, a.localName) &&
        Matches(slot.namespaceUri, a.namespaceUri) && Matches(slot.prefix, *prefix)) {
        PutIndexBit2(m_out, 0x00, slot.index);
    } else if (CFIVocabulary::MakeQNameKey(m_key, *prefix, a.namespaceUri, a.localName),
               m_vocabulary.FindAttributeKey(m_key, index)) {
        slot.prefix = *prefix;
        slot.namespaceUri = a.namespaceUri;
        slot.localName = a.localName;
        slot.index = index;
        PutIndexBit2(m_out, 0x00, index);
    } else {
        Put(static_cast<unsigned char>(0x78 | (prefix->empty() ? 0 : 2) |
                                       (a.namespaceUri.empty() ? 0 : 1)));
        CFIVocabulary::CQNameParts parts;
        if (!prefix->empty()) parts.prefix = WriteNamePart(*prefix, 0);
        if (!a.namespaceUri.empty()) parts.namespaceName = WriteNamePart(a.namespaceUri, 1);
        parts.localName = WriteNamePart(a.localName, 2);
        m_vocabulary.AppendAttributeName(m_key, parts);
    }
    WriteAttributeValue(a.value, a.type);
}

void CFastInfosetWriter::WriteAttributeValue(const std::string& value, ItemType type) {
    if (value.empty()) {
        Put(0xFF);  // index zero: the empty string
        return;
    }
    if (value.size() >= m_context.GetAttributeMaxAddLength()) {
        WriteEncoded(value, type, 0x00, false);
        return;
    }
    std::uint32_t index = 0;
    if (m_vocabulary.FindAttributeValue(value, index)) {
        PutIndexBit2(m_out, 0x80, index);
        return;
    }
    WriteEncoded(value, type, 0x40, false);
    m_vocabulary.AddAttributeValue(value);
}

void CFastInfosetWriter::WriteChunk(const std::string& text, ItemType type) {
    if (text.size() >= m_context.GetElementMaxAddLength()) {
        WriteEncoded(text, type, 0x80, true);
        return;
    }
    std::uint32_t index = 0;
    if (m_vocabulary.FindElementValue(text, index)) {
        PutIndexBit4(m_out, 0xA0, index);
        return;
    }
    WriteEncoded(text, type, 0x90, true);
    m_vocabulary.AddElementValue(text);
}

void CFastInfosetWriter::WriteEncoded(const std::string& text, ItemType type, unsigned char first,
                                      bool onBit5) {
    const CFastInfosetContext::EncodedCharacterString encoding = m_context.GetEncoding(type);
    switch (encoding.kind) {
        case 0: {
            if (m_context.GetDefaultStringEncoding() == 1) throw CTsException(M::kWriteUtf16);
            if (m_localIsUtf8) {
                WriteOctets(reinterpret_cast<const unsigned char*>(text.data()), text.size(), first,
                            onBit5);
            } else {
                const std::string bytes = ToUtf8(text);
                WriteOctets(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                            first, onBit5);
            }
            return;
        }
        case 1: {
            const char* alphabet = CFIVocabulary::GetRestrictedAlphabet(encoding.index);
            if (!alphabet)
                throw CTsException(
                    FormatString(M::kWriteBadAlphabet, static_cast<int>(encoding.index)));
            PackRestricted(text, alphabet, m_scratch);
            const std::uint32_t code = encoding.index - 1;
            if (onBit5) {
                Put(static_cast<unsigned char>(first | 0x08 | (code >> 6)));
                PutLengthBit7(m_out, static_cast<unsigned char>((code & 0x3F) << 2),
                              m_scratch.size());
            } else {
                Put(static_cast<unsigned char>(first | 0x20 | (code >> 4)));
                PutLengthBit5(m_out, static_cast<unsigned char>((code & 0x0F) << 4),
                              m_scratch.size());
            }
            m_out += m_scratch;
            return;
        }
        case 2: {
            if (encoding.index < 1 || encoding.index > 10)
                throw CTsException(
                    FormatString(M::kWriteBadAlgorithm, static_cast<int>(encoding.index)));
            CFastInfosetBinaryData data;
            data.SetAsEncodedString(encoding.index, text.c_str());
            // An octet string is never empty: text that encodes to nothing (base64 of
            // blanks) goes out as it is.
            if (data.GetLength() == 0) {
                WriteOctets(reinterpret_cast<const unsigned char*>(text.data()), text.size(), first,
                            onBit5);
                return;
            }
            const std::uint32_t code = encoding.index - 1;
            if (onBit5) {
                Put(static_cast<unsigned char>(first | 0x0C | (code >> 6)));
                PutLengthBit7(m_out, static_cast<unsigned char>((code & 0x3F) << 2),
                              data.GetLength());
            } else {
                Put(static_cast<unsigned char>(first | 0x30 | (code >> 4)));
                PutLengthBit5(m_out, static_cast<unsigned char>((code & 0x0F) << 4),
                              data.GetLength());
            }
            m_out.append(reinterpret_cast<const char*>(data.GetData()), data.GetLength());
            return;
        }
        default:
            throw CTsException(onBit5 ? M::kWriteUnknownBit7 : M::kWriteUnknownBit5);
    }
}

void CFastInfosetWriter::WriteOctets(const unsigned char* data, std::size_t length,
                                     unsigned char first, bool onBit5) {
    if (onBit5)
        PutLengthBit7(m_out, first, length);
    else
        PutLengthBit5(m_out, first, length);
    m_out.append(reinterpret_cast<const char*>(data), length);
}

}  // namespace Tessel16
