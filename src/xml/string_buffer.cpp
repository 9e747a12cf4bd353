// string_buffer.cpp: the chunked text builder under every text stream. Text goes into chunks of
// 4095 bytes and up, doubling to 1 MiB, and is never moved while appending; joining happens
// once, on demand.
#include <cstring>
#include <limits>

#include "tessel16/exception.h"
#include "tessel16/streams.h"

namespace Tessel16 {

CStringBuffer::~CStringBuffer() { FreeChunks(); }

void CStringBuffer::Append(const char* text) {
    if (text) Append(text, std::strlen(text));
}

void CStringBuffer::AppendUpToZero(const char* text, std::size_t length) {
    // Only the part before an embedded zero byte counts, as for a C string.
    const char* zero = static_cast<const char*>(std::memchr(text, '\0', length));
    Append(text, zero ? static_cast<std::size_t>(zero - text) : length);
}

void CStringBuffer::AppendSlow(const char* text, std::size_t length) {
    if (length == 0) return;
    // Lengths are 32-bit throughout; a document of 4 GiB of text is refused, not wrapped.
    if (length > std::numeric_limits<std::uint32_t>::max() - m_totalLength)
        throw CTsException("The text buffer would exceed 4294967295 bytes");
    m_totalLength += static_cast<std::uint32_t>(length);
    while (length > 0) {
        if (m_currentUsed == m_currentCapacity) AddChunk();
        std::size_t room = m_currentCapacity - m_currentUsed;
        std::size_t n = length < room ? length : room;
        std::memcpy(m_currentChunk + m_currentUsed, text, n);
        m_currentUsed += static_cast<std::uint32_t>(n);
        text += n;
        length -= n;
    }
}

const char* CStringBuffer::GetString() {
    if (m_chunks.empty()) return "";
    if (m_chunks.size() > 1) {
        char* joined = new char[static_cast<std::size_t>(m_totalLength) + 1];
        char* out = joined;
        for (std::size_t i = 0; i + 1 < m_chunks.size(); ++i) {
            std::memcpy(out, m_chunks[i], m_chunkLengths[i]);
            out += m_chunkLengths[i];
        }
        std::memcpy(out, m_currentChunk, m_currentUsed);
        joined[m_totalLength] = '\0';
        FreeChunks();
        m_chunks.push_back(joined);
        m_chunkLengths.push_back(m_totalLength);
        // The joined block is full: the next append starts a fresh chunk.
        m_currentChunk = joined;
        m_currentUsed = m_totalLength;
        m_currentCapacity = m_totalLength;
    }
    // Chunks are not zero-filled: the used part is terminated here.
    m_currentChunk[m_currentUsed] = '\0';
    return m_chunks.front();
}

void CStringBuffer::CopyTo(char* destination) const {
    ForEachChunk([&destination](const char* chunk, std::size_t length) {
        std::memcpy(destination, chunk, length);
        destination += length;
        return true;
    });
}

void CStringBuffer::Clear() {
    if (m_chunks.size() == 1) {
        std::memset(m_currentChunk, 0, static_cast<std::size_t>(m_currentCapacity) + 1);
        m_currentUsed = 0;
        m_chunkLengths[0] = m_currentCapacity;
    } else {
        FreeChunks();
    }
    m_totalLength = 0;
}

void CStringBuffer::AddChunk() {
    char* chunk = new char[m_chunkSize + 1];
    m_chunks.push_back(chunk);
    m_chunkLengths.push_back(m_chunkSize);
    m_currentChunk = chunk;
    m_currentUsed = 0;
    m_currentCapacity = m_chunkSize;
    // A whole document in memory grows into ever larger chunks, so it takes a few dozen
    // allocations rather than one per 4 KiB; a flushed buffer starts small again.
    if (m_chunkSize < kLargestChunkSize) m_chunkSize = m_chunkSize * 2 + 1;
}

void CStringBuffer::FreeChunks() {
    for (char* chunk : m_chunks) delete[] chunk;
    m_chunks.clear();
    m_chunkLengths.clear();
    m_currentChunk = nullptr;
    m_currentUsed = 0;
    m_currentCapacity = 0;
    m_chunkSize = kChunkSize;
}

}  // namespace Tessel16
