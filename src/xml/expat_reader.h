// expat_reader.h: drives expat over the bytes of one load and builds the document's tree
// through its tree-building operations. Internal: expat never appears in a public header.
#pragma once

// The system expat is built with DTD support; its header declares the DTD-only functions,
// the entity amplification limit among them, only when told so.
#ifndef XML_DTD
#define XML_DTD
#endif
#include <expat.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tessel16/types.h"
#include "tessel16/xml_document.h"

namespace Tessel16 {

class CExpatReader : public CInstanceMonitor {
public:
    explicit CExpatReader(CXmlDocument* document);
    virtual ~CExpatReader();
    CExpatReader(const CExpatReader&) = delete;
    CExpatReader& operator=(const CExpatReader&) = delete;

    // Creates the parser for the document's schema type and CDATA setting; a non-null
    // encoding overrides whatever the document declares.
    void Init(bool stripCData, const char* encoding = nullptr);
    // Parses one chunk; isFinal ends the document. Throws CTsException with expat's error
    // text and line; the parser is freed after the final chunk and on any error.
    void Parse(const unsigned char* data, std::size_t length, bool isFinal);

    // Elements take their lines from a line-feed count kept here over `data`, next to the
    // parse, instead of asking expat, which rescans every byte since it was last asked. The
    // input must stay at hand until the load ends; UTF-16 input is left to expat.
    void CountLines(const unsigned char* data, std::size_t length);

    // What a streamed parse does when a child of the document element ends.
    enum class ChildEnd { Keep, Suspend, Destroy };
    void SetChildEnd(ChildEnd mode);
    // Called (in Suspend mode) at the end of a child of the document element once enough
    // input has passed since the last call; the tree up to there is complete. A streamed
    // read runs the parse on a fiber and switches back to the reading engine from here.
    void SetBatchEnd(void (*batchEnd)(void*), void* argument) {
        m_batchEnd = batchEnd;
        m_batchArgument = argument;
    }
    // Parses the whole input for a streamed read. `whole` hands expat everything as one final
    // piece, so expat never counts positions on its own (that costs it a rescan of every byte
    // whenever it returns part-way); elements then take their lines from a count kept here.
    // Otherwise the input goes in pieces and expat's buffer stays small. Throws as Parse does.
    void ParseStreamed(const unsigned char* data, std::size_t length, bool whole);
    // How much of the input expat has been handed (and has copied) so far.
    std::size_t FedLength() const { return m_fed; }
    // Makes a parse waiting in the batch-end call stop when it returns, leaving the tree as it is.
    void Abort() { m_aborting = true; }

private:
    struct ExpandedName {
        const std::string* namespaceUri;
        const std::string* localName;
    };
    struct NameEntry;
    // The two names that last came in some place, the latest first: where a schema offers a
    // choice or an optional element, the next name is usually one of the last two.
    struct Prediction {
        NameEntry* latest = nullptr;
        NameEntry* earlier = nullptr;
    };
    // A distinct name of this load, keyed by expat's UTF-8 bytes. Each remembers the names
    // that last came first among its children and those that last followed it as a
    // sibling: documents repeat their shapes, so the next start tag's name is usually a
    // comparison or two away, without hashing.
    struct NameEntry {
        std::string key;
        ExpandedName name{};
        Prediction firstChild;
        Prediction nextSibling;
        // For an element name: the names of the attributes, in order, of its latest start
        // tag, which the next start tag of the same name usually repeats.
        std::vector<NameEntry*> attributes;
    };

    static void XMLCALL OnStartElement(void* userData, const XML_Char* name,
                                       const XML_Char** attributes);
    static void XMLCALL OnEndElement(void* userData, const XML_Char* name);
    static void XMLCALL OnStartNamespace(void* userData, const XML_Char* prefix,
                                         const XML_Char* uri);
    static void XMLCALL OnCharacterData(void* userData, const XML_Char* text, int length);
    static void XMLCALL OnStartCData(void* userData);
    static void XMLCALL OnEndCData(void* userData);

    void StartElement(const char* name, const char** attributes);
    void CharacterData(const char* text, std::size_t length);
    // The character data that needs more than a copy: a text growing, or the conversion.
    void CharacterDataAnyway(const char* text, std::size_t length) noexcept;
    void StartNamespace(const char* prefix, const char* uri);
    void AppendToTop(const char* text, std::size_t length);
    static void AppendDirect(CXmlElement* element, const char* text, std::size_t length);
    void EndElement();
    // Moves the text gathered for every open element into the element (after a failure).
    void FlushPendingText();
    // Looks up (or converts, splits and interns) a name as expat delivered it.
    NameEntry* Expand(const char* name);
    // The entry for the name of an element starting at `depth` (1 for the document
    // element; its level exists), tried first against the name its parent's shape predicts.
    NameEntry* ExpandElementName(const char* name, std::size_t depth);
    void Fail(std::exception_ptr error);
    void FreeParser();
    // Throws for a failed status (as Parse does).
    void Check(XML_Status status);
    // The line of expat's current event.
    int CurrentLine();
    // The line of input offset `offset`, counted on from the last offset asked for (offsets
    // only grow): line feeds, carriage returns and the two together each end one line, as
    // expat counts them.
    std::uint32_t LineAt(std::size_t offset);
    static bool CanCountLines(const unsigned char* data, std::size_t length);
    void EndBatch();

    CXmlDocument* m_document;
    XML_Parser m_parser = nullptr;
    bool m_split = true;
    bool m_localIsUtf8 = true;
    bool m_aborting = false;
    ChildEnd m_childEnd = ChildEnd::Keep;
    XML_Index m_batchStart = 0;
    void (*m_batchEnd)(void*) = nullptr;
    void* m_batchArgument = nullptr;
    std::size_t m_fed = 0;
    // A whole streamed parse: expat's copy of the input, and where the part of it that may
    // go back to the system starts (past what went back already). expat keeps pointing into
    // its copy at the start tag of the document element until the end tag (it saves the raw
    // names of open tags only when a parse call returns, and batches end inside one), so
    // that part starts after the end of that tag.
    const unsigned char* m_wholeBuffer = nullptr;
    const unsigned char* m_wholeDiscarded = nullptr;
    // The line count (m_lineData set): where it stands.
    const unsigned char* m_lineData = nullptr;
    std::size_t m_lineLength = 0;
    std::size_t m_linePosition = 0;
    std::uint32_t m_line = 1;
    bool m_lineHasCr = false;
    // Names seen in this load, keyed by expat's UTF-8 bytes, so each distinct name is
    // converted and split once rather than per occurrence. Open addressing over a
    // power-of-two table with a seeded hash; an insertion that has to probe too far
    // reseeds and rebuilds the table, so crafted names cannot make lookups linear.
    struct NameSlot {
        std::size_t hash = 0;
        NameEntry* entry = nullptr;
    };
    std::deque<NameEntry> m_entries;
    std::vector<NameSlot> m_slots;
    std::size_t m_used = 0;
    std::uint64_t m_seed;
    NameEntry* AddName(const char* name, std::size_t length, std::size_t hash);
    // Rebuilds the table with `slots` slots (a power of two) under the current seed; returns
    // false when some name had to probe too far.
    bool RebuildNames(std::size_t slots);
    void GrowNames();
    // The limits of the load, from the document's context.
    std::uint32_t m_maxDepth = 0;
    std::string m_scratch;
    // The text of each open element (by depth) while it is still arriving in pieces. It
    // moves into the element, at its exact size, when the element ends, so the tree holds
    // no spare capacity and the pieces cost no reallocation; the buffers are reused by the
    // next element at the same depth. Unused while an element-end callback is installed.
    struct PendingText {
        std::unique_ptr<char[]> data;
        std::size_t size = 0;
        std::size_t capacity = 0;
        void Grow(std::size_t needed);
        // Appends a piece of text as expat delivered it, dropping carriage returns.
        void Append(const char* text, std::size_t length);
        // Append where the capacity is known to suffice.
        void AppendFitting(const char* text, std::size_t length);
        // Removes the carriage returns from `length` bytes at `out`; returns how many remain.
        static std::size_t DropCarriageReturns(char* out, std::size_t length);
    };
    // What the reader keeps per open element (by depth): its pending text, its name and the
    // name of its latest child (for the name predictions above). Entries are reused by the
    // next element at the same depth.
    struct OpenLevel {
        PendingText text;
        NameEntry* name = nullptr;
        NameEntry* lastChild = nullptr;
    };
    std::vector<OpenLevel> m_levels;
    // Where character data goes without further checks: the innermost open element's
    // pending text, while text needs no conversion and no element-end callback is set.
    PendingText* m_top = nullptr;
    // Text goes into pending text as expat delivers it: no conversion, no callback.
    bool m_textAsIs = true;
    void SetTop();
    // An exception raised inside a handler is parked here and rethrown once expat has
    // returned, so it never unwinds through the C parser.
    std::exception_ptr m_error;
};

}  // namespace Tessel16
