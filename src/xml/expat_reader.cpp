// expat_reader.cpp: the expat handlers that turn parse events into tree nodes. When the
// library's 8-bit text is UTF-8 (or ASCIIOnly is on) expat's bytes go into the tree as they
// are; otherwise names, values and text pass through the UTF-8-to-local conversion.
#include "xml/expat_reader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "conversion/char_encoding.h"
#include "platform/memory.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "xml/document_store.h"
#include "xml/xml_messages.h"
#include "xml/xml_stream.h"

namespace Tessel16 {

namespace {
// expat takes an int length; larger inputs are fed in pieces of this size. Smaller pieces
// would spare expat its copy of the input, but that copy is gone before binding starts
// (where a read peaks), and feeding pieces measured about a tenth slower.
constexpr std::size_t kMaxPiece = static_cast<std::size_t>(INT_MAX / 2 + 1);
// A streamed parse feeds expat this much at a time, so expat's own buffer stays this small
// instead of holding a second copy of the whole input.
constexpr std::size_t kStreamPiece = 65536;
constexpr XML_Index kSuspendBytes = 16384;
constexpr char kNamespaceSeparator = '|';

// A name that probes further than this under a good hash is an attack (or very bad luck):
// the table is rebuilt under a new seed instead.
constexpr std::size_t kMaxProbe = 64;
}  // namespace

CExpatReader::CExpatReader(CXmlDocument* document)
    : CInstanceMonitor("CExpatReader"), m_document(document), m_seed(detail::NewHashSeed()) {}

CExpatReader::~CExpatReader() { FreeParser(); }

void CExpatReader::SetChildEnd(ChildEnd mode) {
    m_childEnd = mode;
    if (mode != ChildEnd::Keep) detail::DocumentStore::Of(m_document).RecycleTexts();
}

void CExpatReader::FreeParser() {
    if (m_parser) {
        XML_ParserFree(m_parser);
        m_parser = nullptr;
    }
}

void CExpatReader::Init(bool stripCData, const char* encoding) {
    FreeParser();
    m_localIsUtf8 = detail::LocalIsUtf8();
    m_textAsIs = m_localIsUtf8 && !m_document->m_callback;
    m_top = nullptr;
    m_split = m_document->m_schemaType != 2;
    // Without namespace processing names arrive as written (prefix included) and xmlns
    // attributes arrive as ordinary attributes.
    m_parser =
        m_split ? XML_ParserCreateNS(encoding, kNamespaceSeparator) : XML_ParserCreate(encoding);
    if (!m_parser) throw std::bad_alloc();
    const CSerializationContext& context = *m_document->m_context;
    m_maxDepth = context.GetMaxDepth();
    // Tighter than expat's own default of 100: what a document may hold through its
    // entities is bounded by a small multiple of the document itself.
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(m_parser,
                                                             context.GetMaxEntityAmplification());
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
        Check(XML_Parse(m_parser, reinterpret_cast<const char*>(data), static_cast<int>(piece),
                        last ? XML_TRUE : XML_FALSE));
        data += piece;
        length -= piece;
    } while (length > 0);
    if (isFinal) FreeParser();
}

void CExpatReader::ParseStreamed(const unsigned char* data, std::size_t length, bool whole) {
    if (!m_parser) return;
    if (whole) {
        void* buffer = XML_GetBuffer(m_parser, static_cast<int>(length));
        if (!buffer) throw std::bad_alloc();
        auto* copy = static_cast<unsigned char*>(buffer);
        detail::AdviseLargeBlock(copy, length);
        std::memcpy(copy, data, length);
        m_wholeBuffer = m_wholeDiscarded = copy;
        m_fed = length;
        CountLines(data, length);
        Check(XML_ParseBuffer(m_parser, static_cast<int>(length), XML_TRUE));
    } else {
        while (m_parser && m_fed < length) {
            const std::size_t piece = std::min(length - m_fed, kStreamPiece);
            const bool last = m_fed + piece == length;
            const char* start = reinterpret_cast<const char*>(data + m_fed);
            m_fed += piece;
            Check(XML_Parse(m_parser, start, static_cast<int>(piece), last ? XML_TRUE : XML_FALSE));
        }
    }
    FreeParser();
}

void CExpatReader::Check(XML_Status status) {
    if (m_aborting) {
        // The read that wanted this parse is gone; what the tree holds no longer matters.
        FreeParser();
        return;
    }
    if (m_error) {
        std::exception_ptr error = m_error;
        m_error = nullptr;
        FlushPendingText();
        FreeParser();
        std::rethrow_exception(error);
    }
    if (status != XML_STATUS_OK) {
        const XML_Error code = XML_GetErrorCode(m_parser);
        const int line = CurrentLine();
        std::string message =
            code == XML_ERROR_AMPLIFICATION_LIMIT_BREACH
                ? FormatString(
                      detail::XmlMessages::kAmplification,
                      static_cast<double>(m_document->m_context->GetMaxEntityAmplification()), line)
                : FormatString(detail::XmlMessages::kParseError, XML_ErrorString(code), line);
        // A failed load leaves its partial tree, text included, in the document.
        FlushPendingText();
        FreeParser();
        throw CTsException(message);
    }
}

int CExpatReader::CurrentLine() {
    if (!m_lineData) return static_cast<int>(XML_GetCurrentLineNumber(m_parser));
    const XML_Index at = XML_GetCurrentByteIndex(m_parser);
    return static_cast<int>(LineAt(at < 0 ? 0 : static_cast<std::size_t>(at)));
}

void CExpatReader::CountLines(const unsigned char* data, std::size_t length) {
    if (!CanCountLines(data, length)) return;
    m_lineData = data;
    m_lineLength = length;
    m_lineHasCr = std::memchr(data, '\r', length) != nullptr;
    m_linePosition = 0;
    m_line = 1;
}

inline std::uint32_t CExpatReader::LineAt(std::size_t offset) {
    // Kept in locals: the input's bytes could alias the members as far as the compiler knows.
    const unsigned char* const data = m_lineData;
    const std::size_t length = m_lineLength;
    const std::size_t target = std::min(offset, length);
    std::size_t position = m_linePosition;
    std::uint32_t line = m_line;
    if (position >= target) return line;
    if (m_lineHasCr) {
        for (; position < target; ++position) {
            const unsigned char byte = data[position];
            if (byte == '\n' ||
                (byte == '\r' && (position + 1 >= length || data[position + 1] != '\n')))
                ++line;
        }
    } else {
#ifdef __SSE2__
        // Start tags are a line or so apart: line feeds are counted sixteen bytes at a time
        // in place, which is cheaper than calls to search for each one; the last block is
        // masked to the bytes before the target. A load may reach past the target but never
        // past the input.
        const __m128i lineFeeds = _mm_set1_epi8('\n');
        auto lineFeedsAt = [&](std::size_t at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
            return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeeds)));
        };
        for (; position + 16 <= target; position += 16)
            for (unsigned found = lineFeedsAt(position); found; found &= found - 1) ++line;
        if (position < target && position + 16 <= length) {
            unsigned found = lineFeedsAt(position) & ((1u << (target - position)) - 1);
            for (; found; found &= found - 1) ++line;  // rarely more than one
            position = target;
        }
#endif
        for (; position < target; ++position) line += data[position] == '\n';
    }
    m_line = line;
    m_linePosition = position;
    return line;
}

bool CExpatReader::CanCountLines(const unsigned char* data, std::size_t length) {
    // UTF-16 (with or without a byte-order mark) is the only other encoding expat reads
    // without an unknown-encoding handler; its line ends are not single bytes.
    if (length < 2) return true;
    return data[0] != 0 && data[1] != 0 && !(data[0] == 0xFE && data[1] == 0xFF) &&
           !(data[0] == 0xFF && data[1] == 0xFE);
}

void CExpatReader::Fail(std::exception_ptr error) {
    if (!m_error) m_error = error;
    XML_StopParser(m_parser, XML_FALSE);
}

CExpatReader::NameEntry* CExpatReader::Expand(const char* name) {
    std::size_t length = std::strlen(name);
    std::size_t hash = detail::HashName(name, length, m_seed);
    if (!m_slots.empty()) {
        std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const NameSlot& slot = m_slots[i];
            if (!slot.entry) break;
            const std::string& key = slot.entry->key;
            if (slot.hash == hash && key.size() == length &&
                std::memcmp(key.data(), name, length) == 0)
                return slot.entry;
        }
    }
    return AddName(name, length, hash);
}

namespace {
// Whether expat's name is the entry's key. strncmp stops at the end of either string, so a
// shorter name is never overread.
template <typename Entry>
bool IsNameOf(const Entry* entry, const char* name) {
    return entry && std::strncmp(entry->key.data(), name, entry->key.size()) == 0 &&
           name[entry->key.size()] == '\0';
}
}  // namespace

// Called from one place, for every start tag: inlined there.
[[gnu::always_inline]] inline CExpatReader::NameEntry* CExpatReader::ExpandElementName(
    const char* name, std::size_t depth) {
    NameEntry* entry = nullptr;
    if (depth > 1) {
        OpenLevel& parent = m_levels[depth - 2];
        Prediction& predicted =
            parent.lastChild ? parent.lastChild->nextSibling : parent.name->firstChild;
        if (IsNameOf(predicted.latest, name)) {
            entry = predicted.latest;
        } else if (IsNameOf(predicted.earlier, name)) {
            entry = predicted.earlier;
            predicted.earlier = predicted.latest;
            predicted.latest = entry;
        } else {
            entry = Expand(name);
            predicted.earlier = predicted.latest;
            predicted.latest = entry;
        }
        parent.lastChild = entry;
    } else {
        entry = Expand(name);
    }
    OpenLevel& level = m_levels[depth - 1];
    level.name = entry;
    level.lastChild = nullptr;
    return entry;
}

bool CExpatReader::RebuildNames(std::size_t slots) {
    std::vector<NameSlot> fresh(slots);
    const std::size_t mask = slots - 1;
    for (NameSlot slot : m_slots) {
        if (!slot.entry) continue;
        slot.hash = detail::HashName(slot.entry->key.data(), slot.entry->key.size(), m_seed);
        std::size_t i = slot.hash & mask;
        for (std::size_t probes = 0; fresh[i].entry; i = (i + 1) & mask)
            if (++probes > kMaxProbe) return false;
        fresh[i] = slot;
    }
    m_slots.swap(fresh);
    return true;
}

void CExpatReader::GrowNames() {
    const std::size_t slots = m_slots.empty() ? 64 : m_slots.size() * 2;
    while (!RebuildNames(slots)) m_seed = detail::NewHashSeed();
}

CExpatReader::NameEntry* CExpatReader::AddName(const char* name, std::size_t length,
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
    if ((m_used + 1) * 2 > m_slots.size()) {
        const std::uint64_t seed = m_seed;
        GrowNames();
        // Growing may have had to reseed, which moves every name, this one included.
        if (m_seed != seed) hash = detail::HashName(name, length, m_seed);
    }
    NameEntry& entry = m_entries.emplace_back();
    entry.key.assign(name, length);
    entry.name = expanded;
    while (true) {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t i = hash & mask;
        std::size_t probes = 0;
        while (m_slots[i].entry && ++probes <= kMaxProbe) i = (i + 1) & mask;
        if (!m_slots[i].entry) {
            m_slots[i] = NameSlot{hash, &entry};
            break;
        }
        do m_seed = detail::NewHashSeed();
        while (!RebuildNames(m_slots.size()));
        hash = detail::HashName(name, length, m_seed);
    }
    ++m_used;
    return &entry;
}

void CExpatReader::StartElement(const char* name, const char** attributes) {
    if (m_document->m_openElements.size() >= m_maxDepth)
        throw CTsException(FormatString(detail::XmlMessages::kTooDeep, m_maxDepth, CurrentLine()));
    const std::size_t depth = m_document->m_openElements.size() + 1;
    if (m_levels.size() < depth) {
        m_levels.resize(depth);
        m_top = nullptr;  // the levels moved; SetTop below points it again
    }
    m_levels[depth - 1].text.size = 0;
    NameEntry* const elementEntry = ExpandElementName(name, depth);
    const ExpandedName expanded = elementEntry->name;
    detail::DocumentStore& store = detail::DocumentStore::Of(m_document);
    CXmlElement* element;
    if (!m_document->m_documentElement) {
        element = store.NewElement(m_document, nullptr);
        m_document->m_documentElement = element;
        if (m_wholeBuffer)
            m_wholeDiscarded = m_wholeBuffer + XML_GetCurrentByteIndex(m_parser) +
                               XML_GetCurrentByteCount(m_parser);
        element->m_localName = expanded.localName;
        element->m_namespaceUri = expanded.namespaceUri;
    } else {
        element = store.NewChild(m_document->m_openElements.back(), expanded.localName,
                                 expanded.namespaceUri);
    }
    // expat finds a line by scanning every byte since it was last asked, a tenth of a whole
    // parse; the count kept here moves on only over the bytes expat has just parsed.
    if (m_lineData)
        element->m_line = LineAt(static_cast<std::size_t>(XML_GetCurrentByteIndex(m_parser)));
    else
        element->m_line = static_cast<std::uint32_t>(XML_GetCurrentLineNumber(m_parser));
    m_document->m_openElements.push_back(element);
    if (m_document->m_stream && depth <= 2)
        element->m_streamFlags = depth == 1 ? CXmlElement::kStreamRoot : CXmlElement::kPullNext;
    SetTop();

    if (!attributes[0]) return;
    std::size_t count = 0;
    while (attributes[count]) count += 2;
    element->m_attributes = store.NewAttributeList();
    element->m_attributes->reserve(count / 2);
    std::vector<NameEntry*>& predicted = elementEntry->attributes;
    for (std::size_t i = 0; i < count; i += 2) {
        const char* const qualified = attributes[i];
        NameEntry* entry = i / 2 < predicted.size() ? predicted[i / 2] : nullptr;
        if (!IsNameOf(entry, qualified)) {
            entry = Expand(qualified);
            if (i / 2 < predicted.size())
                predicted[i / 2] = entry;
            else
                predicted.push_back(entry);
        }
        const ExpandedName attributeName = entry->name;
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
    const std::size_t depth = m_document->m_openElements.size();
    if (depth == 0) return;
    if (m_document->m_callback) {
        // The element-end callback may look at any open element, so text goes straight into
        // the element and every element shows its text so far.
        AppendDirect(m_document->m_openElements.back(), text, length);
        return;
    }
    m_levels[depth - 1].text.Append(text, length);
}

namespace {
// Unaligned loads and stores of whole words; the compiler turns these into single moves.
template <typename Word>
Word LoadWord(const char* from) {
    Word word;
    std::memcpy(&word, from, sizeof(Word));
    return word;
}
template <typename Word>
void StoreWord(char* to, Word word) {
    std::memcpy(to, &word, sizeof(Word));
}
// Nonzero when some byte of the word is a carriage return (exact: no false positives).
template <typename Word>
Word HasCarriageReturn(Word word) {
    constexpr Word ones = static_cast<Word>(~Word{0}) / 0xFF;
    const Word v = word ^ (ones * 0x0D);
    return (v - ones) & ~v & (ones * 0x80);
}
// Copies sizeof(Word) <= length <= 2 * sizeof(Word) bytes as two overlapping words; true when
// no carriage return is among them.
template <typename Word>
bool CopyWords(char* out, const char* text, std::size_t length) {
    const Word head = LoadWord<Word>(text);
    const Word tail = LoadWord<Word>(text + length - sizeof(Word));
    StoreWord(out, head);
    StoreWord(out + length - sizeof(Word), tail);
    return !(HasCarriageReturn(head) | HasCarriageReturn(tail));
}
}  // namespace

void CExpatReader::PendingText::Append(const char* text, std::size_t length) {
    if (size + length > capacity) Grow(size + length);
    AppendFitting(text, length);
}

inline void CExpatReader::PendingText::AppendFitting(const char* text, std::size_t length) {
    // expat has already turned line ends into line feeds, so a carriage return can only
    // come from a character reference, and it never delivers a zero byte. A third of the
    // pieces are a single line feed and nearly all the others are short: those are copied
    // with two overlapping word moves each way, which also show whether a carriage return
    // is among them, instead of calls to copy and search.
    char* const out = data.get() + size;
    if (length == 1) {
        if (*text != '\r') *out = *text, ++size;
        return;
    }
    if (length <= 16) {
        bool clean;
        if (length >= 8) {
            clean = CopyWords<std::uint64_t>(out, text, length);
        } else if (length >= 4) {
            clean = CopyWords<std::uint32_t>(out, text, length);
        } else {
            out[0] = text[0];
            out[1] = text[1];
            out[length - 1] = text[length - 1];
            clean = out[0] != '\r' && out[1] != '\r' && out[length - 1] != '\r';
        }
        size += clean ? length : DropCarriageReturns(out, length);
        return;
    }
    std::memcpy(out, text, length);
    size += std::memchr(out, '\r', length) ? DropCarriageReturns(out, length) : length;
}

std::size_t CExpatReader::PendingText::DropCarriageReturns(char* out, std::size_t length) {
    char* kept = out;
    for (const char* p = out; p != out + length; ++p) {
        *kept = *p;
        kept += *p != '\r';
    }
    return static_cast<std::size_t>(kept - out);
}

void CExpatReader::SetTop() {
    const std::size_t depth = m_document->m_openElements.size();
    m_top = depth && m_textAsIs ? &m_levels[depth - 1].text : nullptr;
}

void CExpatReader::PendingText::Grow(std::size_t needed) {
    std::size_t grown = capacity < 64 ? 64 : capacity * 2;
    if (grown < needed) grown = needed;
    std::unique_ptr<char[]> bigger(new char[grown]);
    if (size) std::memcpy(bigger.get(), data.get(), size);
    data = std::move(bigger);
    capacity = grown;
}

void CExpatReader::AppendDirect(CXmlElement* element, const char* text, std::size_t length) {
    const char* end = text + length;
    const char* run = text;
    for (const char* p = text; p != end; ++p) {
        if (*p != '\r') continue;
        if (p != run) element->AppendBytes(run, static_cast<std::size_t>(p - run));
        run = p + 1;
    }
    if (run != end) element->AppendBytes(run, static_cast<std::size_t>(end - run));
}

void CExpatReader::EndElement() {
    std::vector<CXmlElement*>& open = m_document->m_openElements;
    if (open.empty()) return;
    PendingText& pending = m_levels[open.size() - 1].text;
    if (pending.size) {
        std::string& text = open.back()->m_text;
        if (pending.size > detail::DocumentStore::kShortText)
            detail::DocumentStore::Of(m_document).TakeSpareText(text);
        text.append(pending.data.get(), pending.size);
        pending.size = 0;
    }
    if (m_document->m_callback)
        m_document->EndElement();
    else
        open.pop_back();
    SetTop();
    if (open.size() == 1 && m_childEnd != ChildEnd::Keep) {
        if (m_childEnd == ChildEnd::Suspend) {
            // Every hand-over costs a switch of stacks, so children are handed over in
            // batches of about this much input rather than one by one.
            const XML_Index at = XML_GetCurrentByteIndex(m_parser);
            if (at - m_batchStart >= kSuspendBytes) {
                m_batchStart = at;
                EndBatch();
            }
        } else {
            CXmlElement* child = open.back()->RemoveLastChildElement();
            detail::DocumentStore::Of(m_document).DestroySubtree(child);
        }
    } else if (open.empty() && m_document->m_documentElement) {
        // The document element's text is complete: reading it needs no more parsing.
        m_document->m_documentElement->m_streamFlags &=
            static_cast<std::uint8_t>(~CXmlElement::kStreamRoot);
    }
}

void CExpatReader::EndBatch() {
    if (m_wholeBuffer) {
        // expat reads on from this end tag and never looks back, so the pages of its copy
        // before here can go; where expat counts lines itself, it must have counted up to
        // here first.
        if (!m_lineData) XML_GetCurrentLineNumber(m_parser);
        const XML_Index at = XML_GetCurrentByteIndex(m_parser);
        const unsigned char* const before = m_wholeDiscarded;
        m_wholeDiscarded = detail::DiscardPages(m_wholeDiscarded, m_wholeBuffer + at);
        // The start rarely lies on a large page: once the first one after it has gone, the
        // small pages between them go too, or up to 2 MiB would stay to the end. (Later
        // starts are on large pages, and the range is empty.)
        if (m_wholeDiscarded != before) {
            constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
            const auto start = reinterpret_cast<std::uintptr_t>(before);
            const std::uintptr_t firstLarge = (start + kLargePage - 1) & ~(kLargePage - 1);
            detail::DiscardSmallPages(before, before + (firstLarge - start));
        }
    }
    if (m_batchEnd) m_batchEnd(m_batchArgument);
    if (m_aborting) XML_StopParser(m_parser, XML_FALSE);
}

void CExpatReader::FlushPendingText() {
    const std::vector<CXmlElement*>& open = m_document->m_openElements;
    for (std::size_t i = 0; i < open.size() && i < m_levels.size(); ++i) {
        PendingText& pending = m_levels[i].text;
        if (!pending.size) continue;
        open[i]->m_text.append(pending.data.get(), pending.size);
        pending.size = 0;
    }
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
    auto found = m_document->m_prefixes.find(key);
    if (m_document->m_stream && (found == m_document->m_prefixes.end() || found->second != value))
        m_document->m_stream->NotePrefixChange();
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
        reader->EndElement();
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
    // Nearly every piece fits what the element's text has room for: that needs no call.
    PendingText* const top = reader->m_top;
    const auto count = static_cast<std::size_t>(length);
    if (top && top->size + count <= top->capacity) {
        top->AppendFitting(text, count);
        return;
    }
    reader->CharacterDataAnyway(text, count);
}

// Kept out of line, so that the copy above needs no saved registers.
[[gnu::noinline]] void CExpatReader::CharacterDataAnyway(const char* text,
                                                         std::size_t length) noexcept {
    try {
        if (m_top)
            m_top->Append(text, length);
        else
            CharacterData(text, length);
    } catch (...) {
        Fail(std::current_exception());
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
