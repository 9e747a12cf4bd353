// document_store.h: the memory behind a parsed tree. Nodes come from fixed-size block pools
// with free lists (a pruned element's block is reused by the next one, so streaming a huge
// document through the element-end callback runs in constant memory), and every element and
// attribute name or namespace URI is stored once per document and shared by pointer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tessel16/xml_document.h"
#include "xml/name_hash.h"

// Blocks on a pool's free list are poisoned under AddressSanitizer, so a use after the
// node went is reported as one.
#if defined(__SANITIZE_ADDRESS__)
#define TESSEL16_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL16_POOL_ASAN 1
#endif
#endif

#if defined(TESSEL16_POOL_ASAN)
#include <sanitizer/asan_interface.h>
#define TESSEL16_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define TESSEL16_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define TESSEL16_POISON(p, n) ((void)(p), (void)(n))
#define TESSEL16_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace Tessel16::detail {

// The empty string that empty names and URIs point to; it lives for the whole run. Inline:
// every new element asks for it twice.
inline const std::string& EmptyString() {
    static const std::string empty;
    return empty;
}

class BlockPool {
public:
    // Blocks are aligned to `alignment` (a power of two), by default enough for anything.
    explicit BlockPool(std::size_t blockSize, std::size_t alignment = alignof(std::max_align_t));
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    void* Allocate() {
        if (m_free) {
            FreeBlock* block = m_free;
            TESSEL16_UNPOISON(block, m_blockSize);
            m_free = block->next;
            return block;
        }
        if (m_cursor == m_end) return AllocateFromNewSlab();
        void* block = m_cursor;
        m_cursor += m_blockSize;
        TESSEL16_UNPOISON(block, m_blockSize);
        return block;
    }
    void Free(void* block) {
        auto* freeBlock = static_cast<FreeBlock*>(block);
        freeBlock->next = m_free;
        m_free = freeBlock;
        TESSEL16_POISON(block, m_blockSize);
        // The link itself must stay readable for Allocate.
        TESSEL16_UNPOISON(&freeBlock->next, sizeof(FreeBlock*));
    }
    // Gives every slab back; only valid when no block is in use.
    void Release();

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    void* AllocateFromNewSlab();
    struct Slab {
        unsigned char* bytes;
        bool full;  // of the shared full size, so it may go back to the slab cache
    };
    std::size_t m_blockSize;
    std::size_t m_nextSlabBlocks = 16;
    std::vector<Slab> m_slabs;
    unsigned char* m_cursor = nullptr;
    unsigned char* m_end = nullptr;
    FreeBlock* m_free = nullptr;
};

// One copy of each distinct string; the returned pointers stay valid until Clear.
class NameTable {
public:
    const std::string* Intern(std::string_view text);
    void Clear();

private:
    // A deque never moves its elements, so views into them stay valid as keys.
    std::deque<std::string> m_strings;
    std::unordered_map<std::string_view, const std::string*, SeededNameHash> m_index;
};

struct DocumentStore {
    static DocumentStore& Of(const CXmlDocument* document) { return *document->m_store; }

    // Packed to the nodes' own alignment: a large document holds hundreds of thousands.
    BlockPool elements{sizeof(CXmlElement), alignof(CXmlElement)};
    BlockPool attributes{sizeof(CXmlAttribute), alignof(CXmlAttribute)};
    NameTable names;

    DocumentStore() = default;
    DocumentStore(const DocumentStore&) = delete;
    DocumentStore& operator=(const DocumentStore&) = delete;
    ~DocumentStore() { DropSpareLists(); }

    CXmlElement* NewElement(const CXmlDocument* document, CXmlElement* parent);
    // A named element appended to the children of parent.
    CXmlElement* NewChild(CXmlElement* parent, const std::string* localName,
                          const std::string* namespaceUri) {
        return new (elements.Allocate()) CXmlElement(parent, localName, namespaceUri);
    }
    CXmlAttribute* NewAttribute(const CXmlElement* owner, const std::string* localName,
                                const std::string* namespaceUri, const char* value,
                                std::size_t valueLength) {
        void* block = attributes.Allocate();
        try {
            return new (block) CXmlAttribute(owner, localName, namespaceUri, value, valueLength);
        } catch (...) {
            attributes.Free(block);
            throw;
        }
    }
    // Destroys the element and its subtree without recursion; the element must already be
    // unlinked from its parent.
    void DestroySubtree(CXmlElement* element);
    // Destroys first, its following siblings and all their subtrees.
    void DestroyChain(CXmlElement* first);
    void DestroyAttribute(CXmlAttribute* attribute);
    // An empty list for an element's attributes, and its end (the attributes already gone).
    // An ended list keeps its capacity for the next element that has attributes, so a read
    // that prunes as it goes allocates no attribute arrays once it is under way.
    std::vector<CXmlAttribute*>* NewAttributeList() {
        if (!m_spareLists.empty()) {
            std::vector<CXmlAttribute*>* list = m_spareLists.back();
            m_spareLists.pop_back();
            return list;
        }
        // Room to keep every list made so far, so ending one never allocates.
        if (m_spareLists.capacity() <= m_listCount)
            m_spareLists.reserve(std::max<std::size_t>(16, 2 * m_listCount));
        auto* list = new (m_listBlocks.Allocate()) std::vector<CXmlAttribute*>();
        ++m_listCount;
        return list;
    }
    void DestroyAttributeList(std::vector<CXmlAttribute*>* list) noexcept {
        list->clear();
        m_spareLists.push_back(list);
    }
    // Texts this long live outside the string itself (its short-string buffer holds 15).
    static constexpr std::size_t kShortText = 15;
    // About what one batch of a streamed read destroys; a tree torn down whole keeps no more.
    static constexpr std::size_t kMaxSpareTexts = 512;
    // From here on, destroyed elements keep their text buffers for the next elements' texts
    // (up to a batch's worth): a read that destroys the elements it has passed then
    // allocates no text once under way.
    void RecycleTexts() {
        if (!m_recycleTexts) m_spareTexts.reserve(kMaxSpareTexts);
        m_recycleTexts = true;
    }
    // Gives an element without text the buffer of a destroyed element's text, if one is kept.
    void TakeSpareText(std::string& text) noexcept {
        if (m_spareTexts.empty() || !text.empty()) return;
        text = std::move(m_spareTexts.back());
        m_spareTexts.pop_back();
    }
    // Destroys nothing: forgets all names and slabs once the tree is gone.
    void Reset();

private:
    // Destroys the ended lists; only valid when every list has ended.
    void DropSpareLists();
    // Keeps the buffer of a text going with its element (never allocates: RecycleTexts made
    // the room).
    void KeepText(std::string& text) noexcept {
        if (text.capacity() <= kShortText || m_spareTexts.size() == kMaxSpareTexts) return;
        m_spareTexts.push_back(std::move(text));
        m_spareTexts.back().clear();
    }
    bool m_recycleTexts = false;
    std::vector<std::string> m_spareTexts;
    BlockPool m_listBlocks{sizeof(std::vector<CXmlAttribute*>),
                           alignof(std::vector<CXmlAttribute*>)};
    std::vector<std::vector<CXmlAttribute*>*> m_spareLists;
    std::size_t m_listCount = 0;
};

}  // namespace Tessel16::detail
