// smart_ptr.h: CSmartPtr, the owning handle of a reference-counted bindable object. Generated
// code and applications hold objects through it so the intrusive count stays balanced.
#pragma once

#include <cstddef>

namespace Tessel16 {

// Holds one reference of a T (anything with AddRef/Release): taken on construction or
// assignment, given back on destruction. A null pointer holds nothing.
template <class T>
class CSmartPtr {
public:
    CSmartPtr() noexcept = default;
    CSmartPtr(std::nullptr_t) noexcept {}      // NOLINT: null converts implicitly, as T* does
    CSmartPtr(T* object) : m_object(object) {  // NOLINT: adopting a raw pointer is the point
        if (m_object) m_object->AddRef();
    }
    CSmartPtr(const CSmartPtr& other) : CSmartPtr(other.m_object) {}
    // A smart pointer to a derived class converts to one of its base.
    template <class U>
    CSmartPtr(const CSmartPtr<U>& other) : CSmartPtr(other.get()) {}  // NOLINT
    CSmartPtr(CSmartPtr&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
    ~CSmartPtr() {
        if (m_object) m_object->Release();
    }

    CSmartPtr& operator=(const CSmartPtr& other) { return Reset(other.m_object); }
    CSmartPtr& operator=(CSmartPtr&& other) noexcept {
        if (this != &other) {
            T* old = m_object;
            m_object = other.m_object;
            other.m_object = nullptr;
            if (old) old->Release();
        }
        return *this;
    }
    CSmartPtr& operator=(T* object) { return Reset(object); }
    CSmartPtr& operator=(std::nullptr_t) { return Reset(nullptr); }

    T* get() const noexcept { return m_object; }
    T* operator->() const noexcept { return m_object; }
    T& operator*() const noexcept { return *m_object; }
    explicit operator bool() const noexcept { return m_object != nullptr; }

    template <class U>
    bool operator==(const CSmartPtr<U>& other) const noexcept {
        return m_object == other.get();
    }
    template <class U>
    bool operator!=(const CSmartPtr<U>& other) const noexcept {
        return m_object != other.get();
    }
    bool operator==(std::nullptr_t) const noexcept { return m_object == nullptr; }
    bool operator!=(std::nullptr_t) const noexcept { return m_object != nullptr; }

private:
    // AddRef before Release, so assigning an object to the pointer that already holds its
    // last reference does not destroy it on the way.
    CSmartPtr& Reset(T* object) {
        if (object) object->AddRef();
        T* old = m_object;
        m_object = object;
        if (old) old->Release();
        return *this;
    }

    T* m_object = nullptr;
};

template <class T>
bool operator==(std::nullptr_t, const CSmartPtr<T>& p) noexcept {
    return p == nullptr;
}
template <class T>
bool operator!=(std::nullptr_t, const CSmartPtr<T>& p) noexcept {
    return p != nullptr;
}

}  // namespace Tessel16
