// xml_stream.h: parsing on demand for bound reads. The document element's children are parsed
// one at a time, as the reading engine's cursor steps onto the next one, and those it has left
// behind are destroyed, so a bound read never holds the whole tree. Kept apart from the
// loader, which parses a document whole.
#pragma once

#include <cstddef>
#include <exception>
#include <vector>

#include "platform/fiber.h"
#include "xml/expat_reader.h"

namespace Tessel16::detail {

// The parser's progress through one document while a bound object reads it. The parse runs
// on a fiber of its own and switches back to the engine only at the end of a child of the
// document element (in batches of children, see expat_reader.cpp); whenever the engine
// holds the cursor, every child linked into the tree is complete. expat itself never
// suspends, so it needs no position count (see CExpatReader::ParseStreamed).
//
// Anything a streamed read cannot reproduce exactly marks the stream unfaithful and the
// caller reads the document again as a whole tree: a cursor stepping forward from an element
// whose following siblings are gone (a group that walked back), or a prefix binding that
// changed after binding had looked one up.
class XmlStream {
public:
    XmlStream(CXmlDocument* document, const unsigned char* data, std::size_t length);
    // A parse still waiting for the engine is stopped where it stands.
    ~XmlStream();
    XmlStream(const XmlStream&) = delete;
    XmlStream& operator=(const XmlStream&) = delete;

    // Parses up to the end of the first batch of children of the document element (or the
    // document's end). Throws what a whole parse throws when the error comes before that point.
    void Start(const char* forcedEncoding);
    // Destroys the children before `from` that nothing pins, then parses the next batch.
    // Never throws: a parse failure ends the children and is kept for Finish.
    void PullAfter(CXmlElement* from);
    // Parses the rest without pruning (the document element's text is wanted while the
    // engine may still hold any of its children).
    void ParseRest();
    // Parses the rest, destroying each child of the document element as it ends, and
    // throws the first parse failure, if any.
    void Finish();
    bool IsFaithful() const { return m_faithful; }
    void MarkUnfaithful() { m_faithful = false; }
    void NoteLookup() { m_lookedUp = true; }
    // A prefix binding changed: only a problem once binding may have used the old one.
    void NotePrefixChange() {
        if (m_lookedUp) m_faithful = false;
    }

    // Elements a frame of the engine will come back to (a group's start, a cursor it
    // compares with) stay in the tree while pinned.
    void Pin(CXmlElement* element) { m_pins.push_back(element); }
    void Unpin() { m_pins.pop_back(); }
    // The stream `element` is the open document element of, else null.
    static XmlStream* OfRoot(const CXmlElement* element);

private:
    void Prune(CXmlElement* from);
    bool IsPinned(const CXmlElement* element) const;
    // Runs the parse on until the next batch of children is complete or the input ends;
    // a parse failure is kept in m_error.
    void Resume();
    static void Run(void* stream) noexcept;
    static void OnBatchEnd(void* stream);
    // Gives the input expat has been handed back, where the document allows it.
    void DiscardConsumed();

    CXmlDocument* m_document;
    CExpatReader m_reader;
    const unsigned char* m_data;
    std::size_t m_length;
    std::size_t m_discarded = 0;
    bool m_whole = false;
    bool m_faithful = true;
    bool m_lookedUp = false;
    std::exception_ptr m_error;
    std::vector<CXmlElement*> m_pins;
    Fiber m_fiber;
};

// Pins `element` for the scope when `parent` is a streamed document element.
class StreamPin {
public:
    StreamPin(const CXmlElement* parent, CXmlElement* element);
    ~StreamPin() {
        if (m_stream) m_stream->Unpin();
    }
    StreamPin(const StreamPin&) = delete;
    StreamPin& operator=(const StreamPin&) = delete;

private:
    XmlStream* m_stream = nullptr;
};

}  // namespace Tessel16::detail
