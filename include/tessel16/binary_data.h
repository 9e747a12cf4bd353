// binary_data.h: CBinaryData, the library's byte buffer: the value of xs:base64Binary and
// xs:hexBinary and the result of every stream entry point. Copies share one buffer until
// one side writes (copy-on-write); the shared record carries its own re-entrant lock.
#pragma once

#include <cstdint>
#include <string>

#include "tessel16/export.h"

namespace Tessel16 {

namespace detail {
struct BinaryRecord;
}

class TESSEL16_API CBinaryData {
public:
    // An empty value: no bytes, GetData() is null.
    CBinaryData();
    // Shares the other's bytes.
    CBinaryData(const CBinaryData& other);
    CBinaryData& operator=(const CBinaryData& other);
    // Length 0 gives an empty value. With adopt true the value takes ownership of data,
    // which must come from new[]; otherwise the bytes are copied.
    CBinaryData(unsigned char* const data, std::uint32_t length, bool adopt);
    // Copies the characters of a NUL-terminated text, without the NUL.
    explicit CBinaryData(const char* text);
    virtual ~CBinaryData();

    // The bytes, or null for an empty value.
    unsigned char* GetData() const;
    // Number of bytes, 0 for an empty value.
    std::uint32_t GetLength() const;

    // Writable access: unshares the buffer first. Throws "Index Out of range [%d]".
    unsigned char& operator[](std::uint32_t index);
    // Throws "Index Out of range [%d]".
    const unsigned char& operator[](std::uint32_t index) const;

    void Append(unsigned char* const data, std::uint32_t length);
    void Append(char c);
    void Append(unsigned char c);
    void Append(const char* text);
    void Append(const std::string& text);
    void Append(const CBinaryData& other);

    // Replaces the bytes with a copy of the given ones (an empty value for length 0).
    void SetBuffer(unsigned char* const data, std::uint32_t length);
    void SetBuffer(const char* text);
    // Drops the bytes; the value becomes empty.
    void Clear();
    // Hands the byte array (from new[]) to the caller and leaves the value empty; null for
    // an empty value. Throws "Failed to release data. [RefCount=%d]" while shared.
    unsigned char* ReleaseData();

    bool operator==(const CBinaryData& other) const;
    bool operator!=(const CBinaryData& other) const { return !(*this == other); }

    // Base64 (RFC 4648 alphabet, '=' padding, no line breaks); "" for an empty value.
    std::string GetAsBase64() const;
    // Two upper-case hex digits per byte; "" for an empty value.
    std::string GetAsHexString() const;
    static std::string GetAsHexString(unsigned char* const data, std::uint32_t length);
    // Decodes base64; blanks and line breaks are skipped, any other stray character yields
    // zero bytes without an exception.
    void SetAsBase64(const char* text);
    // Decodes hex text. Throws "Invalid length in hex string" or
    // "Invalid char in hex string [%c]".
    void SetAsHexString(const char* text);

protected:
    // Decodes hex text into a new[] array of half its length; returns the byte count.
    static std::uint32_t ConvertToHexData(const char* text, unsigned char** result);

private:
    void MakeUnshared();
    void ReleaseRecord();

    detail::BinaryRecord* m_record = nullptr;
};

}  // namespace Tessel16
