// limb_vector.cpp: the growth and copying of LimbVector, the small-buffer storage of big
// integer magnitudes. Kept out of line so the header stays small; the inline accessors are
// all that the hot paths call per limb.
#include <algorithm>
#include <cstring>
#include <utility>

#include "tessel16/decimal.h"

namespace Tessel16::detail {

LimbVector::LimbVector(std::size_t count, std::uint32_t value) : m_data(m_inline) {
    assign(count, value);
}

LimbVector::LimbVector(const std::uint32_t* first, const std::uint32_t* last) : m_data(m_inline) {
    const auto count = static_cast<std::size_t>(last - first);
    if (count > m_capacity) Grow(count);
    if (count) std::memcpy(m_data, first, count * sizeof(std::uint32_t));
    m_size = static_cast<std::uint32_t>(count);
}

LimbVector::LimbVector(const LimbVector& other) : LimbVector(other.begin(), other.end()) {}

LimbVector::LimbVector(LimbVector&& other) noexcept : m_data(m_inline) {
    if (other.IsInline()) {
        std::copy(other.begin(), other.end(), m_inline);
        m_size = other.m_size;
    } else {
        m_data = other.m_data;
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        other.m_data = other.m_inline;
        other.m_capacity = kInlineLimbs;
    }
    other.m_size = 0;
}

LimbVector& LimbVector::operator=(const LimbVector& other) {
    if (this == &other) return *this;
    if (other.m_size > m_capacity) {
        // Growing would copy the present limbs for nothing.
        m_size = 0;
        Grow(other.m_size);
    }
    if (other.m_size) std::memcpy(m_data, other.m_data, other.m_size * sizeof(std::uint32_t));
    m_size = other.m_size;
    return *this;
}

LimbVector& LimbVector::operator=(LimbVector&& other) noexcept {
    if (this == &other) return *this;
    if (other.IsInline()) {
        // Our own buffer, inline or not, holds at least the inline capacity.
        std::copy(other.begin(), other.end(), m_data);
        m_size = other.m_size;
    } else {
        if (!IsInline()) delete[] m_data;
        m_data = other.m_data;
        m_size = other.m_size;
        m_capacity = other.m_capacity;
        other.m_data = other.m_inline;
        other.m_capacity = kInlineLimbs;
    }
    other.m_size = 0;
    return *this;
}

LimbVector::~LimbVector() {
    if (!IsInline()) delete[] m_data;
}

void LimbVector::Grow(std::size_t minimum) {
    const std::size_t capacity = std::max<std::size_t>(minimum, std::size_t{m_capacity} * 2);
    auto* data = new std::uint32_t[capacity];
    if (m_size) std::memcpy(data, m_data, m_size * sizeof(std::uint32_t));
    if (!IsInline()) delete[] m_data;
    m_data = data;
    m_capacity = static_cast<std::uint32_t>(capacity);
}

void LimbVector::resize(std::size_t count, std::uint32_t value) {
    if (count > m_capacity) Grow(count);
    if (count > m_size) std::fill(m_data + m_size, m_data + count, value);
    m_size = static_cast<std::uint32_t>(count);
}

void LimbVector::assign(std::size_t count, std::uint32_t value) {
    m_size = 0;
    resize(count, value);
}

void LimbVector::insert_front(std::size_t count, std::uint32_t value) {
    if (count == 0) return;
    const std::size_t old = m_size;
    resize(old + count);
    std::memmove(m_data + count, m_data, old * sizeof(std::uint32_t));
    std::fill(m_data, m_data + count, value);
}

void LimbVector::swap(LimbVector& other) noexcept {
    LimbVector moved(std::move(other));
    other = std::move(*this);
    *this = std::move(moved);
}

}  // namespace Tessel16::detail
