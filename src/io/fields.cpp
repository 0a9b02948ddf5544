// SPDX-License-Identifier: GPL-3.0-or-later
// A source's fields, one after the other: byte by byte where a field or line
// spans blocks, in bulk where plain fields end inside the block.
#include "io/fields.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace cr::io {

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
// A byte that neither ends a field nor may end up trimmed from it.
bool isPlain(char c) {
    return c != ',' && c != ' ' && c != '\t' && !isLineEnd(c);
}

// isPlain as a table: 1 for a plain byte, 0 for any other.
const std::array<std::uint8_t, 256> kPlainBytes = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b) {
        table[b] = isPlain(static_cast<char>(b)) ? 1 : 0;
    }
    return table;
}();

std::size_t plainByte(char c) {
    return kPlainBytes[static_cast<unsigned char>(c)];
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

std::optional<std::string_view> FieldStream::nextBlock() {
    std::optional<std::string_view> block;
    if (m_rest) {
        block = std::exchange(m_rest, std::nullopt);
    } else if (m_markChecked) {
        block = m_sourceEnded ? std::nullopt : m_source.nextBlock();
    } else {
        m_markChecked = true;
        // The first bytes, as many as the mark has: a source in small blocks
        // may need several of them.
        block = m_source.nextBlock();
        while (block && m_head.size() + block->size() < kByteOrderMark.size()) {
            m_head.append(*block);
            block = m_source.nextBlock();
        }
        m_sourceEnded = !block;
        if (block && !m_head.empty()) {
            const std::size_t missing = kByteOrderMark.size() - m_head.size();
            m_head.append(block->substr(0, missing));
            m_rest = block->substr(missing);
            block = m_head;
        }
        if (block && block->substr(0, kByteOrderMark.size()) == kByteOrderMark) {
            m_markSkipped = true;
            block = block->substr(kByteOrderMark.size());
        } else if (!block && !m_head.empty()) {
            block = m_head; // a source shorter than the mark
        }
    }
    if (block && !block->empty()) {
        m_content = true;
    }
    return block;
}

void FieldStream::keep(char c) {
    if (m_field.size() < kKeptBytes) {
        m_field.push_back(c);
    }
    ++m_building;
}

void FieldStream::keepBlanks() {
    for (const char c : m_pending) {
        keep(c);
    }
    // Blanks past what is kept only count.
    m_building += m_pendingLength - m_pending.size();
    m_pending.clear();
    m_pendingLength = 0;
}

void FieldStream::deliver() {
    m_out.swap(m_field);
    m_field.clear();
    m_pending.clear();
    m_pendingLength = 0;
    m_length = m_building;
    m_building = 0;
}

void FieldStream::holdBlank(char c) {
    if (m_pending.size() < kKeptBytes) {
        m_pending.push_back(c);
    }
    ++m_pendingLength;
}

// At a line's start: blank lines and blanks in front are skipped; a tab in
// front belongs to the field.
bool FieldStream::atLineStart(char c) {
    if (isLineEnd(c)) { // a blank line: no field at all
        m_pending.clear();
        m_pendingLength = 0;
        return false;
    }
    if (c == ' ' && m_pendingLength == 0) {
        return false;
    }
    if (isBlank(c)) {
        holdBlank(c);
        return false;
    }
    if (c == '"' && m_pendingLength == 0) {
        m_state = State::Quoted;
        return false;
    }
    keepBlanks();
    m_state = State::Unquoted;
    return step(c);
}

bool FieldStream::inUnquoted(char c) {
    if (c == ',' || isLineEnd(c)) {
        m_state = c == ',' ? State::FieldStart : State::LineStart;
        deliver(); // blanks and tabs held back are dropped
        return true;
    }
    if (isBlank(c)) {
        holdBlank(c);
        return false;
    }
    if (m_pendingLength > 0) {
        keepBlanks();
    }
    keep(c);
    return false;
}

bool FieldStream::step(char c) {
    switch (m_state) {
    case State::LineStart:
        return atLineStart(c);
    case State::FieldStart:
        if (c == ' ') {
            return false;
        }
        m_state = c == '"' ? State::Quoted : State::Unquoted;
        return c == '"' ? false : step(c);
    case State::Unquoted:
        return inUnquoted(c);
    case State::Quoted:
        if (isLineEnd(c)) {
            m_state = State::LineStart;
            deliver();
            return true;
        }
        if (c == '"') {
            m_state = State::AfterQuote;
        } else {
            keep(c);
        }
        return false;
    case State::AfterQuote:
        if (c == ',' || isLineEnd(c)) {
            m_state = c == ',' ? State::FieldStart : State::LineStart;
            deliver();
            return true;
        }
        return false;
    }
    return false;
}

bool FieldStream::finish() {
    if (m_state == State::LineStart) {
        return false; // blanks at the end of the source are no field
    }
    m_state = State::LineStart;
    deliver();
    return true;
}

// The common case without a copy: a field of plain bytes that ends with a
// comma or a line end inside the block starts here.
bool FieldStream::plainFieldAhead(std::string_view& field) {
    std::size_t end = m_pos;
    if (m_pos + 2 < m_block.size()) {
        // Fields of one or two bytes, as in most tables, found without a
        // branch on which of the two it is.
        const std::size_t first = plainByte(m_block[m_pos]);
        const std::size_t second = first & plainByte(m_block[m_pos + 1]);
        const std::size_t third = second & plainByte(m_block[m_pos + 2]);
        end = m_pos + first + second + third;
    }
    while (end < m_block.size() && isPlain(m_block[end])) {
        ++end;
    }
    if (end == m_pos || end == m_block.size() || m_block[m_pos] == '"' ||
        end - m_pos > kKeptBytes) {
        return false;
    }
    const char c = m_block[end];
    if (c != ',' && !isLineEnd(c)) {
        return false; // blanks follow: the byte-by-byte way decides
    }
    field = m_block.substr(m_pos, end - m_pos);
    m_length = field.size();
    m_state = c == ',' ? State::FieldStart : State::LineStart;
    m_pos = end + 1;
    return true;
}

std::size_t FieldStream::shortNumbers(std::uint8_t* out, std::size_t room, Dashes dashes) {
    if ((m_state != State::LineStart && m_state != State::FieldStart) || m_pendingLength > 0) {
        return 0;
    }
    const char* const bytes = m_block.data();
    const std::size_t size = m_block.size();
    const bool skipDashes = dashes == Dashes::Skip;
    std::size_t pos = m_pos;
    std::size_t taken = 0;
    State state = m_state;
    while (taken < room && pos + 3 <= size) {
        const auto first = static_cast<unsigned>(bytes[pos] - '0');
        if (first > 9) {
            const char c = bytes[pos];
            if (c == '-' && skipDashes) {
                // A separator: plain bytes up to a comma or a line end in the block.
                std::size_t end = pos + 1;
                while (end < size && plainByte(bytes[end]) != 0) {
                    ++end;
                }
                if (end == size || (bytes[end] != ',' && !isLineEnd(bytes[end]))) {
                    break;
                }
                state = bytes[end] == ',' ? State::FieldStart : State::LineStart;
                pos = end + 1;
                continue;
            }
            if (!isLineEnd(c) && c != ',') {
                break;
            }
            // An empty field, or a blank line: no number, nothing kept.
            state = c == ',' ? State::FieldStart : State::LineStart;
            ++pos;
            continue;
        }
        const auto second = static_cast<unsigned>(bytes[pos + 1] - '0');
        const bool two = second <= 9;
        const unsigned value = two ? first * 10 + second : first;
        const std::size_t at = pos + 1 + static_cast<std::size_t>(two);
        const char end = bytes[at];
        if (value > 36 || (end != ',' && !isLineEnd(end))) {
            break;
        }
        out[taken++] = static_cast<std::uint8_t>(value);
        state = end == ',' ? State::FieldStart : State::LineStart;
        // CR LF at once: the LF behind the CR is a blank line, no field.
        pos = at + 1 +
              static_cast<std::size_t>(end == '\r' && at + 1 < size && bytes[at + 1] == '\n');
    }
    m_pos = pos;
    m_state = state;
    return taken;
}

bool FieldStream::next(std::string_view& field) {
    while (!m_done) {
        while (m_pos < m_block.size()) {
            if ((m_state == State::LineStart || m_state == State::FieldStart) &&
                m_pendingLength == 0 && plainFieldAhead(field)) {
                return true;
            }
            if (m_state == State::Unquoted && m_pendingLength == 0) {
                // Most bytes of a field: take the run of them at once.
                const std::size_t begin = m_pos;
                while (m_pos < m_block.size() && isPlain(m_block[m_pos])) {
                    ++m_pos;
                }
                const std::size_t run = m_pos - begin;
                m_field.append(m_block.data() + begin,
                               std::min(run, kKeptBytes - std::min(kKeptBytes, m_field.size())));
                m_building += run;
                if (m_pos == m_block.size()) {
                    break;
                }
            }
            if (step(m_block[m_pos++])) {
                field = m_out;
                return true;
            }
        }
        const auto block = nextBlock();
        if (block) {
            m_block = *block;
            m_pos = 0;
            continue;
        }
        m_done = true;
        if (finish()) {
            field = m_out;
            return true;
        }
    }
    return false;
}

} // namespace cr::io
