// SPDX-License-Identifier: GPL-3.0-or-later
// Where a permanence's bytes come from: memory in one block, or a file read
// in chunks, refused before opening unless it is a regular file.
#include "io/fields.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace cr::io {

std::optional<std::string_view> MemorySource::nextBlock() {
    if (m_done) {
        return std::nullopt;
    }
    m_done = true;
    return m_bytes;
}

bool FileSource::fail(const char* call) {
    m_error = errno;
    m_failedCall = call;
    close();
    return false;
}

bool FileSource::open() {
    close();
    m_failed = false;
    m_notRegular = false;
    m_directory = false;
    m_error = 0;
    m_failedCall = "";
    // Look before opening: a FIFO would block open() until a writer comes.
    struct stat info {};
    if (::stat(m_path.c_str(), &info) != 0) {
        return fail("stat");
    }
    if (!S_ISREG(info.st_mode)) { // a directory (no file chosen), FIFO or device
        m_notRegular = true;
        m_directory = S_ISDIR(info.st_mode);
        m_failedCall = "stat";
        return false;
    }
    // Non-blocking all the same, in case the name was swapped meanwhile.
    m_fd = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0) {
        return fail("open");
    }
    if (::fstat(m_fd, &info) != 0) {
        return fail("fstat");
    }
    if (!S_ISREG(info.st_mode)) {
        close();
        m_notRegular = true;
        m_failedCall = "open";
        return false;
    }
    m_size = static_cast<long long>(info.st_size);
    try {
        m_buffer.resize(m_chunk);
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return fail("malloc");
    }
    return true;
}

void FileSource::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

std::optional<std::string_view> FileSource::nextBlock() {
    while (m_fd >= 0) {
        const ssize_t got = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (got > 0) {
            return std::string_view(m_buffer.data(), static_cast<std::size_t>(got));
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            m_failed = true;
            fail("read");
            return std::nullopt;
        }
        close();
    }
    return std::nullopt;
}

} // namespace cr::io
