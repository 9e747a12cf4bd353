// input_file_posix.cpp: InputFile over open/read. The sequential hint lets the kernel read
// ahead while the caller parses the previous chunk, which is what overlapped reads buy on
// other systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/input_file.h"

namespace Tessel16::platform {

InputFile::~InputFile() { Close(); }

bool InputFile::Open(const char* fileName) {
    Close();
    do {
        m_fd = ::open(fileName, O_RDONLY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    struct stat info;
    if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        // A directory opens fine for reading but cannot be read; report it when opening.
        Close();
        m_error = EISDIR;
        return false;
    }
#if defined(POSIX_FADV_SEQUENTIAL)
    (void)::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return true;
}

bool InputFile::Size(std::uint64_t& size) {
    struct stat info;
    if (::fstat(m_fd, &info) != 0) {
        m_error = errno;
        return false;
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool InputFile::Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead) {
    bytesRead = 0;
    while (bytesRead < length) {
        ssize_t n = ::read(m_fd, buffer + bytesRead, length - bytesRead);
        if (n < 0) {
            if (errno == EINTR) continue;
            m_error = errno;
            return false;
        }
        if (n == 0) break;
        bytesRead += static_cast<std::size_t>(n);
    }
    return true;
}

void InputFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

}  // namespace Tessel16::platform
