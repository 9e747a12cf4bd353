// input_file.h: reading a file by name for the XML loader, whole or in chunks. The only place
// that knows how files are opened and read here; callers get POSIX error numbers for their
// messages.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Tessel16::platform {

class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Opens for reading and tells the system the file is read front to back; false on
    // failure, with the reason in LastError().
    bool Open(const char* fileName);
    // False on failure (LastError()).
    bool Size(std::uint64_t& size);
    // Reads up to length bytes from the current position, retrying short reads, and stores
    // the count read (less than length only at end of file). False on failure.
    bool Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead);
    void Close();
    int LastError() const { return m_error; }

private:
    int m_fd = -1;
    int m_error = 0;
};

}  // namespace Tessel16::platform
