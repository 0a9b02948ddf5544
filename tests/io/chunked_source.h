// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/fields.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace cr::testing {

// The same bytes in blocks of a fixed size: in blocks of one or two bytes no
// field lies whole in a block, so the readers' bulk paths never run and the
// field-by-field way reads everything.
class ChunkedSource final : public io::BlockSource {
public:
    ChunkedSource(std::string_view bytes, std::size_t chunk) : m_bytes(bytes), m_chunk(chunk) {}
    bool open() override {
        m_at = 0;
        return true;
    }
    bool empty() const override { return m_bytes.empty(); }
    std::optional<std::string_view> nextBlock() override {
        const std::string_view block = m_bytes.substr(std::min(m_at, m_bytes.size()), m_chunk);
        m_at += block.size();
        m_delivered += block.size();
        return block.empty() ? std::nullopt : std::optional<std::string_view>(block);
    }
    // The bytes handed out since the source was made, over every opening.
    std::size_t delivered() const { return m_delivered; }
    bool failed() const override { return false; }
    void close() override {}

private:
    std::string_view m_bytes;
    std::size_t m_chunk;
    std::size_t m_at = 0;
    std::size_t m_delivered = 0;
};

} // namespace cr::testing
