// xml_loader.cpp: the load paths of CXmlDocument. Every path puts the input bytes into the
// document; byte blocks and whole files are inflated when they hold a complete gzip or zlib
// stream and offered to the Fast Infoset reader before expat gets them. Chunked file reads
// go straight to expat so that a document of any size is parsed as it is read.
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <new>

#include "platform/input_file.h"
#include "tessel16/exception.h"
#include "tessel16/serialization_context.h"
#include "tessel16/switches.h"
#include "tessel16/xml_document.h"
#include "xml/expat_reader.h"
#include "xml/fast_infoset_hook.h"
#include "xml/inflate.h"
#include "xml/xml_messages.h"
#include "xml/xml_stream.h"

namespace Tessel16 {

namespace {

namespace msg = detail::XmlMessages;

constexpr std::size_t kChunkSize = 131072;
constexpr std::size_t kInflateStep = 65536;
constexpr std::uint64_t kMaxInput = 0xFFFFFFFFu;

unsigned ErrorCode(const platform::InputFile& file) {
    return static_cast<unsigned>(file.LastError());
}

bool StripCData(const CSerializationContext* context) { return context->GetStripCDATA(); }

}  // namespace

namespace detail {

// The most a compressed input may inflate to under the context's limits: in proportion to
// the compressed size (so a small hostile file cannot claim gigabytes), never below a floor
// that ordinary small documents fit in, and never beyond the absolute cap or 32 bits.
constexpr std::uint64_t kInflateFloor = std::uint64_t{4} << 20;

std::uint64_t InflateLimit(std::size_t compressed, const CSerializationContext& context) {
    std::uint64_t limit = std::max<std::uint64_t>(
        kInflateFloor, static_cast<std::uint64_t>(compressed) * context.GetMaxInflateRatio());
    limit = std::min(limit, context.GetMaxInflatedSize());
    return std::min(limit, kMaxInput);
}

// Inflates data when it is one complete zlib or gzip stream (window bits 47 detects either
// header). Anything else, plain XML included, yields false and is left to the parser. A
// stream that inflates beyond `limit` throws before more than `limit` bytes are held.
bool Inflate(const unsigned char* data, std::size_t length, std::uint64_t limit,
             std::unique_ptr<unsigned char[]>& output, std::size_t& outputLength) {
    z_stream stream;
    std::memset(&stream, 0, sizeof(stream));
    if (inflateInit2(&stream, 47) != Z_OK) return false;
    struct End {
        z_stream* stream;
        ~End() { inflateEnd(stream); }
    } end{&stream};
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(length);

    // The output grows geometrically (at least one step at a time) so that inflating a
    // large document copies each byte a bounded number of times. One byte past the limit
    // is room enough to see the limit broken.
    const std::size_t most = static_cast<std::size_t>(limit) + 1;
    std::size_t capacity = std::min<std::size_t>(kInflateStep, most);
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[capacity]);
    std::size_t produced = 0;
    int result = Z_OK;
    while (true) {
        if (produced == capacity) {
            if (capacity == most) break;
            std::size_t grown = std::min(capacity * 2, most);
            std::unique_ptr<unsigned char[]> larger(new unsigned char[grown]);
            std::memcpy(larger.get(), buffer.get(), produced);
            buffer = std::move(larger);
            capacity = grown;
        }
        std::size_t room = capacity - produced;
        if (room > kInflateStep * 16) room = kInflateStep * 16;
        stream.next_out = buffer.get() + produced;
        stream.avail_out = static_cast<uInt>(room);
        result = inflate(&stream, Z_NO_FLUSH);
        produced += room - stream.avail_out;
        if (result == Z_STREAM_END) break;
        if (result != Z_OK) break;
        // Z_OK with input exhausted and room left means a truncated stream.
        if (stream.avail_in == 0 && stream.avail_out != 0) break;
    }
    if (produced > limit)
        throw CTsException(FormatString(msg::kInflatedTooLarge,
                                        static_cast<unsigned long long>(limit),
                                        static_cast<unsigned long long>(length)));
    if (result != Z_STREAM_END) return false;
    output = std::move(buffer);
    outputLength = produced;
    return true;
}

}  // namespace detail

void CXmlDocument::SetInput(std::unique_ptr<unsigned char[]> data, std::size_t length) {
    CheckInputLength(length);
    m_input = std::move(data);
    m_inputData = m_input.get();
    m_inputLength = static_cast<std::uint32_t>(length);
}

// A tree too large for memory ends the load like any other input error: the partial tree is
// given back first, so the exception does not leave the process short of memory.
void CXmlDocument::RefuseOutOfMemory() {
    Cleanup();
    throw CTsException(msg::kOutOfMemory);
}

// The input length is held in 32 bits; a longer input is refused, never truncated.
void CXmlDocument::CheckInputLength(std::size_t length) {
    if (static_cast<std::uint64_t>(length) > kMaxInput)
        throw CTsException(
            FormatString(msg::kInputTooLarge, static_cast<unsigned long long>(length)));
}

// Parsing straight from the caller's bytes saves copying a whole document; the view is
// dropped before the load returns, since the caller's buffer may not outlive the call.
void CXmlDocument::BorrowInput(const unsigned char* data, std::size_t length) {
    CheckInputLength(length);
    m_input.reset();
    m_inputData = data;
    m_inputLength = static_cast<std::uint32_t>(length);
}

void CXmlDocument::ForgetBorrowedInput() {
    if (!m_input) {
        m_inputData = nullptr;
        m_inputLength = 0;
    }
}

namespace {
// Drops a borrowed view however the load ends.
class BorrowScope {
public:
    explicit BorrowScope(std::function<void()> forget) : m_forget(std::move(forget)) {}
    ~BorrowScope() { m_forget(); }
    BorrowScope(const BorrowScope&) = delete;
    BorrowScope& operator=(const BorrowScope&) = delete;

private:
    std::function<void()> m_forget;
};
}  // namespace

void CXmlDocument::Load(const char* fileName) try {
    Cleanup();
    if (detail::IsAsyncFromXmlFile()) {
        LoadChunked(fileName);
    } else {
        LoadWhole(fileName);
        Parse();
    }
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlDocument::LoadWhole(const char* fileName) {
    platform::InputFile file;
    if (!file.Open(fileName))
        throw CTsException(FormatString(msg::kOpenFailed, fileName, ErrorCode(file)));
    std::uint64_t size = 0;
    if (!file.Size(size))
        throw CTsException(FormatString(msg::kSizeFailed, fileName, ErrorCode(file)));
    if (size > kMaxInput)
        throw CTsException(FormatString(msg::kSizeFailed, fileName, unsigned{EFBIG}));
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[size ? size : 1]);
    std::size_t bytesRead = 0;
    if (!file.Read(buffer.get(), static_cast<std::size_t>(size), bytesRead))
        throw CTsException(FormatString(msg::kReadFailed, fileName, ErrorCode(file)));
    if (bytesRead != size) {
        // The file shrank while it was read; no system error describes that.
        throw CTsException(FormatString(msg::kReadFailed, fileName, unsigned{EIO}));
    }
    file.Close();
    SetInput(std::move(buffer), static_cast<std::size_t>(size));
}

void CXmlDocument::LoadChunked(const char* fileName) {
    platform::InputFile file;
    if (!file.Open(fileName))
        throw CTsException(FormatString(msg::kOpenFailed, fileName, ErrorCode(file)));
    std::unique_ptr<unsigned char[]> chunk(new unsigned char[kChunkSize]);
    std::size_t bytesRead = 0;
    // Every chunk read, the first included, reports a failing read without the file name;
    // only an empty file (nothing to parse at all) names it.
    if (!file.Read(chunk.get(), kChunkSize, bytesRead))
        throw CTsException(FormatString(msg::kChunkReadFailed, ErrorCode(file)));
    if (bytesRead == 0)
        throw CTsException(FormatString(msg::kReadFailed, fileName, msg::kEndOfFileError));

    CExpatReader reader(this);
    reader.Init(StripCData(m_context));
    bool isFinal = bytesRead < kChunkSize;
    while (true) {
        reader.Parse(chunk.get(), bytesRead, isFinal);
        if (isFinal) break;
        if (!file.Read(chunk.get(), kChunkSize, bytesRead))
            throw CTsException(FormatString(msg::kChunkReadFailed, ErrorCode(file)));
        // A file whose size is a multiple of the chunk size ends with an empty read; that
        // is a normal end of the document, not a failure.
        isFinal = bytesRead < kChunkSize;
    }
    if (!m_documentElement) throw CTsException(msg::kInvalidOrEmpty);
}

void CXmlDocument::LoadXml(const char* xml) try {
    Cleanup();
    if (!xml || !*xml) throw CTsException(msg::kStringEmpty);
    std::size_t length = std::strlen(xml);
    if (length > kMaxInput) throw CTsException(FormatString(msg::kSizeFailed, "", unsigned{EFBIG}));
    BorrowScope scope([this] { ForgetBorrowedInput(); });
    BorrowInput(reinterpret_cast<const unsigned char*>(xml), length);
    ParseText();
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlDocument::LoadXml(const unsigned short* xml) try {
    Cleanup();
    if (!xml || !*xml) throw CTsException(msg::kStringEmpty);
    std::size_t units = 0;
    while (xml[units]) ++units;
    if (units > (kMaxInput - 2) / 2)
        throw CTsException(
            FormatString(msg::kInputTooLarge, static_cast<unsigned long long>(units) * 2 + 2));
    // A little-endian byte-order mark in front makes the parser read UTF-16 whatever the
    // declaration says.
    std::size_t length = 2 + units * 2;
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[length]);
    bytes[0] = 0xFF;
    bytes[1] = 0xFE;
    for (std::size_t i = 0; i < units; ++i) {
        bytes[2 + 2 * i] = static_cast<unsigned char>(xml[i] & 0xFF);
        bytes[3 + 2 * i] = static_cast<unsigned char>(xml[i] >> 8);
    }
    SetInput(std::move(bytes), length);
    // The text is UTF-16 by construction; a declaration naming another encoding (text that
    // was converted after it was written) must not make the parser reject it.
    ParseText("UTF-16");
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlDocument::LoadXmlStream(unsigned char* const data, std::uint32_t length) try {
    Cleanup();
    if (!data || length == 0) throw CTsException(msg::kStreamEmpty);
    BorrowScope scope([this] { ForgetBorrowedInput(); });
    BorrowInput(data, length);
    Parse();
} catch (const std::bad_alloc&) {
    RefuseOutOfMemory();
}

void CXmlDocument::Parse() {
    std::unique_ptr<unsigned char[]> inflated;
    std::size_t inflatedLength = 0;
    if (detail::Inflate(m_inputData, m_inputLength, detail::InflateLimit(m_inputLength, *m_context),
                        inflated, inflatedLength))
        SetInput(std::move(inflated), inflatedLength);
    if (detail::ReadFastInfoset(*this, *m_context)) return;
    ParseText();
}

void CXmlDocument::ParseText(const char* forcedEncoding) {
    if (m_streamRequested) {
        m_stream.reset(new detail::XmlStream(this, m_inputData, m_inputLength));
        m_stream->Start(forcedEncoding);
        return;
    }
    CExpatReader reader(this);
    reader.Init(StripCData(m_context), forcedEncoding);
    if (!forcedEncoding) reader.CountLines(m_inputData, m_inputLength);
    reader.Parse(m_inputData, m_inputLength, true);
}

}  // namespace Tessel16
