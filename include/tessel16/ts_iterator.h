// ts_iterator.h: CTsIterator, the forward iterator over the items of an object collection
// (untyped elements and attributes, generated collections). It walks the collection's node
// list and hands out the items as their own type; stepping past the end is reported instead
// of being undefined, since applications drive these iterators by hand as well as in loops.
#pragma once

#include <cstddef>
#include <iterator>

#include "tessel16/exception.h"
#include "tessel16/xml_collection.h"

namespace Tessel16 {

namespace detail {
// Thrown when an iterator at the end is read or advanced.
TESSEL16_API extern const char* const kMsgNoMoreElements;
}  // namespace detail

template <class T>
class CTsIterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T*;
    using difference_type = std::ptrdiff_t;
    using pointer = T*;
    using reference = T*;

    CTsIterator() = default;
    explicit CTsIterator(const CXmlCollection::CNode* node) : m_node(node) {}

    // The item the iterator stands on; throws CTsException at the end.
    T* operator*() const { return Current(); }
    T* operator->() const { return Current(); }

    CTsIterator& operator++() {
        if (!m_node) throw CTsException(detail::kMsgNoMoreElements);
        m_node = m_node->GetNext();
        return *this;
    }
    CTsIterator operator++(int) {
        CTsIterator before = *this;
        ++*this;
        return before;
    }

    bool operator==(const CTsIterator& other) const { return m_node == other.m_node; }
    bool operator!=(const CTsIterator& other) const { return m_node != other.m_node; }

private:
    T* Current() const {
        if (!m_node) throw CTsException(detail::kMsgNoMoreElements);
        // Items of the typed collections are only ever of their collection's item type.
        return static_cast<T*>(m_node->GetItem());
    }

    const CXmlCollection::CNode* m_node = nullptr;
};

}  // namespace Tessel16
