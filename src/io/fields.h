// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cr::io {

// Where the bytes of a permanence come from, in blocks of any length.
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

// A file read in chunks of a fixed size into one buffer, so that reading
// takes the same memory and time per byte whatever the file's lines look
// like. open() refuses anything but a regular file (after following links)
// before it opens it, and opens without blocking, so a FIFO or a device
// behind a name never stalls the reader. The file is open only between
// open() and close() (or the source's end).
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
    // After a failed open() or read: the errno of the call that failed
    // (0 when the file was no regular file) and that call's name.
    int error() const { return m_error; }
    const char* failedCall() const { return m_failedCall; }
    bool notRegular() const { return m_notRegular; }
    bool directory() const { return m_directory; } // of the names that are no regular file

private:
    bool fail(const char* call);
    std::string m_path;
    std::size_t m_chunk;
    int m_fd = -1;
    long long m_size = 0;
    std::vector<char> m_buffer;
    bool m_failed = false;
    bool m_notRegular = false;
    bool m_directory = false;
    int m_error = 0;
    const char* m_failedCall = "";
};

// The fields of a whole source, one after the other, read byte by byte so
// that a field or line may span any number of blocks.
// A line ends at CR LF, a lone CR or a lone LF; lines holding only blanks
// and tabs are skipped. Fields end at a comma or the line's end; blanks in
// front of a field are skipped, blanks and tabs behind an unquoted one
// removed. A quoted field runs to its closing quote (or the line's end), and
// whatever follows the closing quote up to the next comma is dropped.
// A field keeps at most kKeptBytes of its bytes; length() tells how long it
// really was, so a reader can refuse a field no permanence holds.
// A UTF-8 byte order mark (EF BB BF) at the very start of the source, as
// editors on Windows write it, is skipped, even when it is split across
// blocks; anywhere else its bytes are ordinary bytes.
class FieldStream {
public:
    static constexpr std::size_t kKeptBytes = 4096;
    explicit FieldStream(BlockSource& source) : m_source(source) {}
    // The next field (its first kKeptBytes bytes, valid until the next
    // call); false at the source's end.
    bool next(std::string_view& field);
    // The whole length of the field last returned.
    std::size_t length() const { return m_length; }
    // At the source's end: whether it held a byte order mark and nothing else.
    bool onlyByteOrderMark() const { return m_markSkipped && !m_content; }
    // The fields ahead in the current block that are a number 0..36 of one
    // or two digits ended by a comma or a line end, taken in bulk: their
    // values go to out (at most room of them) and the count is returned.
    // Empty fields and blank lines among them are passed over. Stops in front
    // of the first other field, which next() then returns as usual.
    // With Dashes::Skip, a field of plain bytes beginning with '-' (a
    // permanence's separator, such as "-----") is passed over as well.
    enum class Dashes { Stop, Skip };
    std::size_t shortNumbers(std::uint8_t* out, std::size_t room, Dashes dashes = Dashes::Stop);

private:
    enum class State { LineStart, FieldStart, Unquoted, Quoted, AfterQuote };
    bool step(char c); // true when c ended a field
    bool atLineStart(char c);
    bool inUnquoted(char c);
    void holdBlank(char c);
    bool finish(); // the end of the source: true when a field ends there
    bool plainFieldAhead(std::string_view& field);
    void keep(char c); // a byte of the field
    void keepBlanks(); // the blanks and tabs held back inside an unquoted field
    void deliver();
    std::optional<std::string_view> nextBlock(); // the source's next block, past the mark

    BlockSource& m_source;
    std::string_view m_block;
    std::size_t m_pos = 0;
    State m_state = State::LineStart;
    std::string m_field;   // the field being read (its first kKeptBytes)
    std::string m_pending; // blanks and tabs that end the field unless more follows
    std::size_t m_pendingLength = 0;
    std::size_t m_building = 0; // whole length of the field being read
    std::string m_out;          // the field last returned
    std::size_t m_length = 0;
    bool m_done = false;
    // The mark is looked for in the first bytes; a start shorter than the
    // mark that is no mark is held in m_head and handed out before m_rest,
    // the remainder of the block that completed it.
    bool m_markChecked = false;
    bool m_markSkipped = false;
    bool m_content = false; // a byte past the mark was handed out
    std::string m_head;
    std::optional<std::string_view> m_rest;
    bool m_sourceEnded = false;
};

} // namespace cr::io
