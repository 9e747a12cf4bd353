// document_store.cpp: block pools, the name table and the non-recursive destruction of a
// subtree. A document 100 000 levels deep or a million elements wide is torn down in one
// loop over the child lists, never by recursion.
#include "xml/document_store.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <random>

namespace Tessel16::detail {

std::uint64_t NewHashSeed() {
    static const std::uint64_t base = []() -> std::uint64_t {
        try {
            std::random_device device;
            return (std::uint64_t{device()} << 32) ^ device();
        } catch (const std::exception&) {
            // No entropy source: the clock and where the library was loaded still differ
            // from run to run.
            static const int anchor = 0;
            return static_cast<std::uint64_t>(
                       std::chrono::steady_clock::now().time_since_epoch().count()) ^
                   reinterpret_cast<std::uintptr_t>(&anchor);
        }
    }();
    static std::atomic<std::uint64_t> counter{0};
    return FoldedMultiply(base ^ (++counter * 0x9E3779B97F4A7C15ull), 0xD6E8FEB86659FD93ull);
}

namespace {
// Every block holds at least a free-list link.
constexpr std::size_t kAlign = alignof(void*);
// Slabs stay below the allocator's mmap threshold, and once a pool has grown to this size
// every further slab of every pool has exactly this size, so that slabs can be shared
// through the cache below.
constexpr std::size_t kMaxSlabBytes = 64 * 1024;
// The full-size slabs of a destroyed tree are kept for the next one, up to this much in all.
// Given back to the allocator, a large tree's memory goes back to the system at once and
// the next load faults it in afresh, which measured about a tenth of loading it; a process
// that loads document after document now reuses the same pages. The amount is in line with
// what the allocator itself keeps once it has seen large blocks come and go.
constexpr std::size_t kMaxCachedSlabs = (32u << 20) / kMaxSlabBytes;

class SlabCache {
public:
    static SlabCache& Instance() {
        // Never destroyed: documents destroyed by other static destructors may still give
        // their slabs back at exit.
        static SlabCache* cache = new SlabCache;
        return *cache;
    }
    unsigned char* Take() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_slabs.empty()) {
                unsigned char* slab = m_slabs.back();
                m_slabs.pop_back();
                return slab;
            }
        }
        return static_cast<unsigned char*>(::operator new(kMaxSlabBytes));
    }
    void Give(unsigned char* slab) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_slabs.size() < kMaxCachedSlabs) {
                if (m_slabs.capacity() == 0) m_slabs.reserve(kMaxCachedSlabs);
                TESSEL16_POISON(slab, kMaxSlabBytes);
                m_slabs.push_back(slab);
                return;
            }
        }
        ::operator delete(slab);
    }

private:
    std::mutex m_mutex;
    std::vector<unsigned char*> m_slabs;
};
}  // namespace

BlockPool::BlockPool(std::size_t blockSize, std::size_t alignment)
    : m_blockSize((std::max(blockSize, sizeof(FreeBlock)) + std::max(alignment, kAlign) - 1) /
                  std::max(alignment, kAlign) * std::max(alignment, kAlign)) {}

BlockPool::~BlockPool() { Release(); }

void* BlockPool::AllocateFromNewSlab() {
    // Slabs grow geometrically up to the full size, so small documents stay small and large
    // ones need few slabs.
    const std::size_t fullBlocks = std::max<std::size_t>(1, kMaxSlabBytes / m_blockSize);
    const bool full = m_nextSlabBlocks >= fullBlocks && m_blockSize <= kMaxSlabBytes;
    std::size_t bytes = full ? kMaxSlabBytes : m_blockSize * m_nextSlabBlocks;
    // Reserved first, so that keeping the slab cannot fail once it is taken.
    m_slabs.reserve(m_slabs.size() + 1);
    auto* slab = full ? SlabCache::Instance().Take()
                      : static_cast<unsigned char*>(::operator new(bytes));
    m_slabs.push_back(Slab{slab, full});
    TESSEL16_POISON(slab, bytes);
    m_nextSlabBlocks = std::min(m_nextSlabBlocks * 2, fullBlocks);
    m_cursor = slab + m_blockSize;
    m_end = slab + bytes / m_blockSize * m_blockSize;
    TESSEL16_UNPOISON(slab, m_blockSize);
    return slab;
}

void BlockPool::Release() {
    for (const Slab& slab : m_slabs) {
        if (slab.full)
            SlabCache::Instance().Give(slab.bytes);
        else
            ::operator delete(slab.bytes);
    }
    m_slabs.clear();
    m_cursor = m_end = nullptr;
    m_free = nullptr;
    m_nextSlabBlocks = 16;
}

const std::string* NameTable::Intern(std::string_view text) {
    if (text.empty()) return &EmptyString();
    auto found = m_index.find(text);
    if (found != m_index.end()) return found->second;
    const std::string& stored = m_strings.emplace_back(text);
    m_index.emplace(std::string_view(stored), &stored);
    return &stored;
}

void NameTable::Clear() {
    m_index.clear();
    m_strings.clear();
}

CXmlElement* DocumentStore::NewElement(const CXmlDocument* document, CXmlElement* parent) {
    void* block = elements.Allocate();
    return new (block) CXmlElement(document, parent);
}

void DocumentStore::DestroyAttribute(CXmlAttribute* attribute) {
    attribute->~CXmlAttribute();
    attributes.Free(attribute);
}

void DocumentStore::DestroySubtree(CXmlElement* element) {
    element->m_nextSibling = nullptr;
    DestroyChain(element);
}

void DocumentStore::DestroyChain(CXmlElement* first) {
    // Work list threaded through the sibling links: a node's children are spliced in front
    // of the remaining work before the node itself goes, so its destructor sees no children.
    CXmlElement* pending = first;
    while (pending) {
        CXmlElement* node = pending;
        pending = node->m_nextSibling;
        if (node->m_firstChild) {
            node->m_lastChild->m_nextSibling = pending;
            pending = node->m_firstChild;
            node->m_firstChild = node->m_lastChild = nullptr;
        }
        if (m_recycleTexts) KeepText(node->m_text);
        // Every block of the pool holds a CXmlElement itself: no virtual call needed.
        node->CXmlElement::~CXmlElement();
        elements.Free(node);
    }
}

void DocumentStore::DropSpareLists() {
    for (std::vector<CXmlAttribute*>* list : m_spareLists) list->~vector();
    m_spareLists.clear();
    m_listCount = 0;
}

void DocumentStore::Reset() {
    m_spareTexts.clear();
    m_recycleTexts = false;
    names.Clear();
    elements.Release();
    attributes.Release();
    DropSpareLists();
    m_listBlocks.Release();
}

}  // namespace Tessel16::detail

namespace Tessel16 {

// Here rather than beside the rest of CXmlElement: the teardown above inlines it.
CXmlElement::~CXmlElement() {
    detail::DocumentStore& store = detail::DocumentStore::Of(m_document);
    if (m_attributes) {
        for (CXmlAttribute* attribute : *m_attributes) store.DestroyAttribute(attribute);
        store.DestroyAttributeList(m_attributes);
        m_attributes = nullptr;
    }
    if (m_firstChild) {
        CXmlElement* first = m_firstChild;
        m_firstChild = m_lastChild = nullptr;
        store.DestroyChain(first);
    }
}

}  // namespace Tessel16
