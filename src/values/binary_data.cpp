// binary_data.cpp: the shared, copy-on-write byte buffer and its hex and base64 forms.
// Each shared record has its own re-entrant lock so that handles sharing it may be copied
// and dropped from different threads.
#include "tessel16/binary_data.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "tessel16/critical_section.h"
#include "tessel16/exception.h"
#include "values/base64.h"

namespace Tessel16 {
namespace detail {

struct BinaryRecord {
    unsigned char* data = nullptr;
    std::uint32_t length = 0;
    std::uint32_t capacity = 0;
    std::int32_t refCount = 1;
    CTSCriticalSection lock;
};

}  // namespace detail

namespace {

using detail::BinaryRecord;

constexpr const char* kIndexOutOfRange = "Index Out of range [%d]";
constexpr const char* kFailedToAppend = "Failed to append. [RefCount=%d]";
constexpr const char* kFailedToRelease = "Failed to release data. [RefCount=%d]";
constexpr const char* kInvalidHexLength = "Invalid length in hex string";
constexpr const char* kInvalidHexChar = "Invalid char in hex string [%c]";
constexpr const char* kTooLarge = "The binary data would exceed 4294967295 bytes";

constexpr std::uint32_t kMinCapacity = 8192;

// The length of a C string as the 32-bit count a buffer holds; a longer text is refused
// rather than cut short.
std::uint32_t TextLength(const char* text) {
    std::size_t length = std::strlen(text);
    if (length > std::numeric_limits<std::uint32_t>::max()) throw CTsException(kTooLarge);
    return static_cast<std::uint32_t>(length);
}

std::uint32_t CopyCapacity(std::uint32_t length) {
    std::uint64_t twice = std::uint64_t{length} * 2;
    twice = std::max<std::uint64_t>(twice, kMinCapacity);
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(twice, std::numeric_limits<std::uint32_t>::max()));
}

BinaryRecord* NewCopyingRecord(const unsigned char* bytes, std::uint32_t length) {
    auto* record = new BinaryRecord;
    record->capacity = CopyCapacity(length);
    record->data = new unsigned char[record->capacity];
    std::memcpy(record->data, bytes, length);
    record->length = length;
    return record;
}

BinaryRecord* NewAdoptingRecord(unsigned char* bytes, std::uint32_t length) {
    auto* record = new BinaryRecord;
    record->data = bytes;
    record->length = length;
    record->capacity = length;
    return record;
}

int HexNibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

CBinaryData::CBinaryData() = default;

CBinaryData::CBinaryData(const CBinaryData& other) : m_record(other.m_record) {
    if (m_record) {
        std::lock_guard<CTSCriticalSection> guard(m_record->lock);
        ++m_record->refCount;
    }
}

CBinaryData& CBinaryData::operator=(const CBinaryData& other) {
    if (this == &other || m_record == other.m_record) return *this;
    ReleaseRecord();
    m_record = other.m_record;
    if (m_record) {
        std::lock_guard<CTSCriticalSection> guard(m_record->lock);
        ++m_record->refCount;
    }
    return *this;
}

CBinaryData::CBinaryData(unsigned char* const data, std::uint32_t length, bool adopt) {
    if (length == 0 || data == nullptr) {
        if (adopt) delete[] data;
        return;
    }
    m_record = adopt ? NewAdoptingRecord(data, length) : NewCopyingRecord(data, length);
}

CBinaryData::CBinaryData(const char* text) { SetBuffer(text); }

CBinaryData::~CBinaryData() { ReleaseRecord(); }

unsigned char* CBinaryData::GetData() const { return m_record ? m_record->data : nullptr; }

std::uint32_t CBinaryData::GetLength() const { return m_record ? m_record->length : 0; }

unsigned char& CBinaryData::operator[](std::uint32_t index) {
    if (m_record == nullptr || index >= m_record->length)
        throw CTsException(FormatString(kIndexOutOfRange, static_cast<int>(index)));
    MakeUnshared();
    return m_record->data[index];
}

const unsigned char& CBinaryData::operator[](std::uint32_t index) const {
    if (m_record == nullptr || index >= m_record->length)
        throw CTsException(FormatString(kIndexOutOfRange, static_cast<int>(index)));
    return m_record->data[index];
}

void CBinaryData::Append(unsigned char* const data, std::uint32_t length) {
    if (length == 0 || data == nullptr) return;
    if (m_record == nullptr) {
        m_record = NewCopyingRecord(data, length);
        return;
    }
    // Bytes that come from our own buffer would move when it grows: copy them out first.
    if (data >= m_record->data && data < m_record->data + m_record->length) {
        CBinaryData copy(data, length, false);
        Append(copy.GetData(), copy.GetLength());
        return;
    }
    MakeUnshared();
    std::lock_guard<CTSCriticalSection> guard(m_record->lock);
    if (m_record->refCount != 1) throw CTsException(FormatString(kFailedToAppend, m_record->refCount));
    std::uint64_t needed = std::uint64_t{m_record->length} + length;
    if (needed > std::numeric_limits<std::uint32_t>::max()) throw CTsException(kTooLarge);
    if (needed > m_record->capacity) {
        std::uint32_t capacity = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(needed * 2, std::numeric_limits<std::uint32_t>::max()));
        auto* grown = new unsigned char[capacity];
        std::memcpy(grown, m_record->data, m_record->length);
        delete[] m_record->data;
        m_record->data = grown;
        m_record->capacity = capacity;
    }
    std::memcpy(m_record->data + m_record->length, data, length);
    m_record->length = static_cast<std::uint32_t>(needed);
}

void CBinaryData::Append(char c) { Append(static_cast<unsigned char>(c)); }

void CBinaryData::Append(unsigned char c) {
    unsigned char byte = c;
    Append(&byte, 1);
}

void CBinaryData::Append(const char* text) {
    if (text == nullptr) return;
    Append(reinterpret_cast<unsigned char*>(const_cast<char*>(text)), TextLength(text));
}

void CBinaryData::Append(const std::string& text) { Append(text.c_str()); }

void CBinaryData::Append(const CBinaryData& other) {
    if (other.GetLength() == 0) return;
    // A value sharing our record keeps it alive while we unshare, so its bytes stay valid.
    CBinaryData keep(other);
    Append(keep.GetData(), keep.GetLength());
}

void CBinaryData::SetBuffer(unsigned char* const data, std::uint32_t length) {
    ReleaseRecord();
    if (length > 0 && data != nullptr) m_record = NewCopyingRecord(data, length);
}

void CBinaryData::SetBuffer(const char* text) {
    if (text == nullptr) {
        ReleaseRecord();
        return;
    }
    SetBuffer(reinterpret_cast<unsigned char*>(const_cast<char*>(text)), TextLength(text));
}

void CBinaryData::Clear() { ReleaseRecord(); }

unsigned char* CBinaryData::ReleaseData() {
    if (m_record == nullptr) return nullptr;
    BinaryRecord* record = m_record;
    unsigned char* data = nullptr;
    {
        std::lock_guard<CTSCriticalSection> guard(record->lock);
        --record->refCount;
        if (record->refCount > 0) {
            std::int32_t count = record->refCount;
            ++record->refCount;  // the handle keeps its share: nothing was released
            throw CTsException(FormatString(kFailedToRelease, count));
        }
        data = record->data;
        record->data = nullptr;
    }
    delete record;
    m_record = nullptr;
    return data;
}

bool CBinaryData::operator==(const CBinaryData& other) const {
    // A zero-length record (what undecodable base64 leaves) holds no bytes, so it equals
    // an empty value.
    std::uint32_t length = GetLength();
    if (length != other.GetLength()) return false;
    return length == 0 || std::memcmp(GetData(), other.GetData(), length) == 0;
}

std::string CBinaryData::GetAsBase64() const {
    return detail::CBase64::Encode(GetData(), GetLength());
}

std::string CBinaryData::GetAsHexString() const { return GetAsHexString(GetData(), GetLength()); }

std::string CBinaryData::GetAsHexString(unsigned char* const data, std::uint32_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    if (data == nullptr) return out;
    out.resize(std::size_t{length} * 2);
    for (std::uint32_t i = 0; i < length; ++i) {
        out[2 * std::size_t{i}] = kDigits[data[i] >> 4];
        out[2 * std::size_t{i} + 1] = kDigits[data[i] & 0x0F];
    }
    return out;
}

void CBinaryData::SetAsBase64(const char* text) {
    ReleaseRecord();
    if (text == nullptr || *text == '\0') return;
    std::size_t textLength = std::strlen(text);
    if (textLength >= std::numeric_limits<std::uint32_t>::max()) throw CTsException(kTooLarge);
    auto* bytes = new unsigned char[textLength + 1];
    std::uint32_t count = detail::CBase64::Decode(text, textLength, bytes);
    m_record = NewAdoptingRecord(bytes, count);
}

void CBinaryData::SetAsHexString(const char* text) {
    ReleaseRecord();
    unsigned char* bytes = nullptr;
    std::uint32_t count = ConvertToHexData(text, &bytes);
    if (count > 0)
        m_record = NewAdoptingRecord(bytes, count);
    else
        delete[] bytes;
}

std::uint32_t CBinaryData::ConvertToHexData(const char* text, unsigned char** result) {
    *result = nullptr;
    if (text == nullptr) return 0;
    std::size_t length = std::strlen(text);
    if (length % 2 != 0) throw CTsException(kInvalidHexLength);
    if (length == 0) return 0;
    if (length / 2 > std::numeric_limits<std::uint32_t>::max()) throw CTsException(kTooLarge);
    auto* bytes = new unsigned char[length / 2];
    for (std::size_t i = 0; i < length; i += 2) {
        int high = HexNibble(text[i]);
        int low = HexNibble(text[i + 1]);
        if (high < 0 || low < 0) {
            delete[] bytes;
            throw CTsException(FormatString(kInvalidHexChar, high < 0 ? text[i] : text[i + 1]));
        }
        bytes[i / 2] = static_cast<unsigned char>((high << 4) | low);
    }
    *result = bytes;
    return static_cast<std::uint32_t>(length / 2);
}

void CBinaryData::MakeUnshared() {
    if (m_record == nullptr) return;
    std::lock_guard<CTSCriticalSection> guard(m_record->lock);
    if (m_record->refCount < 2) return;
    BinaryRecord* fresh = NewCopyingRecord(m_record->data, m_record->length);
    --m_record->refCount;
    m_record = fresh;  // the guard still refers to the old record's lock
}

void CBinaryData::ReleaseRecord() {
    BinaryRecord* record = m_record;
    if (record == nullptr) return;
    m_record = nullptr;
    {
        std::lock_guard<CTSCriticalSection> guard(record->lock);
        if (--record->refCount > 0) return;
    }
    delete[] record->data;
    delete record;
}

}  // namespace Tessel16
