// text_stream.cpp: the in-memory text stream: 8-bit text from the writers, converted to the
// output encoding only when the bytes are asked for.
#include <cstring>
#include <memory>

#include "conversion/char_encoding.h"
#include "platform/memory.h"
#include "tessel16/exception.h"
#include "tessel16/streams.h"
#include "xml/stream_messages.h"

namespace Tessel16 {

CTextStream::CTextStream() : CTextStream("CTextStream", XmlEncoding_None) {}

CTextStream::CTextStream(XmlEncoding encoding) : CTextStream("CTextStream", encoding) {}

CTextStream::CTextStream(const char* instanceName, XmlEncoding encoding)
    : CInstanceMonitor(instanceName), m_encoding(encoding) {}

CTextStream::~CTextStream() = default;

void CTextStream::Open() { m_buffer.Clear(); }

void CTextStream::Close() {}

void CTextStream::Flush() {}

CBinaryData CTextStream::GetBinaryData() {
    switch (m_encoding) {
        case XmlEncoding_UTF8:
            return Utf8BinaryData(false);
        case XmlEncoding_UTF16:
        case XmlEncoding_UTF16_NoDecl:
            return detail::LocalToUtf16(m_buffer.GetString());
        default:
            throw CTsException(detail::kMsgUnknownEncoding);
    }
}

CBinaryData CTextStream::TakeBinaryData() {
    if (m_encoding != XmlEncoding_UTF8 || !detail::LocalIsUtf8()) {
        CBinaryData data = GetBinaryData();
        m_buffer.Clear();
        return data;
    }
    return Utf8BinaryData(true);
}

CBinaryData CTextStream::Utf8BinaryData(bool drain) {
    // The usual case, UTF-8 text under a UTF-8 local encoding, needs no conversion: the
    // chunks go straight into the result's own block, saving the join and a second copy of
    // the whole document. Each chunk is looked at (for a zero byte and for valid UTF-8) right
    // after its copy, while it is still in the cache.
    const std::uint32_t total = m_buffer.GetLength();
    if (total == 0) return CBinaryData();
    if (!detail::LocalIsUtf8()) return detail::LocalToUtf8(m_buffer.GetString());
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[total]);
    detail::AdviseLargeBlock(bytes.get(), total);
    detail::Utf8Checker checker;
    std::uint32_t length = 0;
    auto copy = [&](const char* chunk, std::size_t size) {
        unsigned char* out = bytes.get() + length;
        std::memcpy(out, chunk, size);
        // Like the conversion, the text ends at a zero byte.
        const void* zero = std::memchr(out, 0, size);
        const std::size_t used =
            zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - out) : size;
        checker.Add(out, used);
        length += static_cast<std::uint32_t>(used);
        return zero == nullptr;
    };
    if (drain)
        m_buffer.DrainChunks(copy);
    else
        m_buffer.ForEachChunk(copy);
    if (length == 0) return CBinaryData();
    if (checker.Finish()) return CBinaryData(bytes.release(), length, true);
    // Not valid UTF-8: the conversion decides how the bad sequences end. The copy holds the
    // same text up to its first zero byte, which is where the conversion stops too.
    const std::string text(reinterpret_cast<const char*>(bytes.get()), length);
    return detail::LocalToUtf8(text.c_str());
}

}  // namespace Tessel16
