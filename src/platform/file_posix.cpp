// file_posix.cpp: POSIX file output behind OutputFile. Writes complete before StartWrite
// returns (there is no portable overlapped I/O without threads), so "in flight" means
// "written, not yet collected"; callers keep the same start/wait discipline everywhere.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/output_file.h"

namespace Tessel16::detail {

int OutputFile::Open(const char* fileName) {
    Close();
    do {
        m_fd = ::open(fileName, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (m_fd < 0 && errno == EINTR);
    return m_fd < 0 ? errno : 0;
}

int OutputFile::StartWrite(std::uint64_t offset, const unsigned char* data, std::size_t length) {
    if (m_fd < 0) return EBADF;
    std::uint64_t written = 0;
    // pwrite may write less than asked (signals, quotas); go on until all is written.
    while (written < length) {
        const ssize_t n =
            ::pwrite(m_fd, data + written, length - written, static_cast<off_t>(offset + written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        written += static_cast<std::uint64_t>(n);
    }
    m_pending = true;
    m_transferred = written;
    m_pendingError = 0;
    return 0;
}

int OutputFile::WaitWrite(std::uint64_t* transferred) {
    *transferred = m_pending ? m_transferred : 0;
    m_pending = false;
    m_transferred = 0;
    const int error = m_pendingError;
    m_pendingError = 0;
    return error;
}

int OutputFile::Close() {
    if (m_fd < 0) return 0;
    const int result = ::close(m_fd);
    m_fd = -1;
    m_pending = false;
    return result < 0 ? errno : 0;
}

}  // namespace Tessel16::detail
