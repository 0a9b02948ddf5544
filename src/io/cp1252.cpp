// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/cp1252.h"

#include <array>
#include <cstdint>

namespace cr::io {

namespace {

// Code points of the bytes 0x80..0x9F; the rest of the page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The next code point of UTF-8 text at i, or U+FFFD for a broken sequence.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0 || i + static_cast<std::size_t>(more) > text.size()) {
        return 0xFFFD;
    }
    char32_t cp = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        if ((b & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
        ++i;
    }
    return cp;
}

// The length of the well-formed UTF-8 sequence at i, with its code point;
// 0 for a broken one (a stray byte, an overlong form, a surrogate, past U+10FFFF).
std::size_t utf8Sequence(std::string_view text, std::size_t i, char32_t& cp) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80; // the range of the second byte
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    cp = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<std::uint8_t>(text[i + k]);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    return length;
}

bool isControl(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

// Characters that take no room on the screen: a message could not show them.
bool isInvisible(char32_t cp) {
    return cp == 0xFEFF || (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) ||
           (cp >= 0x2060 && cp <= 0x2064);
}

void appendPlaceholder(std::string& out, char32_t cp) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (char32_t rest = cp; rest != 0 || digits.size() < 2; rest >>= 4) {
        digits.insert(digits.begin(), kHex[rest & 0xF]);
    }
    out += '<' + digits + '>';
}

// Whether the first `characters` characters of bytes read as UTF-8 are well
// formed and one of them takes more than one byte.
bool looksLikeUtf8(std::string_view bytes, std::size_t characters) {
    bool multiByte = false;
    for (std::size_t i = 0, n = 0; i < bytes.size() && n < characters; ++n) {
        char32_t cp = 0;
        const std::size_t length = utf8Sequence(bytes, i, cp);
        if (length == 0) {
            return false;
        }
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

} // namespace

std::string decodeForMessage(std::string_view bytes, std::size_t characters) {
    const bool utf8 = looksLikeUtf8(bytes, characters);
    std::string out;
    for (std::size_t i = 0, n = 0; i < bytes.size() && n < characters; ++n) {
        char32_t cp = 0;
        std::size_t length = 1;
        bool hidden = false;
        if (utf8) {
            length = utf8Sequence(bytes, i, cp);
            hidden = isControl(cp) || isInvisible(cp);
        } else {
            const auto b = static_cast<std::uint8_t>(bytes[i]);
            const bool high = b >= 0x80 && b < 0xA0;
            cp = high ? kHighControls[b - 0x80] : b;
            hidden = isControl(cp) || cp == 0xFFFD;
            if (hidden) {
                cp = b; // the undefined bytes are named as themselves
            }
        }
        if (hidden) {
            appendPlaceholder(out, cp);
        } else if (utf8) {
            out.append(bytes.substr(i, length));
        } else {
            appendUtf8(out, cp);
        }
        i += length;
    }
    return out;
}

std::string encodeWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char byte = '?';
        for (std::size_t k = 0; k < kHighControls.size(); ++k) {
            if (kHighControls[k] == cp && cp != 0xFFFD) {
                byte = static_cast<char>(0x80 + k);
            }
        }
        out += byte;
    }
    return out;
}

std::string decodeWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        if (b >= 0x80 && b < 0xA0) {
            appendUtf8(out, kHighControls[b - 0x80]);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

} // namespace cr::io
