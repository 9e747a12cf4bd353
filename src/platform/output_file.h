// output_file.h: the platform's file output, shaped after overlapped writes: a write is
// started at an explicit offset and later waited for, and at most one is in flight. Every
// failure is returned as the system's error number, for the caller's message.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tessel16::detail {

class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile() { Close(); }

    // Creates or truncates the file for writing; 0 or the error number.
    int Open(const char* fileName);
    bool IsOpen() const { return m_fd >= 0; }
    // Starts writing `length` bytes at `offset`; the bytes must stay valid until WaitWrite.
    // 0 or the error number.
    int StartWrite(std::uint64_t offset, const unsigned char* data, std::size_t length);
    // Waits for the write in flight and reports how many bytes it wrote (0 when none was
    // in flight); 0 or the error number.
    int WaitWrite(std::uint64_t* transferred);
    // Closes the file if it is open; an error on closing is reported, the file is closed.
    int Close();

private:
    int m_fd = -1;
    bool m_pending = false;
    std::uint64_t m_transferred = 0;
    int m_pendingError = 0;
};

}  // namespace Tessel16::detail
