// document_store.h: the memory behind a parsed tree. Nodes come from fixed-size block pools
// with free lists (a pruned element's block is reused by the next one, so streaming a huge
// document through the element-end callback runs in constant memory), and every element and
// attribute name or namespace URI is stored once per document and shared by pointer.
#pragma once

#include <cstddef>
#include <deque>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tessel16/xml_document.h"
#include "xml/name_hash.h"

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

    void* Allocate();
    void Free(void* block);
    // Gives every slab back; only valid when no block is in use.
    void Release();

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    std::size_t m_blockSize;
    std::size_t m_nextSlabBlocks = 16;
    std::vector<unsigned char*> m_slabs;
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
    // An element's list of attributes: one allocation fewer per element that has any.
    BlockPool attributeLists{sizeof(std::vector<CXmlAttribute*>),
                             alignof(std::vector<CXmlAttribute*>)};
    NameTable names;

    CXmlElement* NewElement(const CXmlDocument* document, CXmlElement* parent);
    CXmlAttribute* NewAttribute(const CXmlElement* owner, const std::string* localName,
                                const std::string* namespaceUri, const char* value,
                                std::size_t valueLength);
    // Destroys the element and its subtree without recursion; the element must already be
    // unlinked from its parent.
    void DestroySubtree(CXmlElement* element);
    // Destroys first, its following siblings and all their subtrees.
    void DestroyChain(CXmlElement* first);
    void DestroyAttribute(CXmlAttribute* attribute);
    // An empty list for an element's attributes, and its end (the attributes already gone).
    std::vector<CXmlAttribute*>* NewAttributeList() {
        return new (attributeLists.Allocate()) std::vector<CXmlAttribute*>();
    }
    void DestroyAttributeList(std::vector<CXmlAttribute*>* list) {
        list->~vector();
        attributeLists.Free(list);
    }
    // Destroys nothing: forgets all names and slabs once the tree is gone.
    void Reset();
};

}  // namespace Tessel16::detail
