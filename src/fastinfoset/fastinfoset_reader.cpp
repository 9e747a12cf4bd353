// fastinfoset_reader.cpp: Fast Infoset input. Nesting is followed with the document's own
// open-element stack, never with recursion, so depth costs heap, not call stack. Every length
// is checked against the octets that remain before anything is allocated for it, and every
// index against its table.
#include "fastinfoset/fastinfoset_reader.h"

#include <cstring>

#include "conversion/char_encoding.h"
#include "conversion/utf8.h"
#include "fastinfoset/fastinfoset_messages.h"
#include "tessel16/exception.h"
#include "tessel16/fastinfoset_binary_data.h"
#include "tessel16/fastinfoset_writer.h"
#include "tessel16/xml_document.h"

namespace Tessel16 {

namespace M = detail::FastInfosetMessages;

namespace {
constexpr unsigned char kIdentification[] = {0xE0, 0x00, 0x00, 0x01};
constexpr std::size_t kMaxTable = CFIVocabulary::kMaxTableSize;

template <typename T>
void AddBounded(std::vector<T>& table, const T& value) {
    if (table.size() < kMaxTable) table.push_back(value);
}
}  // namespace

CFastInfosetReader::CFastInfosetReader(const CFastInfosetContext& context, CXmlDocument* document)
    : m_context(context), m_document(document) {}

bool CFastInfosetReader::Recognise(const unsigned char* data, std::size_t length,
                                   std::size_t& offset) {
    auto identificationAt = [&](std::size_t at) {
        return length >= at + 5 && std::memcmp(data + at, kIdentification, 4) == 0;
    };
    if (identificationAt(0)) {
        offset = 0;
        return true;
    }
    for (int d = 1; d <= 9; ++d) {
        const char* declaration = CFastInfosetWriter::GetDeclaration(d);
        const std::size_t n = std::strlen(declaration);
        if (length >= n && std::memcmp(data, declaration, n) == 0 && identificationAt(n)) {
            offset = n;
            return true;
        }
    }
    return false;
}

unsigned char CFastInfosetReader::Next() {
    if (m_p == m_end) throw CTsException(M::kReadEof);
    return *m_p++;
}

void CFastInfosetReader::Need(std::uint64_t count) const {
    if (count > static_cast<std::uint64_t>(m_end - m_p)) throw CTsException(M::kReadEof);
}

const unsigned char* CFastInfosetReader::Take(std::uint64_t count) {
    Need(count);
    const unsigned char* start = m_p;
    m_p += count;
    return start;
}

namespace {
std::uint64_t Word(const unsigned char* p) {
    return (std::uint64_t{p[0]} << 24) | (std::uint64_t{p[1]} << 16) | (std::uint64_t{p[2]} << 8) |
           p[3];
}
}  // namespace

std::uint64_t CFastInfosetReader::LengthBit2(unsigned char b) {
    if ((b & 0x40) == 0) return (b & 0x3F) + 1u;
    if ((b & 0x7F) == 0x40) return Next() + 65u;
    if ((b & 0x7F) == 0x60) return Word(Take(4)) + 321u;
    throw CTsException(M::kReadOctetString2);
}

std::uint64_t CFastInfosetReader::LengthBit5(unsigned char b) {
    if ((b & 0x08) == 0) return (b & 0x07) + 1u;
    if ((b & 0x0F) == 0x08) return Next() + 9u;
    if ((b & 0x0F) == 0x0C) return Word(Take(4)) + 265u;
    throw CTsException(M::kReadOctetString5);
}

std::uint64_t CFastInfosetReader::LengthBit7(unsigned char b) {
    if ((b & 0x02) == 0) return (b & 0x01) + 1u;
    if ((b & 0x03) == 0x02) return Next() + 3u;
    return Word(Take(4)) + 259u;
}

std::uint32_t CFastInfosetReader::IndexBit2(unsigned char b, const char* message) {
    if ((b & 0x40) == 0) return (b & 0x3Fu) + 1;
    if ((b & 0x60) == 0x40) {
        const std::uint32_t low = Next();
        return (((b & 0x1Fu) << 8) | low) + 65;
    }
    if ((b & 0x70) == 0x60) {
        const unsigned char* p = Take(2);
        return (((b & 0x0Fu) << 16) | (std::uint32_t{p[0]} << 8) | p[1]) + 8257;
    }
    throw CTsException(message);
}

std::uint32_t CFastInfosetReader::IndexBit3(unsigned char b) {
    if ((b & 0x20) == 0) return (b & 0x1Fu) + 1;
    if ((b & 0x38) == 0x20) {
        const std::uint32_t low = Next();
        return (((b & 0x07u) << 8) | low) + 33;
    }
    if ((b & 0x38) == 0x28) {
        const unsigned char* p = Take(2);
        return (((b & 0x07u) << 16) | (std::uint32_t{p[0]} << 8) | p[1]) + 2081;
    }
    if ((b & 0x3F) == 0x30) {
        const unsigned char* p = Take(3);
        if (p[0] & 0xF0) throw CTsException(M::kReadInt1Bit3);
        return (((p[0] & 0x0Fu) << 16) | (std::uint32_t{p[1]} << 8) | p[2]) + 526369;
    }
    throw CTsException(M::kReadInt1Bit3);
}

std::uint32_t CFastInfosetReader::IndexBit4(unsigned char b) {
    if ((b & 0x10) == 0) return (b & 0x0Fu) + 1;
    if ((b & 0x1C) == 0x10) {
        const std::uint32_t low = Next();
        return (((b & 0x03u) << 8) | low) + 17;
    }
    if ((b & 0x1C) == 0x14) {
        const unsigned char* p = Take(2);
        return (((b & 0x03u) << 16) | (std::uint32_t{p[0]} << 8) | p[1]) + 1041;
    }
    if ((b & 0x1F) == 0x18) {
        const unsigned char* p = Take(3);
        if (p[0] & 0xF0) throw CTsException(M::kReadInt1Bit4);
        return (((p[0] & 0x0Fu) << 16) | (std::uint32_t{p[1]} << 8) | p[2]) + 263185;
    }
    throw CTsException(M::kReadInt1Bit4);
}

std::uint32_t CFastInfosetReader::SequenceCount() {
    const unsigned char b = Next();
    if ((b & 0x80) == 0) return (b & 0x7Fu) + 1;
    if ((b & 0xF0) == 0x80) {
        const unsigned char* p = Take(2);
        return (((b & 0x0Fu) << 16) | (std::uint32_t{p[0]} << 8) | p[1]) + 129;
    }
    throw CTsException(M::kReadInt1Bit2);
}

const std::string& CFastInfosetReader::Lookup(const std::vector<std::string>& table,
                                              std::uint32_t index, const char* name) const {
    if (index == 0 || index > table.size())
        throw CTsException(FormatString(M::kReadIndexOutOfRange, index, name));
    return table[index - 1];
}

void CFastInfosetReader::DecodeUtf8(const unsigned char* data, std::size_t length,
                                    std::string& out) {
    if (!detail::IsValidUtf8(data, length)) throw CTsException(M::kReadBadUtf8);
    if (m_localIsUtf8)
        out.assign(reinterpret_cast<const char*>(data), length);
    else
        out = detail::Utf8ToLocal(reinterpret_cast<const char*>(data), length);
}

void CFastInfosetReader::Decode(int discriminant, std::uint32_t index, const unsigned char* data,
                                std::uint64_t length, std::string& out,
                                const char* badIndexMessage) {
    switch (discriminant) {
        case 0:
            DecodeUtf8(data, static_cast<std::size_t>(length), out);
            return;
        case 1: {
            if (length % 2) throw CTsException(M::kReadBadUtf16);
            std::string utf8;
            utf8.reserve(static_cast<std::size_t>(length));
            for (std::uint64_t i = 0; i < length; i += 2) {
                std::uint32_t unit = (std::uint32_t{data[i]} << 8) | data[i + 1];
                if (unit >= 0xDC00 && unit < 0xE000) throw CTsException(M::kReadBadUtf16);
                if (unit >= 0xD800 && unit < 0xDC00) {
                    if (i + 3 >= length) throw CTsException(M::kReadBadUtf16);
                    const std::uint32_t low = (std::uint32_t{data[i + 2]} << 8) | data[i + 3];
                    if (low < 0xDC00 || low >= 0xE000) throw CTsException(M::kReadBadUtf16);
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
                detail::AppendUtf8(utf8, unit);
            }
            out = m_localIsUtf8 ? std::move(utf8) : detail::Utf8ToLocal(utf8.data(), utf8.size());
            return;
        }
        case 2: {
            const char* alphabet = CFIVocabulary::GetRestrictedAlphabet(index);
            if (!alphabet) throw CTsException(FormatString(M::kReadUnknownAlphabet, index));
            const std::size_t size = std::strlen(alphabet);
            if (size < 2 || size > kMaxTable) throw CTsException(M::kReadAlphabetSize);
            out.clear();
            // Both built-in alphabets have 15 characters: four bits each, 0xF ends the text.
            for (std::uint64_t i = 0; i < length; ++i) {
                const unsigned halves[2] = {static_cast<unsigned>(data[i] >> 4),
                                            static_cast<unsigned>(data[i] & 0x0F)};
                for (unsigned h : halves) {
                    if (h == 0x0F) return;
                    if (h >= size) throw CTsException(FormatString(M::kReadAlphabetIndex, h));
                    out += alphabet[h];
                }
            }
            return;
        }
        default: {
            if (index == 10) {
                DecodeUtf8(data, static_cast<std::size_t>(length), out);
                return;
            }
            if (index < 1 || index > 9) throw CTsException(badIndexMessage);
            CFastInfosetBinaryData bytes(const_cast<unsigned char*>(data),
                                         static_cast<std::uint32_t>(length), false);
            out = bytes.GetAsString(index);
            return;
        }
    }
}

namespace {
// The tree holds C strings: a zero byte ends a name or value, as it ends text.
void CutAtZero(std::string& s) {
    const std::size_t zero = s.find('\0');
    if (zero != std::string::npos) s.resize(zero);
}
}  // namespace

void CFastInfosetReader::ReadEncodedBit3(unsigned char b, std::string& out) {
    const int discriminant = (b >> 4) & 3;
    std::uint32_t index = 0;
    std::uint64_t length;
    if (discriminant >= 2) {
        const unsigned char c = Next();
        index = (((b & 0x0Fu) << 4) | (c >> 4)) + 1;
        length = LengthBit5(c);
    } else {
        length = LengthBit5(b);
    }
    const unsigned char* data = Take(length);
    Decode(discriminant, index, data, length, out, M::kReadEncoded3);
    CutAtZero(out);
}

void CFastInfosetReader::ReadEncodedBit5(unsigned char b, std::string& out) {
    const int discriminant = (b >> 2) & 3;
    std::uint32_t index = 0;
    std::uint64_t length;
    if (discriminant >= 2) {
        const unsigned char c = Next();
        index = (((b & 0x03u) << 6) | (c >> 2)) + 1;
        length = LengthBit7(c);
    } else {
        length = LengthBit7(b);
    }
    const unsigned char* data = Take(length);
    Decode(discriminant, index, data, length, out, M::kReadEncoded5);
    CutAtZero(out);
}

const std::string& CFastInfosetReader::ReadIdentifying(std::vector<std::string>& table,
                                                       std::string& spill, std::uint32_t& index,
                                                       const char* name) {
    const unsigned char b = Next();
    if (b & 0x80) {
        index = IndexBit2(b, M::kReadInt1Bit2);
        return Lookup(table, index, name);
    }
    const std::uint64_t length = LengthBit2(b);
    const unsigned char* data = Take(length);
    DecodeUtf8(data, static_cast<std::size_t>(length), spill);
    if (spill.find('\0') != std::string::npos) throw CTsException(M::kReadZeroInName);
    if (table.size() >= kMaxTable) {
        index = 0;
        return spill;
    }
    table.push_back(spill);
    index = static_cast<std::uint32_t>(table.size());
    return table.back();
}

void CFastInfosetReader::SkipIdentifying(std::uint32_t& counter) {
    const unsigned char b = Next();
    if (b & 0x80) {
        const std::uint32_t index = IndexBit2(b, M::kReadInt1Bit2);
        if (index > counter)
            throw CTsException(FormatString(M::kReadIndexOutOfRange, index, "identifier"));
        return;
    }
    Take(LengthBit2(b));
    if (counter < kMaxTable) ++counter;
}

void CFastInfosetReader::SkipOctetStringBit2() {
    const unsigned char b = Next();
    if (b & 0x80) throw CTsException(M::kReadOctetString2);
    Take(LengthBit2(b));
}

void CFastInfosetReader::ReadNonIdentifying(std::vector<std::string>* table, std::string& out) {
    const unsigned char b = Next();
    if (b & 0x80) {
        if (b == 0xFF) {
            out.clear();
            return;
        }
        const std::uint32_t index = IndexBit2(b, M::kReadInt0Bit2);
        if (table) {
            out = Lookup(*table, index, "attribute value");
        } else if (index > m_tables.otherStrings) {
            throw CTsException(FormatString(M::kReadIndexOutOfRange, index, "other string"));
        }
        return;
    }
    ReadEncodedBit3(b, out);
    if (b & 0x40) {
        if (table)
            AddBounded(*table, out);
        else if (m_tables.otherStrings < kMaxTable)
            ++m_tables.otherStrings;
    }
}

void CFastInfosetReader::ReadOptionalComponents() {
    const unsigned char components = Next();
    if (components & 0x80) throw CTsException(M::kReadBadHeader);
    if (components & 0x40) {  // additional data: pairs of id and data
        for (std::uint32_t n = SequenceCount(); n > 0; --n) {
            SkipOctetStringBit2();
            SkipOctetStringBit2();
        }
    }
    if (components & 0x20) ReadInitialVocabulary();
    if (components & 0x10) {  // notations
        for (;;) {
            const unsigned char b = Next();
            if (b == 0xF0) break;
            if ((b & 0xFC) != 0xC0) throw CTsException(M::kReadBadDocumentItem);
            SkipIdentifying(m_tables.otherNCNames);
            if (b & 0x02) SkipIdentifying(m_tables.otherUris);
            if (b & 0x01) SkipIdentifying(m_tables.otherUris);
        }
    }
    if (components & 0x08) {  // unparsed entities
        for (;;) {
            const unsigned char b = Next();
            if (b == 0xF0) break;
            if ((b & 0xFE) != 0xD0) throw CTsException(M::kReadBadDocumentItem);
            SkipIdentifying(m_tables.otherNCNames);
            SkipIdentifying(m_tables.otherUris);
            if (b & 0x01) SkipIdentifying(m_tables.otherUris);
            SkipIdentifying(m_tables.otherNCNames);
        }
    }
    if (components & 0x04) SkipOctetStringBit2();  // character encoding scheme
    if (components & 0x02) Next();                 // standalone
    if (components & 0x01) ReadNonIdentifying(nullptr, m_value);  // version
}

// The initial vocabulary is read past: the reader's tables are its own (the generated
// vocabulary when that is in use), not what the document announces.
void CFastInfosetReader::ReadInitialVocabulary() {
    const unsigned char* presence = Take(2);
    const unsigned first = presence[0], second = presence[1];
    if (first & 0xE0) throw CTsException(M::kReadBadHeader);
    if (first & 0x10) SkipOctetStringBit2();  // external vocabulary URI
    for (unsigned bit : {0x08u, 0x04u, 0x02u, 0x01u})
        if (first & bit)
            for (std::uint32_t n = SequenceCount(); n > 0; --n) SkipOctetStringBit2();
    for (unsigned bit : {0x80u, 0x40u, 0x20u})
        if (second & bit)
            for (std::uint32_t n = SequenceCount(); n > 0; --n) SkipOctetStringBit2();
    for (unsigned bit : {0x10u, 0x08u, 0x04u}) {
        if (!(second & bit)) continue;
        for (std::uint32_t n = SequenceCount(); n > 0; --n) {
            const unsigned char b = Next();
            if (b & 0xC0) throw CTsException(M::kReadEncoded3);
            ReadEncodedBit3(b, m_value);
        }
    }
    for (unsigned bit : {0x02u, 0x01u}) {
        if (!(second & bit)) continue;
        for (std::uint32_t n = SequenceCount(); n > 0; --n) {
            const unsigned char b = Next();
            if (b & 0xFC) throw CTsException(M::kReadBadHeader);
            if (b & 0x02) IndexBit2(Next(), M::kReadInt1Bit2);
            if (b & 0x01) IndexBit2(Next(), M::kReadInt1Bit2);
            IndexBit2(Next(), M::kReadInt1Bit2);
        }
    }
}

void CFastInfosetReader::SkipProcessingInstruction() {
    SkipIdentifying(m_tables.otherNCNames);
    ReadNonIdentifying(nullptr, m_value);
}

void CFastInfosetReader::SkipComment() { ReadNonIdentifying(nullptr, m_value); }

bool CFastInfosetReader::SkipDocumentType(unsigned char b) {
    if (b & 0x02) SkipIdentifying(m_tables.otherUris);
    if (b & 0x01) SkipIdentifying(m_tables.otherUris);
    for (;;) {
        const unsigned char c = Next();
        if (c == 0xE1)
            SkipProcessingInstruction();
        else if (c == 0xF0)
            return false;
        else if (c == 0xFF)
            return true;
        else
            throw CTsException(M::kReadBadDocumentItem);
    }
}

void CFastInfosetReader::SkipEntityReference(unsigned char b) {
    SkipIdentifying(m_tables.otherNCNames);
    if (b & 0x02) SkipIdentifying(m_tables.otherUris);
    if (b & 0x01) SkipIdentifying(m_tables.otherUris);
}

CFastInfosetReader::NameRef CFastInfosetReader::ReadQName(unsigned char b,
                                                          std::vector<QName>& table,
                                                          bool isElement) {
    static const std::string kEmpty;
    const unsigned literalMask = isElement ? 0x3C : 0x78;
    const unsigned literalBits = isElement ? (b & 0x3F) : (b & 0x7F);
    if ((literalBits & 0x7C) == literalMask || (isElement && (literalBits & 0x3C) == 0x3C)) {
        const bool hasPrefix = b & 0x02, hasNamespace = b & 0x01;
        if (hasPrefix && !hasNamespace) throw CTsException(M::kReadPrefixWithoutNamespace);
        QName q{0, 0, 0};
        NameRef ref{&kEmpty, nullptr, nullptr};
        if (hasPrefix) ReadIdentifying(m_tables.prefixes, m_spill[0], q.prefix, "prefix");
        if (hasNamespace)
            ref.namespaceName =
                &ReadIdentifying(m_tables.namespaces, m_spill[1], q.namespaceName, "namespace");
        ref.localName =
            &ReadIdentifying(m_tables.localNames, m_spill[2], q.localName, "local name");
        if (q.localName != 0 && (!hasNamespace || q.namespaceName != 0)) AddBounded(table, q);
        return ref;
    }
    const std::uint32_t index = isElement ? IndexBit3(b) : IndexBit2(b, M::kReadInt1Bit2);
    if (index > table.size())
        throw CTsException(FormatString(M::kReadIndexOutOfRange, index,
                                        isElement ? "element name" : "attribute name"));
    QName& q = table[index - 1];
    if (q.localName == 0)
        throw CTsException(FormatString(M::kReadIndexOutOfRange, index,
                                        isElement ? "element name" : "attribute name"));
    NameRef ref{&kEmpty, &m_tables.localNames[q.localName - 1], &q};
    if (q.namespaceName) ref.namespaceName = &m_tables.namespaces[q.namespaceName - 1];
    return ref;
}

bool CFastInfosetReader::StartElement(unsigned char b) {
    const bool hasAttributes = b & 0x40;
    unsigned char nameOctet = b;
    if ((b & 0x3F) == 0x38) {
        for (;;) {
            const unsigned char c = Next();
            if (c == 0xF0) break;
            if ((c & 0xFC) != 0xCC) throw CTsException(M::kReadBadElementItem);
            std::uint32_t ignored = 0;
            std::string prefix;
            if (c & 0x02) prefix = ReadIdentifying(m_tables.prefixes, m_spill[0], ignored, "prefix");
            std::string uri;
            if (c & 0x01)
                uri = ReadIdentifying(m_tables.namespaces, m_spill[1], ignored, "namespace");
            m_document->m_prefixes[prefix] = uri;
        }
        nameOctet = Next();
        if (nameOctet & 0xC0) throw CTsException(M::kReadBadElementItem);
    }
    const NameRef name = ReadQName(nameOctet, m_tables.elementNames, true);
    // Names repeat: an element read by index reuses the strings interned on its first use.
    const std::string* ns;
    const std::string* local;
    if (name.entry && name.entry->internedLocal) {
        ns = name.entry->internedNamespace;
        local = name.entry->internedLocal;
    } else {
        // Interned as C strings, as every reader of the tree does (a zero byte ends a name).
        const char* n = name.namespaceName->c_str();
        const char* l = name.localName->c_str();
        ns = m_document->Intern(n, std::strlen(n));
        local = m_document->Intern(l, std::strlen(l));
        if (name.entry) {
            name.entry->internedNamespace = ns;
            name.entry->internedLocal = local;
        }
    }
    CXmlElement* element = m_document->AddInternedElement(ns, local);
    m_hasRoot = true;
    if (!hasAttributes) return false;
    for (;;) {
        const unsigned char c = Next();
        if (c == 0xF0) return false;
        if (c == 0xFF) return true;
        if (c & 0x80) throw CTsException(M::kReadBadElementItem);
        const NameRef attribute = ReadQName(c, m_tables.attributeNames, false);
        // The name's strings stay put while the value is read: values go to their own table.
        ReadNonIdentifying(&m_tables.attributeValues, m_value);
        CXmlDocument::AddElementAttribute(element, *attribute.localName, m_value,
                                          *attribute.namespaceName);
    }
}

void CFastInfosetReader::ReadChunk(unsigned char b) {
    CXmlElement* element = m_document->m_openElements.back();
    if (b & 0x20) {
        const std::string& text = Lookup(m_tables.chunks, IndexBit4(b), "character chunk");
        CXmlDocument::AppendTextExcludingCR(element, text.data(),
                                            static_cast<std::uint32_t>(text.size()));
        return;
    }
    ReadEncodedBit5(b, m_text);
    CXmlDocument::AppendTextExcludingCR(element, m_text.data(),
                                        static_cast<std::uint32_t>(m_text.size()));
    if (b & 0x10) AddBounded(m_tables.chunks, m_text);
}

bool CFastInfosetReader::ReadElementTree(unsigned char b) {
    std::size_t depth = 1;
    bool ended = StartElement(b);
    for (;;) {
        if (ended) {
            m_document->EndElement();
            if (--depth == 0) return false;
            ended = false;
            continue;
        }
        const unsigned char c = Next();
        if (c < 0x80) {
            ended = StartElement(c);
            ++depth;
        } else if (c < 0xC0) {
            ReadChunk(c);
        } else if ((c & 0xFC) == 0xC8) {
            SkipEntityReference(c);
        } else if (c == 0xE1) {
            SkipProcessingInstruction();
        } else if (c == 0xE2) {
            SkipComment();
        } else if (c == 0xF0) {
            m_document->EndElement();
            if (--depth == 0) return false;
        } else if (c == 0xFF) {
            // Ends this element and the one around it; around the root, the document.
            m_document->EndElement();
            if (--depth == 0) return true;
            m_document->EndElement();
            if (--depth == 0) return false;
        } else {
            throw CTsException(M::kReadBadElementItem);
        }
    }
}

bool CFastInfosetReader::Parse() {
    const unsigned char* data = m_document->m_inputData;
    const std::size_t length = m_document->m_inputLength;
    std::size_t offset = 0;
    if (!data || !Recognise(data, length, offset)) return false;
    m_p = data + offset + 4;
    m_end = data + length;
    m_localIsUtf8 = detail::LocalIsUtf8();
    if (m_context.GetUseGeneratedVocabulary()) {
        const CFIVocabulary& v = *m_context.GetVocabulary();
        auto copy = [](const CFIStringTable& from, std::vector<std::string>& to) {
            to.assign(from.begin(), from.end());
        };
        copy(v.GetPrefixNamesTable(), m_tables.prefixes);
        copy(v.GetNamespaceNamesTable(), m_tables.namespaces);
        copy(v.GetLocalNamesTable(), m_tables.localNames);
        copy(v.GetAttributeValuesTable(), m_tables.attributeValues);
        copy(v.GetCharacterChunksTable(), m_tables.chunks);
        for (const auto& q : v.GetElementNamesTable())
            m_tables.elementNames.push_back({q.prefix, q.namespaceName, q.localName});
        for (const auto& q : v.GetAttributeNamesTable())
            m_tables.attributeNames.push_back({q.prefix, q.namespaceName, q.localName});
        // Generated tables are trusted, yet their indices are checked like a document's.
        auto valid = [&](const QName& q) {
            return q.localName >= 1 && q.localName <= m_tables.localNames.size() &&
                   q.namespaceName <= m_tables.namespaces.size();
        };
        for (auto* table : {&m_tables.elementNames, &m_tables.attributeNames})
            for (QName& q : *table)
                if (!valid(q)) q = QName{0, 0, 0};
    } else {
        m_tables.prefixes.push_back("xml");
        m_tables.namespaces.push_back(CFIVocabulary::kXmlNamespace);
    }
    ReadOptionalComponents();
    for (;;) {
        const unsigned char b = Next();
        if (b < 0x80) {
            if (m_hasRoot) throw CTsException(M::kReadBadDocumentItem);
            if (ReadElementTree(b)) break;
        } else if (b == 0xE1) {
            SkipProcessingInstruction();
        } else if (b == 0xE2) {
            SkipComment();
        } else if ((b & 0xFC) == 0xC4) {
            if (SkipDocumentType(b)) break;
        } else if (b == 0xF0 || b == 0xFF) {
            break;
        } else {
            throw CTsException(M::kReadBadDocumentItem);
        }
    }
    if (!m_hasRoot) throw CTsException(M::kReadNoRoot);
    if (m_p != m_end) throw CTsException(M::kReadTrailing);
    return true;
}

}  // namespace Tessel16
