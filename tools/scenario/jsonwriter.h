// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace cr::scenario {

// Writes compact JSON with keys in the order they are given.
class JsonWriter {
public:
    void beginObject() {
        separate();
        m_out += '{';
        m_first = true;
    }
    void endObject() {
        m_out += '}';
        m_first = false;
    }
    void beginArray() {
        separate();
        m_out += '[';
        m_first = true;
    }
    void endArray() {
        m_out += ']';
        m_first = false;
    }
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const QString& text) { value(std::string_view(text.toStdString())); }
    void value(const char* text) { value(std::string_view(text)); }
    void value(bool on);
    void value(int number);
    void value(double number);
    void null();
    // A value already written as JSON.
    void raw(std::string_view json) {
        separate();
        m_out += json;
    }

    const std::string& str() const { return m_out; }

private:
    void separate();
    void string(std::string_view text);

    std::string m_out;
    bool m_first = true;
    bool m_afterKey = false;
};

} // namespace cr::scenario
