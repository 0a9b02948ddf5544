#include "io/fields.h"

#include <cstring>
#include <sys/stat.h>

namespace cr::io {

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isFieldEnd(char c) {
    return c == ',' || isLineEnd(c);
}

} // namespace

bool FieldScanner::next(std::string_view& field) {
    const std::string_view s = m_text;
    const std::size_t n = s.size();
    while (m_atLineStart) {
        std::size_t p = m_pos;
        while (p < n && (s[p] == ' ' || s[p] == '\t')) {
            ++p;
        }
        if (p >= n) {
            m_pos = n;
            return false;
        }
        if (isLineEnd(s[p])) { // a blank line: no field at all
            m_pos = p + 1;
            continue;
        }
        m_atLineStart = false;
    }

    std::size_t p = m_pos;
    while (p < n && s[p] == ' ') {
        ++p;
    }
    if (p < n && s[p] == '"') {
        const std::size_t begin = p + 1;
        std::size_t end = begin;
        while (end < n && s[end] != '"' && !isLineEnd(s[end])) {
            ++end;
        }
        field = s.substr(begin, end - begin);
        p = end;
        if (p < n && s[p] == '"') {
            ++p;
            while (p < n && !isFieldEnd(s[p])) {
                ++p;
            }
        }
    } else {
        std::size_t end = p;
        while (end < n && !isFieldEnd(s[end])) {
            ++end;
        }
        std::size_t last = end;
        while (last > p && (s[last - 1] == ' ' || s[last - 1] == '\t')) {
            --last;
        }
        field = s.substr(p, last - p);
        p = end;
    }

    if (p < n && s[p] == ',') {
        m_pos = p + 1; // another field follows on this line, maybe an empty one
    } else {
        m_pos = p < n ? p + 1 : n;
        m_atLineStart = true;
    }
    return true;
}

std::optional<std::string_view> MemorySource::nextBlock() {
    if (m_done) {
        return std::nullopt;
    }
    m_done = true;
    return m_bytes;
}

bool FileSource::open() {
    close();
    m_failed = false;
    m_eof = false;
    m_carry = 0;
    m_buffer.clear();
    m_file = std::fopen(m_path.c_str(), "rb");
    if (!m_file) {
        return false;
    }
    // A directory (no file chosen) or a device is no permanence.
    struct stat info {};
    if (fstat(fileno(m_file), &info) != 0 || !S_ISREG(info.st_mode)) {
        close();
        return false;
    }
    if (std::fseek(m_file, 0, SEEK_END) != 0) {
        close();
        return false;
    }
    m_size = std::ftell(m_file);
    if (m_size < 0 || std::fseek(m_file, 0, SEEK_SET) != 0) {
        close();
        return false;
    }
    return true;
}

void FileSource::close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

std::optional<std::string_view> FileSource::nextBlock() {
    // Drop the block handed out last time, keep what followed its last line end.
    if (m_carry > 0) {
        m_buffer.erase(0, m_buffer.size() - m_carry);
    } else {
        m_buffer.clear();
    }
    m_carry = 0;
    while (!m_eof && m_file) {
        const std::size_t old = m_buffer.size();
        m_buffer.resize(old + m_chunk);
        const std::size_t got = std::fread(m_buffer.data() + old, 1, m_chunk, m_file);
        m_buffer.resize(old + got);
        if (got < m_chunk) {
            m_eof = true;
            if (std::ferror(m_file)) {
                m_failed = true;
                close();
                return std::nullopt;
            }
            close();
            break;
        }
        // Hand out whole lines only; a line longer than a chunk makes the block grow.
        const std::size_t lastEnd = m_buffer.find_last_of("\r\n");
        if (lastEnd != std::string::npos && lastEnd >= old) {
            m_carry = m_buffer.size() - (lastEnd + 1);
            return std::string_view(m_buffer.data(), lastEnd + 1);
        }
    }
    if (m_buffer.empty()) {
        return std::nullopt;
    }
    return std::string_view(m_buffer);
}

bool FieldStream::next(std::string_view& field) {
    while (!m_done) {
        if (m_scanner.next(field)) {
            return true;
        }
        const auto block = m_source.nextBlock();
        if (!block) {
            m_done = true;
            break;
        }
        m_scanner = FieldScanner(*block);
    }
    return false;
}

} // namespace cr::io
