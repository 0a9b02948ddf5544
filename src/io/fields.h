#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace cr::io {

// Splits a block of whole lines into the fields of a permanence file.
// A line ends at CR LF, a lone CR or a lone LF; lines holding only blanks
// and tabs are skipped. Fields end at a comma or the line's end; blanks in
// front of a field are skipped, blanks and tabs behind an unquoted one
// removed. A quoted field runs to its closing quote (or the line's end), and
// whatever follows the closing quote up to the next comma is dropped.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view block = {}) : m_text(block) {}
    // The next field as a view into the block; false when the block is done.
    bool next(std::string_view& field);

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_atLineStart = true;
};

// Where the bytes of a permanence come from, in blocks of whole lines.
class BlockSource {
public:
    virtual ~BlockSource() = default;
    virtual bool open() = 0;
    virtual bool empty() const = 0;
    // The next block, or nothing at the end (or on a read error: see failed).
    virtual std::optional<std::string_view> nextBlock() = 0;
    virtual bool failed() const = 0;
    virtual void close() = 0;
};

// Bytes held in memory: one block.
class MemorySource final : public BlockSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    bool open() override {
        m_done = false;
        return true;
    }
    bool empty() const override { return m_bytes.empty(); }
    std::optional<std::string_view> nextBlock() override;
    bool failed() const override { return false; }
    void close() override {}

private:
    std::string_view m_bytes;
    bool m_done = false;
};

// A file read in large chunks, each cut after its last line end. The file is
// open only between open() and close() (or the source's end).
class FileSource final : public BlockSource {
public:
    static constexpr std::size_t kDefaultChunk = std::size_t{1} << 20;
    explicit FileSource(std::string path, std::size_t chunk = kDefaultChunk)
        : m_path(std::move(path)), m_chunk(chunk == 0 ? 1 : chunk) {}
    ~FileSource() override { close(); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    bool open() override;
    bool empty() const override { return m_size == 0; }
    std::optional<std::string_view> nextBlock() override;
    bool failed() const override { return m_failed; }
    void close() override;

private:
    std::string m_path;
    std::size_t m_chunk;
    std::FILE* m_file = nullptr;
    long long m_size = 0;
    std::string m_buffer;
    std::size_t m_carry = 0; // bytes after the last line end, kept for the next block
    bool m_eof = false;
    bool m_failed = false;
};

// The fields of a whole source, one after the other.
class FieldStream {
public:
    explicit FieldStream(BlockSource& source) : m_source(source) {}
    bool next(std::string_view& field);

private:
    BlockSource& m_source;
    FieldScanner m_scanner;
    bool m_done = false;
};

} // namespace cr::io
