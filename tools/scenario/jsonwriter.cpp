// SPDX-License-Identifier: GPL-3.0-or-later
#include "jsonwriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace cr::scenario {

void JsonWriter::separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first) {
        m_out += ',';
    }
    m_first = false;
}

void JsonWriter::key(std::string_view name) {
    separate();
    string(name);
    m_out += ':';
    m_afterKey = true;
}

void JsonWriter::value(std::string_view text) {
    separate();
    string(text);
}

void JsonWriter::value(bool on) {
    separate();
    m_out += on ? "true" : "false";
}

void JsonWriter::value(int number) {
    separate();
    m_out += std::to_string(number);
}

void JsonWriter::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        m_out += "null";
        return;
    }
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, number);
    m_out.append(buf, ec == std::errc() ? end : buf);
}

void JsonWriter::null() {
    separate();
    m_out += "null";
}

void JsonWriter::string(std::string_view text) {
    m_out += '"';
    for (char c : text) {
        switch (c) {
        case '"':
            m_out += "\\\"";
            break;
        case '\\':
            m_out += "\\\\";
            break;
        case '\n':
            m_out += "\\n";
            break;
        case '\r':
            m_out += "\\r";
            break;
        case '\t':
            m_out += "\\t";
            break;
        case '\b':
            m_out += "\\b";
            break;
        case '\f':
            m_out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
                m_out += buf;
            } else {
                m_out += c;
            }
        }
    }
    m_out += '"';
}

} // namespace cr::scenario
