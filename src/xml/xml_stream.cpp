// xml_stream.cpp: the on-demand parse of a bound read and the cursor hooks of CXmlElement that
// drive it. See xml_stream.h for what makes a streamed read exact.
#include "xml/xml_stream.h"

#include <expat.h>

#include "platform/memory.h"
#include "tessel16/serialization_context.h"
#include "tessel16/xml_document.h"
#include "xml/document_store.h"

namespace Tessel16 {

namespace detail {

namespace {
// Whether this expat copies what it is handed into a buffer of its own (it keeps context
// bytes); one built without them parses the caller's bytes in place and points into them.
bool ExpatCopiesInput() {
    static const bool copies = [] {
        for (const XML_Feature* f = XML_GetFeatureList(); f && f->feature != XML_FEATURE_END; ++f)
            if (f->feature == XML_FEATURE_CONTEXT_BYTES) return f->value > 0;
        return false;
    }();
    return copies;
}

// Input up to this size goes to expat in one piece (see CExpatReader::ParseStreamed); expat
// doubles its buffer up to the size it is asked for, which must stay far from INT_MAX.
constexpr std::size_t kMaxWhole = std::size_t{256} << 20;
}  // namespace

XmlStream::XmlStream(CXmlDocument* document, const unsigned char* data, std::size_t length)
    : m_document(document),
      m_reader(document),
      m_data(data),
      m_length(length),
      m_fiber(&XmlStream::Run, this) {}

XmlStream::~XmlStream() {
    if (m_fiber.IsStarted() && !m_fiber.IsFinished()) {
        m_reader.Abort();
        m_fiber.Resume();
    }
}

void XmlStream::Run(void* stream) noexcept {
    auto* self = static_cast<XmlStream*>(stream);
    try {
        self->m_reader.ParseStreamed(self->m_data, self->m_length, self->m_whole);
    } catch (...) {
        self->m_error = std::current_exception();
    }
}

void XmlStream::OnBatchEnd(void* stream) {
    auto* self = static_cast<XmlStream*>(stream);
    self->DiscardConsumed();
    self->m_fiber.Yield();
}

void XmlStream::Start(const char* forcedEncoding) {
    m_reader.Init(m_document->m_context->GetStripCDATA(), forcedEncoding);
    m_reader.SetChildEnd(CExpatReader::ChildEnd::Suspend);
    m_reader.SetBatchEnd(&XmlStream::OnBatchEnd, this);
    // Input that is given back to the system as it is parsed (see DiscardConsumed) goes in
    // pieces, so expat holds no second copy of it.
    m_whole = !m_document->m_discardInput && m_length <= kMaxWhole;
    m_fiber.Resume();
    if (m_error) {
        std::exception_ptr error = m_error;
        m_error = nullptr;
        std::rethrow_exception(error);
    }
}

void XmlStream::DiscardConsumed() {
    // expat copies each piece into its own buffer before it parses it, so nothing before
    // what it has been handed is read again.
    if (!m_document->m_discardInput || !ExpatCopiesInput()) return;
    m_discarded = static_cast<std::size_t>(
        detail::DiscardPages(m_data + m_discarded, m_data + m_reader.FedLength()) - m_data);
}

void XmlStream::Resume() { m_fiber.Resume(); }

void XmlStream::PullAfter(CXmlElement* from) {
    // Once the document element has ended nothing more is parsed, and a pin placed since
    // (there is no stream root left to pin under) could not protect an element any more.
    if (m_fiber.IsFinished()) return;
    Prune(from);
    Resume();
}

void XmlStream::ParseRest() {
    m_reader.SetChildEnd(CExpatReader::ChildEnd::Keep);
    Resume();
}

void XmlStream::Finish() {
    Prune(nullptr);
    m_reader.SetChildEnd(CExpatReader::ChildEnd::Destroy);
    Resume();
    if (m_error) std::rethrow_exception(m_error);
}

bool XmlStream::IsPinned(const CXmlElement* element) const {
    for (const CXmlElement* pinned : m_pins)
        if (pinned == element) return true;
    return false;
}

void XmlStream::Prune(CXmlElement* from) {
    CXmlElement* root = m_document->m_documentElement;
    if (!root) return;
    DocumentStore& store = DocumentStore::Of(m_document);
    CXmlElement** link = &root->m_firstChild;
    CXmlElement* kept = nullptr;
    while (*link && *link != from) {
        CXmlElement* node = *link;
        if (IsPinned(node)) {
            kept = node;
            link = &node->m_nextSibling;
            continue;
        }
        *link = node->m_nextSibling;
        if (root->m_lastChild == node) root->m_lastChild = kept;
        // A kept element no longer leads to its true next sibling: stepping forward from it
        // means the engine walked back, which only a whole-tree read gets right.
        if (kept) kept->m_streamFlags |= CXmlElement::kGapAfter;
        store.DestroySubtree(node);
    }
}

XmlStream* XmlStream::OfRoot(const CXmlElement* element) {
    if (!element || !(element->m_streamFlags & CXmlElement::kStreamRoot)) return nullptr;
    return element->m_document->m_stream.get();
}

StreamPin::StreamPin(const CXmlElement* parent, CXmlElement* element) {
    XmlStream* stream = element ? XmlStream::OfRoot(parent) : nullptr;
    if (!stream) return;
    stream->Pin(element);
    m_stream = stream;
}

}  // namespace detail

CXmlElement* CXmlElement::StreamNextSibling() const {
    detail::XmlStream* stream = m_document->m_stream.get();
    if (stream) {
        if (m_streamFlags & kGapAfter) stream->MarkUnfaithful();
        if (!m_nextSibling && (m_streamFlags & kPullNext))
            stream->PullAfter(const_cast<CXmlElement*>(this));
    }
    return m_nextSibling;
}

void CXmlElement::CompleteStreamText() const {
    if (detail::XmlStream* stream = m_document->m_stream.get()) stream->ParseRest();
}

}  // namespace Tessel16
