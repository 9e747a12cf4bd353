// streams.h: the sinks the writers fill. CStringBuffer builds 8-bit text in fixed chunks
// without moving it; CTextStream adds the output encoding; the file streams write the text
// (as it is produced) or a finished byte block to a file.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tessel16/binary_data.h"
#include "tessel16/export.h"
#include "tessel16/fwd.h"
#include "tessel16/types.h"

namespace Tessel16 {

// Chunked text builder: appended text is never moved until GetString joins the chunks.
class TESSEL16_API CStringBuffer {
public:
    CStringBuffer() = default;
    CStringBuffer(const CStringBuffer&) = delete;
    CStringBuffer& operator=(const CStringBuffer&) = delete;
    virtual ~CStringBuffer();

    void Append(const char* text);
    // Appends the text up to its first zero byte. Names and prefixes are short: for them
    // an inline scan costs less than the call that searches longer texts.
    void Append(const std::string& text) {
        const std::size_t size = text.size();
        if (size > 16) return AppendUpToZero(text.data(), size);
        const char* data = text.data();
        std::size_t length = 0;
        while (length < size && data[length] != '\0') ++length;
        Append(data, length);
    }
    void Append(char c) {
        if (m_currentUsed < m_currentCapacity && m_totalLength < kMaxLength) {
            m_currentChunk[m_currentUsed++] = c;
            ++m_totalLength;
        } else {
            AppendSlow(&c, 1);
        }
    }
    // Appends exactly `length` bytes. Writers append many short pieces, so the common case
    // (the piece fits in the current chunk) is inline.
    void Append(const char* text, std::size_t length) {
        if (length != 0 && length <= m_currentCapacity - m_currentUsed &&
            length <= kMaxLength - m_totalLength) {
            std::memcpy(m_currentChunk + m_currentUsed, text, length);
            m_currentUsed += static_cast<std::uint32_t>(length);
            m_totalLength += static_cast<std::uint32_t>(length);
        } else {
            AppendSlow(text, length);
        }
    }
    // `length` free bytes at the end of the current chunk, or null when it has less room
    // left: a writer assembles a short piece of markup there and counts it in with Commit,
    // instead of appending it piece by piece.
    char* Room(std::size_t length) {
        return length <= m_currentCapacity - m_currentUsed && length <= kMaxLength - m_totalLength
                   ? m_currentChunk + m_currentUsed
                   : nullptr;
    }
    // Counts in `length` bytes written at Room; at most what Room was asked for.
    void Commit(std::size_t length) {
        m_currentUsed += static_cast<std::uint32_t>(length);
        m_totalLength += static_cast<std::uint32_t>(length);
    }
    std::uint32_t GetLength() const { return m_totalLength; }
    // The whole text, zero-terminated; joins the chunks into one so a second call is free.
    // Valid until the next change of the buffer.
    const char* GetString();
    // Copies the whole text (GetLength() bytes, no terminator) to `destination` without
    // joining the chunks, for callers that need the bytes in a block of their own anyway.
    void CopyTo(char* destination) const;
    // Hands the text to `f` as (data, length) chunk by chunk, in order, until f returns false.
    template <class F>
    void ForEachChunk(F&& f) const {
        for (std::size_t i = 0; i < m_chunks.size(); ++i)
            if (!f(static_cast<const char*>(m_chunks[i]), ChunkLength(i))) return;
    }
    // Like ForEachChunk, but each chunk is freed once `f` has had it; the buffer is empty
    // afterwards.
    template <class F>
    void DrainChunks(F&& f) {
        bool more = true;
        for (std::size_t i = 0; i < m_chunks.size(); ++i) {
            if (more) more = f(static_cast<const char*>(m_chunks[i]), ChunkLength(i));
            delete[] m_chunks[i];
            m_chunks[i] = nullptr;
        }
        FreeChunks();
        m_totalLength = 0;
    }
    void Clear();

private:
    static constexpr std::uint32_t kMaxLength = 0xFFFFFFFFu;
    // Bytes used in chunk i: all but the last are full.
    std::size_t ChunkLength(std::size_t i) const {
        return i + 1 == m_chunks.size() ? m_currentUsed : m_chunkLengths[i];
    }
    void AppendSlow(const char* text, std::size_t length);
    void AppendUpToZero(const char* text, std::size_t length);
    void AddChunk();
    void FreeChunks();

    static constexpr std::uint32_t kChunkSize = 4095;
    static constexpr std::uint32_t kLargestChunkSize = 1048575;

    std::vector<char*> m_chunks;
    std::vector<unsigned> m_chunkLengths;
    std::uint32_t m_chunkSize = kChunkSize;
    std::uint32_t m_currentUsed = 0;
    std::uint32_t m_currentCapacity = 0;
    char* m_currentChunk = nullptr;
    std::uint32_t m_totalLength = 0;
};

// Text sink of the writers, with the encoding the text is converted to when it leaves.
class TESSEL16_API CTextStream : public CInstanceMonitor {
public:
    CTextStream();
    explicit CTextStream(XmlEncoding encoding);
    CTextStream(const char* instanceName, XmlEncoding encoding);
    CTextStream(const CTextStream&) = delete;
    CTextStream& operator=(const CTextStream&) = delete;
    virtual ~CTextStream();

    // Starts a document: clears the buffer.
    virtual void Open();
    virtual void Close();
    // Hands buffered text on; an in-memory stream keeps it.
    virtual void Flush();

    void Write(char c) { m_buffer.Append(c); }
    void Write(const char* text) { m_buffer.Append(text); }
    void Write(const std::string& text) { m_buffer.Append(text); }
    void Write(const char* text, std::size_t length) { m_buffer.Append(text, length); }
    char* Room(std::size_t length) { return m_buffer.Room(length); }
    void Commit(std::size_t length) { m_buffer.Commit(length); }
    std::uint32_t GetLength() const { return m_buffer.GetLength(); }
    XmlEncoding GetEncoding() const { return m_encoding; }
    // The buffered 8-bit text.
    const char* GetString() { return m_buffer.GetString(); }
    // The buffered text converted to the stream's encoding: UTF-8 for 1, UTF-16LE without a
    // byte-order mark for 2 and 3; any other encoding throws CTsException.
    CBinaryData GetBinaryData();
    // The same, freeing the text while it is copied (the stream is empty afterwards), so a
    // large document is not held twice.
    CBinaryData TakeBinaryData();

protected:
    void ClearBuffer() { m_buffer.Clear(); }

private:
    CBinaryData Utf8BinaryData(bool drain);

    CStringBuffer m_buffer;
    XmlEncoding m_encoding = XmlEncoding_None;
};

namespace detail {
class OutputFile;
}

// Writes the text to a file while the document is being produced: each Flush starts writing
// the buffered text (converted to the stream's encoding) and serialisation carries on into
// the emptied buffer. At most one write is in flight; UTF-16 files start with FF FE.
class TESSEL16_API CFileTextStream : public CTextStream {
public:
    CFileTextStream(const char* fileName, XmlEncoding encoding);
    // Closes a file still open without writing what is buffered.
    ~CFileTextStream() override;

    // Creates (or truncates) the file; throws CTsException with the system error number.
    void Open() override;
    // Flushes, waits for the last write and closes the file.
    void Close() override;
    // Waits for the write in flight, then starts writing the buffered text.
    void Flush() override;

private:
    void WaitForWrite();
    [[noreturn]] void Fail(const char* format, int error);

    std::string m_fileName;
    CBinaryData m_inFlight;  // kept alive until its write has completed
    std::uint64_t m_offset = 0;
    detail::OutputFile* m_file;
};

// A finished byte block (compressed output, or a whole document converted at once).
class TESSEL16_API CBinaryStream : public CInstanceMonitor {
public:
    CBinaryStream();
    CBinaryStream(const char* instanceName, const CBinaryData& data);
    virtual ~CBinaryStream();

    CBinaryData GetData() const { return m_data; }
    void Append(unsigned char byte) { m_data.Append(byte); }
    void Append(const CBinaryData& data) { m_data.Append(data); }
    void Append(unsigned char* const data, std::uint32_t length) { m_data.Append(data, length); }

private:
    CBinaryData m_data;
};

// Writes a byte block to a file in one go, after FF FE for the UTF-16 encodings.
class TESSEL16_API CFileBinaryStream : public CBinaryStream {
public:
    CFileBinaryStream(const char* fileName, XmlEncoding encoding, const CBinaryData& data);
    ~CFileBinaryStream() override;

    // Throws CTsException "Failed to write data to the file [...] error [0x...]"; a file
    // that could not be completed is left as far as it was written.
    void Write();

private:
    std::string m_fileName;
    XmlEncoding m_encoding;
};

}  // namespace Tessel16
